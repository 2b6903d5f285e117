// A stand-in for libcapi20 that the loader tests open by path. It exports the capi20_*
// functions over a simulated line. Environment variables steer it:
//   RUFWACHT_FAKE_CAPI_SCENARIO  scenario file the line plays after registration
//   RUFWACHT_FAKE_CAPI_REFUSE    info code (decimal) that capi20_register answers
//   RUFWACHT_FAKE_CAPI_LOST      when set, the descriptor stays readable with nothing queued,
//                                as libcapi20's remote modules do once the router has gone
// Built twice: once without capi20_get_profile (FAKE_CAPI_WITHOUT_GET_PROFILE).

#include "line/Scenario.h"
#include "line/SimulatedLine.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <unistd.h>

#define FAKE_CAPI_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::unique_ptr<SimulatedLine> g_line;
int g_lostPipe[2] = {-1, -1};

SimulatedLine& queries() {
    static SimulatedLine line;
    return line;
}

bool connectionLost() {
    return std::getenv("RUFWACHT_FAKE_CAPI_LOST") != nullptr;
}

} // namespace

FAKE_CAPI_EXPORT unsigned capi20_isinstalled() {
    return 0;
}

FAKE_CAPI_EXPORT unsigned capi20_register(unsigned maxLogicalConnection, unsigned maxBDataBlocks,
                                          unsigned maxBDataLen, unsigned* applId) {
    Scenario scenario;
    if (const char* path = std::getenv("RUFWACHT_FAKE_CAPI_SCENARIO")) {
        scenario = readScenarioFile(path).value_or(Scenario{});
    }
    g_line = std::make_unique<SimulatedLine>(std::move(scenario));
    if (const char* refuse = std::getenv("RUFWACHT_FAKE_CAPI_REFUSE")) {
        g_line->refuseRegistration(static_cast<std::uint32_t>(std::atoi(refuse)));
    }
    std::uint32_t id = 0;
    const auto result =
        g_line->registerApplication(0, maxLogicalConnection, maxBDataBlocks, maxBDataLen, id);
    *applId = id;
    return result;
}

FAKE_CAPI_EXPORT unsigned capi20_release(unsigned applId) {
    if (!g_line) {
        return 0x1101;
    }
    const auto result = g_line->releaseApplication(applId);
    g_line.reset();
    return result;
}

FAKE_CAPI_EXPORT unsigned capi20_put_message(unsigned applId, unsigned char* message) {
    return g_line ? g_line->putMessage(applId, message) : 0x1101;
}

FAKE_CAPI_EXPORT unsigned capi20_get_message(unsigned applId, unsigned char** buffer) {
    if (!g_line) {
        return 0x1101;
    }
    if (connectionLost()) {
        return 0x1104;
    }
    CapiMessageView view;
    const auto result = g_line->getMessage(applId, view);
    *buffer = const_cast<unsigned char*>(view.data);
    return result;
}

FAKE_CAPI_EXPORT unsigned char* capi20_get_manufacturer(unsigned, unsigned char* buffer) {
    queries().getManufacturer(reinterpret_cast<char*>(buffer));
    return buffer;
}

FAKE_CAPI_EXPORT unsigned char* capi20_get_version(unsigned, unsigned char* buffer) {
    std::uint32_t numbers[4] = {};
    queries().getVersion(numbers[0], numbers[1], numbers[2], numbers[3]);
    std::memcpy(buffer, numbers, sizeof numbers);
    return buffer;
}

FAKE_CAPI_EXPORT unsigned char* capi20_get_serial_number(unsigned, unsigned char* buffer) {
    queries().getSerialNumber(reinterpret_cast<char*>(buffer));
    return buffer;
}

#ifndef FAKE_CAPI_WITHOUT_GET_PROFILE
FAKE_CAPI_EXPORT unsigned capi20_get_profile(unsigned controller, unsigned char* buffer) {
    return queries().getProfile(buffer, controller);
}
#endif

FAKE_CAPI_EXPORT int capi20_fileno(unsigned) {
    if (!g_line) {
        return -1;
    }
    if (connectionLost()) {
        if (g_lostPipe[0] < 0 && ::pipe(g_lostPipe) == 0) {
            const char byte = 1;
            [[maybe_unused]] const auto written = ::write(g_lostPipe[1], &byte, 1);
        }
        return g_lostPipe[0];
    }
    return g_line->readinessHandle();
}
