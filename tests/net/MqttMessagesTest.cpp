// The MQTT payloads and discovery documents, read back with Qt's JSON parser.
#include "net/MqttMessages.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <tuple>

namespace {

QJsonObject parsed(const std::string& payload) {
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(payload), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        qWarning("not a JSON object (%s): %s", qPrintable(error.errorString()), payload.c_str());
        return {};
    }
    return document.object();
}

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

class MqttMessagesTest : public QObject {
    Q_OBJECT
private slots:
    void callPayloadCarriesEveryFieldUnharmed_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expectedEvent");
        const std::tuple<const char*, int, QString, const char*> rows[] = {
            {"ring, plain", 0, "Erika Mustermann", "ring"},
            {"connect, quotes and backslash", 1, R"(Dr. "Bob" C:\Users)", "connect"},
            {"end, umlauts and euro", 2, "Müller € Ärger", "end"},
            {"ring, control characters", 0, QString("a\nb\tc\rd\001e\x1f\x7f"), "ring"},
            {"ring, no name", 0, "", "ring"}};
        for (const auto& [row, kind, name, event] : rows) {
            QTest::newRow(row) << kind << name << QString(event);
        }
    }
    void callPayloadCarriesEveryFieldUnharmed() {
        QFETCH(int, kind);
        QFETCH(QString, name);
        QFETCH(QString, expectedEvent);
        CallEvent event;
        event.kind = static_cast<CallEvent::Kind>(kind);
        event.number = "0301234567";
        event.name = name.toStdString();
        event.origin = "Berlin";
        event.msn = "4711";
        event.msnName = "Büro \"2\"";
        event.service = "Telephony";
        event.reason = event.kind == CallEvent::Kind::End ? "Caller hung up" : "";
        event.missed = event.kind == CallEvent::Kind::End;
        event.time = std::chrono::sys_days{std::chrono::year{2026} / 12 / 7} +
                     std::chrono::hours(1) + std::chrono::minutes(7) + std::chrono::seconds(33) +
                     std::chrono::milliseconds(900);

        const QJsonObject json = parsed(mqtt::callPayload(event));
        QCOMPARE(json.value("event").toString(), expectedEvent);
        QCOMPARE(json.value("name").toString(), name);
        QCOMPARE(json.value("caller").toString(), name.isEmpty() ? QString("0301234567") : name);
        QCOMPARE(json.value("number").toString(), QString("0301234567"));
        QCOMPARE(json.value("withheld").toBool(true), false);
        QCOMPARE(json.value("origin").toString(), QString("Berlin"));
        QCOMPARE(json.value("msn").toString(), QString("4711"));
        QCOMPARE(json.value("msn_name").toString(), QString("Büro \"2\""));
        QCOMPARE(json.value("service").toString(), QString("Telephony"));
        QCOMPARE(json.value("reason").toString(), q(event.reason));
        QCOMPARE(json.value("missed").toBool(!event.missed), event.missed);
        // ISO 8601 with the offset from UTC, whatever the local zone.
        QCOMPARE(QDateTime::fromString(json.value("time").toString(), Qt::ISODate).toUTC(),
                 QDateTime(QDate(2026, 12, 7), QTime(1, 7, 33), Qt::UTC));
        QCOMPARE(json.size(), 12);
    }

    void discoveryDocumentsDescribeTheThreeEntities_data() {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("nodeId");
        QTest::newRow("default") << "rufwacht/kitchen"
                                 << "rufwacht_kitchen";
        QTest::newRow("odd prefix") << "home/\"Büro\" 1\\x"
                                    << "home__B__ro__1_x";
    }
    void discoveryDocumentsDescribeTheThreeEntities() {
        QFETCH(QString, prefix);
        QFETCH(QString, nodeId);
        const mqtt::Topics topics{prefix.toStdString()};
        const auto messages = mqtt::discoveryMessages(topics, "1.2.3");
        const QStringList expected[] = {
            {"homeassistant/binary_sensor/" + nodeId + "/ringing/config", "ringing",
             q(topics.ringing())},
            {"homeassistant/sensor/" + nodeId + "/last_caller/config", "last caller",
             q(topics.lastCall())},
            {"homeassistant/sensor/" + nodeId + "/missed_calls/config", "missed calls",
             q(topics.missed())}};
        QCOMPARE(messages.size(), std::size(expected));
        QStringList uniqueIds;
        for (std::size_t i = 0; i < messages.size(); ++i) {
            QVERIFY(messages[i].retained);
            QCOMPARE(q(messages[i].topic), expected[i][0]);
            const QJsonObject json = parsed(messages[i].payload);
            QCOMPARE(json.value("name").toString(), expected[i][1]);
            QCOMPARE(json.value("state_topic").toString(), expected[i][2]);
            uniqueIds << json.value("unique_id").toString();
            const QJsonObject device = json.value("device").toObject();
            QVERIFY(device.value("name").toString().startsWith("Rufwacht"));
            QCOMPARE(device.value("sw_version").toString(), QString("1.2.3"));
            QCOMPARE(device.value("identifiers").toArray().first().toString(), nodeId);
            const QJsonObject availability =
                json.value("availability").toArray().first().toObject();
            QCOMPARE(availability.value("topic").toString(), prefix + "/status");
            QCOMPARE(availability.value("payload_available").toString(), QString("online"));
            QCOMPARE(availability.value("payload_not_available").toString(), QString("offline"));
        }
        QCOMPARE(parsed(messages[0].payload).value("payload_on").toString(), QString("on"));
        QCOMPARE(parsed(messages[1].payload).value("json_attributes_topic").toString(),
                 prefix + "/last_call");
        uniqueIds.removeDuplicates();
        QCOMPARE(uniqueIds.size(), 3);
    }

    void prefixes_data() {
        QTest::addColumn<QString>("hostName");
        QTest::addColumn<QString>("defaultPrefix");
        QTest::newRow("plain") << "kitchen"
                               << "rufwacht/kitchen";
        QTest::newRow("wildcards") << "a+b#c/d"
                                   << "rufwacht/a_b_c_d";
        QTest::newRow("none") << ""
                              << "rufwacht/localhost";
    }
    void prefixes() {
        QFETCH(QString, hostName);
        QFETCH(QString, defaultPrefix);
        const std::string prefix = mqtt::defaultPrefix(hostName.toStdString());
        QCOMPARE(q(prefix), defaultPrefix);
        QVERIFY(mqtt::isUsablePrefix(prefix));
    }

    void unusablePrefixes() {
        for (const char* prefix : {"", "home/+", "home/#", "home/", "/"}) {
            QVERIFY2(!mqtt::isUsablePrefix(prefix), prefix);
        }
        QVERIFY(!mqtt::isUsablePrefix(std::string("a\0b", 3)));
        QVERIFY(mqtt::isUsablePrefix("home/phone line 1"));
    }
};

QTEST_GUILESS_MAIN(MqttMessagesTest)
#include "MqttMessagesTest.moc"
