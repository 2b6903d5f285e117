#include "support/Log.h"

#include "support/TextFile.h"

#include <array>

std::string formatLogLine(const std::string& message, std::time_t when) {
    const std::tm* local = std::localtime(&when);
    std::array<char, 32> stamp{};
    if (local == nullptr ||
        std::strftime(stamp.data(), stamp.size(), "%Y.%m.%d %H:%M:%S", local) == 0) {
        return "0000.00.00 00:00:00 - " + message;
    }
    return std::string(stamp.data()) + " - " + message;
}

void Log::write(const std::string& message) const {
    if (!m_path.empty()) {
        appendTextLine(m_path, formatLogLine(message, std::time(nullptr)));
    }
}
