#pragma once

#include "line/DisconnectReason.h"

#include <cstdint>

/// The language number of the text for a call's end reason (the DISCONNECT_IND's reason).
int endReasonTextId(std::uint16_t reason);
