// A stand-in for an adapter maker's Capi2032.dll, loaded by path by the Windows driver tests.
// It exports the CAPI 2.0 functions of the Windows standard (APIENTRY, undecorated names) over
// a simulated line that plays the scenario named by RUFWACHT_FAKE_CAPI_SCENARIO after
// registration, and FakeCapiTranscript, which tells the test what went over the line.
// Built twice: once without CAPI_GET_PROFILE (FAKE_CAPI_WITHOUT_GET_PROFILE).

#include "line/Scenario.h"
#include "line/SimulatedLine.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#define FAKE_CAPI_EXPORT extern "C" __declspec(dllexport)

namespace {

constexpr DWORD kNotRegistered = 0x1101;

std::unique_ptr<SimulatedLine> g_line;
std::string g_transcript;

SimulatedLine& queries() {
    static SimulatedLine line;
    return line;
}

} // namespace

FAKE_CAPI_EXPORT DWORD APIENTRY CAPI_INSTALLED() {
    return 0;
}

FAKE_CAPI_EXPORT DWORD APIENTRY CAPI_REGISTER(DWORD messageBufferSize, DWORD maxLogicalConnection,
                                              DWORD maxBDataBlocks, DWORD maxBDataLen,
                                              DWORD* applId) {
    Scenario scenario;
    if (const char* path = std::getenv("RUFWACHT_FAKE_CAPI_SCENARIO")) {
        scenario = readScenarioFile(path).value_or(Scenario{});
    }
    g_line = std::make_unique<SimulatedLine>(std::move(scenario));
    std::uint32_t id = 0;
    const auto result = g_line->registerApplication(messageBufferSize, maxLogicalConnection,
                                                    maxBDataBlocks, maxBDataLen, id);
    *applId = id;
    return result;
}

FAKE_CAPI_EXPORT DWORD APIENTRY CAPI_RELEASE(DWORD applId) {
    if (!g_line) {
        return kNotRegistered;
    }
    const auto result = g_line->releaseApplication(applId);
    g_transcript.clear();
    for (const std::string& line : g_line->transcript()) {
        g_transcript += line + "\n";
    }
    g_line.reset();
    return result;
}

FAKE_CAPI_EXPORT DWORD APIENTRY CAPI_PUT_MESSAGE(DWORD applId, LPVOID message) {
    return g_line ? g_line->putMessage(applId, static_cast<const std::uint8_t*>(message))
                  : kNotRegistered;
}

FAKE_CAPI_EXPORT DWORD APIENTRY CAPI_GET_MESSAGE(DWORD applId, LPVOID* message) {
    if (!g_line) {
        return kNotRegistered;
    }
    CapiMessageView view;
    const auto result = g_line->getMessage(applId, view);
    *message = const_cast<std::uint8_t*>(view.data);
    return result;
}

FAKE_CAPI_EXPORT DWORD APIENTRY CAPI_WAIT_FOR_SIGNAL(DWORD applId) {
    return g_line && applId != 0 ? 0 : kNotRegistered;
}

FAKE_CAPI_EXPORT DWORD APIENTRY CAPI_GET_MANUFACTURER(char* buffer) {
    return queries().getManufacturer(buffer);
}

FAKE_CAPI_EXPORT DWORD APIENTRY CAPI_GET_VERSION(DWORD* capiMajor, DWORD* capiMinor,
                                                 DWORD* manufacturerMajor,
                                                 DWORD* manufacturerMinor) {
    std::uint32_t numbers[4] = {};
    const auto result = queries().getVersion(numbers[0], numbers[1], numbers[2], numbers[3]);
    *capiMajor = numbers[0];
    *capiMinor = numbers[1];
    *manufacturerMajor = numbers[2];
    *manufacturerMinor = numbers[3];
    return result;
}

FAKE_CAPI_EXPORT DWORD APIENTRY CAPI_GET_SERIAL_NUMBER(char* buffer) {
    return queries().getSerialNumber(buffer);
}

#ifndef FAKE_CAPI_WITHOUT_GET_PROFILE
FAKE_CAPI_EXPORT DWORD APIENTRY CAPI_GET_PROFILE(LPVOID buffer, DWORD controller) {
    return queries().getProfile(static_cast<std::uint8_t*>(buffer), controller);
}
#endif

/// What went over the line until the last release, one message a line.
FAKE_CAPI_EXPORT const char* FakeCapiTranscript() {
    return g_transcript.c_str();
}
