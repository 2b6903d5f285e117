#include "platform/Autostart.h"

#include "support/AppPaths.h"
#include "support/SafeSave.h"
#include "support/TextFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kEntryName = "rufwacht.desktop";

// $XDG_CONFIG_HOME/autostart/, by default ~/.config/autostart/. Empty when no folder is known.
std::string autostartDir() {
    const std::string base = userConfigHome();
    return base.empty() ? base : base + "autostart/";
}

// An Exec argument: in double quotes with the characters that quoting reserves escaped;
// then, as in every value of the file, backslashes and line breaks escaped, and "%" doubled so
// that it is no field code.
std::string execArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (const char c : quoted) {
        switch (c) {
        case '\\':
            value += "\\\\";
            break;
        case '\n':
            value += "\\n";
            break;
        case '\r':
            value += "\\r";
            break;
        case '%':
            value += "%%";
            break;
        default:
            value += c;
        }
    }
    return value;
}

Autostart::Failure failureOf(int number) {
    return {number, std::generic_category().message(number)};
}

class XdgAutostart : public Autostart {
public:
    bool exists() const override {
        const std::string dir = autostartDir();
        return !dir.empty() && fileExists(dir + kEntryName);
    }

    std::optional<Failure> create(const std::string& executable,
                                  const std::string& configDir) override {
        const std::string dir = autostartDir();
        if (dir.empty()) {
            return failureOf(ENOENT);
        }
        std::error_code error;
        std::filesystem::create_directories(toFsPath(dir), error);
        if (error) {
            return Failure{error.value(), error.message()};
        }
        const std::string entry =
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Rufwacht\n"
            "Comment=Shows incoming telephone calls\n"
            "Exec=" +
            execArgument(executable) +
            (configDir.empty() ? std::string() : " " + execArgument(configDirArgument(configDir))) +
            "\n"
            "Terminal=false\n"
            "X-GNOME-Autostart-enabled=true\n";
        errno = 0;
        if (!safeSave(dir + kEntryName, entry)) {
            return failureOf(errno != 0 ? errno : EIO);
        }
        return std::nullopt;
    }

    void remove() override {
        const std::string dir = autostartDir();
        if (dir.empty()) {
            return;
        }
        std::error_code ignored;
        std::filesystem::remove(toFsPath(dir + kEntryName), ignored);
    }
};

} // namespace

std::unique_ptr<Autostart> makeSystemAutostart() {
    return std::make_unique<XdgAutostart>();
}
