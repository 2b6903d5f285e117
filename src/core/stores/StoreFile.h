#pragma once

#include "support/SafeSave.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class FileProblems;
class StoreWriter;

/// The data file of one store and what the store knows of it: whether it could be read (a file
/// that could not be read is never written over) and whether it may be rewritten without
/// losing what it holds. Reports every problem to the program's FileProblems, when it has one.
class StoreFile {
public:
    void setPath(std::string path) { m_path = std::move(path); }
    const std::string& path() const { return m_path; }
    void reportTo(FileProblems* problems) { m_problems = problems; }
    FileProblems* problems() const { return m_problems; }
    /// Where writeLater() hands its saves; without one it saves at once.
    void writeThrough(StoreWriter* writer) { m_writer = writer; }

    /// The file's bytes. A missing file is created with one empty line and gives nothing; a
    /// file that exists but cannot be read (or is no regular file) is reported, left alone and
    /// gives nothing until a later read succeeds. Saves still queued are written first.
    std::optional<std::string> read();
    /// True while the file exists but could not be read: saving would destroy its content.
    bool isUnreadable() const { return m_unreadable; }

    /// Replaces the file (safe save) after the saves still queued; refuses while the file could
    /// not be read.
    SaveResult write(std::string_view bytes);
    /// As write(), but through the StoreWriter: the outcome is reported when the save is done.
    void writeLater(std::string bytes);
    /// Writes over the file's end from byte `from` (see replaceFileTail).
    SaveResult writeTail(std::uint64_t expectedSize, std::uint64_t from, std::string_view bytes);

    /// The file holds what a rewrite would lose: the user is told, and the store rewrites it
    /// only after the user has changed an entry.
    void keepAsIs(const std::string& why);
    bool isKeptAsIs() const { return m_keptAsIs; }
    /// The user changed an entry: from now on the file may be rewritten.
    void allowRewrite() { m_keptAsIs = false; }

    /// A line for the debug trace.
    void note(const std::string& line) const;

private:
    SaveResult reported(SaveResult result);

    std::string m_path;
    FileProblems* m_problems = nullptr;
    StoreWriter* m_writer = nullptr;
    bool m_unreadable = false;
    bool m_keptAsIs = false;
};

/// Fields longer than this many characters are cut when a store loads them.
inline constexpr std::size_t kMaxFieldCharacters = 1024;

/// Cuts a UTF-8 field to kMaxFieldCharacters characters; true when it was cut.
bool capFieldLength(std::string& field);
