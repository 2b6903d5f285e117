#pragma once

#include <memory>
#include <optional>
#include <string>

class Log;

/// The entry that starts the program when the user logs on: an XDG autostart file on Linux, a
/// shortcut in the Startup folder on Windows. One implementation file per platform.
class Autostart {
public:
    /// Why the entry could not be made: the system's error number and its description.
    struct Failure {
        long number = 0;
        std::string description;
    };

    virtual ~Autostart() = default;

    /// True when the entry exists, whatever it starts.
    virtual bool exists() const = 0;
    /// Makes the entry start the executable (an absolute path), with "--config-dir=" and the
    /// settings folder when one is given, else without arguments.
    virtual std::optional<Failure> create(const std::string& executable,
                                          const std::string& configDir) = 0;
    /// Removes the entry; a missing one is no error.
    virtual void remove() = 0;
};

/// The platform's autostart entry.
std::unique_ptr<Autostart> makeSystemAutostart();

/// Brings the entry in line with the setting: on creates it unless it exists (an existing entry
/// is left as it is), off removes it. configDir is the settings folder the program was started
/// with, empty for the default one. A failure to create it is logged, never shown.
void applyAutostartSetting(Autostart& autostart, bool on, const std::string& executable,
                           const std::string& configDir, const Log& log);

/// The argument that starts the program on the settings folder: "--config-dir=DIR", without
/// the folder's trailing separator.
std::string configDirArgument(std::string configDir);
