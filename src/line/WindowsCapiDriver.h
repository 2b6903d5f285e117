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

    std::uint32_t CAPI_REGISTER(std::uint32_t messageBufferSize,
                                std::uint32_t maxLogicalConnections, std::uint32_t maxBDataBlocks,
                                std::uint32_t maxBDataLen, std::uint32_t& applId) override;
    std::uint32_t CAPI_RELEASE(std::uint32_t applId) override;
    std::uint32_t CAPI_PUT_MESSAGE(std::uint32_t applId, const std::uint8_t* message) override;
    std::uint32_t CAPI_GET_MESSAGE(std::uint32_t applId, CapiMessageView& message) override;
    std::uint32_t CAPI_GET_MANUFACTURER(char* buffer64) override;
    std::uint32_t CAPI_GET_VERSION(std::uint32_t& capiMajor, std::uint32_t& capiMinor,
                                   std::uint32_t& manufacturerMajor,
                                   std::uint32_t& manufacturerMinor) override;
    std::uint32_t CAPI_GET_SERIAL_NUMBER(char* buffer8) override;
    std::uint32_t CAPI_GET_PROFILE(std::uint8_t* buffer64, std::uint32_t controller) override;
    std::uint32_t CAPI_INSTALLED() override;

private:
    struct Functions;

    void* m_library = nullptr; // HMODULE
    std::string m_loadError;
    std::unique_ptr<Functions> m_functions;
};
