#pragma once

#include "line/CapiDriver.h"
#include "line/CapiMessages.h"
#include "line/LineTestControl.h"
#include "line/ReadinessSignal.h"
#include "line/Scenario.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

/// An in-process CAPI 2.0 peer for incoming calls. It answers the program's requests as an
/// adapter's driver would, plays a scenario on its own clock (from the program's LISTEN_REQ on)
/// and lets tests and the debug window inject calls at run time. Every message in either
/// direction can be written to a transcript.
///
/// The driver calls come from the program's thread; the scenario runs on a thread of its own;
/// the control functions may be called from any thread.
class SimulatedLine : public CapiDriver, public LineTestControl {
public:
    static constexpr const char* kManufacturer = "Rufwacht simulated line";
    static constexpr const char* kSerialNumber = "0000001";

    /// baseDir resolves relative transcript paths of the scenario.
    explicit SimulatedLine(Scenario scenario = {}, std::string baseDir = {});
    ~SimulatedLine() override;

    // CapiDriver
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
    int readinessHandle() const override { return m_ready.handle(); }
    LineTestControl* testControl() override { return this; }

    // Control interface
    /// Queues a CONNECT_IND for the call (dropped when no application listens for its CIP).
    void injectCall(const capi::IncomingCallElements& call) override;
    /// Queues DISCONNECT_IND for a call in progress; an unknown PLCI is ignored.
    void injectHangup(std::uint32_t plci, std::uint16_t reason = 0x3490) override;
    /// Queues INFO_IND for a call in progress; an unknown PLCI is ignored.
    void injectInfo(std::uint32_t plci);
    /// Queues bytes as one message, whatever they hold.
    void injectRaw(capi::Message bytes);
    /// CAPI_REGISTER answers this info code from now on (0: registration works).
    void refuseRegistration(std::uint32_t info);
    void dropLine() override;
    void restoreLine() override;
    std::string faultDescription() const override;

    /// From now on, appends every message to the file (empty path: stop writing).
    void setTranscriptFile(const std::string& path);
    /// The transcript lines so far (the newest 10,000).
    std::vector<std::string> transcript() const;
    /// PLCIs of the calls the line has offered and not yet seen cleared.
    std::vector<std::uint32_t> callsInProgress() const override;
    std::size_t queuedMessages() const;
    bool isListening() const override;
    /// Waits until the scenario has played its last step; false on time-out.
    bool waitForScenarioEnd(std::chrono::milliseconds timeout) const;

private:
    enum class CallState { Offered, Active, Clearing };

    void play();
    void runStep(const ScenarioStep& step);
    void queueLocked(capi::Message message);
    void recordLocked(const char* direction, const std::uint8_t* bytes, std::size_t size);
    void recordNoteLocked(const std::string& note);
    void writeTranscriptLocked(const std::string& entry);
    void handlePutLocked(const capi::MessageHeader& header, const capi::Message& message);
    void handleRequestLocked(const capi::MessageHeader& header, const capi::Message& message);
    void handleResponseLocked(const capi::MessageHeader& header, const capi::Message& message);
    void clearCallLocked(std::uint32_t plci);
    std::uint16_t nextNumberLocked();

    const Scenario m_scenario;
    const std::string m_baseDir;
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_wake;
    std::deque<capi::Message> m_queue;
    capi::Message m_fetched; // the message last handed out; valid until the next fetch
    ReadinessSignal m_ready;
    std::uint32_t m_applId = 0;
    std::uint32_t m_nextApplId = 1;
    std::uint32_t m_refuseRegistration = 0;
    std::uint32_t m_cipMask = 0; // of the LISTEN_REQ; 0 while nobody listens
    std::uint16_t m_number = 0;
    std::map<std::uint32_t, CallState> m_calls;
    std::deque<std::string> m_transcript;
    std::ofstream m_transcriptFile;
    bool m_down = false;          // dropped: fetches fail, registrations are refused
    bool m_faultReported = false; // the first fetch after the drop has failed
    bool m_stop = false;
    bool m_scenarioDone = false;
    std::thread m_player;
};
