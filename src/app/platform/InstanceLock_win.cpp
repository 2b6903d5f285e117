#include "support/InstanceLock.h"

#include <windows.h>

#include <filesystem>

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
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
    return true;
}
