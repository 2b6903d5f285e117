#include "support/ProgramFolder.h"
#include "support/ScriptedPrompt.h"

#include "calls/AppContext.h"
#include "calls/CapiLine.h"
#include "calls/Controller.h"
#include "calls/ControllerUi.h"
#include "stores/LanguageIds.h"

#include <QSignalSpy>
#include <QTest>

#include <filesystem>

namespace {

// Records what the controller asked of the desktop; it opens addresses while urlsOpen is true.
class RecordingUi : public NoControllerUi, public UrlOpener {
public:
    UrlOpener& urlOpener() override { return *this; }
    bool openUrl(const std::string& address) override {
        opened.push_back(address);
        return urlsOpen;
    }
    void chooseLanguage() override { ++languageChoosers; }
    void showDebugWindow() override { ++debugWindows; }
    void showMainWindowHidden() override { ++mainWindows; }
    void closeAllWindows() override { ++closes; }
    bool showTrayNotice(const std::string&, const std::string&) override {
        notices += trayNotices ? 1 : 0;
        return trayNotices;
    }
    std::vector<std::string> opened;
    bool urlsOpen = true;
    bool trayNotices = false;
    int notices = 0;
    int mainWindows = 0;
    int languageChoosers = 0;
    int debugWindows = 0;
    int closes = 0;
};

// The CAPI line's registration and polling.
const LineSession& sessionOf(const Controller& controller) {
    return qobject_cast<const CapiLine*>(controller.line())->session();
}

// A program folder, the prompt and the desktop that a controller talks to.
struct Rig {
    // A controller on a line where nothing happens, headless or not.
    Controller& make(bool headless, bool debug = false) {
        CommandLine commandLine;
        commandLine.line = folder.quietLine();
        commandLine.headless = headless;
        commandLine.debug = debug;
        return make(commandLine);
    }
    Controller& make(const CommandLine& commandLine) {
        controller = std::make_unique<Controller>(commandLine, folder.appDir(), prompt, ui);
        return *controller;
    }

    ProgramFolder folder;
    ScriptedPrompt prompt;
    RecordingUi ui;
    std::unique_ptr<Controller> controller;
};

} // namespace

class ControllerTest : public QObject {
    Q_OBJECT
private slots:
    void exitAsksUnlessForcedOrQuiet() {
        Rig rig;
        Controller& controller = rig.make(CommandLine{});
        const LanguageTable& language = controller.context().language;
        rig.prompt.answers = {false};
        QVERIFY(!controller.appExit(false));
        QVERIFY(!controller.hasEnded());
        QCOMPARE(rig.ui.closes, 0);
        QCOMPARE(rig.prompt.shown.size(), std::size_t(1));
        QCOMPARE(rig.prompt.shown[0].text, language.text(lang_id::kExitQuestion));
        QCOMPARE(rig.prompt.shown[0].title, language.text(lang_id::kExitTitle));
        rig.prompt.answers = {true};
        QSignalSpy ended(&controller, &Controller::ended);
        QVERIFY(controller.appExit(false));
        QVERIFY(controller.hasEnded());
        QCOMPARE(ended.count(), 1);
        QCOMPARE(rig.ui.closes, 1);
        rig.prompt.shown.clear();
        QVERIFY(rig.make(CommandLine{}).appExit(true));
        rig.make(CommandLine{}).context().settings.quietExit = true;
        QVERIFY(rig.controller->appExit(false));
        QVERIFY(rig.prompt.shown.empty());
    }

    void startShowsTheChooserWithoutLanguageAndTheDebugWindowOnRequest() {
        Rig rig;
        Controller& controller = rig.make(false, true);
        QVERIFY(controller.start());
        QCOMPARE(rig.ui.mainWindows, 1);
        QVERIFY(sessionOf(controller).isPolling());
        QVERIFY(controller.trace().text().contains("CAPI_REGISTER"));
        QCOMPARE(rig.ui.debugWindows, 1);
        QCOMPARE(rig.ui.languageChoosers, 1);
        QVERIFY(rig.prompt.shown.empty());
    }

    void headlessStartUsesEnglishWithoutAsking() {
        Rig rig;
        Controller& controller = rig.make(true);
        QVERIFY(controller.start());
        QCOMPARE(rig.ui.languageChoosers, 0);
        QCOMPARE(rig.ui.debugWindows, 0);
        QVERIFY(controller.context().language.missingTexts().empty());
    }

    // Which texts stand in is the language table's business (LanguageTest).
    void truncatedLanguageFileIsReported() {
        Rig rig;
        rig.folder.dir().write("app/lang/english.lng", "1018=Exit\r\n1041=Unkn");
        rig.folder.writeConfig("[config]\r\nlanguage=english\r\n");
        Controller& controller = rig.make(true);
        QVERIFY(controller.start());
        const std::size_t lacking = std::size(lang_id::kAll) - 2;
        QCOMPARE(rig.prompt.shown.size(), std::size_t(1));
        QCOMPARE(rig.prompt.shown[0].text, "The language files lack " + std::to_string(lacking) +
                                               " texts; they are shown in English.");
        QCOMPARE(controller.context().language.text(lang_id::kUnknown), std::string("Unkn"));
    }

    void disconnectForAnUnknownCallIsTracedAndChangesNoRecord() {
        Rig rig;
        rig.folder.writeConfig("[config]\r\nlanguage=english\r\n");
        rig.folder.dir().write("app/config/calls.txt", "0301\t0301\t1\td\tt\t\tSpeech\r\n");
        CommandLine commandLine;
        commandLine.line = "sim:" + rig.folder.dir().write("unknown.scenario",
                                                           "raw 0e 00 01 00 04 82 05 00 99 09 00 "
                                                           "00 90 34\n");
        Controller& controller = rig.make(commandLine);
        QVERIFY(controller.start());
        QTRY_VERIFY(controller.trace().text().contains(
            "DISCONNECT_IND for an unknown call (PLCI 0x999): answered, no record changed"));
        QVERIFY(controller.trace().text().contains("CAPI_DISCONNECT - CAPI_RESP"));
        QCOMPARE(controller.context().journal.recordAt(1).endReason, std::string());
    }

    void fileTroubleIsToldOnceInTheTrayOrAMessageAndAlwaysTraced() {
        Rig rig;
        rig.folder.writeConfig("[config]\r\nlanguage=english\r\nshowAllCalls=yes please\r\n");
        Controller& controller = rig.make(true);
        QVERIFY(controller.start());
        // The unreadable value was named in the trace, and the default taken.
        QVERIFY(controller.trace().text().contains("showAllCalls"));
        QVERIFY(controller.context().settings.showAllCalls);
        // The phonebook, saved in the background, is told of without anyone waiting for it.
        const std::string phonebookFile = controller.context().phonebook.path();
        std::filesystem::remove(phonebookFile);
        std::filesystem::create_directory(phonebookFile);
        controller.context().phonebook.add("0301", "Anna", false, "", "");
        const auto& shown = rig.prompt.shown;
        QTRY_COMPARE(shown.size(), std::size_t(1));
        QVERIFY(shown[0].text.find(phonebookFile) != std::string::npos);
        FileProblems& problems = controller.context().fileProblems;
        problems.saveFailed("/x/calls.txt", "28 - No space left on device");
        problems.saveFailed("/x/calls.txt", "28 - No space left on device");
        QCOMPARE(shown.size(), std::size_t(2));
        QCOMPARE(shown[1].icon, PromptIcon::Exclamation);
        QVERIFY(shown[1].text.find(controller.context().language.text(lang_id::kSaveFailed)) !=
                std::string::npos);
        QCOMPARE(controller.trace().text().count("ERROR: unable to save /x/calls.txt"), 2);
        // With a notification area the notice goes there instead.
        rig.ui.trayNotices = true;
        problems.saved("/x/calls.txt");
        problems.saveFailed("/x/calls.txt", "30 - Read-only file system");
        QCOMPARE(shown.size(), std::size_t(2));
        QCOMPARE(rig.ui.notices, 1);
    }

    void missingResourceEndsTheStartWithItsMessage() {
        Rig rig;
        std::filesystem::remove(rig.folder.appDir() + "/res/phonered.ico");
        rig.folder.writeConfig("[config]\r\nlanguage=deutsch\r\n");
        Controller& controller = rig.make(false);
        QVERIFY(!controller.start());
        QVERIFY(controller.hasEnded());
        QVERIFY(controller.exitCode() != 0);
        QCOMPARE(rig.prompt.shown.size(), std::size_t(1));
        QCOMPARE(rig.prompt.shown[0].icon, PromptIcon::Exclamation);
        // Already in the chosen language.
        LanguageTable german;
        german.scan(std::string(RUFWACHT_SOURCE_DIR) + "/data/lang");
        german.select("deutsch");
        QCOMPARE(rig.prompt.shown[0].text, german.text(lang_id::kResourceMissing));
    }

    void delayedRegistrationWaitsThirtySecondsPerStep() {
        Rig rig;
        rig.folder.writeConfig(
            "[config]\r\nlanguage=english\r\ncapidelay=-1\r\ncapidelaytime=10\r\n");
        Controller& controller = rig.make(false);
        QVERIFY(controller.start());
        QCOMPARE(sessionOf(controller).delayCountdown(), 330);
        QVERIFY(!sessionOf(controller).isPolling());
        QCOMPARE(rig.ui.mainWindows, 1);
    }

    void identifyOpensTheAddressOrLogsTheFailure() {
        Rig rig;
        std::filesystem::create_directories(rig.folder.appDir() + "/config/logs");
        Controller& controller = rig.make(CommandLine{});
        controller.context().settings.lookupUrl = "https://example.org/q?ph=%s";
        controller.lookUpNumber("0301234567 (Berlin)");
        controller.lookUpNumber("Max (Berlin)");
        QCOMPARE(rig.ui.opened, std::vector<std::string>{"https://example.org/q?ph=0301234567"});
        rig.ui.urlsOpen = false;
        controller.lookUpNumber("0891234567");
        QVERIFY(rig.folder.dir()
                    .read("app/config/logs/rufwacht.log")
                    .find(" - Err: ShellExecute 31 unknown\r\n") != std::string::npos);
    }
};

QTEST_GUILESS_MAIN(ControllerTest)
#include "ControllerTest.moc"
