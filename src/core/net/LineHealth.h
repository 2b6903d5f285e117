#pragma once

#include <chrono>
#include <cstdint>
#include <string>

/// The line's state as the web server's health request shows it.
struct LineHealth {
    bool up = true;
    std::chrono::system_clock::time_point since; // when it came up or went down
    std::string reason;                          // why it is down
    std::uint64_t calls = 0;                     // calls that rang since the program started
};
