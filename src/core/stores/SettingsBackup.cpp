#include "stores/SettingsBackup.h"

#include "support/AppPaths.h"
#include "support/TextFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

std::string beginMarker(std::size_t file) {
    return std::string("---BEGIN ") + kBackupFiles[file] + "---";
}

std::string endMarker(std::size_t file) {
    return std::string("---END ") + kBackupFiles[file] + "---";
}

std::optional<std::size_t> sectionBegunBy(const std::string& line) {
    for (std::size_t file = 0; file < kBackupFiles.size(); ++file) {
        if (line == beginMarker(file)) {
            return file;
        }
    }
    return std::nullopt;
}

} // namespace

bool BackupContent::hasAnySection() const {
    return std::ranges::any_of(sections, [](const auto& section) { return section.has_value(); });
}

std::vector<std::string> BackupContent::restoredLines(std::size_t file) const {
    std::vector<std::string> lines = {""};
    if (const auto& section = sections.at(file)) {
        lines.insert(lines.end(), section->begin(), section->end());
    }
    return lines;
}

std::vector<std::string> backupLines(const BackupFileLines& files) {
    std::vector<std::string> lines = {""};
    for (std::size_t file = 0; file < files.size(); ++file) {
        lines.push_back(beginMarker(file));
        for (const auto& line : files[file]) {
            if (!line.empty()) {
                lines.push_back(line);
            }
        }
        lines.push_back(endMarker(file));
    }
    return lines;
}

BackupContent parseBackup(const std::vector<std::string>& lines) {
    BackupContent content;
    std::size_t next = 0;
    while (next < lines.size()) {
        const auto file = sectionBegunBy(lines[next++]);
        if (!file) {
            continue;
        }
        auto& section = content.sections[*file];
        if (!section) {
            section.emplace();
        }
        const std::string end = endMarker(*file);
        bool ended = false;
        while (!ended && next < lines.size()) {
            const std::string& line = lines[next++];
            ended = line == end;
            if (!ended) {
                section->push_back(line);
            }
        }
        content.endsInsideSection = content.endsInsideSection || !ended;
    }
    return content;
}

bool writeBackup(const AppPaths& paths, const std::string& target) {
    BackupFileLines files;
    for (std::size_t file = 0; file < files.size(); ++file) {
        if (auto lines = readTextLines(paths.configFile(kBackupFiles[file]))) {
            files[file] = std::move(*lines);
        }
    }
    return writeTextLines(target, backupLines(files)).ok();
}

RestoreResult restoreBackup(const AppPaths& paths, const std::string& source) {
    std::error_code error;
    const auto size = std::filesystem::file_size(toFsPath(source), error);
    if (!error && size > kMaxBackupBytes) {
        return RestoreResult::TooLarge;
    }
    const auto lines = readTextLines(source);
    if (!lines) {
        return RestoreResult::Unreadable;
    }
    const BackupContent content = parseBackup(*lines);
    if (!content.hasAnySection()) {
        return RestoreResult::NoSections;
    }
    if (content.endsInsideSection) {
        return RestoreResult::CutOff;
    }
    std::array<StagedFile, kBackupFiles.size()> staged;
    for (std::size_t file = 0; file < kBackupFiles.size(); ++file) {
        if (!staged[file].stage(paths.configFile(kBackupFiles[file]),
                                encodeTextLines(content.restoredLines(file)))) {
            return RestoreResult::WriteFailed;
        }
    }
    // All three are written; renaming them into place is all that is left.
    bool allReplaced = true;
    for (auto& file : staged) {
        allReplaced = file.commit().ok() && allReplaced;
    }
    return allReplaced ? RestoreResult::Restored : RestoreResult::WriteFailed;
}
