#include "ui/SettingsFakes.h"

#include "net/ProductInfo.h"
#include "stores/LanguageIds.h"
#include "support/QtText.h"
#include "support/Version.h"
#include "ui/LanguageChooser.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>
#include <tuple>

namespace {

using Texts = std::vector<std::string>;

void click(QAbstractButton* button) {
    QVERIFY(button != nullptr);
    QVERIFY(button->isEnabled());
    button->click();
}

// A click on the row, as the user makes it.
void clickRow(QTreeWidget* list, int row) {
    QTreeWidgetItem* item = list->topLevelItem(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

QStringList rows(QTreeWidget* list) {
    QStringList result;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        result << list->topLevelItem(i)->text(0) + "|" + list->topLevelItem(i)->text(1);
    }
    return result;
}

bool hasLine(const std::string& file, const std::string& line) {
    return file.find("\r\n" + line + "\r\n") != std::string::npos;
}

// An entry typed into a field after clicking a box (gated: the box enables the field).
struct BadEntry {
    const char *box, *field, *entry, *named, *page, *fixed;
    bool gated;
    int message;
    QStringList written;
};

// The line setting at the start, the options clicked, the host typed, the setting written; the
// line of the command line, shown as in use.
struct LineChoice {
    const char *line, *host, *capiSetting;
    QStringList clicks;
    const char *typed, *written, *inUse = "";
};

} // namespace

Q_DECLARE_METATYPE(BadEntry)
Q_DECLARE_METATYPE(LineChoice)

class SettingsDialogTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<SettingsBench> m_bench;

    SettingsBench& bench() { return *m_bench; }
    QLineEdit* field(const char* name) { return bench().find<QLineEdit>(name); }
    QAbstractButton* button(const char* name) { return bench().find<QAbstractButton>(name); }
    void type(const char* name, const QString& text) {
        field(name)->clear();
        QTest::keyClicks(field(name), text);
    }
    // Opens the dialog on screen, which the mouse tests need.
    SettingsDialog& openShown() {
        SettingsDialog& dialog = bench().open();
        dialog.show();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(&dialog);
        return dialog;
    }

private slots:
    void init() { m_bench = std::make_unique<SettingsBench>(); }
    void cleanup() { m_bench.reset(); }

    void treeAndPagesFollowTheDesign() {
        SettingsDialog& dialog = openShown();
        const std::pair<const char*, const char*> views[] = {
            {"call", "picCfgCall"}, {"pb", "picCfgPB"},
            {"msn", "picCfgMSN"},   {"webexport", "picWebExport"},
            {"misc", "picCfgMisc"}, {"backup", "picCfgBackup"},
            {"info", "picCfgInfo"}, {"mqtt", "picCfgMqtt"},
            {"Info", ""},           {"", ""}};
        for (const auto& [view, page] : views) {
            dialog.switchView(view);
            QCOMPARE(dialog.currentPageName(), QString(page));
        }
        // Choosing a node shows its page; the ISDN node shows the line.
        auto* tree = bench().find<QTreeWidget>("tvwNav");
        tree->setCurrentItem(tree->topLevelItem(1));
        QCOMPARE(dialog.currentPageName(), QString("picWebExport"));
        tree->setCurrentItem(tree->topLevelItem(0));
        QCOMPARE(dialog.currentPageName(), QString("picCfgLine"));
    }

    void openingFillsTheControls() {
        const std::tuple<bool, bool, const char*> popups[] = {
            {true, true, "optPopUp"}, {false, true, "optPopUpSmall"}, {false, false, "optNoPopUp"}};
        for (const auto& [popup, popupSmall, chosen] : popups) {
            m_bench = std::make_unique<SettingsBench>();
            SettingsRecord& settings = bench().settings();
            settings.showJournalOnCall = popup;
            settings.showPopupOnCall = popupSmall;
            settings.registrationDelayStep = 7;
            settings.audioFeedback = true;
            settings.playCallSound = false;
            settings.language = "DeUtScH";
            bench().open();
            QVERIFY(bench().find<QRadioButton>(chosen)->isChecked());
            QCOMPARE(button("chkMin")->isEnabled(), popup || popupSmall);
            QVERIFY(!field("txtWaveFile")->isEnabled());
            QVERIFY(!button("cmdCommonDlg")->isEnabled());
            // Eleven delays, each named for the wait its position gives; step 7 is 240 seconds.
            auto* delays = bench().find<QComboBox>("cmbDelayTime");
            QCOMPARE(delays->currentIndex(), 7);
            QCOMPARE(delays->currentText(), QString("240 sec."));
            QCOMPARE(bench().find<QComboBox>("cmbLanguage")->currentText(), QString("deutsch"));
            QCOMPARE(field("txtWELink")->text(),
                     QString("http://localhost:80/index.html&pwd=brindle"));
            QCOMPARE(bench().player.played,
                     Texts{bench().fixture.context.paths.dataFile("res/info.wav")});
        }
        // The options switch their controls.
        click(button("optPopUpSmall"));
        QVERIFY(button("chkMin")->isEnabled());
        click(button("optNoPopUp"));
        QVERIFY(!button("chkMin")->isEnabled());
        click(button("chkPlayWave"));
        QVERIFY(field("txtWaveFile")->isEnabled());
        click(button("chkPlayWave"));
        QVERIFY(!field("txtWaveFile")->isEnabled());
    }

    void browseStoresThePickedPathAndTheTestPlaysFromTheProgramFolder() {
        bench().open();
        const std::string dataDir = bench().fixture.context.paths.dataDir();
        // Cancel keeps the text; the dialog starts where the relative path points.
        click(button("cmdCommonDlg"));
        QCOMPARE(field("txtWaveFile")->text(), QString("./res/call.wav"));
        QCOMPARE(bench().files.asked.back(),
                 std::make_pair(std::string("(*.wav)"), dataDir + "res/call.wav"));
        click(button("cmdTestSound"));
        QCOMPARE(bench().player.played.back(), dataDir + "res/call.wav");

        bench().files.answers = {"/home/anna/sounds/ring.wav", "/home/anna/anna.png"};
        click(button("cmdCommonDlg"));
        QCOMPARE(field("txtWaveFile")->text(), QString("/home/anna/sounds/ring.wav"));
        click(button("cmdPic"));
        QCOMPARE(field("txtPicture")->text(), QString("/home/anna/anna.png"));
        // Test plays whatever the settings say about sounds.
        bench().settings().playCallSound = false;
        click(button("cmdTestSound"));
        QCOMPARE(bench().player.played.back(), std::string("/home/anna/sounds/ring.wav"));
    }

    void phonebookButtonsActAtOnce() {
        Phonebook& phonebook = bench().fixture.context.phonebook;
        phonebook.add("0301234567", "Anna", false, "", "");
        openShown();
        auto* list = bench().find<QTreeWidget>("lstPB");

        // Digits with "*" pass; letters do not and change nothing.
        type("txtNumber", "0351*");
        type("txtName", "Dresden");
        click(button("chkReject"));
        click(button("cmdAdd"));
        QCOMPARE(rows(list), QStringList({"0301234567|Anna", "0351*|Dresden"}));
        QVERIFY(phonebook.rejects("0351999"));
        QCOMPARE(field("txtNumber")->text(), QString("0351*"));
        type("txtNumber", "Berlin");
        click(button("cmdAdd"));
        QCOMPARE(bench().messages(), Texts{bench().text(lang_id::kInvalidNumber)});
        QCOMPARE(phonebook.size(), 2);

        // Change takes the fields as they are, letters too, and selects the entry again.
        clickRow(list, 0);
        QCOMPARE(field("txtName")->text(), QString("Anna"));
        type("txtNumber", "Anna-Handy");
        type("txtName", "Zora");
        click(button("cmdChange"));
        QCOMPARE(rows(list), QStringList({"0351*|Dresden", "Anna-Handy|Zora"}));
        QCOMPARE(list->currentItem()->text(1), QString("Zora"));
        // The position is used once.
        type("txtName", "Again");
        click(button("cmdChange"));
        QCOMPARE(phonebook.entryAt(2).name, std::string("Zora"));

        // Remove needs the number, whatever is selected.
        clickRow(list, 0);
        field("txtNumber")->clear();
        click(button("cmdDel"));
        QCOMPARE(bench().messages().back(), bench().text(lang_id::kRemoveNeedsNumber));
        QCOMPARE(phonebook.size(), 2);
        type("txtNumber", "0351*");
        click(button("cmdDel"));
        QCOMPARE(rows(list), QStringList({"Anna-Handy|Zora"}));
    }

    void changeOfAnEntryThatMovedChangesNothing() {
        Phonebook& phonebook = bench().fixture.context.phonebook;
        phonebook.add("0301", "Bert", false, "", "");
        phonebook.add("0302", "Carl", false, "", "");
        openShown();
        auto* list = bench().find<QTreeWidget>("lstPB");
        clickRow(list, 1);
        type("txtName", "Carla");
        // A call adds an entry that sorts first while the dialog is open.
        phonebook.add("0300", "Anna", false, "", "");
        click(button("cmdChange"));
        QCOMPARE(bench().messages(), Texts{bench().text(lang_id::kListChanged)});
        QCOMPARE(phonebook.nameOf("0302"), std::string("Carl"));
        QCOMPARE(phonebook.nameOf("0301"), std::string("Bert"));
        QCOMPARE(rows(list).size(), 3);
        // Likewise when the position no longer exists.
        clickRow(list, 2);
        phonebook.remove("0300");
        phonebook.remove("0301");
        click(button("cmdChange"));
        QCOMPARE(bench().messages().size(), std::size_t(2));
        QCOMPARE(phonebook.entryAt(1).name, std::string("Carl"));
    }

    void msnButtonsActAtOnce() {
        MsnList& msnList = bench().fixture.context.msnList;
        msnList.add("4711", "Office", false, false);
        msnList.add("4711", "Fax", false, false);
        openShown().switchView("msn");
        auto* list = bench().find<QTreeWidget>("lstMSN");
        type("txtMSNMSN", "4712");
        type("txtMSNName", "Home");
        click(button("chkMSNRejectAnon"));
        click(button("cmdMSNAdd"));
        QVERIFY(msnList.rejectsWithheld("4712"));
        QCOMPARE(rows(list), QStringList({"4711|Fax", "4712|Home", "4711|Office"}));
        clickRow(list, 1);
        click(button("chkMSNReject"));
        click(button("cmdMSNChange"));
        QVERIFY(msnList.rejects("4712"));
        QCOMPARE(list->currentItem(), nullptr);
        // Remove takes every entry with the MSN.
        type("txtMSNMSN", "4711");
        click(button("cmdMSNDel"));
        QCOMPARE(rows(list), QStringList({"4712|Home"}));
    }

    void webExportBoxActsAtOnceAndTheLinkFollowsTheTyping() {
        bench().settings().webExportOn = true;
        bench().settings().webExportPort = 8080;
        bench().settings().webExportPassword = "secret";
        bench().open();
        // Opening with the export on starts it on the saved port.
        QCOMPARE(bench().webExport.starts, std::vector<int>{8080});
        field("txtWebExportPort")->clear();
        QString typed;
        for (const QChar c : QString("81")) {
            QTest::keyClick(field("txtWebExportPort"), c.toLatin1());
            typed += c;
            QCOMPARE(field("txtWELink")->text(),
                     "http://localhost:" + typed + "/index.html&pwd=secret");
        }
        // The test button opens the saved address until OK.
        click(button("cmdWETest"));
        QCOMPARE(bench().urls.opened, Texts{"http://localhost:8080/index.html&pwd=secret"});

        click(button("chkWebExport"));
        QCOMPARE(bench().webExport.stops, 1);
        QVERIFY(!button("cmdWETest")->isEnabled());
        // Cancel keeps what acted at once: the server stays stopped, the setting on.
        click(button("cmdCacel"));
        QVERIFY(!bench().webExport.running);
        QVERIFY(bench().settings().webExportOn);
        QVERIFY(!hasLine(bench().configFile(), "webexporton=0"));
    }

    // A failed start shows its reason beside the box; OK with a port that cannot be listened
    // on keeps the dialog open on the page with why.
    void aFailedStartShowsItsReasonAndKeepsTheDialogOnTheWebPage() {
        bench().webExport.failure = "port 80 is in use";
        SettingsDialog& dialog = openShown();
        auto* note = bench().find<QLabel>("lblWEError");
        QVERIFY(note->isHidden());
        click(button("chkWebExport"));
        QVERIFY(!note->isHidden());
        QCOMPARE(ss(note->text()),
                 bench().text(lang_id::kWebExportNotStarted) + " port 80 is in use");
        bench().webExport.failure.clear();
        click(button("chkWebExport"));
        QVERIFY(note->isHidden());
        click(button("chkWebExport"));
        dialog.switchView("misc");
        bench().webExport.failure = "port 80 is in use";
        click(button("cmdOK"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.currentPageName(), QString("picWebExport"));
        QVERIFY(!note->isHidden());
        bench().webExport.failure.clear();
        click(button("cmdOK"));
        QVERIFY(!dialog.isVisible());
    }

    // An entry that cannot be used keeps the dialog open on its page with a message and saves
    // nothing; fixed, OK saves every change and applies the MQTT settings.
    void badEntriesKeepTheDialogOpen_data() {
        QTest::addColumn<BadEntry>("row");
        const auto rows = [](const char* box, bool gated, const char* field,
                             std::initializer_list<const char*> entries, int message,
                             const char* named, const char* page, const char* fixed,
                             const QStringList& written) {
            for (const char* entry : entries) {
                QTest::addRow("%s '%s'", field, entry)
                    << BadEntry{box, field, entry, named, page, fixed, gated, message, written};
            }
        };
        rows("chkWebExport", true, "txtWebExportPort",
             {"", "http", "0", "-5", "12.5", "8o", "32768", "65535", "99999"},
             lang_id::kInvalidPort, "", "picWebExport", " 32767", {"webexportport=32767"});
        rows("optLineCallMonitor", true, "txtLineHost", {"   ", "fritz.box:0"},
             lang_id::kInvalidLineHost, "", "picCfgLine", "fritz.box:65535",
             {"line=callmonitor:fritz.box:65535"});
        const QStringList server{"monitorserver=-1"};
        rows("chkMonitorServer", false, "txtOnCall", {"/usr/bin/say \"new call"},
             lang_id::kInvalidOnCallCommand, "", "picCfgLine", "/usr/bin/say 'new call'",
             server + QStringList{"oncall=/usr/bin/say 'new call'"});
        rows("chkMonitorServer", false, "txtOnCall", {"say \\"}, lang_id::kInvalidOnCallCommand, "",
             "picCfgLine", "", server + QStringList{"oncall="});
        rows("chkMonitorServer", true, "txtMonitorPort", {"65535"}, lang_id::kInvalidPort, "",
             "picCfgLine", "2012", server + QStringList{"monitorport=2012"});
        rows("chkMonitorServer", true, "txtMonitorAllow", {"fritz.box 10.0.0.0/8 ::1/200"},
             lang_id::kInvalidMonitorAllow, " fritz.box ::1/200", "picCfgLine", "10.0.0.0/8, ::1",
             server + QStringList{"monitorallow=10.0.0.0/8, ::1"});
        rows("chkMqtt", true, "txtMqttTopic", {"home/+/phone"}, lang_id::kInvalidMqtt, "",
             "picCfgMqtt", "home/phone", {"mqtt=-1", "mqtttopic=home/phone", "mqttport=1883"});
    }
    void badEntriesKeepTheDialogOpen() {
        QFETCH(BadEntry, row);
        const auto& [box, fieldName, entry, named, page, fixed, gated, message, written] = row;
        SettingsDialog& dialog = openShown();
        const std::string before = bench().configFile();
        QCOMPARE(field(fieldName)->isEnabled(), !gated);
        click(button(box));
        click(button("optPopUp"));
        dialog.switchView("misc");
        type(fieldName, entry);
        click(button("cmdOK"));
        QCOMPARE(bench().messages(), Texts{bench().text(message) + named});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.currentPageName(), QString(page));
        QCOMPARE(bench().configFile(), before);
        QVERIFY(!bench().settings().showJournalOnCall);
        QVERIFY(bench().settings().line.empty());
        QCOMPARE(bench().mqttApplied, 0);
        type(fieldName, fixed);
        click(button("cmdOK"));
        QVERIFY(!dialog.isVisible());
        // The notification choice was not touched: the desktop goes on deciding.
        for (const QString& line : written + QStringList{"popup=-1", "notify="}) {
            QVERIFY2(hasLine(bench().configFile(), ss(line)), qPrintable(line));
        }
        QCOMPARE(bench().mqttApplied, 1);
    }

    // The page shows the line setting; clicks choose another, which OK writes.
    void linePageShowsTheSettingAndOkWritesTheChoice_data() {
        QTest::addColumn<LineChoice>("row");
        const auto row = [](const char* name, const LineChoice& choice) {
            QTest::newRow(name) << choice;
        };
        const QStringList monitor{"optLineCallMonitor"};
        const char* const port = "callmonitor:10.0.0.1:2012";
        row("empty", {"", "", "", {}, "", ""});
        row("command line", {"", "", "", {}, "", "", "sim:demo/calls.scenario"});
        row("library", {"capi:/x/lib.so", "", "capi:/x/lib.so", {}, "", "capi:/x/lib.so"});
        row("port", {port, "10.0.0.1:2012", "", {}, "", port});
        row("to monitor", {"", "", "", monitor, "fritz.box", "callmonitor:fritz.box"});
        row("capi to port", {"capi", "", "", monitor, " 10.0.0.1:2012 ", port});
        row("ipv6", {"", "", "", monitor, "[fd00::1]:1012", "callmonitor:[fd00::1]:1012"});
        row("monitor to capi",
            {"callmonitor:fritz.box", "fritz.box", "", {"optLineCapi"}, "", "capi"});
        row("there and back", {"sim:/x/calls.scenario", "", "sim:/x/calls.scenario",
                               monitor + QStringList{"optLineCapi"}, "", "sim:/x/calls.scenario"});
    }
    void linePageShowsTheSettingAndOkWritesTheChoice() {
        QFETCH(LineChoice, row);
        const auto& [line, host, capiSetting, clicks, typed, written, inUse] = row;
        bench().settings().line = line;
        bench().lineFromCommandLine = inUse;
        bench().open();
        const bool callMonitor = *host != '\0';
        QCOMPARE(button("optLineCallMonitor")->isChecked(), callMonitor);
        QCOMPARE(button("optLineCapi")->isChecked(), !callMonitor);
        QCOMPARE(field("txtLineHost")->text(), QString(host));
        QCOMPARE(field("txtLineHost")->isEnabled(), callMonitor);
        QCOMPARE(field("txtLineCapi")->text(), QString(capiSetting));
        QCOMPARE(field("txtLineCapi")->isHidden(), *capiSetting == '\0');
        QCOMPARE(bench().find<QLabel>("lblLineInUse")->isHidden(), *inUse == '\0');
        QCOMPARE(field("txtLineInUse")->text(), QString(inUse));
        for (const QString& option : clicks) {
            click(button(qPrintable(option)));
            // The host is asked for the call monitor only.
            QCOMPARE(field("txtLineHost")->isEnabled(), option == "optLineCallMonitor");
        }
        if (*typed != '\0') {
            type("txtLineHost", typed);
        }
        click(button("cmdOK"));
        QVERIFY(hasLine(bench().configFile(), std::string("line=") + written));
    }

    void okWritesEverySettingAndAppliesIt() {
        bench().open();
        for (const char* name :
             {"optPopUpSmall", "chkMin", "chkAudioFeedback", "optStyleDefault", "chkWebExport",
              "chkCAPIDelay", "chkAutostart", "chkQuietExit", "chkAppExit", "chkTKAddNull",
              "chkTKRemoveNull", "optTrayBlink", "chkTrayRedBlink", "chkRejectAnonymous",
              "optAllCallsNo", "chkPlayWave"}) {
            click(button(name));
        }
        type("txtWebExportPort", "8081");
        type("txtWebExportPwd", "geheim");
        bench().find<QComboBox>("cmbDelayTime")->setCurrentIndex(3);
        type("txtPrefix", "0043");
        bench().find<QComboBox>("cmbNotify")->setCurrentIndex(2);
        auto* languages = bench().find<QComboBox>("cmbLanguage");
        languages->setCurrentIndex(languages->findText("deutsch"));
        const std::string restartNeeded = bench().text(lang_id::kRestartNeeded);
        click(button("cmdOK"));

        const std::string file = bench().configFile();
        for (const QString& line :
             QString("plsnd=0 sndwav=./res/call.wav popup=0 popupsmall=-1 minimize=-1 "
                     "audiofeedback=-1 style=1 webexporton=-1 webexportport=8081 "
                     "webexportpwd=geheim capidelay=-1 capidelaytime=3 autostart=-1 quietexit=-1 "
                     "appexit=-1 TKAddNull=-1 TKRemoveNull=-1 TrayBlink=-1 RedBlink=-1 "
                     "language=deutsch RejectAnonymous=-1 showAllCalls=0 notify=both prefix=0043")
                 .split(' ')) {
            QVERIFY2(hasLine(file, ss(line)), qPrintable(line));
        }
        // The language changed: one message, and the texts follow at once.
        QCOMPARE(bench().messages(), Texts{restartNeeded});
        QCOMPARE(bench().text(lang_id::kSettings), std::string("Konfiguration"));
        QVERIFY(bench().autostart.made);
        QCOMPARE(bench().webExport.starts, (std::vector<int>{80, 8081}));
    }

    // Escape is Cancel; Enter is OK, which with the language unchanged says nothing.
    void enterIsOkAndEscapeIsCancel() {
        SettingsDialog& dialog = openShown();
        click(button("chkQuietExit"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!bench().settings().quietExit);

        bench().settings().language = "ENGLISH";
        bench().autostart.made = true;
        SettingsDialog& again = openShown();
        click(button("chkQuietExit"));
        QTest::keyClick(field("txtPrefix"), Qt::Key_Return);
        QVERIFY(!again.isVisible());
        QVERIFY(bench().settings().quietExit);
        QVERIFY(bench().messages().empty());
        QVERIFY(!bench().autostart.made);
        QCOMPARE(bench().webExport.stops, 1);
        QVERIFY(hasLine(bench().configFile(), "language=english"));
    }

    void aPrefixThatIsNoNumberIsPointedOutWhileTyping() {
        bench().open();
        type("txtPrefix", "00x");
        QCOMPARE(bench().messages(), Texts{bench().text(lang_id::kInvalidNumber)});
        QCOMPARE(field("txtPrefix")->text(), QString("00x"));
    }

    void backupAndRestoreFromThePage() {
        bench().fixture.context.phonebook.add("0301", "Anna", false, "", "");
        SettingsDialog& dialog = bench().open();
        const TempDir& dir = bench().fixture.dir;
        bench().files.answers = {dir.file("save.ibk")};
        click(button("cmdBackup"));
        QVERIFY(dir.read("save.ibk").find("0301\tAnna") != std::string::npos);

        // A file without sections is refused before anything changes.
        dir.write("notes.ibk", "nothing here\r\n");
        bench().files.answers = {dir.file("notes.ibk")};
        click(button("cmdRestore"));
        QCOMPARE(bench().messages(), Texts{bench().text(lang_id::kBackupWithoutSections)});

        dir.write("config.ibk", "\r\n---BEGIN config.dat---\r\n[config]\r\ncapidelaytime=9\r\n"
                                "webexporton=-1\r\n---END config.dat---\r\n");
        bench().files.answers = {dir.file("config.ibk")};
        click(button("cmdRestore"));
        QCOMPARE(bench().messages().back(), bench().text(lang_id::kRestartNeeded));
        QCOMPARE(bench().settings().registrationDelayStep, 9);
        // The controls show the restored settings without doubling their fixed entries; the
        // export box changed, so the server started.
        auto* delays = bench().find<QComboBox>("cmbDelayTime");
        QCOMPARE(delays->count(), 11);
        QCOMPARE(delays->currentIndex(), 9);
        QCOMPARE(bench().find<QComboBox>("cmbLanguage")->count(), 2);
        QCOMPARE(bench().find<QTreeWidget>("lstPB")->topLevelItemCount(), 0);
        QVERIFY(button("chkWebExport")->isChecked());
        QCOMPARE(bench().webExport.starts, std::vector<int>{80});
        QCOMPARE(bench().find<QTreeWidget>("tvwNav")->topLevelItemCount(), 6);
        QCOMPARE(dialog.currentPageName(), QString("picCfgPB"));

        bench().files.answers = {dir.file("absent.ibk")};
        click(button("cmdRestore"));
        QCOMPARE(bench().messages().back(), bench().text(lang_id::kBackupUnreadable));
        bench().files.answers = {dir.file("no-folder/save.ibk")};
        click(button("cmdBackup"));
        QCOMPARE(bench().messages().back(), bench().text(lang_id::kBackupNotWritten));
    }

    void infoPageOpensItsAddresses() {
        bench().open();
        for (const char* link : {"lblWWW", "lbleMail", "lblIdentOert2"}) {
            QTest::mouseClick(bench().find<QLabel>(link), Qt::LeftButton);
        }
        QCOMPARE(bench().urls.opened,
                 (Texts{kProductWebAddress,
                        std::string("mailto:info@rufwacht.example.org?Subject=Rufwacht%20%26%20"
                                    "Version%20") +
                            kAppVersion,
                        "https://www.dasoertliche.de/oetb_1.htm?main=Datenschutz"}));
    }

    // The chooser at the first start: without a saved language the last entry is selected,
    // else the saved one whatever its case; Save sets, loads and stores the choice.
    void theLanguageChooserSelectsAndSavesTheLanguage() {
        TempDir program;
        program.write("lang/english.lng", "1=one\r\n");
        program.write("lang/Deutsch.lng", "1=eins\r\n");
        program.write("lang/zulu.lng", "1=kunye\r\n");
        TestContext test(program.path());
        const auto languages = [](LanguageChooser& chooser) {
            return chooser.findChild<QComboBox*>("cmbLanguage");
        };
        {
            LanguageChooser chooser(LanguageChooserParts::of(test.context));
            QCOMPARE(languages(chooser)->count(), 3);
            QCOMPARE(languages(chooser)->currentIndex(), 2);
        }
        test.settings().language = "deutsch";
        LanguageChooser chooser(LanguageChooserParts::of(test.context));
        QCOMPARE(languages(chooser)->currentText(), QString("Deutsch"));
        click(chooser.findChild<QAbstractButton*>("cmdSave"));
        QCOMPARE(chooser.result(), int(QDialog::Accepted));
        QCOMPARE(test.text(1), std::string("eins"));
        SettingsRecord reloaded;
        loadSettings(reloaded, test.context.settingsFile());
        QCOMPARE(reloaded.language, std::string("deutsch"));
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
