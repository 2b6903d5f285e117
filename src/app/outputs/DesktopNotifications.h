#pragma once

#include "calls/CallEvent.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

class LanguageTable;

/// What the buttons of a call's notification do.
struct NotificationCommands {
    std::function<void()> showJournal;
    std::function<void(const std::string& number)> lookUp;
    std::function<void(const std::string& number)> addToPhonebook;
    std::function<void(std::uint32_t callId)> turnAway;
};

/// Where a phonebook entry's picture file lies (its path may be relative or Windows-made).
using PicturePathResolver = std::function<std::string(const std::string& path)>;

/// The desktop's notifications (org.freedesktop.Notifications on the session bus) for the
/// calls: one per call, replaced by "Missed call" when nobody answered and closed when someone
/// did. Every bus call is asynchronous, so a server that hangs or goes away costs its
/// notification and never holds up the call handling.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    /// iconPath is the picture shown for callers without one of their own.
    DesktopNotifications(const LanguageTable& language, QString iconPath,
                         NotificationCommands commands, PicturePathResolver resolvePicture,
                         QDBusConnection bus = QDBusConnection::sessionBus(),
                         QObject* parent = nullptr);
    ~DesktopNotifications() override;

    /// Asks the bus whether a notification server is there and what it can show.
    void probe();
    /// True once a server has answered; until then and after it went away, false.
    bool isAvailable() const { return m_available; }

    void onCallEvent(const CallEvent& event);

    /// How many calls have a notification on screen, or on its way there.
    std::size_t shownCount() const { return m_calls.size(); }

signals:
    /// A server has answered, or has gone away.
    void availabilityChanged(bool available);
    /// A Notify request has gone out (for the timing of the call handling).
    void notifySent(std::uint32_t callId);

private slots:
    void onActionInvoked(uint notificationId, const QString& actionKey);
    void onNotificationClosed(uint notificationId, uint reason);

private:
    // One call's notification: its id once the server has told it, and the call as last shown.
    struct Shown {
        uint id = 0;
        bool waitingForId = true;
        bool ringing = true;
        CallEvent call;
        bool closeWhenKnown = false; // ended answered before the server told the id
        bool missedWhenKnown = false;
    };

    void setAvailable(bool available);
    void notify(std::uint32_t callId, Shown& shown, bool missed);
    void close(uint notificationId);
    QString bodyText(const std::string& body) const;
    QString imagePath(const CallEvent& call) const;
    QStringList actionsFor(const CallEvent& call, bool ringing) const;
    std::map<std::uint32_t, Shown>::iterator findById(uint notificationId);

    const LanguageTable& m_language;
    QString m_iconPath;
    NotificationCommands m_commands;
    PicturePathResolver m_resolvePicture;
    QDBusConnection m_bus;
    QStringList m_capabilities;
    bool m_available = false;
    std::map<std::uint32_t, Shown> m_calls; // by the line's call id
};
