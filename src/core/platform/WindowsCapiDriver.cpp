#include "platform/WindowsCapiDriver.h"

#include "line/CapiMessages.h"
#include "line/SystemCapiDriver.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>

namespace {

constexpr std::uint32_t kNotInstalled = 0x1009;

/// The system's text for a Windows error code, without its trailing line break.
std::string systemErrorText(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message =
        length ? std::string(text, length) : "Windows error " + std::to_string(code);
    if (text) {
        LocalFree(text);
    }
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n')) {
        message.pop_back();
    }
    return message;
}

} // namespace

// The functions of the CAPI 2.0 standard for 32-bit Windows, all APIENTRY (stdcall).
struct WindowsCapiDriver::Functions {
    DWORD(APIENTRY* registerApp)(DWORD, DWORD, DWORD, DWORD, DWORD*) = nullptr;
    DWORD(APIENTRY* release)(DWORD) = nullptr;
    DWORD(APIENTRY* putMessage)(DWORD, LPVOID) = nullptr;
    DWORD(APIENTRY* getMessage)(DWORD, LPVOID*) = nullptr;
    DWORD(APIENTRY* getManufacturer)(char*) = nullptr;
    DWORD(APIENTRY* getVersion)(DWORD*, DWORD*, DWORD*, DWORD*) = nullptr;
    DWORD(APIENTRY* getSerialNumber)(char*) = nullptr;
    DWORD(APIENTRY* getProfile)(LPVOID, DWORD) = nullptr;
    DWORD(APIENTRY* installed)() = nullptr;
};

std::unique_ptr<CapiDriver> makeSystemCapiDriver(const std::string& library) {
    return library.empty() ? std::make_unique<WindowsCapiDriver>()
                           : std::make_unique<WindowsCapiDriver>(library);
}

WindowsCapiDriver::WindowsCapiDriver(const std::string& libraryName)
    : m_functions(std::make_unique<Functions>()) {
    HMODULE library = LoadLibraryA(libraryName.c_str());
    if (library == nullptr) {
        m_loadError = libraryName + ": " + systemErrorText(GetLastError());
        return;
    }
    m_library = library;
    auto resolve = [&](auto& function, const char* name) {
        if (!m_loadError.empty()) {
            return;
        }
        const FARPROC address = GetProcAddress(library, name);
        if (address == nullptr) {
            // A library without one of the functions is as unusable as a missing one.
            m_loadError = libraryName + ": " + name + ": " + systemErrorText(GetLastError());
            return;
        }
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
            reinterpret_cast<void*>(address));
    };
    resolve(m_functions->registerApp, "CAPI_REGISTER");
    resolve(m_functions->release, "CAPI_RELEASE");
    resolve(m_functions->putMessage, "CAPI_PUT_MESSAGE");
    resolve(m_functions->getMessage, "CAPI_GET_MESSAGE");
    resolve(m_functions->getManufacturer, "CAPI_GET_MANUFACTURER");
    resolve(m_functions->getVersion, "CAPI_GET_VERSION");
    resolve(m_functions->getSerialNumber, "CAPI_GET_SERIAL_NUMBER");
    resolve(m_functions->getProfile, "CAPI_GET_PROFILE");
    resolve(m_functions->installed, "CAPI_INSTALLED");
}

WindowsCapiDriver::~WindowsCapiDriver() {
    if (m_library != nullptr) {
        FreeLibrary(static_cast<HMODULE>(m_library));
    }
}

std::optional<std::string> WindowsCapiDriver::loadFailure() const {
    if (m_loadError.empty()) {
        return std::nullopt;
    }
    return m_loadError;
}

std::uint32_t WindowsCapiDriver::registerApplication(std::uint32_t messageBufferSize,
                                                     std::uint32_t maxLogicalConnections,
                                                     std::uint32_t maxBDataBlocks,
                                                     std::uint32_t maxBDataLen,
                                                     std::uint32_t& applId) {
    if (!m_loadError.empty()) {
        return kNotInstalled;
    }
    DWORD id = 0;
    const DWORD result = m_functions->registerApp(messageBufferSize, maxLogicalConnections,
                                                  maxBDataBlocks, maxBDataLen, &id);
    if (result == 0) {
        applId = id;
    }
    return result;
}

std::uint32_t WindowsCapiDriver::releaseApplication(std::uint32_t applId) {
    if (!m_loadError.empty()) {
        return kNotInstalled;
    }
    return m_functions->release(applId);
}

std::uint32_t WindowsCapiDriver::putMessage(std::uint32_t applId, const std::uint8_t* message) {
    if (!m_loadError.empty()) {
        return kNotInstalled;
    }
    // The driver copies the message and does not change it.
    return m_functions->putMessage(applId, const_cast<std::uint8_t*>(message));
}

std::uint32_t WindowsCapiDriver::getMessage(std::uint32_t applId, CapiMessageView& message) {
    if (!m_loadError.empty()) {
        return kNotInstalled;
    }
    LPVOID buffer = nullptr;
    const DWORD result = m_functions->getMessage(applId, &buffer);
    if (result != 0) {
        return result;
    }
    if (buffer == nullptr) {
        return 0x1108;
    }
    // The driver hands over whole messages; the header's length field says how many bytes.
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    message.data = bytes;
    message.size = std::max<std::size_t>(capi::readLE(bytes, 2, 0, 2), 2);
    return 0;
}

std::uint32_t WindowsCapiDriver::getManufacturer(char* buffer64) {
    std::memset(buffer64, 0, 64);
    return m_loadError.empty() ? m_functions->getManufacturer(buffer64) : kNotInstalled;
}

std::uint32_t WindowsCapiDriver::getVersion(std::uint32_t& capiMajor, std::uint32_t& capiMinor,
                                            std::uint32_t& manufacturerMajor,
                                            std::uint32_t& manufacturerMinor) {
    if (!m_loadError.empty()) {
        return kNotInstalled;
    }
    DWORD numbers[4] = {};
    const DWORD result =
        m_functions->getVersion(&numbers[0], &numbers[1], &numbers[2], &numbers[3]);
    capiMajor = numbers[0];
    capiMinor = numbers[1];
    manufacturerMajor = numbers[2];
    manufacturerMinor = numbers[3];
    return result;
}

std::uint32_t WindowsCapiDriver::getSerialNumber(char* buffer8) {
    std::memset(buffer8, 0, 8);
    return m_loadError.empty() ? m_functions->getSerialNumber(buffer8) : kNotInstalled;
}

std::uint32_t WindowsCapiDriver::getProfile(std::uint8_t* buffer64, std::uint32_t controller) {
    std::memset(buffer64, 0, 64);
    return m_loadError.empty() ? m_functions->getProfile(buffer64, controller) : kNotInstalled;
}

std::uint32_t WindowsCapiDriver::isInstalled() {
    return m_loadError.empty() ? m_functions->installed() : kNotInstalled;
}
