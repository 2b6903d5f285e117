// The MQTT output against Debian's mosquitto: the real program on the simulated line, read
// with mosquitto_sub.
#include "MosquittoBroker.h"
#include "ProgramRunner.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

constexpr const char* kPrefix = "e2e/phone";

// The values a topic received, in order.
QStringList valuesOf(const QStringList& lines, const QString& topic) {
    QStringList values;
    for (const QString& line : lines) {
        if (line.startsWith(topic + ' ')) {
            values << line.mid(topic.size() + 1);
        }
    }
    return values;
}

// The newest value of a topic; empty before the first.
QString lastValueOf(const QStringList& lines, const QString& topic) {
    const QStringList values = valuesOf(lines, topic);
    return values.isEmpty() ? QString() : values.last();
}

// Each call step as "event number".
QStringList callSteps(const QStringList& lines) {
    QStringList steps;
    for (const QString& payload : valuesOf(lines, QString(kPrefix) + "/call")) {
        const QJsonObject call = QJsonDocument::fromJson(payload.toUtf8()).object();
        steps << call.value("event").toString() + ' ' + call.value("number").toString();
    }
    return steps;
}

QStringList settingsFor(const MosquittoBroker& broker) {
    return {"mqtt=-1", "mqtthost=127.0.0.1", "mqttport=" + QString::number(broker.port()),
            QString("mqtttopic=") + kPrefix};
}

} // namespace

class MqttTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        if (!MosquittoBroker::isInstalled()) {
            QSKIP("mosquitto and mosquitto-clients are not installed");
        }
    }

    // Calls before, during and after a 5 s outage of the broker; then the program is killed.
    void everyCallArrivesOnceInOrderAndTheWillSaysOffline() {
        QTemporaryDir folder;
        MosquittoBroker broker(folder.path());
        QVERIFY(broker.start());
        broker.subscribe({QString(kPrefix) + "/#", "homeassistant/#"});
        ProgramRunner runner;
        runner.writeConfig(settingsFor(broker));
        QProcess* program = runner.startHeadless(
            "wait 1; call plci=0x101 called=4711 calling=301111111; wait 0.3; hangup plci=0x101; "
            "wait 3; call plci=0x102 called=4711 calling=302222222; wait 0.2; "
            "hangup plci=0x102 reason=0x349A; call plci=0x103 called=4711 calling=303333333; "
            "hangup plci=0x103; wait 12; call plci=0x104 called=4711 calling=304444444; "
            "hangup plci=0x104; wait 0.5; drop; wait 1; restore");
        const QString status = QString(kPrefix) + "/status";
        QVERIFY2(broker.waitForLine(status + " online"), qPrintable(runner.log()));
        QVERIFY(broker.waitForLine(QString(kPrefix) + "/call {\"event\":\"end\""));
        // Each topic keeps its order; between topics the reader may see them a moment apart.
        const auto rangAndStopped = [&]() {
            const QStringList ringing = valuesOf(broker.received(), QString(kPrefix) + "/ringing");
            return ringing.indexOf("on") >= 0 && ringing.lastIndexOf("off") > ringing.indexOf("on");
        };
        QTRY_VERIFY_WITH_TIMEOUT(rangAndStopped(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(
            !valuesOf(broker.received(), "homeassistant/binary_sensor/e2e_phone/ringing/config")
                 .isEmpty(),
            5000);

        broker.stop();
        QElapsedTimer down;
        down.start();
        QVERIFY(runner.waitForTranscript(kDisconnectResp, 3));
        QVERIFY(QTest::qWaitFor([&]() { return down.elapsed() >= 5000; }, 10000));
        QVERIFY(broker.start());
        QVERIFY2(runner.waitForTranscript(kDisconnectResp, 4, 30000),
                 qPrintable(runner.transcript().join('\n')));
        const QStringList steps{"ring 0301111111",    "end 0301111111",  "ring 0302222222",
                                "connect 0302222222", "end 0302222222",  "ring 0303333333",
                                "end 0303333333",     "ring 0304444444", "end 0304444444"};
        QVERIFY(QTest::qWaitFor(
            [&]() { return callSteps(broker.received()).size() >= steps.size(); }, 20000));
        QCOMPARE(callSteps(broker.received()), steps);
        QTRY_COMPARE_WITH_TIMEOUT(lastValueOf(broker.received(), QString(kPrefix) + "/missed"),
                                  QString("3"), 5000);
        // The line goes and comes back.
        const QString line = QString(kPrefix) + "/line";
        QTRY_VERIFY_WITH_TIMEOUT(valuesOf(broker.received(), line).contains("down") &&
                                     lastValueOf(broker.received(), line) == "up",
                                 20000);
        // The outage is logged once, and its end.
        QCOMPARE(runner.log().count("MQTT: broker 127.0.0.1"), 2);

        // The broker's restart has replayed an earlier "offline": the last value counts.
        QCOMPARE(lastValueOf(broker.received(), status), QString("online"));
        ::kill(static_cast<pid_t>(program->processId()), SIGKILL);
        QVERIFY(program->waitForFinished());
        QTRY_COMPARE_WITH_TIMEOUT(lastValueOf(broker.received(), status), QString("offline"),
                                  15000);
        QCOMPARE(callSteps(broker.received()), steps); // nothing came twice meanwhile
    }

    // A wrong password costs only the MQTT output: logged once, retried, the calls handled.
    void wrongPasswordIsLoggedOnceAndNothingElseHappens() {
        QTemporaryDir folder;
        const QString passwords = folder.path() + "/passwords";
        QCOMPARE(QProcess::execute("mosquitto_passwd", {"-b", "-c", passwords, "alice", "right"}),
                 0);
        MosquittoBroker broker(folder.path(), {"password_file " + passwords});
        QVERIFY(broker.start());
        ProgramRunner runner;
        runner.writeConfig(settingsFor(broker) +
                           QStringList{"mqttuser=alice", "mqttpassword=wrong"});
        QProcess* program = runner.startHeadless(
            "wait 0.5; call plci=0x101 called=4711 calling=301111111; hangup plci=0x101");
        QVERIFY(runner.waitForTranscript(kDisconnectResp, 1));
        // The first attempt and two more after 1 and 2 s.
        QVERIFY2(
            QTest::qWaitFor(
                [&]() { return broker.log().count("New connection from 127.0.0.1") >= 3; }, 15000),
            qPrintable(broker.log()));
        QCOMPARE(runner.log().count("MQTT: broker"), 1);
        QVERIFY2(runner.log().contains("Connection Refused"), qPrintable(runner.log()));
        QCOMPARE(runner.journal().size(), 1);
        QCOMPARE(program->state(), QProcess::Running);
        QCOMPARE(ProgramRunner::stop(program), 0);
        QVERIFY(!program->readAllStandardError().contains("MQTT"));
    }
};

QTEST_GUILESS_MAIN(MqttTest)
#include "MqttTest.moc"
