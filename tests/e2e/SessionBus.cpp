#include "SessionBus.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QStandardPaths>

namespace {

const char* kPath = "/org/freedesktop/Notifications";
const char* kInterface = "org.freedesktop.Notifications";

} // namespace

PrivateSessionBus::~PrivateSessionBus() {
    m_daemon.kill();
    m_daemon.waitForFinished(5000);
}

bool PrivateSessionBus::toolPresent() {
    return !QStandardPaths::findExecutable("dbus-daemon").isEmpty();
}

bool PrivateSessionBus::start() {
    const QString config = m_dir.path() + "/session.conf";
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(QStringLiteral(
                   "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                   "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                   "<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                   "<auth>EXTERNAL</auth><policy context='default'><allow send_destination='*'/>"
                   "<allow eavesdrop='true'/><allow own='*'/></policy></busconfig>\n")
                   .arg(m_dir.path())
                   .toUtf8());
    file.close();
    m_daemon.start("dbus-daemon", {"--config-file=" + config, "--nofork", "--print-address=1"});
    if (!m_daemon.waitForStarted(5000)) {
        return false;
    }
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(5000)) {
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    return !m_address.isEmpty();
}

QDBusConnection PrivateSessionBus::connect(const QString& name) const {
    // A name per bus: a connection of an earlier bus under the same name would be reused.
    return QDBusConnection::connectToBus(m_address, name + " " + m_address);
}

RecordingNotificationServer::RecordingNotificationServer(QDBusConnection bus,
                                                         QStringList capabilities)
    : m_bus(std::move(bus)), m_capabilities(std::move(capabilities)) {}

bool RecordingNotificationServer::registerOnBus() {
    return m_bus.registerObject(kPath, this, QDBusConnection::ExportAllSlots) &&
           m_bus.registerService(kInterface);
}

bool RecordingNotificationServer::unregisterFromBus() {
    m_bus.unregisterObject(kPath);
    return m_bus.unregisterService(kInterface);
}

void RecordingNotificationServer::invokeAction(uint id, const QString& key) {
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kInterface, "ActionInvoked");
    signal << id << key;
    m_bus.send(signal);
}

QStringList RecordingNotificationServer::GetCapabilities() {
    return m_capabilities;
}

uint RecordingNotificationServer::Notify(const QString& /*appName*/, uint replacesId,
                                         const QString& /*appIcon*/, const QString& summary,
                                         const QString& body, const QStringList& actions,
                                         const QVariantMap& hints, int timeout) {
    const uint id = replacesId != 0 ? replacesId : m_nextId++;
    m_notifications.push_back({id, replacesId, summary, body, actions, hints, timeout});
    return id;
}

void RecordingNotificationServer::CloseNotification(uint id) {
    m_closed.push_back(id);
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kInterface, "NotificationClosed");
    signal << id << 3U;
    m_bus.send(signal);
}

QString RecordingNotificationServer::GetServerInformation(QString& vendor, QString& version,
                                                          QString& specVersion) {
    vendor = "Rufwacht tests";
    version = "1";
    specVersion = "1.2";
    return "recorder";
}
