#include "line/SimulatedLine.h"

#include "line/CapiCodeTables.h"
#include "support/TextFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

namespace {

// Enough for any test to read; a long soak must not find the line growing without end.
constexpr std::size_t kTranscriptLinesKept = 10000;
constexpr std::uint32_t kIllegalMessage = 0x1102;
constexpr std::uint32_t kNotInThisState = 0x2001;
constexpr std::uint32_t kNotInstalled = 0x1009;

} // namespace

SimulatedLine::SimulatedLine(Scenario scenario, std::string baseDir)
    : m_scenario(std::move(scenario)), m_baseDir(std::move(baseDir)) {
    if (m_scenario.steps.empty()) {
        m_scenarioDone = true;
    } else {
        m_player = std::thread([this] { play(); });
    }
}

SimulatedLine::~SimulatedLine() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_player.joinable()) {
        m_player.join();
    }
}

// --- the scenario -------------------------------------------------------------------------------

void SimulatedLine::play() {
    std::unique_lock lock(m_mutex);
    // Calls come only to an application that listens for them.
    m_wake.wait(lock, [this] { return m_stop || m_cipMask != 0; });
    auto due = std::chrono::steady_clock::now();
    for (const auto& step : m_scenario.steps) {
        if (m_stop) {
            break;
        }
        if (step.kind == ScenarioStep::Kind::Call && m_cipMask == 0) {
            // After a drop the program has to register again before a call can reach it.
            m_wake.wait(lock, [this] { return m_stop || m_cipMask != 0; });
            due = std::max(due, std::chrono::steady_clock::now());
        }
        if (step.kind == ScenarioStep::Kind::Wait) {
            due += std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                std::chrono::duration<double>(step.seconds));
            m_wake.wait_until(lock, due, [this] { return m_stop; });
            continue;
        }
        lock.unlock();
        runStep(step);
        lock.lock();
    }
    m_scenarioDone = true;
    m_wake.notify_all();
}

void SimulatedLine::runStep(const ScenarioStep& step) {
    switch (step.kind) {
    case ScenarioStep::Kind::Call:
        injectCall(step.call);
        break;
    case ScenarioStep::Kind::Hangup:
        injectHangup(step.call.plci, step.reason);
        break;
    case ScenarioStep::Kind::Info:
        injectInfo(step.call.plci);
        break;
    case ScenarioStep::Kind::Raw:
        injectRaw(step.raw);
        break;
    case ScenarioStep::Kind::Transcript: {
        auto path = toFsPath(step.path);
        if (path.is_relative() && !m_baseDir.empty()) {
            path = toFsPath(m_baseDir) / path;
        }
        setTranscriptFile(path.string());
        break;
    }
    case ScenarioStep::Kind::Drop:
        dropLine();
        break;
    case ScenarioStep::Kind::Restore:
        restoreLine();
        break;
    case ScenarioStep::Kind::Wait:
        break;
    }
}

bool SimulatedLine::waitForScenarioEnd(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_wake.wait_for(lock, timeout, [this] { return m_scenarioDone; });
}

// --- control interface --------------------------------------------------------------------------

void SimulatedLine::injectCall(const capi::IncomingCallElements& call) {
    std::lock_guard lock(m_mutex);
    const bool wanted = call.cip < 32 && (m_cipMask & ((1u << call.cip) | 1u)) != 0;
    if (!wanted || m_calls.contains(call.plci)) {
        return;
    }
    m_calls[call.plci] = CallState::Offered;
    queueLocked(
        capi::encodeConnectInd(static_cast<std::uint16_t>(m_applId), nextNumberLocked(), call));
}

void SimulatedLine::injectHangup(std::uint32_t plci, std::uint16_t reason) {
    std::lock_guard lock(m_mutex);
    const auto call = m_calls.find(plci);
    if (call == m_calls.end() || call->second == CallState::Clearing) {
        return;
    }
    call->second = CallState::Clearing;
    queueLocked(capi::encodeDisconnectInd(static_cast<std::uint16_t>(m_applId), nextNumberLocked(),
                                          plci, reason));
}

void SimulatedLine::injectInfo(std::uint32_t plci) {
    std::lock_guard lock(m_mutex);
    if (!m_calls.contains(plci)) {
        return;
    }
    queueLocked(
        capi::encodeInfoInd(static_cast<std::uint16_t>(m_applId), nextNumberLocked(), plci));
}

void SimulatedLine::injectRaw(capi::Message bytes) {
    std::lock_guard lock(m_mutex);
    queueLocked(std::move(bytes));
}

void SimulatedLine::refuseRegistration(std::uint32_t info) {
    std::lock_guard lock(m_mutex);
    m_refuseRegistration = info;
}

void SimulatedLine::dropLine() {
    std::lock_guard lock(m_mutex);
    if (m_down) {
        return;
    }
    m_down = true;
    m_faultReported = false;
    m_calls.clear();
    m_queue.clear();
    m_cipMask = 0;
    recordNoteLocked("line dropped");
    // Like a closed socket: the program wakes up and finds the connection gone.
    m_ready.raise();
}

void SimulatedLine::restoreLine() {
    std::lock_guard lock(m_mutex);
    if (!m_down) {
        return;
    }
    m_down = false;
    recordNoteLocked("line restored");
}

std::string SimulatedLine::faultDescription() const {
    return "Connection to the CAPI lost: the simulated line was dropped";
}

void SimulatedLine::setTranscriptFile(const std::string& path) {
    std::lock_guard lock(m_mutex);
    m_transcriptFile.close();
    if (!path.empty()) {
        m_transcriptFile.open(toFsPath(path), std::ios::app | std::ios::binary);
    }
}

std::vector<std::string> SimulatedLine::transcript() const {
    std::lock_guard lock(m_mutex);
    return {m_transcript.begin(), m_transcript.end()};
}

std::vector<std::uint32_t> SimulatedLine::callsInProgress() const {
    std::lock_guard lock(m_mutex);
    std::vector<std::uint32_t> plcis;
    for (const auto& [plci, state] : m_calls) {
        plcis.push_back(plci);
    }
    return plcis;
}

std::size_t SimulatedLine::queuedMessages() const {
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

bool SimulatedLine::isListening() const {
    std::lock_guard lock(m_mutex);
    return m_cipMask != 0;
}

// --- driver functions ---------------------------------------------------------------------------

std::uint32_t SimulatedLine::registerApplication(std::uint32_t, std::uint32_t, std::uint32_t,
                                                 std::uint32_t, std::uint32_t& applId) {
    std::lock_guard lock(m_mutex);
    if (m_down) {
        return kNotInstalled;
    }
    if (m_refuseRegistration != 0) {
        return m_refuseRegistration;
    }
    m_applId = m_nextApplId++;
    applId = m_applId;
    return 0;
}

std::uint32_t SimulatedLine::releaseApplication(std::uint32_t applId) {
    {
        std::lock_guard lock(m_mutex);
        if (m_applId == 0 || applId != m_applId) {
            return capi::kIllegalApplication;
        }
        m_applId = 0;
        m_cipMask = 0;
        m_queue.clear();
        m_ready.clear();
    }
    m_wake.notify_all();
    return 0;
}

std::uint32_t SimulatedLine::putMessage(std::uint32_t applId, const std::uint8_t* message) {
    if (message == nullptr) {
        return kIllegalMessage;
    }
    const auto length = static_cast<std::size_t>(capi::readLE(message, 2, 0, 2));
    if (length < 12) {
        return kIllegalMessage;
    }
    const capi::Message bytes(message, message + length);
    const auto header = capi::decodeHeader(bytes.data(), bytes.size());
    {
        std::lock_guard lock(m_mutex);
        if (m_down) {
            return kDriverFault;
        }
        if (m_applId == 0 || applId != m_applId || header.applId != (m_applId & 0xFFFF)) {
            return capi::kIllegalApplication;
        }
        if (header.subcommand != capi::kReq && header.subcommand != capi::kResp) {
            return kIllegalMessage;
        }
        recordLocked("->", bytes.data(), bytes.size());
        handlePutLocked(header, bytes);
    }
    // A LISTEN_REQ may start the scenario.
    m_wake.notify_all();
    return 0;
}

std::uint32_t SimulatedLine::getMessage(std::uint32_t applId, CapiMessageView& message) {
    std::lock_guard lock(m_mutex);
    if (m_applId == 0 || applId != m_applId) {
        return capi::kIllegalApplication;
    }
    if (m_down) {
        m_ready.clear();
        // Reported once, as the system library does; after that the queue is just empty.
        return std::exchange(m_faultReported, true) ? capi::kQueueEmpty : kDriverFault;
    }
    if (m_queue.empty()) {
        return capi::kQueueEmpty;
    }
    m_fetched = std::move(m_queue.front());
    m_queue.pop_front();
    if (m_queue.empty()) {
        m_ready.clear();
    }
    message.data = m_fetched.data();
    message.size = m_fetched.size();
    return 0;
}

std::uint32_t SimulatedLine::getManufacturer(char* buffer64) {
    std::memset(buffer64, 0, 64);
    std::copy_n(kManufacturer, std::strlen(kManufacturer), buffer64);
    return 0;
}

std::uint32_t SimulatedLine::getVersion(std::uint32_t& capiMajor, std::uint32_t& capiMinor,
                                        std::uint32_t& manufacturerMajor,
                                        std::uint32_t& manufacturerMinor) {
    capiMajor = 2;
    capiMinor = 0;
    manufacturerMajor = 1;
    manufacturerMinor = 0;
    return 0;
}

std::uint32_t SimulatedLine::getSerialNumber(char* buffer8) {
    std::memset(buffer8, 0, 8);
    std::copy_n(kSerialNumber, std::strlen(kSerialNumber), buffer8);
    return 0;
}

std::uint32_t SimulatedLine::getProfile(std::uint8_t* buffer64, std::uint32_t controller) {
    std::memset(buffer64, 0, 64);
    if (controller > 1) {
        return capi::kIllegalPlci;
    }
    buffer64[0] = 1;     // controllers
    buffer64[2] = 2;     // B channels
    buffer64[4] = 0x01;  // internal controller
    buffer64[8] = 0x03;  // B1: HDLC, bit-transparent
    buffer64[12] = 0x03; // B2: X.75, transparent
    buffer64[16] = 0x01; // B3: transparent
    return 0;
}

std::uint32_t SimulatedLine::isInstalled() {
    return 0;
}

// --- the line's side of the exchange ------------------------------------------------------------

void SimulatedLine::handlePutLocked(const capi::MessageHeader& header,
                                    const capi::Message& message) {
    if (header.subcommand == capi::kReq) {
        handleRequestLocked(header, message);
    } else {
        handleResponseLocked(header, message);
    }
}

void SimulatedLine::handleRequestLocked(const capi::MessageHeader& header,
                                        const capi::Message& message) {
    const auto applId = static_cast<std::uint16_t>(m_applId);
    const auto target = capi::readLE(message.data(), message.size(), 8, 4);
    auto confirm = [&](std::uint16_t info) {
        queueLocked(capi::encodeConfirmation(applId, header.command, header.number, target, info));
    };
    const auto call = m_calls.find(target);
    switch (header.command) {
    case capi::kListen:
        if ((target & 0x7F) != 1) {
            confirm(capi::kIllegalPlci);
            return;
        }
        m_cipMask = capi::readLE(message.data(), message.size(), 16, 4);
        confirm(0);
        return;
    case capi::kAlert:
        confirm(call == m_calls.end() ? capi::kIllegalPlci : 0);
        return;
    case capi::kDisconnect:
        if (call == m_calls.end()) {
            confirm(capi::kIllegalPlci);
            return;
        }
        confirm(0);
        if (call->second != CallState::Clearing) {
            call->second = CallState::Clearing;
            queueLocked(capi::encodeDisconnectInd(applId, nextNumberLocked(), target, 0));
        }
        return;
    default:
        confirm(call == m_calls.end() ? capi::kIllegalPlci : kNotInThisState);
        return;
    }
}

void SimulatedLine::handleResponseLocked(const capi::MessageHeader& header,
                                         const capi::Message& message) {
    const auto applId = static_cast<std::uint16_t>(m_applId);
    const auto plci = capi::readLE(message.data(), message.size(), 8, 4);
    const auto call = m_calls.find(plci);
    if (header.command == capi::kConnect && call != m_calls.end() &&
        call->second == CallState::Offered) {
        const auto reject = capi::readLE(message.data(), message.size(), 12, 2);
        if (reject == 0) {
            call->second = CallState::Active;
            queueLocked(capi::encodeConnectActiveInd(applId, nextNumberLocked(), plci));
        } else {
            call->second = CallState::Clearing;
            queueLocked(capi::encodeDisconnectInd(applId, nextNumberLocked(), plci, 0));
        }
    } else if (header.command == capi::kDisconnect) {
        clearCallLocked(plci);
    }
    // CONNECT_ACTIVE_RESP and INFO_RESP are taken without an answer.
}

void SimulatedLine::clearCallLocked(std::uint32_t plci) {
    m_calls.erase(plci);
}

void SimulatedLine::queueLocked(capi::Message message) {
    recordLocked("<-", message.data(), message.size());
    m_queue.push_back(std::move(message));
    m_ready.raise();
}

std::uint16_t SimulatedLine::nextNumberLocked() {
    m_number = static_cast<std::uint16_t>((m_number + 1) & 0x7FFF);
    return m_number;
}

void SimulatedLine::recordNoteLocked(const std::string& note) {
    writeTranscriptLocked("-- " + note);
}

void SimulatedLine::recordLocked(const char* direction, const std::uint8_t* bytes,
                                 std::size_t size) {
    const auto header = capi::decodeHeader(bytes, size);
    std::string line = std::string(direction) + " " + std::string(CommandName(header.command)) +
                       " - " + std::string(SubcommandName(header.subcommand));
    static constexpr char kHex[] = "0123456789abcdef";
    for (std::size_t i = 0; i < size; ++i) {
        line += ' ';
        line += kHex[bytes[i] >> 4];
        line += kHex[bytes[i] & 0x0F];
    }
    writeTranscriptLocked(line);
}

void SimulatedLine::writeTranscriptLocked(const std::string& entry) {
    const auto elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_start)
            .count();
    char time[32];
    std::snprintf(time, sizeof time, "%.3f ", elapsed);
    std::string line = time + entry;
    if (m_transcriptFile.is_open()) {
        m_transcriptFile << line << '\n';
        m_transcriptFile.flush();
    }
    m_transcript.push_back(std::move(line));
    if (m_transcript.size() > kTranscriptLinesKept) {
        m_transcript.pop_front();
    }
}
