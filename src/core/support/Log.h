#pragma once

#include <ctime>
#include <string>

/// The program's log file (settings folder + "logs/rufwacht.log"): one time-stamped line per
/// caught failure.
class Log {
public:
    Log() = default;
    explicit Log(std::string path) : m_path(std::move(path)) {}

    /// Appends one line, opening and closing the file for it. The logs folder is not created
    /// here; when the file cannot be written the line is lost silently. Without a path nothing
    /// is written.
    void write(const std::string& message) const;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

/// One log line without its line end: "YYYY.MM.DD HH:MM:SS - " + message, in local time.
std::string formatLogLine(const std::string& message, std::time_t when);
