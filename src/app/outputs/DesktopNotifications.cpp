#include "outputs/DesktopNotifications.h"

#include "calls/NotificationText.h"
#include "net/JournalPage.h"
#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "support/QtText.h"
#include "ui/PhonebookAdd.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QFileInfo>
#include <QImageReader>
#include <QVariantMap>

#include <utility>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

// Action keys; "default" is the click on the notification itself.
const QString kDefaultAction = QStringLiteral("default");
const QString kLookUpAction = QStringLiteral("lookup");
const QString kAddAction = QStringLiteral("add");
const QString kTurnAwayAction = QStringLiteral("turnaway");

// Urgency "normal", and no expiry: a ringing call lasts as long as it rings, a missed one until
// the user dismisses it.
constexpr uchar kUrgencyNormal = 1;
constexpr int kNeverExpires = 0;
// The server should answer at once; a hanging one costs this notification, nothing else.
constexpr int kReplyTimeoutMs = 5000;

} // namespace

DesktopNotifications::DesktopNotifications(const LanguageTable& language, QString iconPath,
                                           NotificationCommands commands,
                                           PicturePathResolver resolvePicture, QDBusConnection bus,
                                           QObject* parent)
    : QObject(parent), m_language(language), m_iconPath(std::move(iconPath)),
      m_commands(std::move(commands)), m_resolvePicture(std::move(resolvePicture)),
      m_bus(std::move(bus)) {
    if (!m_bus.isConnected()) {
        return;
    }
    m_bus.connect(kService, kPath, kInterface, "ActionInvoked", this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, "NotificationClosed", this,
                  SLOT(onNotificationClosed(uint, uint)));
    auto* watcher =
        new QDBusServiceWatcher(kService, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                // What the old server showed is gone with it.
                m_calls.clear();
                if (newOwner.isEmpty()) {
                    setAvailable(false);
                } else {
                    probe();
                }
            });
}

DesktopNotifications::~DesktopNotifications() = default;

void DesktopNotifications::probe() {
    if (!m_bus.isConnected()) {
        setAvailable(false);
        return;
    }
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, "GetCapabilities");
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, kReplyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<QStringList> reply = *call;
                if (reply.isError()) {
                    setAvailable(false);
                    return;
                }
                m_capabilities = reply.value();
                setAvailable(true);
            });
}

void DesktopNotifications::setAvailable(bool available) {
    if (available != m_available) {
        m_available = available;
        emit availabilityChanged(available);
    }
}

void DesktopNotifications::onCallEvent(const CallEvent& event) {
    switch (event.kind) {
    case CallEvent::Kind::Ring: {
        if (!m_available) {
            return;
        }
        Shown& shown = m_calls[event.callId];
        shown = Shown{};
        shown.call = event;
        notify(event.callId, shown, false);
        return;
    }
    case CallEvent::Kind::Connect:
        return;
    case CallEvent::Kind::End:
        break;
    }
    const auto found = m_calls.find(event.callId);
    if (found == m_calls.end()) {
        return;
    }
    Shown& shown = found->second;
    shown.ringing = false;
    shown.call.reason = event.reason;
    if (shown.waitingForId) {
        // Done when the server has told which notification is the call's.
        shown.missedWhenKnown = event.missed;
        shown.closeWhenKnown = !event.missed;
        return;
    }
    if (event.missed) {
        notify(event.callId, shown, true);
    } else {
        close(shown.id);
        m_calls.erase(found);
    }
}

void DesktopNotifications::notify(std::uint32_t callId, Shown& shown, bool missed) {
    const NotificationText text =
        missed ? missedNotification(shown.call, m_language) : ringingNotification(shown.call);
    QVariantMap hints;
    hints.insert("urgency", QVariant::fromValue(kUrgencyNormal));
    hints.insert("image-path", imagePath(shown.call));
    if (missed) {
        hints.insert("resident", true);
    }
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Notify");
    message << QStringLiteral("Rufwacht") << shown.id << m_iconPath << qs(text.summary)
            << bodyText(text.body) << actionsFor(shown.call, !missed) << hints << kNeverExpires;
    shown.waitingForId = shown.id == 0;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, kReplyTimeoutMs), this);
    emit notifySent(callId);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, callId](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<uint> reply = *call;
                const auto found = m_calls.find(callId);
                if (found == m_calls.end()) {
                    return;
                }
                Shown& shown = found->second;
                if (reply.isError()) {
                    // This notification is lost; the program goes on without it.
                    m_calls.erase(found);
                    return;
                }
                shown.id = reply.value();
                shown.waitingForId = false;
                if (shown.closeWhenKnown) {
                    close(shown.id);
                    m_calls.erase(found);
                } else if (std::exchange(shown.missedWhenKnown, false)) {
                    notify(callId, shown, true);
                }
            });
}

void DesktopNotifications::close(uint notificationId) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, "CloseNotification");
    message << notificationId;
    m_bus.asyncCall(message, kReplyTimeoutMs);
}

QString DesktopNotifications::bodyText(const std::string& body) const {
    // A server that reads markup would take a caller's "<b>" for formatting.
    if (m_capabilities.contains("body-markup")) {
        return qs(escapeHtml(body));
    }
    return qs(body);
}

QString DesktopNotifications::imagePath(const CallEvent& call) const {
    if (!call.picturePath.empty()) {
        const std::string path =
            m_resolvePicture ? m_resolvePicture(call.picturePath) : call.picturePath;
        QString picture = QFileInfo(qs(path)).absoluteFilePath();
        if (QImageReader(picture).canRead()) {
            return picture;
        }
    }
    return m_iconPath;
}

QStringList DesktopNotifications::actionsFor(const CallEvent& call, bool ringing) const {
    if (!m_capabilities.contains("actions")) {
        return {};
    }
    QStringList actions{kDefaultAction, qs(m_language.text(lang_id::kCallJournal))};
    if (!call.withheld) {
        actions << kLookUpAction << qs(m_language.text(lang_id::kLookUp));
    }
    if (call.name.empty() && canAddToPhonebook(call.number)) {
        actions << kAddAction << qs(m_language.text(lang_id::kAddToPhonebook));
    }
    if (ringing && call.canReject) {
        actions << kTurnAwayAction << qs(m_language.text(lang_id::kTurnAway));
    }
    return actions;
}

std::map<std::uint32_t, DesktopNotifications::Shown>::iterator
DesktopNotifications::findById(uint notificationId) {
    for (auto it = m_calls.begin(); it != m_calls.end(); ++it) {
        if (!it->second.waitingForId && it->second.id == notificationId) {
            return it;
        }
    }
    return m_calls.end();
}

void DesktopNotifications::onActionInvoked(uint notificationId, const QString& actionKey) {
    const auto found = findById(notificationId);
    if (found == m_calls.end()) {
        return; // another program's notification
    }
    const std::uint32_t callId = found->first;
    const CallEvent call = found->second.call;
    const bool ringing = found->second.ringing;
    if (actionKey == kDefaultAction) {
        // The user has seen the missed call: its notification has done its job.
        if (!ringing) {
            close(notificationId);
            m_calls.erase(found);
        }
        if (m_commands.showJournal) {
            m_commands.showJournal();
        }
    } else if (actionKey == kLookUpAction) {
        if (m_commands.lookUp) {
            m_commands.lookUp(call.number);
        }
    } else if (actionKey == kAddAction) {
        if (m_commands.addToPhonebook) {
            m_commands.addToPhonebook(call.number);
        }
    } else if (actionKey == kTurnAwayAction && ringing && call.canReject) {
        if (m_commands.turnAway) {
            m_commands.turnAway(callId);
        }
    }
}

void DesktopNotifications::onNotificationClosed(uint notificationId, uint /*reason*/) {
    const auto found = findById(notificationId);
    // A ringing call's notification that the user dismissed is still replaced at its end.
    if (found != m_calls.end() && !found->second.ringing) {
        m_calls.erase(found);
    }
}
