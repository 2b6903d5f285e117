#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class AppPaths;

// A backup holds config.dat, msn.dat and nn.dat in one text file (".ibk"): an empty line, then
// each file's non-empty lines between "---BEGIN name---" and "---END name---".

/// The files of a backup, in the order a backup writes them.
inline constexpr std::array<const char*, 3> kBackupFiles = {"config.dat", "msn.dat", "nn.dat"};

/// The largest file taken for a restore: far more than any backup of real lists holds, so a
/// wrong file chosen by mistake is refused before it is read.
inline constexpr std::uintmax_t kMaxBackupBytes = std::uintmax_t{16} * 1024 * 1024;

/// One text per file of kBackupFiles.
using BackupFileLines = std::array<std::vector<std::string>, kBackupFiles.size()>;

/// What a backup file holds for each file of kBackupFiles; nothing for a section it lacks.
struct BackupContent {
    std::array<std::optional<std::vector<std::string>>, kBackupFiles.size()> sections;
    /// The file ended before a section's end marker: it was cut off.
    bool endsInsideSection = false;

    bool hasAnySection() const;
    /// The lines a restored file gets: an empty line first, then the section's lines.
    std::vector<std::string> restoredLines(std::size_t file) const;
};

/// The lines of a backup file of the given files; their empty lines are left out.
std::vector<std::string> backupLines(const BackupFileLines& files);

/// Reads the sections of a backup file, in any order. Lines outside a section are ignored; a
/// section that comes twice adds to the first; inside a section only its own end marker counts.
/// A section that the file ends in keeps what it has and is noted in endsInsideSection.
BackupContent parseBackup(const std::vector<std::string>& lines);

/// Writes a backup of the settings folder's files to target; an unreadable data file gives an
/// empty section. False when the backup file could not be written.
bool writeBackup(const AppPaths& paths, const std::string& target);

enum class RestoreResult {
    Restored,
    /// The backup file could not be read; nothing was changed.
    Unreadable,
    /// The file holds none of the sections; nothing was changed.
    NoSections,
    /// The file ends inside a section; nothing was changed.
    CutOff,
    /// The file is far larger than any backup (kMaxBackupBytes); it was not read.
    TooLarge,
    /// The data files could not all be written; nothing was changed.
    WriteFailed,
};

/// Replaces the three data files in the settings folder from the backup file; a file whose
/// section is missing becomes empty. All three are written beside their old ones first and
/// replace them only when all three could be written, so unless the result is Restored no
/// file has changed.
RestoreResult restoreBackup(const AppPaths& paths, const std::string& source);
