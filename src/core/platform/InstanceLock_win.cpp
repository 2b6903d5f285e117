#include "support/InstanceLock.h"

#include <windows.h>

#include <filesystem>
#include <string>

InstanceLock::InstanceLock(std::string configDir)
    : m_path(std::move(configDir) + "rufwacht.lock") {}

InstanceLock::~InstanceLock() {
    if (isLocked()) {
        ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    }
}

bool InstanceLock::tryLock() {
    if (isLocked()) {
        return true;
    }
    const std::filesystem::path path(std::u8string(m_path.begin(), m_path.end()));
    // Opened without sharing: a second instance cannot open the file while this one runs.
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    m_failure.clear();
    if (file == INVALID_HANDLE_VALUE) {
        // Another instance holds the file open; anything else is a real fault.
        if (const DWORD error = ::GetLastError(); error != ERROR_SHARING_VIOLATION) {
            m_failure = "Windows error " + std::to_string(error);
        }
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
    return true;
}
