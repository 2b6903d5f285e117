#include "calls/Line.h"

#include "calls/CallMonitorLine.h"
#include "calls/CapiLine.h"
#include "line/CallMonitorProtocol.h"
#include "line/CapiDriverFactory.h"

Line::Line(QObject* parent) : QObject(parent) {}

Line::~Line() = default;

void Line::tellCallArrived() const {
    if (callArrived) {
        callArrived();
    }
}

bool Line::tellCallEnded() const {
    return !callEnded || callEnded();
}

std::unique_ptr<Line> makeLine(const std::string& choice, const SettingsRecord& settings,
                               const std::string& dataDir, std::string& error) {
    if (choice.starts_with(callmonitor::kLinePrefix)) {
        const std::string address = choice.substr(callmonitor::kLinePrefix.size());
        const auto endpoint = callmonitor::parseEndpoint(address);
        if (!endpoint) {
            error = "Bad call monitor address \"" + address +
                    "\": use callmonitor:HOST or callmonitor:HOST:PORT";
            return nullptr;
        }
        return std::make_unique<CallMonitorLine>(*endpoint);
    }
    auto driver = makeCapiDriver(choice, dataDir, error);
    if (!driver) {
        return nullptr;
    }
    return std::make_unique<CapiLine>(std::move(driver), settings);
}
