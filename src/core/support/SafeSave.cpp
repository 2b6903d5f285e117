#include "support/SafeSave.h"

#include "support/AsciiText.h"
#include "support/PlatformFiles.h"
#include "support/TextFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

namespace {

constexpr std::string_view kTemporaryMarker = ".tmp-";
constexpr int kMaxLinkHops = 40;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

std::filesystem::path temporarySibling(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    auto name = target.filename().u8string();
    name += std::u8string(kTemporaryMarker.begin(), kTemporaryMarker.end());
    const auto suffix = std::to_string(stamp) + "-" + std::to_string(counter++);
    name += std::u8string(suffix.begin(), suffix.end());
    return target.parent_path() / name;
}

// The file a chain of symbolic links ends at; the path itself when it is no link. A save
// replaces that file, so the links stay links.
std::filesystem::path followLinks(std::filesystem::path path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
            return path;
        }
        const auto target = std::filesystem::read_symlink(path, error);
        if (error) {
            return path;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

std::string lastError(int fallback = EIO) {
    return errorReason(errno != 0 ? errno : fallback);
}

std::string utf8Of(const std::filesystem::path& path) {
    const auto text = path.u8string();
    return {text.begin(), text.end()};
}

} // namespace

StagedFile::StagedFile(StagedFile&& other) noexcept
    : m_temporary(std::exchange(other.m_temporary, {})), m_target(std::move(other.m_target)) {}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept {
    if (this != &other) {
        discard();
        m_temporary = std::exchange(other.m_temporary, {});
        m_target = std::move(other.m_target);
    }
    return *this;
}

StagedFile::~StagedFile() {
    discard();
}

void StagedFile::discard() {
    if (!m_temporary.empty()) {
        std::error_code ignored;
        std::filesystem::remove(toFsPath(m_temporary), ignored);
        m_temporary.clear();
    }
}

SaveResult StagedFile::stage(const std::string& path, std::string_view bytes) {
    discard();
    const auto target = followLinks(toFsPath(path));
    // A folder in the file's place could not be renamed over: fail before anything is written.
    std::error_code ignored;
    if (std::filesystem::is_directory(target, ignored)) {
        return SaveResult::failed(errorReason(EISDIR));
    }
    const auto temporary = temporarySibling(target);
    errno = 0;
    FileHandle file(openFileForWriting(temporary));
    if (!file) {
        return SaveResult::failed(lastError(EACCES));
    }
    copyFileOwnership(file.get(), target);
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                         std::fflush(file.get()) == 0 && syncFileToDisk(file.get());
    const std::string reason = written ? std::string() : lastError();
    // Closing may still report a failed write (e.g. on a network share).
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return SaveResult::failed(written ? lastError() : reason);
    }
    m_temporary = utf8Of(temporary);
    m_target = utf8Of(target);
    return {};
}

SaveResult StagedFile::commit() {
    if (m_temporary.empty()) {
        return SaveResult::failed("nothing staged");
    }
    std::error_code error;
    std::filesystem::rename(toFsPath(m_temporary), toFsPath(m_target), error);
    if (error) {
        discard();
        return SaveResult::failed(std::to_string(error.value()) + " - " + error.message());
    }
    m_temporary.clear();
    return {};
}

SaveResult safeSave(const std::string& path, std::string_view bytes) {
    StagedFile staged;
    SaveResult result = staged.stage(path, bytes);
    return result ? staged.commit() : result;
}

SaveResult replaceFileTail(const std::string& path, std::uint64_t expectedSize, std::uint64_t from,
                           std::string_view bytes) {
    errno = 0;
    FileHandle file(openFileForUpdate(toFsPath(path)));
    if (!file) {
        return SaveResult::failed(lastError(EACCES));
    }
    std::uint64_t size = 0;
    if (!fileSizeOf(file.get(), size) || size != expectedSize || from > size) {
        return SaveResult::failed("the file was changed by another program");
    }
    // The new bytes go over the old ones and reach the disk before anything is cut: a crash
    // at any moment leaves every line that was there, old or new.
    errno = 0;
    const std::uint64_t end = from + bytes.size();
    if (!seekFile(file.get(), from) ||
        std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0 || !syncFileToDisk(file.get()) ||
        (end < size && (!truncateFile(file.get(), end) || !syncFileToDisk(file.get())))) {
        return SaveResult::failed(lastError());
    }
    if (std::fclose(file.release()) != 0) {
        return SaveResult::failed(lastError());
    }
    return {};
}

bool isSafeSaveTemporary(std::string_view fileName) {
    const std::size_t marker = fileName.rfind(kTemporaryMarker);
    if (marker == std::string_view::npos || marker == 0) {
        return false;
    }
    const std::string_view suffix = fileName.substr(marker + kTemporaryMarker.size());
    const std::size_t dash = suffix.find('-');
    return dash != std::string_view::npos && ascii::isAllDigits(suffix.substr(0, dash)) &&
           ascii::isAllDigits(suffix.substr(dash + 1));
}

int removeLeftoverTemporaries(const std::string& dir) {
    int removed = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(toFsPath(dir), error), end; !error && it != end;
         it.increment(error)) {
        const auto name = it->path().filename().u8string();
        std::error_code ignored;
        if (isSafeSaveTemporary(std::string(name.begin(), name.end())) &&
            it->is_regular_file(ignored) && std::filesystem::remove(it->path(), ignored)) {
            ++removed;
        }
    }
    return removed;
}
