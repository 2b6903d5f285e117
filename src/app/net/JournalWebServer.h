#pragma once

#include "net/CallsJson.h"
#include "net/WebClientConnection.h"
#include "net/WebExportControl.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QThreadPool>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

struct AppContext;
class AppPaths;
class ContactIndex;
class JournalPageCache;
class LanguageTable;
class Log;
class Phonebook;
struct SettingsRecord;
struct WebRequest;

/// What the journal web server reads: the journal's folder, the password, the texts and the
/// lists that name the callers; its errors go to the log.
struct JournalWebServerParts {
    const AppPaths& paths;
    Log& log;
    const SettingsRecord& settings;
    const LanguageTable& language;
    const Phonebook& phonebook;
    const ContactIndex& contacts;

    static JournalWebServerParts of(AppContext& context);
};

/// The journal web page server (the design's `sckWeb`): serves the journal page, the journal
/// as JSON, the call events as a stream and the line's health over HTTP to any number of
/// clients at once, each on its own keep-alive connection, up to a limit; at the limit the
/// client silent longest (one that has asked for nothing, if any) makes room for a new one. Page
/// and JSON are built on a worker thread and shared by every client, so serving never holds up the
/// calls. The password is read from the settings for every request; the page's texts are those of
/// the language active at the last start.
class JournalWebServer : public QObject, public WebExportControl {
    Q_OBJECT
public:
    struct Limits {
        /// A reply that makes no progress for this long is given up.
        std::chrono::milliseconds idleTime{10000};
        /// Connections served at once.
        int maxConnections = 32;
        /// From connecting (or the last reply) to the end of the request head.
        std::chrono::milliseconds headTime{2000};
        /// Between two comment lines on an event stream.
        std::chrono::milliseconds eventStreamPing{30000};
        /// From the end of one build of the page (or the JSON) to the start of the next.
        std::chrono::milliseconds buildInterval{1000};
    };

    explicit JournalWebServer(const JournalWebServerParts& parts, QObject* parent = nullptr);
    JournalWebServer(const JournalWebServerParts& parts, Limits limits, QObject* parent = nullptr);
    ~JournalWebServer() override;

    bool start(std::uint16_t port) override;
    void stop() override;
    bool isRunning() const override;
    std::string lastError() const override;
    void followCalls(CallEventStream& events) override;
    void setLineHealth(const LineHealthSource& source) override;

    /// The port listened on; the system's choice after a start on port 0.
    std::uint16_t port() const;
    int connectionCount() const { return static_cast<int>(m_clients.size()); }
    /// A line of text above the journal's table, asked for with every page; empty for none.
    void setPageNotice(std::function<std::string()> notice) override {
        m_pageNotice = std::move(notice);
    }

signals:
    /// A client's connection has ended.
    void connectionClosed();

private:
    struct Waiting;
    struct Built;

    void acceptConnections();
    void dropSilentLongest();
    void onConnectionClosed(WebClientConnection* client);
    void answer(WebClientConnection& client, const WebRequest& request);
    /// False when what the client waits for is not among what was built.
    bool answerFrom(const Waiting& waiting, const Built& built);
    /// Starts a build for the waiting clients now, or when the last one is far enough back.
    void scheduleBuild();
    void startBuild();
    void onBuilt(const Built& built);
    void onCallEvent(const CallEvent& event);
    void pingListeners();
    QByteArray healthReply(bool keepAlive) const;

    JournalWebServerParts m_parts;
    Limits m_limits;
    QTcpServer m_server;
    QList<WebClientConnection*> m_clients;
    std::shared_ptr<JournalPageCache> m_pages;
    std::function<std::string()> m_pageNotice;
    QByteArray m_wrongPasswordPage;
    QThreadPool m_builder;
    bool m_building = false;
    QElapsedTimer m_sinceBuild;
    QTimer m_buildTimer;
    QList<Waiting> m_waiting;
    QTimer m_pingTimer;
    LineHealthSource m_lineHealth;
    std::uint64_t m_calls = 0;
    std::chrono::system_clock::time_point m_startedAt = std::chrono::system_clock::now();
    std::string m_lastError;
};
