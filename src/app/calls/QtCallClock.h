#pragma once

#include "calls/CallHandler.h"

#include <optional>

/// Date and time of a call as the user's regional settings write them.
class QtCallClock : public CallClock {
public:
    std::string dateText() const override;
    std::string timeText() const override;

    /// The moment that a journal record's date and time texts name, read as they were written;
    /// none when they do not read as a date and a time.
    std::optional<std::chrono::system_clock::time_point> recordTime(const std::string& date,
                                                                    const std::string& time) const;
};
