#pragma once

#include <functional>
#include <set>
#include <string>
#include <utility>

class LanguageTable;
class Log;

/// Hears of the stores' trouble with their files and decides who learns of it: every problem
/// goes to the trace; the first of an outage also to the log and, as one message, to the user.
/// The outage of a file ends when the file is saved (or read) again, so the next failure is
/// told again.
class FileProblems {
public:
    /// One message for the user.
    struct Message {
        std::string title;
        std::string text;
    };

    FileProblems(const Log& log, const LanguageTable& language);

    /// Where trace lines and user messages go; unset, they go nowhere.
    std::function<void(const std::string& line)> trace;
    std::function<void(const Message& message)> tellUser;

    /// The file could not be written; what it should hold stays in memory.
    void saveFailed(const std::string& path, const std::string& reason);
    /// The file was written: a save outage of it is over.
    void saved(const std::string& path);
    /// The file exists but could not be read (or is no regular file); it is left alone.
    void readFailed(const std::string& path, const std::string& reason);
    /// The file could be read again.
    void readAgain(const std::string& path);
    /// The file holds what the program could not write back unchanged; it is left as it is
    /// until the user changes its entries.
    void keptAsIs(const std::string& path, const std::string& why);
    /// A line for the trace alone.
    void note(const std::string& line) const;

    /// Whether an outage of this kind is in progress for the file.
    bool isFailing(const std::string& path) const;

private:
    enum class Kind { Save, Read, KeptAsIs };

    void report(Kind kind, const std::string& path, const std::string& what,
                const std::string& reason, int textId);
    void end(Kind kind, const std::string& path);

    const Log& m_log;
    const LanguageTable& m_language;
    std::set<std::pair<Kind, std::string>> m_outages;
};
