#include "support/modLogging.h"

#include "support/AppPaths.h"
#include "support/TextFile.h"

#include <array>

std::string logFilePath() {
    return ConfigDir + "logs/rufwacht.log";
}

std::string formatLogLine(const std::string& message, std::time_t when) {
    const std::tm* local = std::localtime(&when);
    std::array<char, 32> stamp{};
    if (local == nullptr ||
        std::strftime(stamp.data(), stamp.size(), "%Y.%m.%d %H:%M:%S", local) == 0) {
        return "0000.00.00 00:00:00 - " + message;
    }
    return std::string(stamp.data()) + " - " + message;
}

void writeLog(const std::string& message) {
    appendTextLine(logFilePath(), formatLogLine(message, std::time(nullptr)));
}
