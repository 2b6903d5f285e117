#pragma once

#include <cstdint>

/// The CAPI info value of a normal call clearing (network cause 16): for a call nobody
/// answered, the caller has hung up.
inline constexpr std::uint16_t kReasonNormalClearing = 0x3490;

/// The language number of the text for a call's end reason (the DISCONNECT_IND's reason).
int endReasonTextId(std::uint16_t reason);
