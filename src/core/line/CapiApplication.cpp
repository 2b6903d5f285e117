#include "line/CapiApplication.h"

#include "line/CapiCodeTables.h"
#include "line/CapiMessages.h"
#include "support/TextFile.h"

#include <array>
#include <cstring>

namespace {

// Each put fetches one more message, and handling that message may put again. A burst of
// queued calls would nest once per call and could exhaust the stack; beyond this depth the
// fetch is left to the next drain.
constexpr int kMaxNesting = 16;

// PLCI and CIP value: the least a CONNECT_IND needs to offer a call.
constexpr std::size_t kMinConnectBody = 6;

// Fetch results after which the application has to register again: the driver lost its
// connection to the CAPI or no longer knows the application, or messages were lost.
bool meansLineLost(std::uint32_t fetchResult) {
    switch (fetchResult) {
    case CapiDriver::kDriverFault:
    case capi::kIllegalApplication:
    case 0x1105: // queue overflow: only a release recovers
    case 0x1108: // OS resource error, e.g. the remote CAPI's socket failed
    case 0x1009: // CAPI not installed
    case 0x1109:
        return true;
    default:
        return false;
    }
}

constexpr std::uint32_t kMessageBufferSize = 3072;
constexpr std::uint32_t kMaxLogicalConnections = 2;
constexpr std::uint32_t kMaxBDataBlocks = 7;
constexpr std::uint32_t kMaxBDataLen = 2048;

std::string messageName(const capi::MessageHeader& header) {
    return std::string(CommandName(header.command)) + " - " +
           std::string(SubcommandName(header.subcommand));
}

/// A NUL-padded driver text, up to its first NUL and at most `keep` characters.
std::string paddedText(const char* buffer, std::size_t keep) {
    std::size_t length = 0;
    while (length < keep && buffer[length] != '\0') {
        ++length;
    }
    return cp1252ToUtf8(std::string_view(buffer, length));
}

} // namespace

CapiApplication::CapiApplication(std::unique_ptr<CapiDriver> driver)
    : m_driver(std::move(driver)) {}

bool CapiApplication::registerApplication() {
    if (m_isRegistered) {
        reportError("You are already registered!");
        return false;
    }
    if (const auto failure = m_driver->loadFailure()) {
        reportError("53 - " + *failure);
        return false;
    }
    const auto result = m_driver->registerApplication(kMessageBufferSize, kMaxLogicalConnections,
                                                      kMaxBDataBlocks, kMaxBDataLen, m_applId);
    setLastCommand("CAPI_REGISTER");
    if (checkDriverResult(result)) {
        return false;
    }
    m_isRegistered = true;
    return true;
}

bool CapiApplication::release() {
    if (!m_isRegistered) {
        reportError("You are not registered, so you cannot release!");
        return false;
    }
    const auto result = m_driver->releaseApplication(m_applId);
    setLastCommand("CAPI_RELEASE");
    if (!checkDriverResult(result)) {
        m_isRegistered = false;
    }
    return true;
}

void CapiApplication::releaseLostLine() {
    if (m_isRegistered) {
        release();
    }
    m_isRegistered = false;
    m_lineLost = false;
    m_offered.clear();
    m_rejected.clear();
}

bool CapiApplication::listen() {
    return putMessage(capi::encodeListenReq(applId16()));
}

void CapiApplication::fetchMessage() {
    fetchAndHandle();
}

int CapiApplication::drainMessages(int maxMessages) {
    if (m_lineLost) {
        return 0;
    }
    int fetched = 0;
    while (fetched < maxMessages && fetchAndHandle()) {
        ++fetched;
    }
    return fetched;
}

bool CapiApplication::fetchAndHandle() {
    CapiMessageView view;
    if (m_lineLost) {
        return false;
    }
    const auto result = m_driver->getMessage(m_applId, view);
    if (checkDriverResult(result)) {
        m_lineLost = meansLineLost(result);
        return false;
    }
    if (result != 0) {
        return false;
    }
    if (view.data == nullptr) {
        view.size = 0;
    }
    const auto header = capi::decodeHeader(view.data, view.size);
    setLastCommand(messageName(header));
    if (header.length < capi::kHeaderSize || header.length > view.size) {
        reportError("Malformed message skipped: length field " + std::to_string(header.length) +
                    ", " + std::to_string(view.size) + " bytes received");
        return true;
    }
    // From here on only the bytes the header claims count.
    const std::size_t size = header.length;
    switch (header.command) {
    case capi::kConnect:
        handleConnect(header.subcommand, view.data, size);
        break;
    case capi::kConnectActive:
        handleConnectActive(header.subcommand, view.data, size);
        break;
    case capi::kDisconnect:
        handleDisconnect(header.subcommand, view.data, size);
        break;
    case capi::kInfo:
        handleInfo(header.subcommand, view.data, size);
        break;
    default:
        break;
    }
    return true;
}

bool CapiApplication::putMessage(const std::vector<std::uint8_t>& message) {
    const auto result = m_driver->putMessage(m_applId, message.data());
    setLastCommand(messageName(capi::decodeHeader(message.data(), message.size())));
    if (checkDriverResult(result)) {
        return false;
    }
    if (m_nesting < kMaxNesting) {
        ++m_nesting;
        fetchMessage();
        --m_nesting;
    }
    return true;
}

void CapiApplication::handleConnect(std::uint8_t subcommand, const std::uint8_t* message,
                                    std::size_t size) {
    if (subcommand != capi::kInd) {
        return;
    }
    // The driver's buffer is valid only until the next fetch, which the handlers below may do.
    std::array<std::uint8_t, capi::kConnectBodySize> body{};
    const auto bodySize = std::min(size - capi::kHeaderSize, body.size());
    std::memcpy(body.data(), message + capi::kHeaderSize, bodySize);

    // Without its PLCI and CIP value the message offers no call that could be answered.
    if (bodySize < kMinConnectBody) {
        reportError("Malformed message skipped: CONNECT_IND without a call, " +
                    std::to_string(bodySize) + " parameter bytes");
        return;
    }
    const auto call = capi::decodeConnectInd(body.data(), bodySize, m_callerTexts);
    m_offered.insert(call.plci);
    m_callPlci = call.plci;
    m_eventPlci = call.plci;
    m_callerCIP = call.cip;
    m_calledMSN = call.calledMSN;
    m_callerID = call.callerID;
    raise(events.incomingCall);
    putMessage(capi::encodeAlertReq(applId16(), call.plci));
}

void CapiApplication::handleDisconnect(std::uint8_t subcommand, const std::uint8_t* message,
                                       std::size_t size) {
    if (subcommand != capi::kInd) {
        return;
    }
    const auto plci = capi::readLE(message, size, 8, 4);
    m_disconnectReason = static_cast<std::int16_t>(capi::readLE(message, size, 12, 2));
    m_offered.erase(plci);
    m_rejected.erase(plci);
    m_eventPlci = plci;
    raise(events.callDisconnected);
    putMessage(capi::encodeDisconnectResp(applId16(), plci));
}

void CapiApplication::handleInfo(std::uint8_t subcommand, const std::uint8_t* message,
                                 std::size_t size) {
    if (subcommand != capi::kInd) {
        return;
    }
    putMessage(capi::encodeInfoResp(applId16(), capi::readLE(message, size, 8, 4)));
}

void CapiApplication::handleConnectActive(std::uint8_t subcommand, const std::uint8_t* message,
                                          std::size_t size) {
    // Every indication needs its response, also the one that follows accepting a call in
    // rejectCall; an unanswered one stays pending in the driver.
    if (subcommand != capi::kInd) {
        return;
    }
    putMessage(capi::encodeConnectActiveResp(applId16(), capi::readLE(message, size, 8, 4)));
}

void CapiApplication::rejectCall(std::uint32_t plci) {
    // The PLCI is the caller's: the puts below fetch on, and a nested CONNECT_IND changes the
    // latest call.
    if (!m_offered.contains(plci) || !m_rejected.insert(plci).second) {
        return;
    }
    if (!putMessage(capi::encodeConnectResp(applId16(), plci))) {
        return;
    }
    putMessage(capi::encodeDisconnectReq(applId16(), plci));
}

template <typename Query, typename Answer>
std::string CapiApplication::diagnose(const char* command, Query query, Answer answer) {
    const auto result = query();
    setLastCommand(command);
    return checkDriverResult(result) ? std::string() : answer();
}

std::string CapiApplication::manufacturer() {
    std::array<char, 64> buffer{};
    return diagnose(
        "CAPI_GET_MANUFACTURER", [&] { return m_driver->getManufacturer(buffer.data()); },
        [&] { return paddedText(buffer.data(), 63); });
}

std::string CapiApplication::version() {
    std::uint32_t capiMajor = 0, capiMinor = 0, manufacturerMajor = 0, manufacturerMinor = 0;
    return diagnose(
        "CAPI_GET_VERSION",
        [&] {
            return m_driver->getVersion(capiMajor, capiMinor, manufacturerMajor,
                                        manufacturerMinor);
        },
        [&] { return versionText(capiMajor, capiMinor, manufacturerMajor, manufacturerMinor); });
}

std::string CapiApplication::profile() {
    std::array<std::uint8_t, 64> buffer{};
    return diagnose(
        "CAPI_GET_PROFILE", [&] { return m_driver->getProfile(buffer.data(), 1); },
        [&] { return profileReport(buffer.data(), buffer.size()); });
}

std::string CapiApplication::serialNumber() {
    std::array<char, 8> buffer{};
    return diagnose(
        "CAPI_GET_SERIAL_NUMBER", [&] { return m_driver->getSerialNumber(buffer.data()); },
        [&] { return paddedText(buffer.data(), 7); });
}

bool CapiApplication::isInstalled() {
    const auto result = m_driver->isInstalled();
    setLastCommand("CAPI_INSTALLED");
    return !checkDriverResult(result) && result == 0;
}

std::string CapiApplication::cipName() const {
    return std::string(CipName(m_callerCIP));
}

void CapiApplication::simulateIncomingCall() {
    m_callerID = "08154711";
    m_calledMSN = "12345";
    m_callerCIP = 2;
    m_eventPlci = m_callPlci;
    raise(events.incomingCall);
}

void CapiApplication::simulateDisconnect() {
    m_disconnectReason = 0x3490;
    m_eventPlci = m_callPlci;
    raise(events.callDisconnected);
}

bool CapiApplication::checkInfo(std::uint32_t info) {
    if (info == 0) {
        return false;
    }
    if (info == capi::kQueueEmpty) {
        m_lastError = infoText(info);
        return false;
    }
    reportError(infoText(info));
    return true;
}

bool CapiApplication::checkDriverResult(std::uint32_t result) {
    if (result == CapiDriver::kDriverFault) {
        reportError(m_driver->faultDescription());
        return true;
    }
    return checkInfo(result);
}

void CapiApplication::setLastCommand(std::string command) {
    m_lastCommand = std::move(command);
    raise(events.statusChanged);
}

void CapiApplication::reportError(std::string error) {
    m_lastError = std::move(error);
    raise(events.errorReported);
}

void CapiApplication::raise(const std::function<void()>& event) {
    // A copy, so that a receiver may replace its own callback while it runs.
    if (const auto handler = event) {
        handler();
    }
}
