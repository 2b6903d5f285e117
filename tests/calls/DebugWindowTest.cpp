#include "support/ProgramFolder.h"
#include "support/ScriptedPrompt.h"

#include "calls/CapiLine.h"
#include "calls/Controller.h"
#include "calls/ControllerUi.h"
#include "calls/DebugWindow.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

class DebugWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_folder = std::make_unique<ProgramFolder>();
        m_folder->writeConfig("[config]\r\nlanguage=english\r\n");
        CommandLine commandLine;
        commandLine.debug = true;
        commandLine.line = m_folder->quietLine();
        m_controller =
            std::make_unique<Controller>(commandLine, m_folder->appDir(), m_prompt, m_ui);
        QVERIFY(m_controller->start());
        m_window = std::make_unique<DebugWindow>(*m_controller);
    }
    void cleanup() {
        m_window.reset();
        m_controller.reset();
        m_folder.reset();
    }

    // A service that runs for months keeps only the latest part of its trace.
    void theTraceStaysBoundedAndKeepsTheLatestLines() {
        DebugTrace& trace = m_controller->trace();
        for (int i = 0; i < 20000; ++i) {
            trace.append(QString("\r\n--> CAPI_CONNECT - CAPI_IND %1").arg(i));
        }
        QVERIFY(trace.text().size() <= DebugTrace::kMaxCharacters);
        QVERIFY(trace.text().startsWith("---DEBUG---\r\n\r\n--> CAPI_CONNECT"));
        QVERIFY(trace.text().endsWith("CAPI_IND 19999"));
        QVERIFY(!trace.text().contains("CAPI_IND 0\r\n"));
    }

    void incomingSendsATestCallThroughTheLine() {
        QTest::mouseClick(m_window->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        const auto* caller = m_window->findChild<QLineEdit*>("txtCallerID");
        QTRY_COMPARE(caller->text(), QString("08154711"));
        QCOMPARE(m_window->findChild<QLineEdit*>("txtCalledMSN")->text(), QString("12345"));
        QTest::mouseClick(m_window->findChild<QPushButton*>("Command7"), Qt::LeftButton);
        QTRY_VERIFY(!m_window->findChild<QLineEdit*>("txtDisconnectReason")->text().isEmpty());
        const auto* trace = m_window->findChild<QPlainTextEdit*>("txtDebug");
        QVERIFY(trace->toPlainText().startsWith("---DEBUG---\n"));
        QVERIFY(trace->toPlainText().contains("CAPI_ALERT"));
    }

    void closingAndDecliningKeepsTheControllerPolling() {
        m_window->show();
        m_prompt.answers = {false};
        m_window->close();
        QTRY_COMPARE(m_prompt.shown.size(), std::size_t(1));
        QVERIFY(!m_controller->hasEnded());
        QVERIFY(qobject_cast<const CapiLine*>(m_controller->line())->session().isPolling());
    }

private:
    std::unique_ptr<ProgramFolder> m_folder;
    ScriptedPrompt m_prompt;
    NoControllerUi m_ui;
    std::unique_ptr<Controller> m_controller;
    std::unique_ptr<DebugWindow> m_window;
};

QTEST_MAIN(DebugWindowTest)
#include "DebugWindowTest.moc"
