#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

/// A program version: major, minor and revision number.
struct VersionNumber {
    int major = 0;
    int minor = 0;
    int revision = 0;
    // NOLINTNEXTLINE(modernize-use-nullptr): the defaulted comparison holds no pointer
    auto operator<=>(const VersionNumber&) const = default;
};

/// Up to three decimal numbers separated by "." ("2.4" is 2.4.0); nothing for any other text.
std::optional<VersionNumber> parseVersion(std::string_view text);

/// The first line of the update server's version.txt: the version before the first "#", and
/// after it, optionally, "sha256=" with the setup file's digest in 64 hex digits.
struct VersionLine {
    std::string versionText; // as shown, blanks trimmed
    /// Nothing when the line holds no usable version (or names a malformed digest): the check
    /// has no result.
    std::optional<VersionNumber> version;
    std::string setupSha256;      // lower-case hex; empty when the line names none
    bool malformedDigest = false; // "sha256=" is followed by anything but 64 hex digits
};
VersionLine parseVersionLine(std::string_view firstLine);

/// The update server's base address with exactly one "/" at its end.
std::string updateBase(std::string_view address);

/// The setup file of a version: its name on the update server and in the update folder.
struct SetupPackage {
    std::string remoteName;
    std::string localName;
};
/// "Rufwacht-<v>.exe", stored as "update.exe".
SetupPackage windowsSetup(std::string_view version);
/// "rufwacht_<v>_amd64.deb", stored under the same name so that the desktop knows it.
SetupPackage debianPackage(std::string_view version);
/// The setup file of this platform.
SetupPackage setupPackageFor(std::string_view version);

/// The progress bar's percent for value of highest: value clamped to 0..highest, rounded to
/// the nearest percent; 100 when highest is below 1.
int progressPercent(std::int64_t value, std::int64_t highest);
