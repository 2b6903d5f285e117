// The pop-up as a view: what a call handler puts into it is the handler's test; here, how the
// window shows it and what its buttons do.
#include "support/ScriptedPrompt.h"
#include "ui/UiTestSupport.h"

#include "stores/LanguageIds.h"
#include "ui/CallPopup.h"
#include "ui/CallPopupWindow.h"

#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QTest>

#include <functional>
#include <memory>

class CallPopupTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<UiFixture> m_fixture;
    ScriptedPrompt m_prompt;
    RecordingCommands m_commands;
    std::unique_ptr<CallPopup> m_popup;

    void show(const std::string& caller, bool offerAdding = true, const std::string& picture = {}) {
        m_popup->showCall(
            {"06.12.2026 09:15:00", "Office", caller, offerAdding, "Ringing", picture});
    }
    CallPopupWindow* window() { return m_popup->window(); }
    AppContext& context() { return m_fixture->context; }
    QString text(const char* label) { return window()->findChild<QLabel*>(label)->text(); }
    QAbstractButton* button(const char* name) {
        return window()->findChild<QAbstractButton*>(name);
    }
    int width(int outerTwips) {
        return window()->scale().px(outerTwips - CallPopupWindow::kFrameWidth);
    }

private slots:
    void init() {
        m_fixture = std::make_unique<UiFixture>();
        m_prompt = ScriptedPrompt{};
        m_commands = RecordingCommands{};
        m_popup = std::make_unique<CallPopup>(
            [this]() -> const DesktopPictures& { return m_fixture->pictures; }, m_commands,
            m_prompt);
        m_popup->setContext(&m_fixture->context);
    }
    void cleanup() {
        m_popup.reset();
        m_fixture.reset();
    }

    void createdOnFirstUseAndReusedWhileOpen() {
        QVERIFY(window() == nullptr);
        show("Anna (Berlin)", false);
        QVERIFY(window()->isVisible());
        QVERIFY(!window()->palette().window().texture().isNull());
        QVERIFY(!window()->findChild<QLabel*>("Image1")->pixmap().isNull());
        QCOMPARE(text("lblCallNumber"), QString("Anna (Berlin)"));
        QCOMPARE(text("lblCallMSN"), QString("Office"));
        QCOMPARE(text("lblCallDate"), QString("06.12.2026 09:15:00"));
        QCOMPARE(text("lblCannStatus"), QString("Ringing"));
        QVERIFY(button("cmdAddPB")->isHidden());
        CallPopupWindow* first = window();

        show("0999912345");
        QCOMPARE(window(), first);
        QCOMPARE(text("lblCallNumber"), QString("0999912345"));
        QVERIFY(!button("cmdAddPB")->isHidden());
        button("cmdIdentify")->click();
        QCOMPARE(m_commands.identified, std::vector<std::string>({"0999912345"}));

        // The second style has no background picture.
        m_popup->close();
        context().settings.style = 1;
        show("0999912345");
        QVERIFY(window()->palette().window().texture().isNull());
    }

    void widensForAPictureThatLoads() {
        QImage picture(40, 50, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        const std::string path = m_fixture->dir.file("anna.png");
        QVERIFY(picture.save(QString::fromStdString(path)));
        m_fixture->dir.write("broken.png", "not a picture");

        show("Anna", false, path);
        QCOMPARE(window()->width(), width(CallPopupWindow::kWideWidth));
        auto* shown = window()->findChild<QLabel*>("imgCallerPic");
        QVERIFY(window()->rect().contains(shown->geometry()));

        for (const std::string& none : {m_fixture->dir.file("missing.png"),
                                        m_fixture->dir.file("broken.png"), std::string()}) {
            show("Bert", false, none);
            QCOMPARE(window()->width(), width(CallPopupWindow::kNarrowWidth));
            QVERIFY(!window()->rect().contains(shown->geometry()));
        }
    }

    // The number added is the latest call's as the line gave it, not the one shown.
    void addsTheRawNumberOfTheLatestCall() {
        m_commands.callerId = "301234567";
        show("0301234567 (Berlin)");
        m_prompt.answers = {true};
        m_prompt.inputs = {std::string("Carl")};
        button("cmdAddPB")->click();
        QCOMPARE(context().phonebook.nameOf("301234567"), std::string("Carl"));
        QCOMPARE(context().phonebook.size(), 1);
    }

    // A call end, the Close button and the close box each destroy the window; the next call
    // makes a new one.
    void closedByTheCallEndOrTheUser() {
        const std::function<void()> closers[] = {[this]() { m_popup->close(); },
                                                 [this]() { button("cmdClose")->click(); },
                                                 [this]() { window()->close(); }};
        for (const auto& close : closers) {
            show("0999912345");
            QPointer<CallPopupWindow> shown = window();
            close();
            QVERIFY(window() == nullptr);
            QTRY_VERIFY(shown.isNull());
        }
        // A call end after the user closed the pop-up leaves the window created but hidden.
        m_popup->setStatus("Caller hung up");
        QVERIFY(window() != nullptr);
        QVERIFY(!window()->isVisible());
        QCOMPARE(text("lblCannStatus"), QString("Caller hung up"));
    }

    void rejectButton() {
        show("0999912345");
        button("cmdReject")->click();
        QCOMPARE(m_commands.rejects, 1);
        QVERIFY(window()->isVisible());

        // Where the line cannot reject, the button of a new window says so and does nothing.
        m_popup->close();
        m_commands.canReject = false;
        show("0999912345");
        QAbstractButton* reject = button("cmdReject");
        QVERIFY(!reject->isEnabled());
        QCOMPARE(reject->toolTip().toStdString(), m_fixture->text(lang_id::kRejectNotPossible));
        QTest::mouseClick(reject, Qt::LeftButton);
        QCOMPARE(m_commands.rejects, 1);
    }
};

QTEST_MAIN(CallPopupTest)
#include "CallPopupTest.moc"
