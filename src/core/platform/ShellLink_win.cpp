#include "platform/ShellLink.h"

#include <windows.h>

#include <objbase.h>
#include <shobjidl.h>

#include <memory>

namespace {

struct ComRelease {
    void operator()(IUnknown* object) const {
        if (object != nullptr) {
            object->Release();
        }
    }
};
template <typename T> using ComPointer = std::unique_ptr<T, ComRelease>;

// COM for this thread while a shortcut is made or read; the GUI thread usually has it already.
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

std::string utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

ShellLinkFailure failureOf(HRESULT result) {
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

ComPointer<IShellLinkW> newShellLink(HRESULT& result) {
    IShellLinkW* link = nullptr;
    result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link));
    return ComPointer<IShellLinkW>(SUCCEEDED(result) ? link : nullptr);
}

ComPointer<IPersistFile> fileOf(IShellLinkW& link, HRESULT& result) {
    IPersistFile* file = nullptr;
    result = link.QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    return ComPointer<IPersistFile>(SUCCEEDED(result) ? file : nullptr);
}

} // namespace

std::optional<ShellLinkFailure> writeShellLink(const std::filesystem::path& path,
                                               const ShellLink& link) {
    const ComScope com;
    HRESULT result = S_OK;
    const auto shellLink = newShellLink(result);
    if (SUCCEEDED(result)) {
        result = shellLink->SetPath(link.target.c_str());
    }
    if (SUCCEEDED(result)) {
        result = shellLink->SetArguments(link.arguments.c_str());
    }
    if (SUCCEEDED(result)) {
        result = shellLink->SetWorkingDirectory(link.workingDirectory.c_str());
    }
    ComPointer<IPersistFile> file;
    if (SUCCEEDED(result)) {
        file = fileOf(*shellLink, result);
    }
    if (SUCCEEDED(result)) {
        result = file->Save(path.c_str(), TRUE);
    }
    if (FAILED(result)) {
        return failureOf(result);
    }
    return std::nullopt;
}

std::optional<ShellLink> readShellLink(const std::filesystem::path& path) {
    const ComScope com;
    HRESULT result = S_OK;
    const auto shellLink = newShellLink(result);
    ComPointer<IPersistFile> file;
    if (SUCCEEDED(result)) {
        file = fileOf(*shellLink, result);
    }
    if (SUCCEEDED(result)) {
        result = file->Load(path.c_str(), STGM_READ);
    }
    if (FAILED(result)) {
        return std::nullopt;
    }
    // Shortcut fields are limited to MAX_PATH characters, arguments to INFOTIPSIZE.
    wchar_t target[MAX_PATH] = {};
    wchar_t arguments[INFOTIPSIZE] = {};
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(shellLink->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) ||
        FAILED(shellLink->GetArguments(arguments, INFOTIPSIZE)) ||
        FAILED(shellLink->GetWorkingDirectory(folder, MAX_PATH))) {
        return std::nullopt;
    }
    return ShellLink{target, arguments, folder};
}

std::wstring quotedArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return argument;
    }
    // Backslashes are literal except before a quote, where they are halved.
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t character : argument) {
        if (character == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(character == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        quoted += character;
        backslashes = 0;
    }
    quoted.append(2 * backslashes, L'\\');
    quoted += L'"';
    return quoted;
}
