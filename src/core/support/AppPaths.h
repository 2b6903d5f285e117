#pragma once

#include <string>
#include <string_view>

/// Where the program's files live: the data folder with the shipped tree (languages, origin
/// tables, resources, demo) and the user's settings folder. Both end in exactly one separator;
/// every file path of the program is built from one of them.
class AppPaths {
public:
    AppPaths() = default;
    AppPaths(const std::string& dataDir, const std::string& configDir);

    /// Two layouts. Portable: the data tree lies beside the executable, and the settings folder
    /// is the "config/" folder beside it when that can be created and written, otherwise the
    /// per-user configuration folder ($XDG_CONFIG_HOME/rufwacht/, by default
    /// ~/.config/rufwacht/). Installed: no data tree beside the executable but one in
    /// ../share/rufwacht/ from it; the settings are always in the per-user folder, so nothing is
    /// ever written into the installation. A folder with neither tree counts as portable. A
    /// non-empty configDirOverride wins over either settings folder.
    static AppPaths locate(const std::string& executableDir,
                           const std::string& configDirOverride = {});

    const std::string& dataDir() const { return m_dataDir; }
    const std::string& configDir() const { return m_configDir; }

    /// A file of the shipped tree, e.g. dataFile("res/call.wav").
    std::string dataFile(std::string_view relative) const;
    /// A file of the settings folder, e.g. configFile("calls.txt").
    std::string configFile(std::string_view name) const;

    /// A path taken from the settings, usable here: a "\" from a Windows-made file is taken as
    /// "/", and a relative path is resolved against the data folder rather than the working
    /// folder.
    std::string resolve(const std::string& path) const;

private:
    std::string m_dataDir;
    std::string m_configDir;
};

/// The path with exactly one trailing separator.
std::string withTrailingSeparator(std::string dir);

/// The user's configuration folder of the XDG base directory rules: $XDG_CONFIG_HOME when it
/// is an absolute path, else ~/.config/; empty when neither tells a folder.
std::string userConfigHome();

/// True for an existing entry that is not a directory; false for anything that cannot be
/// examined. Never throws.
bool fileExists(const std::string& path);

/// True for an existing directory; false otherwise. Never throws.
bool dirExists(const std::string& path);

/// Creates the directory (and missing parents) unless it exists; true when it exists afterwards.
bool ensureDir(const std::string& path);
