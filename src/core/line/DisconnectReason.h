#pragma once

#include <cstdint>

// The reasons a line gives for the end of a call, as CAPI info values. The call monitor's
// lines report their ends with the same values.

/// Normal call clearing (network cause 16): for a call nobody answered, the caller has hung up.
inline constexpr std::uint16_t kReasonNormalClearing = 0x3490;

/// Non-selected user clearing (network cause 26): another telephone answered the call.
inline constexpr std::uint16_t kReasonAnsweredElsewhere = 0x349A;

/// No CAPI reason: the line went away while the call rang, so how it ended is unknown.
inline constexpr std::uint16_t kReasonLineLost = 0xFFFF;
