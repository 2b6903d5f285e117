// The router's call monitor: bytes as they come from the socket, split into lines and handed
// to the calls, which parse them and follow ring, connect and disconnect.
#include "FuzzInput.h"
#include "line/CallMonitorCalls.h"
#include "line/CallMonitorProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CallMonitorCalls calls;
    calls.setWithheldText("Withheld");
    calls.events.incomingCall = [&calls] {
        if (calls.eventId() % 2 == 0) {
            calls.rejectCall(calls.eventId());
        }
    };
    callmonitor::LineSplitter splitter;
    // Two halves, so that a line cut between two reads is exercised too.
    const std::string_view bytes = fuzz::text(data, size);
    for (const auto part : {bytes.substr(0, size / 2), bytes.substr(size / 2)}) {
        for (const auto& line : splitter.feed(part)) {
            calls.handleLine(line);
        }
    }
    callmonitor::parseEndpoint(bytes);
    return 0;
}
