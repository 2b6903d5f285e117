#include "support/ProgramFolder.h"
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

CommandLine quietLine(const ProgramFolder& folder) {
    CommandLine commandLine;
    commandLine.line = folder.quietLine();
    return commandLine;
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
        ProgramFolder folder;
        ScriptedPrompt prompt;
        RecordingUi ui;
        CommandLine commandLine = quietLine(folder);
        commandLine.debug = true;
        frmMain controller(commandLine, prompt, ui);
        QVERIFY(controller.start(folder.appDir()));
        QCOMPARE(ui.mainWindows, 1);
        QVERIFY(controller.isPolling());
        QVERIFY(controller.debugText().contains("CAPI_REGISTER"));
        QCOMPARE(ui.debugWindows, 1);
        QCOMPARE(ui.languageChoosers, 1);
        QVERIFY(prompt.shown.empty());
        QVERIFY(dirExists(folder.appDir() + "/config/logs"));
    }

    void headlessStartUsesEnglishWithoutAsking() {
        ProgramFolder folder;
        ScriptedPrompt prompt;
        RecordingUi ui;
        CommandLine commandLine = quietLine(folder);
        commandLine.headless = true;
        frmMain controller(commandLine, prompt, ui);
        QVERIFY(controller.start(folder.appDir()));
        QCOMPARE(ui.languageChoosers, 0);
        QCOMPARE(ui.debugWindows, 0);
        QVERIFY(!Language().getStr(lang_id::kSecondInstance).empty());
        QCOMPARE(settings().language, std::string());
    }

    void missingResourceEndsTheStartWithItsMessage() {
        ProgramFolder folder;
        std::filesystem::remove(folder.appDir() + "/res/phonered.ico");
        folder.writeConfig("[config]\r\nlanguage=deutsch\r\n");
        ScriptedPrompt prompt;
        RecordingUi ui;
        frmMain controller(quietLine(folder), prompt, ui);
        QVERIFY(!controller.start(folder.appDir()));
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
        ProgramFolder folder;
        folder.writeConfig("[config]\r\nlanguage=english\r\ncapidelay=-1\r\ncapidelaytime=10\r\n");
        ScriptedPrompt prompt;
        RecordingUi ui;
        frmMain controller(quietLine(folder), prompt, ui);
        QVERIFY(controller.start(folder.appDir()));
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
