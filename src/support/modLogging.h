#pragma once

#include <ctime>
#include <string>

/// The log file: ConfigDir + "logs/rufwacht.log".
std::string logFilePath();

/// One log line without its line end: "YYYY.MM.DD HH:MM:SS - " + message, in local time.
std::string formatLogLine(const std::string& message, std::time_t when);

/// Appends one time-stamped line to the log, opening and closing the file for it. The logs
/// folder is not created here; when the file cannot be written the line is lost silently.
void writeLog(const std::string& message);
