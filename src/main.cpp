#include "calls/Controller.h"
#include "modules/ModuleLoader.h"
#include "stores/IniFile.h"
#include "stores/OriginQuery.h"
#include "stores/Settings.h"
#include "support/AppPaths.h"
#include "support/CommandLine.h"
#include "support/QtText.h"
#include "support/ServiceWatchdog.h"
#include "support/SignalWatcher.h"
#include "support/TextFile.h"
#include "support/UserPrompt.h"
#include "support/Version.h"
#include "ui/DesktopUi.h"
#include "ui/QtUserPrompt.h"

#include <QApplication>
#include <QCoreApplication>

#include <iostream>
#include <memory>

namespace {

// A desktop session is needed for windows; without one the program runs as a service.
bool hasDisplay() {
#if defined(Q_OS_LINUX)
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ||
           !qEnvironmentVariable("DISPLAY").isEmpty() ||
           !qEnvironmentVariable("WAYLAND_DISPLAY").isEmpty();
#else
    return true;
#endif
}

int runController(const CommandLine& commandLine, UserPrompt& prompt, ControllerUi& ui,
                  DesktopUi* desktop) {
    Controller controller(commandLine, ss(QCoreApplication::applicationDirPath()), prompt, ui);
    // Declared after the controller, so ended before it: the windows read its stores.
    struct WindowsBeforeController {
        DesktopUi* desktop;
        ~WindowsBeforeController() {
            if (desktop != nullptr) {
                desktop->destroyWindows();
            }
        }
    } windowsFirst{desktop};
    if (desktop != nullptr) {
        desktop->attach(&controller);
    }
    SignalWatcher terminationWatcher;
    QObject::connect(&terminationWatcher, &SignalWatcher::terminationRequested, &controller,
                     [&controller]() { controller.appExit(true); });
    if (!controller.start()) {
        return controller.exitCode();
    }
    const ServiceWatchdog watchdog;
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine commandLine = parseCommandLine(args);
    if (!commandLine.error.empty()) {
        std::cerr << "rufwacht: " << commandLine.error << "\n\n" << commandLineHelp();
        return 2;
    }
    if (commandLine.help) {
        std::cout << commandLineHelp();
        return 0;
    }
    if (commandLine.version) {
        std::cout << kAppName << ' ' << kAppVersion << '\n';
        return 0;
    }
    if (commandLine.origin) {
        // Answers from the tables alone: no display, and the running instance is not touched.
        QCoreApplication app(argc, argv);
        const auto paths =
            AppPaths::locate(ss(QCoreApplication::applicationDirPath()), commandLine.configDir);
        SettingsRecord settings;
        settings.ownCountryPrefix = "0049";
        // Only read: a missing config.dat is not created by a query.
        const auto config = paths.configFile("config.dat");
        if (const FileRead file = readDataFile(config); file.status == ReadStatus::Ok) {
            readSettings(settings, IniDocument(file.bytes));
        } else if (file.status != ReadStatus::Missing) {
            std::cerr << "rufwacht: " << config << " cannot be read (" << file.reason
                      << "); the country prefix is " << settings.ownCountryPrefix << "\n";
        }
        const int result = runOriginQuery(*commandLine.origin, settings.ownCountryPrefix,
                                          paths.dataFile("prefix/"), std::cout);
        if (result == 2) {
            std::cerr << "rufwacht: the origin tables in " << paths.dataFile("prefix/")
                      << " cannot be read\n";
        }
        return result;
    }
    if (!commandLine.headless && !hasDisplay()) {
        std::cerr << "rufwacht: no display found, running headless\n";
        commandLine.headless = true;
    }

    if (commandLine.headless) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(kAppName);
        QCoreApplication::setApplicationVersion(kAppVersion);
        ModuleLoader::addInstalledFolder();
        HeadlessPrompt prompt;
        NoControllerUi ui;
        return runController(commandLine, prompt, ui, nullptr);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(kAppName);
    QApplication::setApplicationVersion(kAppVersion);
    QApplication::setQuitOnLastWindowClosed(false);
    ModuleLoader::addInstalledFolder();
    // Lets the desktop match the windows with the menu entry rufwacht.desktop and its icon.
    QApplication::setDesktopFileName("rufwacht");
    QtUserPrompt prompt;
    DesktopUi ui(prompt);
    return runController(commandLine, prompt, ui, &ui);
}
