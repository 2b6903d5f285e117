#include "support/CommandLine.h"

#include <string_view>

namespace {

// Matches "--name=value" or "--name value"; advances i past what it took.
bool takeValue(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
               std::string& value, std::string& error) {
    const std::string& arg = args[i];
    const std::string prefix = "--" + std::string(name);
    if (arg.rfind(prefix + "=", 0) == 0) {
        value = arg.substr(prefix.size() + 1);
        return true;
    }
    if (arg != prefix) {
        return false;
    }
    if (i + 1 >= args.size()) {
        error = "option " + prefix + " needs a value";
        return true;
    }
    value = args[++i];
    return true;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine result;
    for (std::size_t i = 0; i < args.size() && result.error.empty(); ++i) {
        const std::string& arg = args[i];
        std::string value;
        if (arg == "debug" || arg == "--debug") {
            result.debug = true;
        } else if (arg == "--help" || arg == "-h") {
            result.help = true;
        } else if (arg == "--version") {
            result.version = true;
        } else if (arg == "--headless") {
            result.headless = true;
        } else if (takeValue(args, i, "line", value, result.error)) {
            result.line = value;
        } else if (takeValue(args, i, "config-dir", value, result.error)) {
            result.configDir = value;
        } else if (takeValue(args, i, "origin", value, result.error)) {
            result.origin = value;
        } else if (arg.rfind("--", 0) == 0 || (arg.size() > 1 && arg[0] == '-')) {
            result.error = "unknown option " + arg;
        } else {
            result.error = "unexpected argument " + arg;
        }
    }
    return result;
}

std::string commandLineHelp() {
    return "Usage: rufwacht [debug] [OPTION]...\n"
           "Monitors incoming ISDN telephone calls through CAPI 2.0.\n"
           "\n"
           "  debug                 (alone) show the controller as the debug window\n"
           "  --debug               the same, combinable with other options\n"
           "  --headless            run without windows, tray icon or sounds\n"
           "  --line=SPEC           the line: capi (the system's library, default)\n"
           "                        capi:LIBRARY (another CAPI 2.0 library)\n"
           "                        sim:FILE (simulated line playing a scenario file)\n"
           "                        or callmonitor:HOST[:PORT] (a router's call monitor)\n"
           "  --config-dir=DIR      keep settings, journal and lists in DIR\n"
           "  --origin NUMBER       print where NUMBER comes from and exit\n"
           "  --help                show this help and exit\n"
           "  --version             show the version and exit\n";
}
