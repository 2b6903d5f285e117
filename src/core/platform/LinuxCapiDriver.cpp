#include "platform/LinuxCapiDriver.h"

#include "line/CapiMessages.h"
#include "line/SystemCapiDriver.h"

#include <array>
#include <csignal>
#include <cstring>
#include <dlfcn.h>
#include <poll.h>

namespace {

// libcapi20 answers these itself when it cannot reach a CAPI.
constexpr std::uint32_t kNotInstalled = 0x1009;
constexpr std::uint32_t kOsResourceError = 0x1108;

constexpr std::uint32_t kIllegalMessage = 0x1102;

// The remote modules write to their socket without MSG_NOSIGNAL: a router that has closed the
// connection would otherwise end the program with SIGPIPE instead of an error result.
void ignoreBrokenPipes() {
    struct sigaction current {};
    if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
        ::signal(SIGPIPE, SIG_IGN);
    }
}

} // namespace

std::unique_ptr<CapiDriver> makeSystemCapiDriver(const std::string& library) {
    return library.empty() ? std::make_unique<LinuxCapiDriver>()
                           : std::make_unique<LinuxCapiDriver>(library);
}

LinuxCapiDriver::LinuxCapiDriver(const std::string& libraryPath) {
    m_library = ::dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_library == nullptr) {
        const char* error = ::dlerror();
        m_loadError = error ? error : libraryPath + ": cannot be loaded";
        return;
    }
    resolve(m_register, "capi20_register");
    resolve(m_release, "capi20_release");
    resolve(m_putMessage, "capi20_put_message");
    resolve(m_getMessage, "capi20_get_message");
    resolve(m_isInstalled, "capi20_isinstalled");
    resolve(m_getManufacturer, "capi20_get_manufacturer");
    resolve(m_getVersion, "capi20_get_version");
    resolve(m_getSerialNumber, "capi20_get_serial_number");
    resolve(m_getProfile, "capi20_get_profile");
    resolve(m_fileno, "capi20_fileno");
    ignoreBrokenPipes();
}

LinuxCapiDriver::~LinuxCapiDriver() {
    if (m_registered && usable()) {
        m_release(m_applId);
    }
    if (m_library != nullptr) {
        ::dlclose(m_library);
    }
}

template <typename Fn> void LinuxCapiDriver::resolve(Fn& function, const char* name) {
    if (!m_loadError.empty()) {
        return;
    }
    ::dlerror();
    void* symbol = ::dlsym(m_library, name);
    if (symbol == nullptr) {
        // A library without one of the functions is as unusable as a missing one.
        const char* error = ::dlerror();
        m_loadError = error ? error : std::string(name) + ": symbol not found";
        return;
    }
    function = reinterpret_cast<Fn>(symbol);
}

std::optional<std::string> LinuxCapiDriver::loadFailure() const {
    if (m_loadError.empty()) {
        return std::nullopt;
    }
    return m_loadError;
}

std::uint32_t LinuxCapiDriver::registerApplication(std::uint32_t,
                                                   std::uint32_t maxLogicalConnections,
                                                   std::uint32_t maxBDataBlocks,
                                                   std::uint32_t maxBDataLen,
                                                   std::uint32_t& applId) {
    if (!usable()) {
        return kNotInstalled;
    }
    // libcapi20 sizes its message buffer itself.
    unsigned id = 0;
    const auto result = m_register(maxLogicalConnections, maxBDataBlocks, maxBDataLen, &id);
    if (result == 0) {
        applId = id;
        m_applId = id;
        m_registered = true;
        m_connectionLost = false;
    }
    return result;
}

std::uint32_t LinuxCapiDriver::releaseApplication(std::uint32_t applId) {
    if (!usable()) {
        return kNotInstalled;
    }
    const auto result = m_release(applId);
    if (result == 0 && applId == m_applId) {
        m_registered = false;
    }
    return result;
}

std::uint32_t LinuxCapiDriver::putMessage(std::uint32_t applId, const std::uint8_t* message) {
    if (!usable()) {
        return kNotInstalled;
    }
    const std::size_t length = capi::readLE(message, 2, 0, 2);
    if (length > m_putBuffer.size()) {
        return kIllegalMessage;
    }
    // The library takes a non-const pointer; its remote module copies a whole send buffer (2 KiB
    // and a little more) from it, whatever the message's length, so it gets a buffer that long.
    std::memcpy(m_putBuffer.data(), message, length);
    return m_putMessage(applId, m_putBuffer.data());
}

std::uint32_t LinuxCapiDriver::getMessage(std::uint32_t applId, CapiMessageView& message) {
    if (!usable()) {
        return kNotInstalled;
    }
    if (m_connectionLost) {
        return capi::kQueueEmpty;
    }
    // The remote modules block in capi20_get_message while nothing is queued, so ask the
    // descriptor first and never call the library unless a message waits.
    const int fd = m_fileno(applId);
    bool hungUp = false;
    if (fd >= 0) {
        pollfd waiting{fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, 0);
        if (ready <= 0) {
            return capi::kQueueEmpty;
        }
        hungUp = (waiting.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0 &&
                 (waiting.revents & POLLIN) == 0;
    }
    unsigned char* buffer = nullptr;
    const auto result = hungUp ? capi::kQueueEmpty : m_getMessage(applId, &buffer);
    if (fd >= 0 && result == capi::kQueueEmpty) {
        // Readable, yet nothing to fetch: the other side has gone. Report it once and stop
        // offering the descriptor so that nobody spins on it.
        m_connectionLost = true;
        m_fault = "Connection to the CAPI lost: the message channel is readable but holds no "
                  "message";
        return kDriverFault;
    }
    if (result != 0) {
        return result;
    }
    if (buffer == nullptr) {
        return kOsResourceError;
    }
    // libcapi20 hands over whole messages; the header's length field says how many bytes.
    message.data = buffer;
    message.size = std::max<std::size_t>(capi::readLE(buffer, 2, 0, 2), 2);
    return 0;
}

std::uint32_t LinuxCapiDriver::queryText(QueryTextFn query, char* target, std::size_t size) {
    std::memset(target, 0, size);
    if (!usable()) {
        return kNotInstalled;
    }
    // The library writes up to 64 bytes whatever the caller's buffer holds.
    std::array<unsigned char, 64> buffer{};
    if (query(1, buffer.data()) == nullptr) {
        return kNotInstalled;
    }
    std::memcpy(target, buffer.data(), std::min(size, buffer.size()));
    return 0;
}

std::uint32_t LinuxCapiDriver::getManufacturer(char* buffer64) {
    return queryText(m_getManufacturer, buffer64, 64);
}

std::uint32_t LinuxCapiDriver::getVersion(std::uint32_t& capiMajor, std::uint32_t& capiMinor,
                                          std::uint32_t& manufacturerMajor,
                                          std::uint32_t& manufacturerMinor) {
    if (!usable()) {
        return kNotInstalled;
    }
    // Four 32-bit numbers in host order; the buffer is larger in case a module writes more.
    std::array<unsigned char, 64> buffer{};
    if (m_getVersion(1, buffer.data()) == nullptr) {
        return kNotInstalled;
    }
    std::uint32_t numbers[4];
    std::memcpy(numbers, buffer.data(), sizeof numbers);
    capiMajor = numbers[0];
    capiMinor = numbers[1];
    manufacturerMajor = numbers[2];
    manufacturerMinor = numbers[3];
    return 0;
}

std::uint32_t LinuxCapiDriver::getSerialNumber(char* buffer8) {
    return queryText(m_getSerialNumber, buffer8, 8);
}

std::uint32_t LinuxCapiDriver::getProfile(std::uint8_t* buffer64, std::uint32_t controller) {
    std::memset(buffer64, 0, 64);
    if (!usable()) {
        return kNotInstalled;
    }
    return m_getProfile(controller, buffer64);
}

std::uint32_t LinuxCapiDriver::isInstalled() {
    if (!usable()) {
        return kNotInstalled;
    }
    return m_isInstalled();
}

int LinuxCapiDriver::readinessHandle() const {
    if (!usable() || !m_registered || m_connectionLost) {
        return -1;
    }
    return m_fileno(m_applId);
}
