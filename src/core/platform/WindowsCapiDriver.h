#pragma once

#include "line/CapiDriver.h"

#include <memory>
#include <string>

/// The adapter maker's Capi2032.dll, loaded at run time so that the program starts without it.
class WindowsCapiDriver : public CapiDriver {
public:
    explicit WindowsCapiDriver(const std::string& libraryName = "Capi2032.dll");
    ~WindowsCapiDriver() override;
    WindowsCapiDriver(const WindowsCapiDriver&) = delete;
    WindowsCapiDriver& operator=(const WindowsCapiDriver&) = delete;

    std::optional<std::string> loadFailure() const override;

    std::uint32_t registerApplication(std::uint32_t messageBufferSize,
                                      std::uint32_t maxLogicalConnections,
                                      std::uint32_t maxBDataBlocks, std::uint32_t maxBDataLen,
                                      std::uint32_t& applId) override;
    std::uint32_t releaseApplication(std::uint32_t applId) override;
    std::uint32_t putMessage(std::uint32_t applId, const std::uint8_t* message) override;
    std::uint32_t getMessage(std::uint32_t applId, CapiMessageView& message) override;
    std::uint32_t getManufacturer(char* buffer64) override;
    std::uint32_t getVersion(std::uint32_t& capiMajor, std::uint32_t& capiMinor,
                             std::uint32_t& manufacturerMajor,
                             std::uint32_t& manufacturerMinor) override;
    std::uint32_t getSerialNumber(char* buffer8) override;
    std::uint32_t getProfile(std::uint8_t* buffer64, std::uint32_t controller) override;
    std::uint32_t isInstalled() override;

private:
    struct Functions;

    void* m_library = nullptr; // HMODULE
    std::string m_loadError;
    std::unique_ptr<Functions> m_functions;
};
