#include "platform/Autostart.h"

#include "platform/ShellLink.h"
#include "support/TextFile.h"

#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

namespace {

constexpr const wchar_t* kShortcutName = L"Rufwacht.lnk";

// The shortcut in the user's Startup folder; empty when the shell cannot name that folder, so
// that nothing is ever made or deleted in a folder that is not the Startup folder.
std::wstring shortcutPath() {
    PWSTR folder = nullptr;
    std::wstring path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, &folder))) {
        path = folder;
        if (!path.empty() && path.back() != L'\\') {
            path += L'\\';
        }
        path += kShortcutName;
    }
    CoTaskMemFree(folder);
    return path;
}

class StartupShortcut : public Autostart {
public:
    bool exists() const override {
        const std::wstring path = shortcutPath();
        if (path.empty()) {
            return false;
        }
        const DWORD attributes = GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }

    std::optional<Failure> create(const std::string& executable,
                                  const std::string& configDir) override {
        const std::wstring path = shortcutPath();
        if (path.empty()) {
            return Failure{static_cast<long>(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)),
                           "The Startup folder is unknown"};
        }
        const auto target = toFsPath(executable);
        const std::wstring arguments =
            configDir.empty() ? std::wstring()
                              : quotedArgument(toFsPath(configDirArgument(configDir)).wstring());
        if (const auto failure = writeShellLink(path, {target, arguments, target.parent_path()})) {
            return Failure{failure->number, failure->description};
        }
        return std::nullopt;
    }

    void remove() override {
        const std::wstring path = shortcutPath();
        if (!path.empty()) {
            DeleteFileW(path.c_str());
        }
    }
};

} // namespace

std::unique_ptr<Autostart> makeSystemAutostart() {
    return std::make_unique<StartupShortcut>();
}
