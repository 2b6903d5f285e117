#include "support/ScriptedPrompt.h"
#include "ui/UiTestSupport.h"

#include "stores/LanguageIds.h"
#include "ui/JournalTableModel.h"
#include "ui/JournalWindow.h"
#include "ui/TrayMenu.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

class JournalWindowTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<UiFixture> m_fixture;
    ScriptedPrompt m_prompt;
    RecordingCommands m_commands;
    bool m_trayAvailable = true;

    std::string text(int id) const { return m_fixture->text(id); }
    std::unique_ptr<JournalWindow> makeWindow() {
        return std::make_unique<JournalWindow>(JournalWindowParts::of(m_fixture->context),
                                               m_fixture->pictures, m_commands, m_prompt,
                                               [this]() { return m_trayAvailable; });
    }
    static QTableView* list(JournalWindow& window) {
        return window.findChild<QTableView*>("lstCalls");
    }
    static QString cell(JournalWindow& window, int row, int column, int role = Qt::DisplayRole) {
        QAbstractItemModel* model = list(window)->model();
        return model->index(row, column).data(role).toString();
    }
    static QStringList row(JournalWindow& window, int row) {
        QStringList texts;
        for (int column = 0; column < list(window)->model()->columnCount(); ++column) {
            texts << cell(window, row, column);
        }
        return texts;
    }
    static QPoint rowCentre(JournalWindow& window, int row) {
        QTableView* view = list(window);
        return view->visualRect(view->model()->index(row, 0)).center();
    }
    static void rightClick(JournalWindow& window, QPoint where) {
        QTest::mouseClick(list(window)->viewport(), Qt::RightButton, {}, where);
    }
    static QMenu* journalMenu(JournalWindow& window) {
        return window.findChild<QMenu*>("mnuJournalPopup");
    }
    static void trigger(QWidget& window, const char* action) {
        auto* item = window.findChild<QAction*>(action);
        QVERIFY(item != nullptr);
        item->trigger();
    }

private slots:
    void init() {
        m_fixture = std::make_unique<UiFixture>();
        m_prompt = ScriptedPrompt{};
        m_commands = RecordingCommands{};
        m_trayAvailable = true;
    }
    void cleanup() { m_fixture.reset(); }

    void rowsStandNewestFirstWithTagsAndTooltips() {
        m_fixture->context.phonebook.add("0301234567", "Anna", false, "", "");
        m_fixture->context.msnList.add("7654321", "Office", false, false);
        m_fixture->addCall("0301234567", "7654321", "first");
        m_fixture->addCall("0899876543", "7654322", "second");
        m_fixture->addCall("0211555", "7654321", "third");
        auto window = makeWindow();
        QTableView* view = list(*window);
        QCOMPARE(view->model()->headerData(4, Qt::Horizontal).toString().toStdString(),
                 text(lang_id::kColumnEndReason));
        QCOMPARE(row(*window, 0),
                 QStringList({"0211555", "Office", "06.12.26", "09:15:00", "third"}));
        QCOMPARE(row(*window, 1),
                 QStringList({"0899876543", "7654322", "06.12.26", "09:15:00", "second"}));
        QCOMPARE(row(*window, 2), QStringList({"Anna", "Office", "06.12.26", "09:15:00", "first"}));
        QCOMPARE(cell(*window, 2, 0, Qt::ToolTipRole), QString("0301234567"));
        QVERIFY(!(view->model()->flags(view->model()->index(0, 0)) & Qt::ItemIsEditable));
    }

    // One call is one inserted row and one changed cell, never a rebuilt table.
    void tableFollowsTheJournalChangeByChange() {
        m_fixture->addCall("0301111", "1");
        auto window = makeWindow();
        QAbstractItemModel* model = list(*window)->model();
        QAbstractItemModelTester tester(model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
        QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy reset(model, &QAbstractItemModel::modelReset);

        CallJournal& journal = m_fixture->context.journal;
        const int index = journal.add("0302222", "0302222", "1", "07.12.26", "10:00:00", "Speech");
        window->refresh(false);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted[0].value(1).toInt(), 0);
        journal.setEndReason(index, "busy");
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0].value(0).toModelIndex(), model->index(0, 4));
        QCOMPARE(cell(*window, 0, 4), QString("busy"));

        // A new name in the phonebook reaches the rows at the next refresh, in one signal.
        m_fixture->context.phonebook.add("0301111", "Anna", false, "", "");
        window->refresh(false);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(cell(*window, 1, 0), QString("Anna"));

        journal.remove(2);
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed[0].value(1).toInt(), 0);
        QCOMPARE(row(*window, 0).first(), QString("Anna"));
        QCOMPARE(reset.size(), 0);
        journal.clear();
        QCOMPARE(reset.size(), 1);
        QCOMPARE(model->rowCount(), 0);
    }

    // Delete removes only the newest record of the top row; clearing asks first.
    void deletingTheTopRowAndClearingTheList() {
        m_fixture->addCall("0301111", "1");
        m_fixture->addCall("0302222", "1");
        m_fixture->addCall("0303333", "1");
        auto window = makeWindow();
        list(*window)->selectRow(0);
        trigger(*window, "mnuJournalDel");
        QCOMPARE(m_fixture->context.journal.recordAt(2).number, std::string("0302222"));
        const std::string before = m_fixture->dir.read("calls.txt");
        QVERIFY(before.find("0303333") == std::string::npos);
        QVERIFY(m_prompt.shown.empty());

        auto* clear = window->findChild<QAbstractButton*>("cmdClearList");
        m_prompt.answers = {false};
        clear->click();
        QCOMPARE(m_prompt.shown.size(), std::size_t(1));
        QCOMPARE(m_prompt.shown[0].text, text(lang_id::kClearListQuestion));
        QCOMPARE(m_prompt.shown[0].icon, PromptIcon::Question);
        QCOMPARE(m_fixture->dir.read("calls.txt"), before);
        QCOMPARE(list(*window)->model()->rowCount(), 2);
        m_prompt.answers = {true};
        clear->click();
        QCOMPARE(m_fixture->context.journal.size(), 0);
        QVERIFY(m_fixture->dir.read("calls.txt").find("0301111") == std::string::npos);
    }

    void contextMenuOnlyOverAListWithRows() {
        m_fixture->addCall("0301111", "1");
        m_fixture->addCall("0302222", "1");
        auto window = makeWindow();
        window->showAndActivate();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTableView* view = list(*window);
        rightClick(*window, rowCentre(*window, 1));
        QTRY_VERIFY(journalMenu(*window)->isVisible());
        QCOMPARE(view->selectionModel()->selectedRows().value(0).row(), 1);
        journalMenu(*window)->hide();

        // A press below the last row keeps the row selected before.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(*window, 0));
        const QPoint below(20, view->viewport()->height() - 3);
        QVERIFY(!view->indexAt(below).isValid());
        rightClick(*window, below);
        QTRY_VERIFY(journalMenu(*window)->isVisible());
        journalMenu(*window)->hide();
        trigger(*window, "mnuJournalIdentify");
        QCOMPARE(m_commands.identified, std::vector<std::string>({"0302222"}));

        // Without a selection the menu's actions do nothing.
        view->clearSelection();
        trigger(*window, "mnuJournalIdentify");
        trigger(*window, "mnuJournalDel");
        trigger(*window, "mnuJournalAddPB");
        QCOMPARE(m_commands.identified.size(), std::size_t(1));
        QCOMPARE(m_fixture->context.journal.size(), 2);
        QVERIFY(m_prompt.shown.empty());

        m_fixture->context.journal.clear();
        rightClick(*window, QPoint(20, 20));
        QVERIFY(!journalMenu(*window)->isVisible());
    }

    void addToPhonebookOnlyForAPlainNumber() {
        m_fixture->context.phonebook.add("0301111", "Anna", false, "", "");
        m_fixture->addCall("0301111", "1");   // row 4: known, shows a name
        m_fixture->addCall("Anonymous", "1"); // row 3: withheld
        m_fixture->addCall("12.5", "1");      // row 2: a number with a point
        m_fixture->addCall("0302222", "1");   // row 1
        m_fixture->addCall("0303333", "1");   // row 0
        auto window = makeWindow();
        QTableView* view = list(*window);
        for (int row : {2, 3, 4}) {
            view->selectRow(row);
            trigger(*window, "mnuJournalAddPB");
        }
        QVERIFY(m_prompt.shown.empty());
        QCOMPARE(m_fixture->context.phonebook.size(), 1);

        view->selectRow(1);
        m_prompt.answers = {true};
        m_prompt.inputs = {std::string("Bernd")};
        trigger(*window, "mnuJournalAddPB");
        QCOMPARE(m_prompt.shown.size(), std::size_t(2));
        QCOMPARE(m_prompt.shown[0].text, text(lang_id::kAddToPhonebookQuestion) + "\r\n" +
                                             text(lang_id::kNumber) + ": 0302222");
        QCOMPARE(m_prompt.shown[1].text, text(lang_id::kAddToPhonebookNamePrompt));
        QCOMPARE(m_fixture->context.phonebook.nameOf("0302222"), std::string("Bernd"));

        // No, and an empty name, add nothing.
        view->selectRow(0);
        m_prompt.answers = {false};
        trigger(*window, "mnuJournalAddPB");
        m_prompt.answers = {true};
        m_prompt.inputs = {std::string()};
        trigger(*window, "mnuJournalAddPB");
        QCOMPARE(m_fixture->context.phonebook.nameOf("0303333"), std::string("0303333"));
        QCOMPARE(m_fixture->context.phonebook.size(), 2);
    }

    void prefixCheckTellsTheOriginOrThatThereIsNone() {
        auto window = makeWindow();
        auto* check = window->findChild<QAbstractButton*>("cmdPrefixCheck");
        m_prompt.inputs = {std::string("030"), std::string("0999912345"), std::nullopt,
                           std::string()};
        check->click();
        QCOMPARE(m_prompt.shown.size(), std::size_t(2));
        QCOMPARE(m_prompt.shown[0].text, text(lang_id::kPrefixCheckPrompt));
        QCOMPARE(m_prompt.shown[1].text, std::string("Berlin"));
        QCOMPARE(m_prompt.shown[1].icon, PromptIcon::Information);
        check->click();
        QCOMPARE(m_prompt.shown.back().text, text(lang_id::kPrefixCheckNoResult));
        check->click();
        check->click();
        QCOMPARE(m_prompt.shown.size(), std::size_t(6));
    }

    void buttonsAndMenuEntriesReachTheController() {
        auto window = makeWindow();
        for (const char* name :
             {"cmdReject", "cmdExit", "cmdUpdateCheck", "cmdConfig", "cmdInfo"}) {
            window->findChild<QAbstractButton*>(name)->click();
        }
        TrayMenu menu(m_commands, m_fixture->context.language);
        QSignalSpy journalRequests(&menu, &TrayMenu::journalRequested);
        for (const char* name : {"mnuExit", "mnuConfig", "mnuInfo", "mnuLoadMain"}) {
            trigger(menu, name);
        }
        QCOMPARE(m_commands.updateChecks, 1);
        QCOMPARE(m_commands.rejects, 1);
        QCOMPARE(m_commands.exits, 2);
        QCOMPARE(m_commands.settingsOpened, std::vector<bool>({false, true, false, true}));
        QCOMPARE(journalRequests.count(), 1);

        m_commands.sounds.clear();
        window->showFromMenu();
        QVERIFY(window->isVisible());
        QVERIFY(!window->isMinimized());
        QCOMPARE(m_commands.sounds, std::vector<std::string>({"load"}));
    }

    // Minimising and the close box hide the window; without a notification area it stays in
    // the task bar, minimised.
    void minimisingAndTheCloseBoxHideTheWindow() {
        std::unique_ptr<JournalWindow> window;
        const std::function<void()> hiders[] = {[&]() { window->minimize(); },
                                                [&]() { QVERIFY(!window->close()); }};
        for (const bool tray : {false, true}) {
            m_trayAvailable = tray;
            window = makeWindow();
            for (const auto& hide : hiders) {
                window->showAndActivate();
                QVERIFY(QTest::qWaitForWindowExposed(window.get()));
                QVERIFY(!window->isMinimized());
                hide();
                QVERIFY(settled());
                QTRY_COMPARE(window->isVisible(), !tray);
                QVERIFY(tray || window->isMinimized());
            }
        }
        QCOMPARE(m_commands.exits, 0);

        m_fixture->context.settings.exitOnClose = true;
        window->showAndActivate();
        QVERIFY(!window->close());
        QCOMPARE(m_commands.exits, 1);
        // The window itself never goes: only the controller's exit ends it.
        QVERIFY(window->isVisible());
    }

    void optionsPanelSlidesOpenAndShut() {
        m_fixture->addCall("0301111", "1");
        auto window = makeWindow();
        window->showAndActivate();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto* label = window->findChild<QLabel*>("lblOptions");
        auto* panel = window->findChild<QWidget*>("picMenu");
        const QRect before = window->geometry();
        QSignalSpy finished(window.get(), &JournalWindow::optionsSlideFinished);

        // Timers and calls go on while the panel moves.
        bool tickedWhileSliding = false;
        QTimer::singleShot(40, window.get(), [&]() {
            tickedWhileSliding = window->isSliding();
            window->refresh(false);
        });
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(label->text(), QString("<<"));
        QVERIFY(!label->isEnabled());
        QVERIFY(finished.wait(5000));
        QVERIFY(tickedWhileSliding);
        QVERIFY(label->isEnabled());
        QVERIFY(window->isOptionsOpen());
        QVERIFY(std::abs(window->geometry().center().y() - before.center().y()) <= 1);

        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(label->text(), QString(">>"));
        QVERIFY(finished.wait(5000));
        QVERIFY(!panel->isVisible());
        QCOMPARE(window->size(), before.size());
        QVERIFY(std::abs(window->geometry().center().y() - before.center().y()) <= 1);
    }
};

QTEST_MAIN(JournalWindowTest)
#include "JournalWindowTest.moc"
