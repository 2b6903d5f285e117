#include "support/ProgramFolder.h"
#include "support/ScriptedPrompt.h"

#include "calls/AppContext.h"
#include "calls/Controller.h"
#include "calls/ControllerUi.h"
#include "stores/LanguageIds.h"

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
    bool showTrayNotice(const std::string&, const std::string&) override {
        notices += trayNotices ? 1 : 0;
        return trayNotices;
    }
    bool trayNotices = false;
    int notices = 0;
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
    void exitAsksUnlessForcedOrQuiet() {
        ProgramFolder folder;
        ScriptedPrompt prompt;
        RecordingUi ui;
        {
            Controller controller(CommandLine{}, folder.appDir(), prompt, ui);
            const LanguageTable& language = controller.context().language;
            prompt.answers = {false};
            QVERIFY(!controller.appExit(false));
            QVERIFY(!controller.hasEnded());
            QCOMPARE(ui.closes, 0);
            QCOMPARE(prompt.shown.size(), std::size_t(1));
            QCOMPARE(prompt.shown[0].text, language.text(lang_id::kExitQuestion));
            QCOMPARE(prompt.shown[0].title, language.text(lang_id::kExitTitle));
            prompt.answers = {true};
            QSignalSpy ended(&controller, &Controller::ended);
            QVERIFY(controller.appExit(false));
            QVERIFY(controller.hasEnded());
            QCOMPARE(ended.count(), 1);
            QCOMPARE(ui.closes, 1);
        }
        prompt.shown.clear();
        {
            Controller controller(CommandLine{}, folder.appDir(), prompt, ui);
            QVERIFY(controller.appExit(true));
            Controller quiet(CommandLine{}, folder.appDir(), prompt, ui);
            quiet.context().settings.quietExit = true;
            QVERIFY(quiet.appExit(false));
            QVERIFY(prompt.shown.empty());
        }
    }

    void startShowsTheChooserWithoutLanguageAndTheDebugWindowOnRequest() {
        ProgramFolder folder;
        ScriptedPrompt prompt;
        RecordingUi ui;
        CommandLine commandLine = quietLine(folder);
        commandLine.debug = true;
        Controller controller(commandLine, folder.appDir(), prompt, ui);
        QVERIFY(controller.start());
        QCOMPARE(ui.mainWindows, 1);
        QVERIFY(controller.lineSession()->isPolling());
        QVERIFY(controller.trace().text().contains("CAPI_REGISTER"));
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
        Controller controller(commandLine, folder.appDir(), prompt, ui);
        QVERIFY(controller.start());
        QCOMPARE(ui.languageChoosers, 0);
        QCOMPARE(ui.debugWindows, 0);
        QVERIFY(!controller.context().language.text(lang_id::kSecondInstance).empty());
        QVERIFY(controller.context().language.missingTexts().empty());
        QCOMPARE(controller.context().settings.language, std::string());
    }

    void truncatedLanguageFileIsReportedAndEnglishStandsIn() {
        ProgramFolder folder;
        folder.dir().write("app/lang/english.lng", "1018=Exit\r\n1041=Unkn");
        folder.writeConfig("[config]\r\nlanguage=english\r\n");
        ScriptedPrompt prompt;
        RecordingUi ui;
        CommandLine commandLine = quietLine(folder);
        commandLine.headless = true;
        Controller controller(commandLine, folder.appDir(), prompt, ui);
        QVERIFY(controller.start());
        const LanguageTable builtIn;
        const std::size_t lacking = std::size(lang_id::kAll) - 2;
        QCOMPARE(prompt.shown.size(), std::size_t(1));
        QCOMPARE(prompt.shown[0].text, "The language files lack " + std::to_string(lacking) +
                                           " texts; they are shown in English.");
        const LanguageTable& language = controller.context().language;
        QCOMPARE(language.text(lang_id::kUnknown), std::string("Unkn"));
        QCOMPARE(language.text(lang_id::kCallerWithheld), builtIn.text(lang_id::kCallerWithheld));
    }

    void disconnectForAnUnknownCallIsTracedAndChangesNoRecord() {
        ProgramFolder folder;
        folder.writeConfig("[config]\r\nlanguage=english\r\n");
        folder.dir().write("app/config/calls.txt", "0301\t0301\t1\td\tt\t\tSpeech\r\n");
        const std::string scenario = folder.dir().write(
            "unknown.scenario", "raw 0e 00 01 00 04 82 05 00 99 09 00 00 90 34\n");
        ScriptedPrompt prompt;
        RecordingUi ui;
        CommandLine commandLine;
        commandLine.line = "sim:" + scenario;
        Controller controller(commandLine, folder.appDir(), prompt, ui);
        QVERIFY(controller.start());
        QTRY_VERIFY(controller.trace().text().contains(
            "DISCONNECT_IND for an unknown call (PLCI 0x999): answered, no record changed"));
        QVERIFY(controller.trace().text().contains("CAPI_DISCONNECT - CAPI_RESP"));
        QCOMPARE(controller.context().journal.recordAt(1).endReason, std::string());
    }

    void fileTroubleIsToldOnceInTheTrayOrAMessageAndAlwaysTraced() {
        ProgramFolder folder;
        folder.writeConfig("[config]\r\nlanguage=english\r\nshowAllCalls=yes please\r\n");
        ScriptedPrompt prompt;
        RecordingUi ui;
        CommandLine commandLine = quietLine(folder);
        commandLine.headless = true;
        Controller controller(commandLine, folder.appDir(), prompt, ui);
        QVERIFY(controller.start());
        // The unreadable value was named in the trace, and the default taken.
        QVERIFY(controller.trace().text().contains("showAllCalls"));
        QVERIFY(controller.context().settings.showAllCalls);
        FileProblems& problems = controller.context().fileProblems;
        problems.saveFailed("/x/calls.txt", "28 - No space left on device");
        problems.saveFailed("/x/calls.txt", "28 - No space left on device");
        QCOMPARE(prompt.shown.size(), std::size_t(1));
        QCOMPARE(prompt.shown[0].icon, PromptIcon::Exclamation);
        QVERIFY(prompt.shown[0].text.find(
                    controller.context().language.text(lang_id::kSaveFailed)) != std::string::npos);
        QCOMPARE(controller.trace().text().count("ERROR: unable to save /x/calls.txt"), 2);
        // With a notification area the notice goes there instead.
        ui.trayNotices = true;
        problems.saved("/x/calls.txt");
        problems.saveFailed("/x/calls.txt", "30 - Read-only file system");
        QCOMPARE(prompt.shown.size(), std::size_t(1));
        QCOMPARE(ui.notices, 1);
    }

    void missingResourceEndsTheStartWithItsMessage() {
        ProgramFolder folder;
        std::filesystem::remove(folder.appDir() + "/res/phonered.ico");
        folder.writeConfig("[config]\r\nlanguage=deutsch\r\n");
        ScriptedPrompt prompt;
        RecordingUi ui;
        Controller controller(quietLine(folder), folder.appDir(), prompt, ui);
        QVERIFY(!controller.start());
        QVERIFY(controller.hasEnded());
        QVERIFY(controller.exitCode() != 0);
        QCOMPARE(prompt.shown.size(), std::size_t(1));
        QCOMPARE(prompt.shown[0].icon, PromptIcon::Exclamation);
        // Already in the chosen language.
        LanguageTable german;
        german.scan(std::string(RUFWACHT_SOURCE_DIR) + "/data/lang");
        german.select("deutsch");
        QCOMPARE(prompt.shown[0].text, german.text(lang_id::kResourceMissing));
    }

    void delayedRegistrationWaitsThirtySecondsPerStep() {
        ProgramFolder folder;
        folder.writeConfig("[config]\r\nlanguage=english\r\ncapidelay=-1\r\ncapidelaytime=10\r\n");
        ScriptedPrompt prompt;
        RecordingUi ui;
        Controller controller(quietLine(folder), folder.appDir(), prompt, ui);
        QVERIFY(controller.start());
        QCOMPARE(controller.lineSession()->delayCountdown(), 330);
        QVERIFY(!controller.lineSession()->isPolling());
        QCOMPARE(ui.mainWindows, 1);
    }

    void identifyOpensTheAddressOrLogsTheFailure() {
        ProgramFolder folder;
        std::filesystem::create_directories(folder.appDir() + "/config/logs");
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
        Controller controller(CommandLine{}, folder.appDir(), prompt, ui);
        controller.context().settings.lookupUrl = "https://example.org/q?ph=%s";
        controller.lookUpNumber("0301234567 (Berlin)");
        controller.lookUpNumber("Max (Berlin)");
        QCOMPARE(ui.opener.opened, std::vector<std::string>{"https://example.org/q?ph=0301234567"});
        ui.opener.succeed = false;
        controller.lookUpNumber("0891234567");
        QVERIFY(folder.dir()
                    .read("app/config/logs/rufwacht.log")
                    .find(" - Err: ShellExecute 31 unknown\r\n") != std::string::npos);
    }
};

QTEST_GUILESS_MAIN(ControllerTest)
#include "ControllerTest.moc"
