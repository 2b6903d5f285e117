#pragma once

#include "line/CapiDriver.h"

#include <array>
#include <string>

/// The system's libcapi20, loaded with dlopen so that the program starts without it. It speaks
/// to a kernel CAPI or, through its remote modules, to a router's CAPI over TCP; fetches never
/// block because the library's descriptor is polled first.
class LinuxCapiDriver : public CapiDriver {
public:
    explicit LinuxCapiDriver(const std::string& libraryPath = "libcapi20.so.3");
    ~LinuxCapiDriver() override;
    LinuxCapiDriver(const LinuxCapiDriver&) = delete;
    LinuxCapiDriver& operator=(const LinuxCapiDriver&) = delete;

    std::optional<std::string> loadFailure() const override;
    std::string faultDescription() const override { return m_fault; }

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
    int readinessHandle() const override;

private:
    using RegisterFn = unsigned (*)(unsigned, unsigned, unsigned, unsigned*);
    using ReleaseFn = unsigned (*)(unsigned);
    using PutMessageFn = unsigned (*)(unsigned, unsigned char*);
    using GetMessageFn = unsigned (*)(unsigned, unsigned char**);
    using IsInstalledFn = unsigned (*)();
    using QueryTextFn = unsigned char* (*)(unsigned, unsigned char*);
    using GetProfileFn = unsigned (*)(unsigned, unsigned char*);
    using FilenoFn = int (*)(unsigned);

    bool usable() const { return m_library != nullptr && m_loadError.empty(); }
    template <typename Fn> void resolve(Fn& function, const char* name);
    /// A text query of the library into target (size bytes, NUL-padded).
    std::uint32_t queryText(QueryTextFn query, char* target, std::size_t size);

    std::array<unsigned char, 4096> m_putBuffer{};
    void* m_library = nullptr;
    std::string m_loadError;
    std::string m_fault;
    unsigned m_applId = 0;
    bool m_registered = false;
    bool m_connectionLost = false;

    RegisterFn m_register = nullptr;
    ReleaseFn m_release = nullptr;
    PutMessageFn m_putMessage = nullptr;
    GetMessageFn m_getMessage = nullptr;
    IsInstalledFn m_isInstalled = nullptr;
    QueryTextFn m_getManufacturer = nullptr;
    QueryTextFn m_getVersion = nullptr;
    QueryTextFn m_getSerialNumber = nullptr;
    GetProfileFn m_getProfile = nullptr;
    FilenoFn m_fileno = nullptr;
};
