#pragma once

#include <filesystem>
#include <optional>
#include <string>

/// A Windows shortcut (.lnk file) through the shell's IShellLinkW: what it starts, with which
/// arguments, in which folder. Windows only (the autostart entry in the Startup folder).
struct ShellLink {
    std::filesystem::path target;
    std::wstring arguments;
    std::filesystem::path workingDirectory;
};

/// Why the shell could not make or read a shortcut: its HRESULT and the system's text for it.
struct ShellLinkFailure {
    long number = 0;
    std::string description;
};

/// Writes the shortcut file at path (replacing one that is there); nullopt when it was written.
std::optional<ShellLinkFailure> writeShellLink(const std::filesystem::path& path,
                                               const ShellLink& link);

/// Reads the shortcut file at path; nullopt when it is missing or no shortcut.
std::optional<ShellLink> readShellLink(const std::filesystem::path& path);

/// The argument quoted for a Windows command line so that the program's start-up code
/// (CommandLineToArgvW and the C runtime) reads it back as exactly this one argument.
std::wstring quotedArgument(const std::wstring& argument);
