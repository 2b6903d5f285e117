#include "support/CallFakes.h"
#include "support/ScriptedPrompt.h"
#include "ui/UiTestSupport.h"

#include "calls/CallHandler.h"
#include "calls/NullViews.h"
#include "calls/SoundPolicy.h"
#include "stores/LanguageIds.h"
#include "ui/CallPopup.h"
#include "ui/CallPopupWindow.h"
#include "ui/TrayBlinker.h"

#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

// The controller's memory of the latest call is the handler's.
class HandlerCommands : public RecordingCommands {
public:
    std::string latestCallerId() const override {
        return handler ? handler->latest().callerId : std::string();
    }
    const CallHandler* handler = nullptr;
};

} // namespace

class CallPopupTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<UiFixture> m_fixture;
    ScriptedPrompt m_prompt;
    HandlerCommands m_commands;
    FakeLine m_line;
    FixedClock m_clock;
    NullWavePlayer m_player;
    NullJournalView m_journal;
    std::unique_ptr<SoundPolicy> m_sound;
    std::unique_ptr<TrayBlinker> m_tray;
    std::unique_ptr<CallPopup> m_popup;
    std::unique_ptr<CallHandler> m_handler;

    void ring(const std::string& caller) {
        m_line.caller = caller;
        m_handler->onIncomingCall();
    }
    CallPopupWindow* window() { return m_popup->window(); }
    AppContext& context() { return m_fixture->context; }
    std::string phrase(int id) const { return m_fixture->text(id); }
    QString text(const char* label) { return window()->findChild<QLabel*>(label)->text(); }
    std::string withheldCaller() const {
        std::string caller = phrase(lang_id::kUnknown);
        std::erase(caller, ' ');
        return caller;
    }
    QAbstractButton* button(const char* name) {
        return window()->findChild<QAbstractButton*>(name);
    }
    int width(int outerTwips) {
        return window()->scale().px(outerTwips - CallPopupWindow::kFrameWidth);
    }

private slots:
    void init() {
        m_fixture = std::make_unique<UiFixture>();
        AppContext& c = context();
        c.settings.showPopupOnCall = true;
        c.settings.showAllCalls = true;
        c.settings.blinkAfterMissedCall = true;
        c.msnList.add("7654321", "Office", false, false);
        m_line.msn = "7654321";
        m_prompt = ScriptedPrompt{};
        m_commands = HandlerCommands{};
        m_sound = std::make_unique<SoundPolicy>(m_player, c.settings, c.paths);
        m_tray = std::make_unique<TrayBlinker>();
        m_popup = std::make_unique<CallPopup>(
            [this]() -> const DesktopPictures& { return m_fixture->pictures; }, m_commands,
            m_prompt);
        m_popup->setContext(&m_fixture->context);
        m_handler = std::make_unique<CallHandler>(
            CallHandlerParts{m_line, c.settings, c.language, c.journal, c.phonebook, c.msnList,
                             c.origins, m_journal, *m_popup, *m_tray, *m_sound, m_clock});
        m_commands.handler = m_handler.get();
    }
    void cleanup() {
        m_handler.reset();
        m_popup.reset();
        m_tray.reset();
        m_fixture.reset();
    }

    void createdAsDesignedOnFirstUse() {
        QVERIFY(window() == nullptr);
        ring("0999912345");
        QVERIFY(window() != nullptr);
        QVERIFY(!window()->palette().window().texture().isNull());
        QVERIFY(!window()->findChild<QLabel*>("Image1")->pixmap().isNull());
        // The second style has no background picture.
        button("cmdClose")->click();
        context().settings.style = 1;
        ring("0999912345");
        QVERIFY(window()->palette().window().texture().isNull());
    }

    void showsKnownUnknownAndWithheldCallers() {
        context().phonebook.add("0301234567", "Anna", false, "", "");
        ring("0301234567");
        QVERIFY(window()->isVisible());
        QCOMPARE(text("lblCallNumber"), QString("Anna (Berlin)"));
        QCOMPARE(text("lblCallMSN"), QString("Office"));
        QCOMPARE(text("lblCallDate"), QString("06.12.2026 09:15:00"));
        QCOMPARE(text("lblCannStatus").toStdString(), phrase(lang_id::kCallRinging));
        QVERIFY(button("cmdAddPB")->isHidden());
        QCOMPARE(window()->width(), width(CallPopupWindow::kNarrowWidth));

        ring("0999912345");
        QCOMPARE(text("lblCallNumber"), QString("0999912345"));
        QVERIFY(!button("cmdAddPB")->isHidden());
        CallPopupWindow* first = window();

        // A second call reuses the open window.
        ring("08923456789");
        QCOMPARE(window(), first);
        QCOMPARE(text("lblCallNumber"), QString::fromUtf8("08923456789 (München)"));
        QVERIFY(!button("cmdAddPB")->isHidden());

        ring(withheldCaller());
        QCOMPARE(text("lblCallNumber").toStdString(), withheldCaller());
        QVERIFY(button("cmdAddPB")->isHidden());
        button("cmdIdentify")->click();
        QCOMPARE(m_commands.identified, std::vector<std::string>({withheldCaller()}));
    }

    void widensForAPictureThatLoads() {
        QImage picture(40, 50, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        const std::string path = m_fixture->dir.file("anna.png");
        QVERIFY(picture.save(QString::fromStdString(path)));
        context().phonebook.add("0301234567", "Anna", false, "", path);
        context().phonebook.add("0302222", "Bert", false, "", m_fixture->dir.file("missing.png"));
        m_fixture->dir.write("broken.png", "not a picture");
        context().phonebook.add("0303333", "Carl", false, "", m_fixture->dir.file("broken.png"));

        ring("0301234567");
        QCOMPARE(window()->width(), width(CallPopupWindow::kWideWidth));
        QVERIFY(window()->hasCallerPicture());
        auto* shown = window()->findChild<QLabel*>("imgCallerPic");
        QVERIFY(window()->rect().contains(shown->geometry()));
        QVERIFY(shown->hasScaledContents());

        for (const char* caller : {"0302222", "0303333", "0999912345"}) {
            ring(caller);
            QCOMPARE(window()->width(), width(CallPopupWindow::kNarrowWidth));
            QVERIFY(!window()->hasCallerPicture());
            QVERIFY(!window()->rect().contains(shown->geometry()));
        }
    }

    void addsTheRawNumberOfTheLatestCall() {
        context().settings.addLeadingZero = true;
        ring("301234567");
        QCOMPARE(text("lblCallNumber"), QString("0301234567 (Berlin)"));
        m_prompt.answers = {true};
        m_prompt.inputs = {std::string("Carl")};
        button("cmdAddPB")->click();
        QCOMPARE(m_prompt.shown.size(), std::size_t(2));
        QCOMPARE(context().phonebook.nameOf("301234567"), std::string("Carl"));
        QCOMPARE(context().phonebook.nameOf("0301234567"), std::string("0301234567"));
        QVERIFY(!button("cmdAddPB")->isHidden());

        // A caller without a usable number is never offered.
        context().settings.addLeadingZero = false;
        ring(withheldCaller());
        m_prompt.shown.clear();
        button("cmdAddPB")->click();
        QVERIFY(m_prompt.shown.empty());
    }

    void callEndWritesTheStatusAndMayClose() {
        // A call end after the user closed the pop-up leaves the window created but hidden.
        ring("0999912345");
        m_popup->close();
        m_handler->onCallDisconnect();
        QVERIFY(window() != nullptr);
        QVERIFY(!window()->isVisible());
        QCOMPARE(text("lblCannStatus").toStdString(), phrase(lang_id::kEndCallerHungUp));

        ring("0999912345");
        m_line.reason = 0x349A;
        m_handler->onCallDisconnect();
        QVERIFY(window()->isVisible());
        QCOMPARE(text("lblCannStatus").toStdString(), phrase(lang_id::kEndAnsweredElsewhere));

        context().settings.minimizeAfterCall = true;
        QPointer<CallPopupWindow> closing = window();
        ring("0999912345");
        m_handler->onCallDisconnect();
        QVERIFY(window() == nullptr);
        QTRY_VERIFY(closing.isNull());
    }

    void buttonsRejectAndClose() {
        ring("0999912345");
        button("cmdReject")->click();
        QCOMPARE(m_commands.rejects, 1);
        QVERIFY(window()->isVisible());

        QPointer<CallPopupWindow> first = window();
        button("cmdClose")->click();
        QVERIFY(window() == nullptr);
        QTRY_VERIFY(first.isNull());
        ring("0999912345");
        QVERIFY(window() != nullptr);
        QVERIFY(window()->isVisible());

        // The close box does the same as the Close button.
        first = window();
        window()->close();
        QVERIFY(window() == nullptr);
        QTRY_VERIFY(first.isNull());

        // Where the line cannot reject, the button says so and does nothing.
        m_commands.canReject = false;
        ring("0999912345");
        QAbstractButton* reject = button("cmdReject");
        QVERIFY(!reject->isEnabled());
        QCOMPARE(reject->toolTip().toStdString(), phrase(lang_id::kRejectNotPossible));
        QTest::mouseClick(reject, Qt::LeftButton);
        QCOMPARE(m_commands.rejects, 1);
    }
};

QTEST_MAIN(CallPopupTest)
#include "CallPopupTest.moc"
