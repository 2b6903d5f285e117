#include "support/ProgramFolder.h"
#include "support/ScriptedPrompt.h"

#include "calls/AppContext.h"
#include "calls/CallMonitorLine.h"
#include "calls/CallMonitorSession.h"
#include "calls/Controller.h"
#include "calls/ControllerUi.h"
#include "calls/LineSession.h"
#include "line/CallMonitorCalls.h"
#include "line/CapiApplication.h"
#include "line/LineTestControl.h"
#include "line/SimulatedLine.h"
#include "stores/LanguageIds.h"
#include "support/TextFile.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

using namespace std::chrono_literals;

namespace {

// Backoff delays short enough for a test: 20, 40, 80 ms.
ReconnectBackoff quickBackoff() {
    return ReconnectBackoff(20ms, 80ms);
}

// A call monitor in the test: accepts connections and writes lines to the newest one.
class FakeCallMonitor : public QObject {
public:
    bool listen(quint16 port = 0) {
        const bool ok = m_server.listen(QHostAddress::LocalHost, port);
        connect(&m_server, &QTcpServer::newConnection, this, [this]() {
            while (QTcpSocket* client = m_server.nextPendingConnection()) {
                m_client = client;
                ++accepted;
            }
        });
        return ok;
    }
    quint16 port() const { return m_server.serverPort(); }
    bool hasClient() const { return m_client && m_client->state() == QTcpSocket::ConnectedState; }
    void send(const QByteArray& lines) {
        m_client->write(lines);
        m_client->flush();
    }
    // The router goes away: the connection is closed and nobody listens.
    void goAway() {
        if (m_client) {
            m_client->disconnectFromHost();
        }
        m_server.close();
        m_server.disconnect();
    }

    int accepted = 0;

private:
    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
};

// The desktop as far as the tray: tooltip and icon are kept.
class TrayUi : public NoControllerUi, public TrayView {
public:
    TrayView& trayView() override { return *this; }
    void setTooltip(const std::string& text) override { tooltip = text; }
    void setIcon(TrayIcon icon) override { this->icon = icon; }
    void setGreenBlink(bool) override {}
    void setRedBlink(bool) override {}
    std::string tooltip;
    TrayIcon icon = TrayIcon::Green;
};

} // namespace

class LineRecoveryTest : public QObject {
    Q_OBJECT
private slots:
    void capiLineIsRegisteredAgainAfterADropWithGrowingDelays() {
        auto owned = std::make_unique<SimulatedLine>();
        SimulatedLine& line = *owned;
        CapiApplication capi(std::move(owned));
        LineSession session(capi, quickBackoff());
        QSignalSpy lost(&session, &LineSession::lineLost);
        QSignalSpy failed(&session, &LineSession::reconnectFailed);
        QSignalSpy restored(&session, &LineSession::lineRestored);
        QVERIFY(session.registerAndListen());

        line.dropLine();
        QTRY_COMPARE(lost.count(), 1);
        QVERIFY(session.isDown());
        QVERIFY(!session.isPolling());
        QVERIFY(lost[0][0].toString().contains("Connection to the CAPI lost"));
        QCOMPARE(session.retryDelayMs(), 20);
        QTRY_COMPARE(failed.count(), 2);
        QCOMPARE(session.retryDelayMs(), 80);
        QCOMPARE(lost.count(), 1);

        line.restoreLine();
        QTRY_COMPARE(restored.count(), 1);
        QVERIFY(session.isPolling());
        QVERIFY(line.isListening());
        // The next outage starts again with the shortest delay.
        line.dropLine();
        QTRY_COMPARE(lost.count(), 2);
        QCOMPARE(session.retryDelayMs(), 20);
    }

    void refusedRegistrationAtStartIsRetried() {
        auto owned = std::make_unique<SimulatedLine>();
        SimulatedLine& line = *owned;
        line.refuseRegistration(0x1009);
        CapiApplication capi(std::move(owned));
        LineSession session(capi, quickBackoff());
        QSignalSpy lost(&session, &LineSession::lineLost);
        QSignalSpy restored(&session, &LineSession::lineRestored);
        QSignalSpy unusable(&session, &LineSession::registrationFailed);
        QVERIFY(!session.registerAndListen());
        QCOMPARE(lost.count(), 1);
        line.refuseRegistration(0);
        QTRY_COMPARE(restored.count(), 1);
        QCOMPARE(unusable.count(), 0);
    }

    void callMonitorConnectsAgainAfterTheRouterWentAway() {
        FakeCallMonitor router;
        QVERIFY(router.listen());
        const quint16 port = router.port();
        CallMonitorCalls calls;
        int rings = 0;
        calls.events.incomingCall = [&rings]() { ++rings; };
        CallMonitorSession session(calls, {"127.0.0.1", port}, quickBackoff());
        QSignalSpy up(&session, &CallMonitorSession::lineUp);
        QSignalSpy lost(&session, &CallMonitorSession::lineLost);
        QSignalSpy restored(&session, &CallMonitorSession::lineRestored);
        QSignalSpy failed(&session, &CallMonitorSession::reconnectFailed);
        QSignalSpy notices(&session, &CallMonitorSession::notice);
        session.start();
        QTRY_VERIFY(router.hasClient());
        QTRY_COMPARE(up.count(), 1);

        router.send("01.02.24 10:00:00;RING;0;0301;4711;SIP0;\r\n" + QByteArray(2000, 'x') +
                    "\r\n01.02.24 10:00:01;RI");
        QTRY_COMPARE(notices.count(), 1);
        QCOMPARE(rings, 1);
        router.send("NG;1;0302;4711;SIP0;\r\n");
        QTRY_COMPARE(rings, 2);
        QCOMPARE(calls.ringingCount(), 2u);

        router.goAway();
        QTRY_COMPARE(lost.count(), 1);
        QVERIFY(
            lost[0][0].toString().startsWith("Call monitor 127.0.0.1:" + QString::number(port)));
        QCOMPARE(calls.ringingCount(), 0u);
        // A few attempts fail while nobody listens; the outage is told once.
        QTRY_VERIFY(failed.count() >= 2);
        QCOMPARE(lost.count(), 1);
        QVERIFY(router.listen(port));
        QTRY_COMPARE(restored.count(), 1);
        QTRY_VERIFY(router.hasClient());
        QCOMPARE(up.count(), 1);
        // The next outage starts again with the shortest delay.
        router.goAway();
        QTRY_COMPARE(lost.count(), 2);
        QCOMPARE(session.retryDelayMs(), 20);
    }

    // A flood of lines is handled in batches with the event loop running in between.
    void callMonitorFloodLeavesTheEventLoopRunning() {
        FakeCallMonitor router;
        QVERIFY(router.listen());
        CallMonitorCalls calls;
        int rings = 0;
        int ringsWhenTheLoopRan = -1;
        calls.events.incomingCall = [&rings, &ringsWhenTheLoopRan]() {
            if (++rings == 1) {
                QTimer::singleShot(0, [&]() { ringsWhenTheLoopRan = rings; });
            }
        };
        CallMonitorSession session(calls, {"127.0.0.1", router.port()}, quickBackoff());
        session.start();
        QTRY_VERIFY(router.hasClient());
        QByteArray flood;
        for (int i = 0; i < 1000; ++i) {
            flood += "01.02.24 10:00:00;RING;" + QByteArray::number(i) + ";0301;4711;SIP0;\r\n";
        }
        router.send(flood);
        QTRY_COMPARE(rings, 1000);
        QVERIFY2(ringsWhenTheLoopRan > 0 &&
                     ringsWhenTheLoopRan <= CallMonitorSession::kLinesPerBatch,
                 qPrintable(QString::number(ringsWhenTheLoopRan)));
    }

    void controllerOnTheCallMonitorCompletesRingingCallsAndTellsOfTheOutage() {
        FakeCallMonitor router;
        QVERIFY(router.listen());
        const quint16 port = router.port();
        ProgramFolder folder;
        folder.writeConfig("[config]\r\nlanguage=english\r\nline=callmonitor:127.0.0.1:" +
                           std::to_string(port) + "\r\n");
        ScriptedPrompt prompt;
        TrayUi ui;
        CommandLine commandLine;
        commandLine.headless = true;
        Controller controller(commandLine, folder.appDir(), prompt, ui);
        QVERIFY(controller.start());
        QVERIFY(qobject_cast<const CallMonitorLine*>(controller.line()) != nullptr);
        QVERIFY(!controller.canRejectCalls());
        QTRY_VERIFY(router.hasClient());
        router.send("01.02.24 10:00:00;RING;7;0301234567;4711;SIP0;\n");
        const CallJournal& journal = controller.context().journal;
        QTRY_COMPARE(journal.size(), 1);
        controller.rejectCall();
        QVERIFY(controller.trace().text().contains(
            "Rejecting is not possible on the call monitor: call 7 rings on"));
        router.send("01.02.24 10:00:05;CONNECT;7;10;0301234567;\n"
                    "01.02.24 10:00:06;RING;1;;4711;SIP0;\nno call monitor line\n");
        QTRY_COMPARE(journal.size(), 2);
        const LanguageTable& language = controller.context().language;
        QCOMPARE(journal.recordAt(1).endReason, language.text(lang_id::kEndAnsweredElsewhere));
        std::string withheld = language.text(lang_id::kCallerWithheld);
        std::erase(withheld, ' ');
        QCOMPARE(journal.recordAt(2).number, withheld);
        QTRY_VERIFY(controller.trace().text().contains("Call monitor line skipped"));

        router.goAway();
        QTRY_VERIFY(controller.isLineDown());
        QCOMPARE(journal.recordAt(2).endReason, language.text(lang_id::kUnknown));
        QCOMPARE(ui.tooltip, language.text(lang_id::kTooltipLineDown));
        QVERIFY(ui.icon == TrayIcon::Black);
        QCOMPARE(controller.trace().text().count("LINE LOST"), 1);

        QVERIFY(router.listen(port));
        QTRY_VERIFY(!controller.isLineDown());
        QCOMPARE(ui.tooltip, language.text(lang_id::kTooltipIdle));
        QCOMPARE(controller.trace().text().count("LINE BACK"), 1);
        const auto log = readTextLines(controller.context().log.path());
        QVERIFY(log.has_value());
        QCOMPARE(log->size(), std::size_t(1));
        QVERIFY(log->front().find("Line lost at") != std::string::npos);
        QVERIFY(log->front().find("back after") != std::string::npos);
        controller.appExit(true);
    }
};

QTEST_GUILESS_MAIN(LineRecoveryTest)
#include "LineRecoveryTest.moc"
