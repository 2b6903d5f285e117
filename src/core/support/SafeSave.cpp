#include "support/SafeSave.h"

#include "support/FileSync.h"
#include "support/TextFile.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::filesystem::path temporarySibling(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    auto name = target.filename().u8string();
    name += u8".tmp-";
    const auto suffix = std::to_string(stamp) + "-" + std::to_string(counter++);
    name += std::u8string(suffix.begin(), suffix.end());
    return target.parent_path() / name;
}

} // namespace

bool safeSave(const std::string& path, std::string_view bytes) {
    const auto target = toFsPath(path);
    const auto temporary = temporarySibling(target);
    {
        std::unique_ptr<std::FILE, FileCloser> file(openFileForWriting(temporary));
        if (!file) {
            return false;
        }
        const bool written =
            std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
            std::fflush(file.get()) == 0 && syncFileToDisk(file.get());
        if (!written) {
            file.reset();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}
