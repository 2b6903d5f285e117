#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

#include <vector>

/// A session bus of the test's own (dbus-daemon with a configuration in a temporary folder),
/// for as long as the test runs.
class PrivateSessionBus {
public:
    PrivateSessionBus() = default;
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    static bool toolPresent();
    /// Starts the daemon and waits for its address; false when it did not start.
    bool start();
    /// The address for DBUS_SESSION_BUS_ADDRESS.
    const QString& address() const { return m_address; }
    QDBusConnection connect(const QString& name) const;

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};

/// A notification server on a bus that records what it is asked and answers like a real one;
/// the test plays the user by invoking actions.
class RecordingNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notification {
        uint id = 0;
        uint replacesId = 0;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int timeout = -1;
    };

    RecordingNotificationServer(QDBusConnection bus, QStringList capabilities);
    /// Takes the service name on the bus; false when that failed.
    bool registerOnBus();
    /// Gives the service name up, as a server does that ends.
    bool unregisterFromBus();

    const std::vector<Notification>& notifications() const { return m_notifications; }
    const std::vector<uint>& closed() const { return m_closed; }
    /// The user clicks an action (key) of the notification.
    void invokeAction(uint id, const QString& key);

public slots:
    QStringList GetCapabilities();
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int timeout);
    void CloseNotification(uint id);
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion);

private:
    QDBusConnection m_bus;
    QStringList m_capabilities;
    std::vector<Notification> m_notifications;
    std::vector<uint> m_closed;
    uint m_nextId = 1;
};
