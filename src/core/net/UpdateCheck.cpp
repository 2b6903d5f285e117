#include "net/UpdateCheck.h"

#include "support/AsciiText.h"

#include <algorithm>
#include <array>

namespace {

std::string_view trimmed(std::string_view text) {
    return ascii::trimmed(text, " \t\r\n");
}

std::optional<int> parseNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : digits) {
        if (!ascii::isDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

constexpr std::string_view kShaKey = "sha256=";
constexpr std::size_t kShaDigits = 64;

// The digest named in the comment: empty when none is named, nothing when it is malformed.
std::optional<std::string> digestIn(std::string_view comment) {
    const std::size_t key = comment.find(kShaKey);
    if (key == std::string_view::npos) {
        return std::string();
    }
    std::string_view digest = comment.substr(key + kShaKey.size());
    digest = digest.substr(0, digest.find_first_of(" \t"));
    if (digest.size() != kShaDigits || !std::all_of(digest.begin(), digest.end(), isHexDigit)) {
        return std::nullopt;
    }
    return ascii::lowered(std::string(digest));
}

} // namespace

std::optional<VersionNumber> parseVersion(std::string_view text) {
    std::array<int, 3> numbers{};
    std::size_t count = 0;
    while (true) {
        const std::size_t dot = text.find('.');
        if (count == numbers.size()) {
            return std::nullopt;
        }
        const auto number = parseNumber(text.substr(0, dot));
        if (!number) {
            return std::nullopt;
        }
        numbers[count++] = *number;
        if (dot == std::string_view::npos) {
            break;
        }
        text.remove_prefix(dot + 1);
    }
    return VersionNumber{numbers[0], numbers[1], numbers[2]};
}

VersionLine parseVersionLine(std::string_view firstLine) {
    VersionLine line;
    const std::size_t hash = firstLine.find('#');
    line.versionText = std::string(trimmed(firstLine.substr(0, hash)));
    const auto digest = hash == std::string_view::npos ? std::optional<std::string>(std::string())
                                                       : digestIn(firstLine.substr(hash + 1));
    if (digest) {
        line.setupSha256 = *digest;
        line.version = parseVersion(line.versionText);
    } else {
        line.malformedDigest = true;
    }
    return line;
}

std::string updateBase(std::string_view address) {
    std::string base(trimmed(address));
    while (!base.empty() && base.back() == '/') {
        base.pop_back();
    }
    return base + "/";
}

SetupPackage windowsSetup(std::string_view version) {
    return {"Rufwacht-" + std::string(version) + ".exe", "update.exe"};
}

SetupPackage debianPackage(std::string_view version) {
    const std::string name = "rufwacht_" + std::string(version) + "_amd64.deb";
    return {name, name};
}

int progressPercent(std::int64_t value, std::int64_t highest) {
    if (highest < 1) {
        return 100;
    }
    value = std::clamp<std::int64_t>(value, 0, highest);
    return static_cast<int>((value * 200 + highest) / (highest * 2));
}
