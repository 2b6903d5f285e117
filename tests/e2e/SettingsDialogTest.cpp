#include "ProgramRunner.h"
#include "VirtualDesktop.h"

#include "stores/CallJournal.h"
#include "stores/LanguageIds.h"
#include "stores/Phonebook.h"

#include <QStandardPaths>
#include <QTest>

#include <cmath>

namespace {

constexpr const char* kCallerNumber = "0301234567";
constexpr const char* kCallerName = "Erika Mustermann";

// The journal window is 8175 twips wide; its width on the screen gives the scale.
constexpr double kJournalWidthTwips = 8175.0;
// Centres of the options label and of the settings button in the opened panel, in twips.
const QPoint kOptionsLabel(7560 + 127, 2640 + 127);
const QPoint kSettingsButton(8055 - 4216 + 2400 + 787, 3720 + 120 + 187);

QPoint inPixels(QPoint twips, QSize journalWindow) {
    const double scale = journalWindow.width() / kJournalWidthTwips;
    return {static_cast<int>(std::lround(twips.x() * scale)),
            static_cast<int>(std::lround(twips.y() * scale))};
}

// The same caller rings every two seconds for a few minutes, so that whatever moment the
// phonebook entry lands, a later call shows it.
QString ringingAgainAndAgain() {
    QString commands;
    for (int call = 1; call <= 90; ++call) {
        const QString plci = "0x" + QString::number(call * 0x100 + 1, 16);
        commands += "wait 2\ncall plci=" + plci + " called=1 calling=301234567\n";
        commands += "wait 0.5\nhangup plci=" + plci + "\n";
    }
    return commands;
}

QString title(int id) {
    return ProgramRunner::english(id);
}

bool journalNames(const ProgramRunner& runner, const std::string& name) {
    const CallJournal journal = runner.journal();
    for (int i = 1; i <= journal.size(); ++i) {
        if (journal.recordAt(i).name == name && journal.recordAt(i).number == kCallerNumber) {
            return true;
        }
    }
    return false;
}

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void aPhonebookEntryAddedInTheDialogNamesTheNextCall() {
        if (!VirtualDesktop::toolsPresent() || QStandardPaths::findExecutable("xwd").isEmpty()) {
            QSKIP("Xvfb, trayer, xdotool or xwd missing");
        }
        VirtualDesktop desktop;
        // Without a notification area the journal window stays on the screen.
        QVERIFY(desktop.start(false));
        ProgramRunner runner;
        runner.showOn(desktop.display());
        runner.writeConfig({});
        QProcess* program = runner.start({runner.scenario(ringingAgainAndAgain())});

        // A loaded machine (the sanitizer build, tests side by side) may take its time to start.
        QString journal;
        QTRY_VERIFY2_WITH_TIMEOUT(
            !(journal = desktop.findWindow(title(lang_id::kCallJournal))).isEmpty(),
            qPrintable(program->readAllStandardError()), 30000);
        const QSize shortWindow = desktop.windowSize(journal);
        QVERIFY(shortWindow.isValid());
        desktop.click(journal, inPixels(kOptionsLabel, shortWindow));
        // The window grows, then the panel slides in; while it moves, other buttons pass the
        // settings button's place.
        QTRY_VERIFY_WITH_TIMEOUT(desktop.windowSize(journal).height() > shortWindow.height(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(desktop.isStill(journal), 5000);
        desktop.click(journal, inPixels(kSettingsButton, shortWindow));
        QString dialog;
        QTRY_VERIFY_WITH_TIMEOUT(
            !(dialog = desktop.findWindow(title(lang_id::kSettings))).isEmpty(), 5000);

        // The dialog opens on the phonebook with the focus on the navigation tree; then come
        // the list, number, name, reject box, sound, its button, picture, its button and Add.
        desktop.focus(dialog);
        desktop.keys({"Tab", "Tab"});
        desktop.type(kCallerNumber);
        desktop.keys({"Tab"});
        desktop.type(kCallerName);
        desktop.keys({"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space"});
        Phonebook phonebook;
        QTRY_VERIFY_WITH_TIMEOUT((phonebook.load((runner.configDir() + "nn.dat").toStdString()),
                                  phonebook.nameOf(kCallerNumber) == kCallerName),
                                 5000);
        // Cancel keeps what the list buttons did.
        desktop.keys({"Escape"});
        QTRY_COMPARE_WITH_TIMEOUT(desktop.visibleWindows(title(lang_id::kSettings)), 0, 5000);

        QTRY_VERIFY_WITH_TIMEOUT(journalNames(runner, kCallerName), 20000);
        QCOMPARE(ProgramRunner::stop(program), 0);
    }
};

QTEST_GUILESS_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
