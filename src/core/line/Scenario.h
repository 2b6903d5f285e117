#pragma once

#include "line/CapiMessages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// One command of a scenario file.
struct ScenarioStep {
    enum class Kind { Wait, Call, Hangup, Info, Raw, Transcript, Drop, Restore };

    Kind kind = Kind::Wait;
    int line = 0;                    // where it stands in the file
    double seconds = 0;              // Wait
    capi::IncomingCallElements call; // Call (its plci also serves Hangup and Info)
    std::uint16_t reason = 0x3490;   // Hangup
    capi::Message raw;               // Raw
    std::string path;                // Transcript
};

/// A line of a scenario that could not be understood; it is skipped.
struct ScenarioProblem {
    int line = 0;
    std::string reason;
};

struct Scenario {
    std::vector<ScenarioStep> steps;
    std::vector<ScenarioProblem> problems;
};

/// Parses scenario text: one command a line, "#" starts a comment, blank lines are skipped,
/// keys in any order, numbers in decimal or 0x-hex. Bad lines are listed in problems.
Scenario parseScenario(std::string_view text);

/// Reads and parses a scenario file, writing each problem to stderr as "FILE:LINE: reason".
/// Nothing when the file cannot be read.
std::optional<Scenario> readScenarioFile(const std::string& path);
