#include "support/ScriptedPrompt.h"
#include "ui/UiTestSupport.h"

#include "stores/LanguageIds.h"
#include "ui/CallPopupWindow.h"
#include "ui/DesktopUi.h"
#include "ui/JournalWindow.h"
#include "ui/NotificationIcon.h"
#include "ui/QtUserPrompt.h"
#include "ui/TrayBlinker.h"
#include "ui/TrayMenu.h"
#include "ui/settings/SettingsDialog.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>

using State = TrayBlinker::State;

class TrayTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<UiFixture> m_fixture;

private slots:
    void init() { m_fixture = std::make_unique<UiFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void blinksGreenWhileRingingAndRedAfterAMissedCall() {
        TrayBlinker tray;
        QCOMPARE(tray.state(), State::Idle);

        // Incoming call with blinking on.
        tray.setGreenBlink(false);
        tray.setRedBlink(false);
        tray.setGreenBlink(true);
        QCOMPARE(tray.state(), State::Ringing);
        QCOMPARE(tray.icon(), TrayIcon::Black);
        tray.greenTick();
        QCOMPARE(tray.icon(), TrayIcon::Green);
        tray.greenTick();
        QCOMPARE(tray.icon(), TrayIcon::Black);
        tray.greenTick();

        // The caller hangs up: black first, then red blinking.
        tray.setGreenBlink(false);
        tray.setIcon(TrayIcon::Black);
        tray.setRedBlink(true);
        QCOMPARE(tray.state(), State::Missed);
        QVERIFY(!tray.isGreenBlinking());
        tray.redTick();
        QCOMPARE(tray.icon(), TrayIcon::Red);

        // The next call without blinking cuts the red blinking off where it stands.
        tray.setGreenBlink(false);
        tray.setRedBlink(false);
        QCOMPARE(tray.state(), State::Still);
        QCOMPARE(tray.icon(), TrayIcon::Red);

        // With blinking on, the first green tick from red shows black.
        tray.setGreenBlink(true);
        tray.greenTick();
        QCOMPARE(tray.icon(), TrayIcon::Black);
    }

    void touchingTheIconAcknowledges() {
        TrayBlinker tray;
        QMenu menu;
        NotificationIcon icon(tray, m_fixture->pictures, &menu);
        QSignalSpy opened(&icon, &NotificationIcon::openRequested);
        QSignalSpy changed(&tray, &TrayBlinker::iconChanged);
        QSignalSpy acknowledged(&tray, &TrayBlinker::acknowledged);

        // Any touch but a left click only stops the blinking.
        tray.setGreenBlink(true);
        tray.setRedBlink(true);
        tray.greenTick();
        icon.onActivated(QSystemTrayIcon::Context);
        QCOMPARE(tray.state(), State::Idle);
        QVERIFY(!tray.isGreenBlinking());
        QVERIFY(!tray.isRedBlinking());
        QCOMPARE(opened.count(), 0);

        tray.setRedBlink(true);
        icon.onActivated(QSystemTrayIcon::Trigger);
        QCOMPARE(opened.count(), 1);
        QVERIFY(!tray.isRedBlinking());

        // Opening the menu touches the icon as well.
        tray.setGreenBlink(true);
        emit menu.aboutToShow();
        QVERIFY(!tray.isGreenBlinking());
        QVERIFY(changed.count() > 0);
        QCOMPARE(acknowledged.count(), 3);

        // The count of missed calls stands under the last caller.
        tray.setTooltip("Last call: Anna");
        icon.setMissedText("3 missed");
        QCOMPARE(icon.icon().toolTip(), QString("Last call: Anna\n3 missed"));
        icon.setMissedText({});
        QCOMPARE(icon.icon().toolTip(), QString("Last call: Anna"));
    }

    void tooltipIsCutToItsField() {
        TrayBlinker tray;
        QSignalSpy changed(&tray, &TrayBlinker::tooltipChanged);
        tray.setTooltip(std::string(63, 'x'));
        QCOMPARE(tray.tooltip().size(), 63);
        tray.setTooltip(std::string(64, 'y') + "z");
        QCOMPARE(tray.tooltip(), QString(63, 'y'));
        QCOMPARE(changed.count(), 2);
        // A character outside the basic plane is never split.
        const QString wide = QString(62, 'a') + QString::fromUtf8("\xF0\x9F\x93\x9E") + "b";
        QCOMPARE(TrayBlinker::fitTooltip(wide), QString(62, 'a'));
    }

    void startLeavesTheProgramInTheNotificationAreaOrTheTaskBar() {
        ScriptedPrompt prompt;
        m_fixture->addCall("0301111", "1");
        QVERIFY(m_fixture->context.language.select("deutsch"));
        DesktopUi ui(prompt, []() { return true; });
        ui.attachContext(&m_fixture->context);
        ui.showMainWindowHidden();
        // The icon alone: the window is made when it is first wanted.
        QVERIFY(ui.journalWindow() == nullptr);
        QVERIFY(ui.trayIcon() != nullptr);
        QCOMPARE(ui.trayIcon()->icon().toolTip().toStdString(),
                 m_fixture->context.language.text(lang_id::kTooltipIdle));
        QCOMPARE(ui.trayIcon()->icon().contextMenu(), ui.trayMenu());

        // The call handlers reach the window and the icon through the views.
        ui.trayView().setTooltip("Last call: 0301111");
        QCOMPARE(ui.trayIcon()->icon().toolTip(), QString("Last call: 0301111"));
        m_fixture->addCall("0302222", "1");
        ui.journalView().refresh(false);
        QVERIFY(ui.journalWindow() == nullptr);

        // A left click on the icon brings the window, with every call.
        m_fixture->addCall("0303333", "1");
        ui.trayView().setGreenBlink(true);
        ui.trayIcon()->onActivated(QSystemTrayIcon::Trigger);
        JournalWindow* journal = ui.journalWindow();
        QVERIFY(journal != nullptr && journal->isVisible());
        QVERIFY(!journal->isMinimized());
        QVERIFY(!ui.trayBlinker().isGreenBlinking());
        QCOMPARE(journal->findChild<QTableView*>("lstCalls")->model()->rowCount(), 3);
        // Made, it is the call handlers' window too.
        ui.journalView().minimize();
        QTRY_VERIFY(!journal->isVisible());
        journal->showAndActivate();

        // Every window shows its captions in the chosen language, its title too; the buttons of
        // fixed size, outside the dialog's layouts, fit them.
        ui.popupView().setStatus("done");
        ui.openSettings(false);
        for (QWidget* window :
             std::vector<QWidget*>{journal, ui.callPopup().window(), ui.settingsDialog()}) {
            QVERIFY(window != nullptr && !window->windowTitle().isEmpty());
            const QString wrong = wrongCaption(*window, m_fixture->context.language);
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
            const bool laidOut = window == ui.settingsDialog();
            for (auto* button :
                 laidOut ? QList<QAbstractButton*>() : window->findChildren<QAbstractButton*>()) {
                const int advance = button->fontMetrics().horizontalAdvance(button->text());
                QVERIFY2(advance <= button->width(), qPrintable(button->text()));
            }
        }
        const QString wrongInMenu = wrongCaption(*ui.trayMenu(), m_fixture->context.language);
        QVERIFY2(wrongInMenu.isEmpty(), qPrintable(wrongInMenu));
        // One settings dialog, raised on the page asked for; closed, it is gone and the next
        // request makes a new one.
        QPointer<SettingsDialog> dialog = ui.settingsDialog();
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->currentPageName(), QString("picCfgPB"));
        ui.openSettings(true);
        QCOMPARE(ui.settingsDialog(), dialog.data());
        QCOMPARE(dialog->currentPageName(), QString("picCfgInfo"));
        dialog->reject();
        QTRY_VERIFY(dialog.isNull());
        ui.openSettings(false);
        QVERIFY(ui.settingsDialog() != nullptr);
        ui.closeAllWindows();
        QVERIFY(!journal->isVisible());
        QVERIFY(!ui.trayIcon()->isShown());
        QVERIFY(ui.callPopup().window() == nullptr);

        // Without a notification area the window starts in the task bar.
        DesktopUi taskBar(prompt, []() { return false; });
        taskBar.attachContext(&m_fixture->context);
        taskBar.showMainWindowHidden();
        QVERIFY(taskBar.journalWindow()->isVisible() && taskBar.journalWindow()->isMinimized());
    }

    void messageBoxesShowTheirTextAsPlainText() {
        QtUserPrompt prompt;
        Qt::TextFormat format = Qt::RichText;
        QString shown;
        QTimer::singleShot(0, [&]() {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            format = box->textFormat();
            shown = box->text();
            box->accept();
        });
        prompt.message("<b>Anna</b> <i>cannot</i> be saved", "", PromptIcon::Exclamation);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(shown, QString("<b>Anna</b> <i>cannot</i> be saved"));
    }
};

QTEST_MAIN(TrayTest)
#include "TrayTest.moc"
