#include "support/PlatformFiles.h"

#include <cerrno>
#include <fstream>
#include <io.h>
#include <iterator>
#include <system_error>

std::string errorReason(int errorNumber) {
    return std::to_string(errorNumber) + " - " + std::generic_category().message(errorNumber);
}

bool syncFileToDisk(std::FILE* file) {
    return ::_commit(::_fileno(file)) == 0;
}

std::FILE* openFileForWriting(const std::filesystem::path& path) {
    return ::_wfopen(path.c_str(), L"wb");
}

std::FILE* openFileForUpdate(const std::filesystem::path& path) {
    return ::_wfopen(path.c_str(), L"r+b");
}

bool seekFile(std::FILE* file, std::uint64_t offset) {
    return ::_fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
}

bool truncateFile(std::FILE* file, std::uint64_t size) {
    return std::fflush(file) == 0 &&
           ::_chsize_s(::_fileno(file), static_cast<long long>(size)) == 0;
}

bool fileSizeOf(std::FILE* file, std::uint64_t& size) {
    const long long length = ::_filelengthi64(::_fileno(file));
    if (length < 0) {
        return false;
    }
    size = static_cast<std::uint64_t>(length);
    return true;
}

void copyFileOwnership(std::FILE*, const std::filesystem::path&) {
    // Windows files take their access rights from the folder they are in.
}

FileRead readRegularFile(const std::filesystem::path& path) {
    FileRead result;
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        result.status = ReadStatus::Missing;
        result.reason = errorReason(ENOENT);
        return result;
    }
    if (!std::filesystem::is_regular_file(status)) {
        result.status = ReadStatus::NotRegular;
        result.reason = "not a regular file";
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.reason = errorReason(errno != 0 ? errno : EACCES);
        return result;
    }
    result.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        result.bytes.clear();
        result.reason = errorReason(EIO);
        return result;
    }
    result.status = ReadStatus::Ok;
    return result;
}
