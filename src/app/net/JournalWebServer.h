#pragma once

#include "net/WebExportControl.h"

#include <QByteArray>
#include <QObject>
#include <QTcpServer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct AppContext;
class JournalPageCache;
struct WebRequest;

/// The journal web page server (the design's `sckWeb`): serves the journal page over HTTP to
/// any number of clients at once, each on its own connection, up to a limit. The password is
/// read from the settings for every request; the page's texts are those of the language
/// active at the last start.
class JournalWebServer : public QObject, public WebExportControl {
    Q_OBJECT
public:
    struct Limits {
        /// A client that sends nothing (or reads nothing) for this long is dropped.
        std::chrono::milliseconds idleTime{10000};
        /// Connections served at once; further clients wait to be accepted.
        int maxConnections = 32;
    };

    explicit JournalWebServer(AppContext& context, QObject* parent = nullptr);
    JournalWebServer(AppContext& context, Limits limits, QObject* parent = nullptr);
    ~JournalWebServer() override;

    bool start(std::uint16_t port) override;
    void stop() override;
    bool isRunning() const override;
    std::string lastError() const override;

    /// The port listened on; the system's choice after a start on port 0.
    std::uint16_t port() const;
    int connectionCount() const { return m_connections; }
    /// A line of text above the journal's table, asked for with every page; empty for none.
    void setPageNotice(std::function<std::string()> notice) { m_pageNotice = std::move(notice); }

signals:
    /// A client's connection has ended.
    void connectionClosed();

private:
    void acceptConnections();
    void onConnectionClosed();
    QByteArray replyTo(const WebRequest& request);
    QByteArray journalReply();

    AppContext& m_context;
    Limits m_limits;
    QTcpServer m_server;
    std::unique_ptr<JournalPageCache> m_pages;
    std::function<std::string()> m_pageNotice;
    QByteArray m_wrongPasswordPage;
    QByteArray m_journalReply;
    std::uint64_t m_journalReplyVersion = 0;
    std::string m_lastError;
    int m_connections = 0;
};
