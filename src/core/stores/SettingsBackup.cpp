#include "stores/SettingsBackup.h"

#include "support/AppPaths.h"
#include "support/TextFile.h"

#include <algorithm>

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
        for (std::size_t read = 0; read < kMaxBackupSectionLines && next < lines.size(); ++read) {
            const std::string& line = lines[next++];
            if (line == end) {
                break;
            }
            section->push_back(line);
        }
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
    const auto lines = readTextLines(source);
    if (!lines) {
        return RestoreResult::Unreadable;
    }
    const BackupContent content = parseBackup(*lines);
    if (!content.hasAnySection()) {
        return RestoreResult::NoSections;
    }
    bool allWritten = true;
    for (std::size_t file = 0; file < kBackupFiles.size(); ++file) {
        const auto written =
            writeTextLines(paths.configFile(kBackupFiles[file]), content.restoredLines(file));
        allWritten = written.ok() && allWritten;
    }
    return allWritten ? RestoreResult::Restored : RestoreResult::WriteFailed;
}
