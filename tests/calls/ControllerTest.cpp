#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

#include "calls/frmMain.h"
#include "stores/LanguageIds.h"
#include "stores/Settings.h"
#include "stores/cLanguage.h"
#include "support/AppPaths.h"

#include <QSignalSpy>
#include <QTest>

#include <filesystem>

namespace {

// Records what the controller asked of the desktop.
class RecordingUi : public NoControllerUi {
public:
    void chooseLanguage() override { ++languageChoosers; }
    void showDebugWindow() override { ++debugWindows; }
    void showMainWindowHidden() override { ++mainWindows; }
    void closeAllWindows() override { ++closes; }
    int mainWindows = 0;
    int languageChoosers = 0;
    int debugWindows = 0;
    int closes = 0;
};

// A program folder with the shipped data tree.
void copyDataTree(const TempDir& dir) {
    std::filesystem::create_directories(dir.path() + "app");
    dir.write("empty.scenario", "# nothing happens\n");
    std::filesystem::copy(std::string(RUFWACHT_SOURCE_DIR) + "/data/prefix",
                          dir.path() + "app/prefix", std::filesystem::copy_options::recursive);
    for (const char* sub : {"lang", "res"}) {
        std::filesystem::copy(std::string(RUFWACHT_SOURCE_DIR) + "/data/" + sub,
                              dir.path() + "app/" + sub, std::filesystem::copy_options::recursive);
    }
}

} // namespace

class ControllerTest : public QObject {
    Q_OBJECT
private slots:
    void init() { settings() = SettingsRecord{}; }

    void exitAsksUnlessForcedOrQuiet() {
        ScriptedPrompt prompt;
        RecordingUi ui;
        Language().Init(std::string(RUFWACHT_SOURCE_DIR) + "/data/lang");
        Language().SetLanguage("english");
        {
            frmMain controller(CommandLine{}, prompt, ui);
            prompt.answers = {false};
            QVERIFY(!controller.appExit(false));
            QVERIFY(!controller.hasEnded());
            QCOMPARE(ui.closes, 0);
            QCOMPARE(prompt.shown.size(), std::size_t(1));
            QCOMPARE(prompt.shown[0].text, Language().getStr(lang_id::kExitQuestion));
            QCOMPARE(prompt.shown[0].title, Language().getStr(lang_id::kExitTitle));
            prompt.answers = {true};
            QSignalSpy ended(&controller, &frmMain::ended);
            QVERIFY(controller.appExit(false));
            QVERIFY(controller.hasEnded());
            QCOMPARE(ended.count(), 1);
            QCOMPARE(ui.closes, 1);
        }
        prompt.shown.clear();
        {
            frmMain controller(CommandLine{}, prompt, ui);
            QVERIFY(controller.appExit(true));
            settings().quietexit = true;
            frmMain quiet(CommandLine{}, prompt, ui);
            QVERIFY(quiet.appExit(false));
            QVERIFY(prompt.shown.empty());
        }
    }

    void debugTraceStartsWithItsHeader() {
        ScriptedPrompt prompt;
        RecordingUi ui;
        CommandLine commandLine;
        commandLine.debug = true;
        frmMain controller(commandLine, prompt, ui);
        QCOMPARE(controller.debugText(), QString("---DEBUG---\r\n"));
        controller.appendDebug("\r\n--> CAPI_LISTEN - CAPI_CONF");
        QCOMPARE(controller.debugText(), QString("---DEBUG---\r\n\r\n--> CAPI_LISTEN - CAPI_CONF"));
    }

    void startShowsTheChooserWithoutLanguageAndTheDebugWindowOnRequest() {
        TempDir dir;
        copyDataTree(dir);
        const ScopedEnv runtime("XDG_RUNTIME_DIR", dir.path().c_str());
        ScriptedPrompt prompt;
        RecordingUi ui;
        CommandLine commandLine;
        commandLine.debug = true;
        commandLine.line = "sim:" + dir.file("empty.scenario");
        frmMain controller(commandLine, prompt, ui);
        QVERIFY(controller.start(dir.path() + "app"));
        QCOMPARE(ui.mainWindows, 1);
        QVERIFY(controller.isPolling());
        QVERIFY(controller.debugText().contains("CAPI_REGISTER"));
        QCOMPARE(ui.debugWindows, 1);
        QCOMPARE(ui.languageChoosers, 1);
        QVERIFY(prompt.shown.empty());
        QVERIFY(dirExists(dir.path() + "app/config/logs"));
    }

    void headlessStartUsesEnglishWithoutAsking() {
        TempDir dir;
        copyDataTree(dir);
        const ScopedEnv runtime("XDG_RUNTIME_DIR", dir.path().c_str());
        ScriptedPrompt prompt;
        RecordingUi ui;
        CommandLine commandLine;
        commandLine.headless = true;
        commandLine.line = "sim:" + dir.file("empty.scenario");
        frmMain controller(commandLine, prompt, ui);
        QVERIFY(controller.start(dir.path() + "app"));
        QCOMPARE(ui.languageChoosers, 0);
        QCOMPARE(ui.debugWindows, 0);
        QVERIFY(!Language().getStr(lang_id::kSecondInstance).empty());
        QCOMPARE(settings().language, std::string());
    }

    void missingResourceEndsTheStartWithItsMessage() {
        TempDir dir;
        copyDataTree(dir);
        std::filesystem::remove(dir.path() + "app/res/phonered.ico");
        dir.write("app/config/config.dat", "[config]\r\nlanguage=deutsch\r\n");
        const ScopedEnv runtime("XDG_RUNTIME_DIR", dir.path().c_str());
        ScriptedPrompt prompt;
        RecordingUi ui;
        CommandLine commandLine;
        commandLine.line = "sim:" + dir.file("empty.scenario");
        frmMain controller(commandLine, prompt, ui);
        QVERIFY(!controller.start(dir.path() + "app"));
        QVERIFY(controller.hasEnded());
        QVERIFY(controller.exitCode() != 0);
        QCOMPARE(prompt.shown.size(), std::size_t(1));
        QCOMPARE(prompt.shown[0].icon, PromptIcon::Exclamation);
        // Already in the chosen language.
        cLanguage german;
        german.Init(std::string(RUFWACHT_SOURCE_DIR) + "/data/lang");
        german.SetLanguage("deutsch");
        QCOMPARE(prompt.shown[0].text, german.getStr(lang_id::kResourceMissing));
    }

    void delayedRegistrationWaitsThirtySecondsPerStep() {
        TempDir dir;
        copyDataTree(dir);
        dir.write("app/config/config.dat",
                  "[config]\r\nlanguage=english\r\ncapidelay=-1\r\ncapidelaytime=10\r\n");
        const ScopedEnv runtime("XDG_RUNTIME_DIR", dir.path().c_str());
        ScriptedPrompt prompt;
        RecordingUi ui;
        CommandLine commandLine;
        commandLine.line = "sim:" + dir.file("empty.scenario");
        frmMain controller(commandLine, prompt, ui);
        QVERIFY(controller.start(dir.path() + "app"));
        QCOMPARE(controller.capiDelayCountdown(), 330);
        QVERIFY(!controller.isPolling());
        QCOMPARE(ui.mainWindows, 1);
    }

    void identifyOpensTheAddressOrLogsTheFailure() {
        TempDir dir;
        ConfigDir = dir.path();
        std::filesystem::create_directory(dir.file("logs"));
        settings().lookupurl = "https://example.org/q?ph=%s";
        class RecordingOpener : public UrlOpener {
        public:
            bool openUrl(const std::string& address) override {
                opened.push_back(address);
                return succeed;
            }
            std::vector<std::string> opened;
            bool succeed = true;
        };
        class OpenerUi : public RecordingUi {
        public:
            UrlOpener& urlOpener() override { return opener; }
            RecordingOpener opener;
        };
        ScriptedPrompt prompt;
        OpenerUi ui;
        frmMain controller(CommandLine{}, prompt, ui);
        controller.Identify("0301234567 (Berlin)");
        controller.Identify("Max (Berlin)");
        QCOMPARE(ui.opener.opened, std::vector<std::string>{"https://example.org/q?ph=0301234567"});
        ui.opener.succeed = false;
        controller.Identify("0891234567");
        QVERIFY(dir.read("logs/rufwacht.log").find(" - Err: ShellExecute 31 unknown\r\n") !=
                std::string::npos);
    }
};

QTEST_GUILESS_MAIN(ControllerTest)
#include "ControllerTest.moc"
