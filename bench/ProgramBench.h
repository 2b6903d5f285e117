#pragma once

// What the benchmarks through the whole headless program share: a program folder with the
// shipped data and its own runtime folder, and waiting on the event loop.
#include "calls/CapiLine.h"
#include "calls/Controller.h"
#include "calls/ControllerUi.h"
#include "line/LineTestControl.h"
#include "support/CommandLine.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace bench {

using Clock = std::chrono::steady_clock;

/// The headless desktop, but with a pop-up that notes when it was asked to show a call.
class TimedPopupUi : public NoControllerUi, public PopupView {
public:
    PopupView& popupView() override { return *this; }
    void showCall(const PopupContent&) override {
        shownAt = Clock::now();
        ++shown;
    }
    void setStatus(const std::string&) override {}
    void close() override {}
    Clock::time_point shownAt;
    int shown = 0;
};

/// The simulated line under a started controller, to place and end calls on.
inline LineTestControl& simulatedLine(Controller& controller) {
    return *qobject_cast<CapiLine*>(controller.line())->capi().driver().testControl();
}

/// Runs the event loop until done() holds; false after 5 s.
inline bool waitUntil(const std::function<bool()>& done) {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (Clock::now() > deadline) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

/// A program folder in dir with languages, resources and origin tables, and config.dat holding
/// the English language and the further settings lines (each ending in CR LF); gives its path.
inline std::string prepareProgramFolder(const QTemporaryDir& dir, const std::string& settings) {
    const std::string appDir = dir.path().toStdString() + "/app";
    std::filesystem::create_directories(appDir + "/config");
    for (const char* sub : {"lang", "res", "prefix"}) {
        std::filesystem::copy(std::string(RUFWACHT_SOURCE_DIR) + "/data/" + sub, appDir + "/" + sub,
                              std::filesystem::copy_options::recursive);
    }
    std::ofstream(appDir + "/config/config.dat") << "[config]\r\nlanguage=english\r\n" << settings;
    qputenv("XDG_RUNTIME_DIR", dir.path().toUtf8());
    return appDir;
}

/// The headless program on the simulated line with nothing scheduled: the benchmark places the
/// calls itself.
inline CommandLine headlessOnIdleLine(const std::string& appDir) {
    std::ofstream(appDir + "/empty.scenario") << "\n";
    CommandLine commandLine;
    commandLine.headless = true;
    commandLine.line = "sim:" + appDir + "/empty.scenario";
    return commandLine;
}

} // namespace bench
