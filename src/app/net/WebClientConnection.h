#pragma once

#include "net/WebRequest.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class QTcpSocket;

/// A reply's body as pieces of text that others own (a page shared by every client); keep
/// holds them while they are sent.
struct SharedBody {
    std::shared_ptr<const void> keep;
    std::vector<std::string_view> pieces;
};

/// One client of the journal page server: collects a request head (within the head time),
/// hands it to the server, and sends the reply in pieces as the socket drains, so a large page
/// costs each client at most two pieces of memory. With keep-alive the next request follows
/// on the same connection. An event stream stays open and takes events as they come; a client
/// that falls behind by more than the limit is dropped.
class WebClientConnection : public QObject {
    Q_OBJECT
public:
    struct Limits {
        /// From connecting (or the end of the last reply) to the end of the request head.
        std::chrono::milliseconds headTime{2000};
        /// A reply that makes no progress for this long is given up.
        std::chrono::milliseconds sendTime{10000};
        /// Bytes of events a listener may leave unread.
        qint64 maxUnsentEvents = qint64{64} * 1024;
    };
    /// Called with each complete (or refused) request; the server answers through reply(),
    /// startEventStream() or later, once what it needs is built.
    using RequestHandler = std::function<void(WebClientConnection&, const WebRequest&)>;

    /// Takes the socket over as its child.
    WebClientConnection(QTcpSocket* socket, Limits limits, RequestHandler handler,
                        QObject* parent = nullptr);
    ~WebClientConnection() override;

    /// Sends the head, then the body's pieces; closes afterwards unless keepAlive.
    void reply(const QByteArray& head, SharedBody body, bool keepAlive);
    /// Sends the head of an event stream; the connection stays open for sendEvent().
    void startEventStream(const QByteArray& head);
    /// Queues an event (or comment) for a listener; drops the connection when too much is
    /// still unread.
    void sendEvent(const QByteArray& message);
    bool isListening() const { return m_state == State::Streaming; }
    /// Waiting for (the rest of) a request head: nothing asked for yet.
    bool isWaitingForRequest() const { return m_state == State::ReadingHead; }

    /// When the client last sent anything (or connected).
    std::chrono::steady_clock::time_point lastHeard() const { return m_lastHeard; }
    /// Ends the connection at once.
    void drop();

signals:
    /// The connection has ended; the object deletes itself afterwards.
    void closed();

private:
    enum class State { ReadingHead, Answering, Sending, Streaming };

    void readIncoming();
    void handleBufferedRequest();
    void sendMore();
    void waitForNextRequest();
    void finish();

    QTcpSocket* m_socket;
    Limits m_limits;
    RequestHandler m_handler;
    QByteArray m_buffer;
    QTimer m_deadline;
    State m_state = State::ReadingHead;
    SharedBody m_body;
    std::size_t m_piece = 0;
    std::size_t m_offset = 0;
    bool m_keepAlive = false;
    bool m_finished = false;
    std::chrono::steady_clock::time_point m_lastHeard;
};
