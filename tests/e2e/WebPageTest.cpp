#include "ProgramRunner.h"

#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

bool waitForListening(quint16 port) {
    return QTest::qWaitFor(
        [port]() {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            return socket.waitForConnected(200);
        },
        15000);
}

// The reply as curl prints it with its header, and curl's exit status.
QByteArray curl(const QString& url) {
    QProcess process;
    process.start("curl", {"-s", "-i", "--max-time", "10", url});
    if (!process.waitForFinished(15000) || process.exitCode() != 0) {
        return "curl failed: " + process.readAllStandardError();
    }
    return process.readAllStandardOutput();
}

} // namespace

class WebPageTest : public QObject {
    Q_OBJECT
private slots:
    void browserReadsTheJournalWithThePassword() {
        ProgramRunner runner;
        const quint16 port = ProgramRunner::freePort();
        runner.writeConfig({"webexporton=-1", QStringLiteral("webexportport=%1").arg(port)});
        // Settings are Windows-1252: the password is "Gäste 1".
        QFile config(runner.configDir() + "config.dat");
        QVERIFY(config.open(QIODevice::Append));
        config.write("webexportpwd=G\xE4ste 1\r\n");
        config.close();
        QFile calls(runner.configDir() + "calls.txt");
        QVERIFY(calls.open(QIODevice::WriteOnly));
        calls.write("0815\tAnna <A>\t12345\t06.12.26\t09:15:00\tCaller hung up\tTelephony\r\n");
        calls.close();
        QProcess* program = runner.start({"--headless", runner.scenario("")});
        QVERIFY(waitForListening(port));
        const QString base = QStringLiteral("http://localhost:%1/index.html&pwd=").arg(port);

        // The password as a browser sends it: UTF-8, percent-encoded.
        const QByteArray page = curl(base + "G%C3%A4ste%201");
        QVERIFY2(page.startsWith("HTTP/1.1 200 OK\r\n"), page.left(300));
        QVERIFY(page.contains("\r\nContent-Type: text/html; charset=iso-8859-1\r\n"));
        QVERIFY(page.contains("\r\n  <td>Anna &lt;A&gt;</td>\r\n  <td>0815</td>\r\n"));
        QVERIFY(page.endsWith("\r\n</table>\r\n</body>\r\n</html>"));

        const QByteArray wrong = curl(base + "guess");
        QVERIFY2(wrong.startsWith("HTTP/1.1 403 Forbidden\r\n"), wrong.left(300));
        QVERIFY(wrong.contains("<td><b>Wrong</b></td>"));
        QVERIFY(!wrong.contains("0815"));
        QCOMPARE(program->state(), QProcess::Running);
        QCOMPARE(ProgramRunner::stop(program), 0);
    }

    void portInUseIsLoggedAndTheProgramRuns() {
        ProgramRunner runner;
        QTcpServer holder;
        QVERIFY(holder.listen(QHostAddress::Any, ProgramRunner::freePort()));
        runner.writeConfig(
            {"webexporton=-1", QStringLiteral("webexportport=%1").arg(holder.serverPort())});
        QProcess* program = runner.start({"--headless", runner.scenario("")});
        QTRY_VERIFY_WITH_TIMEOUT(runner.log().contains(" - ERROR: sckWeb Error ("), 15000);
        QCOMPARE(program->state(), QProcess::Running);
        QCOMPARE(ProgramRunner::stop(program), 0);
    }
};

QTEST_GUILESS_MAIN(WebPageTest)
#include "WebPageTest.moc"
