#pragma once

#include "calls/CallHandler.h"

/// Date and time of a call as the user's regional settings write them.
class QtCallClock : public CallClock {
public:
    std::string dateText() const override;
    std::string timeText() const override;
};
