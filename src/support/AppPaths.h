#pragma once

#include <string>

// Where the program's files live. Both paths end in exactly one separator; every file path of
// the program is built from one of them.
extern std::string AppPath;   // the executable's folder
extern std::string ConfigDir; // the user's settings and lists

/// Sets AppPath from the executable's folder and ConfigDir from it: AppPath + "config/" when
/// that folder can be created and written (the portable layout), otherwise the per-user
/// configuration folder ($XDG_CONFIG_HOME/rufwacht/, by default ~/.config/rufwacht/).
/// A non-empty configDirOverride wins over both.
void initAppPath(const std::string& executableDir, const std::string& configDirOverride = {});

/// The path with exactly one trailing separator.
std::string withTrailingSeparator(std::string dir);

/// A path taken from the settings, usable here: a "\" from a Windows-made file is taken as "/",
/// and a relative path is resolved against AppPath rather than the working folder.
std::string resolveAppRelative(const std::string& path);

/// True for an existing entry that is not a directory; false for anything that cannot be
/// examined. Never throws.
bool fileExists(const std::string& path);

/// True for an existing directory; false otherwise. Never throws.
bool dirExists(const std::string& path);

/// Creates the directory (and missing parents) unless it exists; true when it exists afterwards.
bool ensureDir(const std::string& path);
