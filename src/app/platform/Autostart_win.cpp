#include "platform/Autostart.h"

#include "support/TextFile.h"

#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>

namespace {

constexpr const wchar_t* kShortcutName = L"Rufwacht.lnk";

struct ComRelease {
    void operator()(IUnknown* object) const {
        if (object != nullptr) {
            object->Release();
        }
    }
};
template <typename T> using ComPointer = std::unique_ptr<T, ComRelease>;

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

std::string utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

Autostart::Failure failureOf(HRESULT result) {
    LPWSTR buffer = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring description = buffer != nullptr ? buffer : L"unknown error";
    LocalFree(buffer);
    while (!description.empty() && (description.back() == L'\r' || description.back() == L'\n')) {
        description.pop_back();
    }
    return {static_cast<long>(result), utf8(description)};
}

// COM for this thread while a shortcut is made; the GUI thread usually has it already.
class ComScope {
public:
    ComScope() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(m_result)) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT m_result;
};

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
            return failureOf(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
        }
        const ComScope com;
        IShellLinkW* rawLink = nullptr;
        HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_IShellLinkW, reinterpret_cast<void**>(&rawLink));
        ComPointer<IShellLinkW> link(rawLink);
        if (FAILED(result)) {
            return failureOf(result);
        }
        const auto target = toFsPath(executable);
        result = link->SetPath(target.c_str());
        if (SUCCEEDED(result)) {
            const std::wstring arguments =
                configDir.empty()
                    ? std::wstring()
                    : L"\"" + toFsPath(configDirArgument(configDir)).wstring() + L"\"";
            result = link->SetArguments(arguments.c_str());
        }
        if (SUCCEEDED(result)) {
            result = link->SetWorkingDirectory(target.parent_path().c_str());
        }
        IPersistFile* rawFile = nullptr;
        if (SUCCEEDED(result)) {
            result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile));
        }
        ComPointer<IPersistFile> file(rawFile);
        if (SUCCEEDED(result)) {
            result = file->Save(path.c_str(), TRUE);
        }
        if (FAILED(result)) {
            return failureOf(result);
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
