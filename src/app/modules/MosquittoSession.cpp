#include "modules/MosquittoSession.h"

#include <mosquitto.h>

#include <QMetaObject>

#include <utility>

namespace {

constexpr int kKeepAliveSeconds = 30;
constexpr int kHousekeepingMs = 1000;

void initialiseLibraryOnce() {
    static const int result = mosquitto_lib_init();
    (void)result;
}

} // namespace

MosquittoSession::MosquittoSession(MqttBroker broker, MqttSessionEvents events, QObject* parent)
    : QObject(parent), m_broker(std::move(broker)), m_events(std::move(events)) {
    initialiseLibraryOnce();
    // A clean session with an id of the library's choosing: what was not delivered is kept by
    // the output, not by the broker.
    m_handle = mosquitto_new(nullptr, true, this);
    mosquitto_int_option(m_handle, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    if (!m_broker.user.empty()) {
        mosquitto_username_pw_set(m_handle, m_broker.user.c_str(), m_broker.password.c_str());
    }
    if (m_broker.tls) {
        mosquitto_int_option(m_handle, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
    }
    if (!m_broker.willTopic.empty()) {
        mosquitto_will_set(m_handle, m_broker.willTopic.c_str(),
                           static_cast<int>(m_broker.willPayload.size()),
                           m_broker.willPayload.data(), 1, true);
    }
    mosquitto_connect_callback_set(m_handle, &MosquittoSession::onConnect);
    mosquitto_disconnect_callback_set(m_handle, &MosquittoSession::onDisconnect);
    mosquitto_log_callback_set(m_handle, &MosquittoSession::onLog);

    m_housekeeping.setInterval(kHousekeepingMs);
    connect(&m_housekeeping, &QTimer::timeout, this, &MosquittoSession::onHousekeeping);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &MosquittoSession::attempt);
}

MosquittoSession::~MosquittoSession() {
    m_running = false;
    joinAttempt();
    // Never destroyed from inside a notifier's signal: they can go at once, before the event
    // loop that would run a deleteLater has ended.
    m_readNotifier.reset();
    m_writeNotifier.reset();
    // Without a DISCONNECT the broker publishes the will: the program is gone.
    mosquitto_destroy(m_handle);
}

QString MosquittoSession::address() const {
    return QString::fromStdString(m_broker.host) + ":" + QString::number(m_broker.port);
}

void MosquittoSession::start() {
    if (m_running) {
        return;
    }
    m_running = true;
    m_backoff.reset();
    attempt();
}

void MosquittoSession::attempt() {
    if (!m_running || m_attempting) {
        return;
    }
    joinAttempt();
    unwatchSocket();
    m_attempting = true;
    // Name lookup and the start of the connection can take seconds: off the event loop. The
    // handle is not touched here until the thread reports back.
    m_attempt = std::thread([this, handle = m_handle, host = m_broker.host,
                             port = static_cast<int>(m_broker.port)]() {
        const int result = mosquitto_connect_async(handle, host.c_str(), port, kKeepAliveSeconds);
        QMetaObject::invokeMethod(
            this, [this, result]() { onAttemptStarted(result); }, Qt::QueuedConnection);
    });
}

void MosquittoSession::joinAttempt() {
    if (m_attempt.joinable()) {
        m_attempt.join();
    }
}

void MosquittoSession::onAttemptStarted(int result) {
    joinAttempt();
    m_attempting = false;
    if (!m_running) {
        return;
    }
    if (result != MOSQ_ERR_SUCCESS) {
        connectionEnded(failureText(result));
        return;
    }
    watchSocket();
}

void MosquittoSession::watchSocket() {
    const int socket = mosquitto_socket(m_handle);
    if (socket < 0) {
        connectionEnded(failureText(MOSQ_ERR_NO_CONN));
        return;
    }
    m_readNotifier = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
    m_writeNotifier = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Write);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &MosquittoSession::onReadable);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this,
            &MosquittoSession::onWritable);
    m_writeNotifier->setEnabled(mosquitto_want_write(m_handle));
    m_housekeeping.start();
}

void MosquittoSession::unwatchSocket() {
    // A notifier may be the one whose signal runs right now: it goes when the loop is back.
    for (std::unique_ptr<QSocketNotifier>* notifier : {&m_readNotifier, &m_writeNotifier}) {
        if (*notifier) {
            (*notifier)->setEnabled(false);
            notifier->release()->deleteLater();
        }
    }
    m_housekeeping.stop();
}

void MosquittoSession::onReadable() {
    afterLoop(mosquitto_loop_read(m_handle, 1));
}

void MosquittoSession::onWritable() {
    afterLoop(mosquitto_loop_write(m_handle, 1));
}

void MosquittoSession::onHousekeeping() {
    afterLoop(mosquitto_loop_misc(m_handle));
}

void MosquittoSession::afterLoop(int result) {
    if (!m_readNotifier) {
        // The disconnect callback has already taken the connection down.
        return;
    }
    if (result != MOSQ_ERR_SUCCESS) {
        connectionEnded(m_refusal.isEmpty() ? failureText(result) : std::exchange(m_refusal, {}));
        return;
    }
    m_writeNotifier->setEnabled(mosquitto_want_write(m_handle));
}

bool MosquittoSession::publish(const std::string& topic, const std::string& payload, int qos,
                               bool retained) {
    if (!m_connected) {
        return false;
    }
    const int result =
        mosquitto_publish(m_handle, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                          payload.data(), qos, retained);
    if (m_writeNotifier) {
        m_writeNotifier->setEnabled(mosquitto_want_write(m_handle));
    }
    return result == MOSQ_ERR_SUCCESS;
}

void MosquittoSession::connectionEnded(const QString& reason) {
    unwatchSocket();
    m_connected = false;
    m_events.disconnected(reason);
    if (m_running && !m_retry.isActive()) {
        m_retry.start(m_backoff.nextDelay());
    }
}

QString MosquittoSession::failureText(int result) const {
    QString text = QString::fromUtf8(mosquitto_strerror(result));
    if (result == MOSQ_ERR_ERRNO || result == MOSQ_ERR_TLS || result == MOSQ_ERR_EAI) {
        // The library's log knows more (e.g. why a certificate was refused).
        const std::lock_guard lock(m_logMutex);
        if (!m_lastError.empty()) {
            text += " (" + QString::fromStdString(m_lastError) + ")";
        }
    }
    return text;
}

void MosquittoSession::onConnect(mosquitto* /*handle*/, void* self, int result) {
    auto* session = static_cast<MosquittoSession*>(self);
    if (result != 0) {
        session->m_refusal = QString::fromUtf8(mosquitto_connack_string(result));
        return;
    }
    session->m_refusal.clear();
    session->m_connected = true;
    session->m_backoff.reset();
    {
        const std::lock_guard lock(session->m_logMutex);
        session->m_lastError.clear();
    }
    session->m_events.connected();
}

void MosquittoSession::onDisconnect(mosquitto* /*handle*/, void* self, int result) {
    auto* session = static_cast<MosquittoSession*>(self);
    if (!session->m_running || !session->m_readNotifier) {
        return;
    }
    const QString reason = session->m_refusal.isEmpty() ? session->failureText(result)
                                                        : std::exchange(session->m_refusal, {});
    session->connectionEnded(reason);
}

void MosquittoSession::onLog(mosquitto* /*handle*/, void* self, int level, const char* text) {
    if (level != MOSQ_LOG_ERR || text == nullptr) {
        return;
    }
    auto* session = static_cast<MosquittoSession*>(self);
    const std::lock_guard lock(session->m_logMutex);
    session->m_lastError = text;
}
