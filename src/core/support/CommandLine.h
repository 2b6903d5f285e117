#pragma once

#include <optional>
#include <string>
#include <vector>

/// What the user asked for on the command line.
struct CommandLine {
    bool debug = false;    // show the controller as the debug window (trace on stderr headless)
    bool headless = false; // no windows, tray or sounds; runs without a display
    bool help = false;
    bool version = false;
    std::string line;      // e.g. "capi", "sim:FILE", "callmonitor:HOST"; empty: the settings
    std::string configDir; // overrides the settings folder
    std::optional<std::string> origin; // print the origin of this number and exit
    std::string error;                 // not empty when the command line could not be understood
};

/// Parses the arguments after the program name. The word "debug" turns on the debug window, as
/// --debug does; any other word that is no option's value is an error.
CommandLine parseCommandLine(const std::vector<std::string>& args);

/// The text printed for --help.
std::string commandLineHelp();
