#pragma once

#include <cstdint>

/// The CAPI info value of a normal call clearing (network cause 16): for a call nobody
/// answered, the caller has hung up.
inline constexpr std::uint16_t kReasonNormalClearing = 0x3490;

/// Non-selected user clearing (network cause 26): another telephone answered the call.
inline constexpr std::uint16_t kReasonAnsweredElsewhere = 0x349A;

/// No CAPI reason: the line went away while the call rang, so how it ended is unknown.
inline constexpr std::uint16_t kReasonLineLost = 0xFFFF;

/// The language number of the text for a call's end reason (the DISCONNECT_IND's reason).
int endReasonTextId(std::uint16_t reason);
