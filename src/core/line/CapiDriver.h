#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

/// One message handed over by the driver. The bytes stay valid until the next CAPI_GET_MESSAGE;
/// size is how many bytes the driver holds for it.
struct CapiMessageView {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

class LineTestControl;

/// The adapter's CAPI 2.0 driver as the line interface uses it. Every result is a CAPI info
/// code, 0 meaning success. No call ever waits.
class CapiDriver {
public:
    /// A result that is no CAPI info code: the driver itself failed; faultDescription() says how.
    static constexpr std::uint32_t kDriverFault = 0xFFFF0001;

    virtual ~CapiDriver() = default;

    /// Nothing when the driver's library is usable; otherwise the platform's description of
    /// why it could not be loaded (missing file or missing function).
    virtual std::optional<std::string> loadFailure() const { return std::nullopt; }

    /// Why the last call answered kDriverFault.
    virtual std::string faultDescription() const { return {}; }

    virtual std::uint32_t registerApplication(std::uint32_t messageBufferSize,
                                              std::uint32_t maxLogicalConnections,
                                              std::uint32_t maxBDataBlocks,
                                              std::uint32_t maxBDataLen, std::uint32_t& applId) = 0;
    virtual std::uint32_t releaseApplication(std::uint32_t applId) = 0;
    /// The message (its length is in its header) is copied before the call returns.
    virtual std::uint32_t putMessage(std::uint32_t applId, const std::uint8_t* message) = 0;
    /// 0 with the next queued message, 0x1104 when the queue is empty.
    virtual std::uint32_t getMessage(std::uint32_t applId, CapiMessageView& message) = 0;
    /// A NUL-padded text into a buffer of 64 bytes.
    virtual std::uint32_t getManufacturer(char* buffer64) = 0;
    virtual std::uint32_t getVersion(std::uint32_t& capiMajor, std::uint32_t& capiMinor,
                                     std::uint32_t& manufacturerMajor,
                                     std::uint32_t& manufacturerMinor) = 0;
    /// A NUL-padded text into a buffer of 8 bytes.
    virtual std::uint32_t getSerialNumber(char* buffer8) = 0;
    /// The 64-byte profile of the controller.
    virtual std::uint32_t getProfile(std::uint8_t* buffer64, std::uint32_t controller) = 0;
    /// 0 when CAPI is available.
    virtual std::uint32_t isInstalled() = 0;

    /// A file descriptor that becomes readable while a message is queued; -1 when the driver has
    /// none (or no longer has one, e.g. after the connection to a remote CAPI was lost).
    virtual int readinessHandle() const { return -1; }

    /// The driver's test controls; null for a real adapter.
    virtual LineTestControl* testControl() { return nullptr; }
};
