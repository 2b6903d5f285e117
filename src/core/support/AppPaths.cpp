#include "support/AppPaths.h"

#include "support/TextFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

constexpr char kSeparator = '/';

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

// A folder is usable for the settings when it exists (or can be made) and takes a file.
bool isWritableDir(const std::string& dir) {
    if (!ensureDir(dir)) {
        return false;
    }
    const auto probe = toFsPath(dir) / ".write-test";
    {
        std::ofstream out(probe, std::ios::binary);
        if (!out) {
            return false;
        }
    }
    std::error_code ignored;
    std::filesystem::remove(probe, ignored);
    return true;
}

std::string userConfigDir() {
    if (const std::string base = userConfigHome(); !base.empty()) {
        return base + "rufwacht/";
    }
    if (const char* appData = std::getenv("APPDATA"); appData != nullptr && *appData != '\0') {
        return withTrailingSeparator(appData) + "Rufwacht/";
    }
    return "config/";
}

// The shipped tree is there when one of its folders is (a damaged tree still counts, so that
// the start-up checks name what is missing).
bool holdsDataTree(const std::string& dir) {
    return dirExists(dir + "lang") || dirExists(dir + "prefix") || dirExists(dir + "res");
}

// "<prefix>/bin/" gives "<prefix>/share/rufwacht/".
std::string installedDataDir(const std::string& executableDir) {
    const std::string dir = executableDir.substr(0, executableDir.size() - 1);
    const auto parentEnd = dir.find_last_of("/\\");
    const std::string prefix =
        parentEnd == std::string::npos ? executableDir + "../" : dir.substr(0, parentEnd + 1);
    return prefix + "share/rufwacht/";
}

} // namespace

std::string withTrailingSeparator(std::string dir) {
    while (dir.size() > 1 && isSeparator(dir.back()) && isSeparator(dir[dir.size() - 2])) {
        dir.pop_back();
    }
    if (dir.empty() || !isSeparator(dir.back())) {
        dir.push_back(kSeparator);
    }
    return dir;
}

std::string userConfigHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        return withTrailingSeparator(xdg);
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return withTrailingSeparator(home) + ".config/";
    }
    return {};
}

AppPaths::AppPaths(const std::string& dataDir, const std::string& configDir)
    : m_dataDir(withTrailingSeparator(dataDir)), m_configDir(withTrailingSeparator(configDir)) {}

AppPaths AppPaths::locate(const std::string& executableDir, const std::string& configDirOverride) {
    const std::string besideExecutable = withTrailingSeparator(executableDir);
    if (const std::string installed = installedDataDir(besideExecutable);
        !holdsDataTree(besideExecutable) && holdsDataTree(installed)) {
        return {installed, configDirOverride.empty() ? userConfigDir() : configDirOverride};
    }
    if (!configDirOverride.empty()) {
        return {besideExecutable, configDirOverride};
    }
    const std::string portable = besideExecutable + "config/";
    return {besideExecutable, isWritableDir(portable) ? portable : userConfigDir()};
}

std::string AppPaths::dataFile(std::string_view relative) const {
    return m_dataDir + std::string(relative);
}

std::string AppPaths::configFile(std::string_view name) const {
    return m_configDir + std::string(name);
}

std::string AppPaths::resolve(const std::string& path) const {
    std::string result = path;
    if constexpr (kSeparator == '/') {
        for (auto& c : result) {
            if (c == '\\') {
                c = '/';
            }
        }
    }
    if (result.empty() || toFsPath(result).is_absolute()) {
        return result;
    }
    std::string_view rest = result;
    while (rest.size() >= 2 && rest[0] == '.' && isSeparator(rest[1])) {
        rest.remove_prefix(2);
    }
    return m_dataDir + std::string(rest);
}

bool fileExists(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(toFsPath(path), error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

bool dirExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(toFsPath(path), error) && !error;
}

bool ensureDir(const std::string& path) {
    if (dirExists(path)) {
        return true;
    }
    std::error_code error;
    std::filesystem::create_directories(toFsPath(path), error);
    return dirExists(path);
}
