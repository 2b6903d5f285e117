#include "net/JournalWebServer.h"

#include "calls/AppContext.h"
#include "net/JournalPageCache.h"
#include "net/WebClientConnection.h"
#include "net/WebRequest.h"
#include "stores/LanguageIds.h"
#include "support/QtText.h"

#include <QTcpSocket>

namespace {

QByteArray bytes(const std::string& text) {
    return {text.data(), static_cast<qsizetype>(text.size())};
}

} // namespace

JournalWebServer::JournalWebServer(AppContext& context, QObject* parent)
    : JournalWebServer(context, Limits{}, parent) {}

JournalWebServer::JournalWebServer(AppContext& context, Limits limits, QObject* parent)
    : QObject(parent), m_context(context), m_limits(limits) {
    connect(&m_server, &QTcpServer::newConnection, this, &JournalWebServer::acceptConnections);
}

JournalWebServer::~JournalWebServer() {
    // The clients go first: they answer through this server.
    m_server.close();
    qDeleteAll(findChildren<WebClientConnection*>(Qt::FindDirectChildrenOnly));
}

bool JournalWebServer::start(std::uint16_t port) {
    // The page's texts are those of the language active now.
    JournalPage page(m_context.language);
    m_wrongPasswordPage = bytes(page.wrongPasswordPage());
    m_pages = std::make_unique<JournalPageCache>(
        std::move(page), m_context.paths.configFile("calls.txt"), m_context.phonebook.path());
    m_journalReplyVersion = 0;
    m_server.close();
    if (!m_server.listen(QHostAddress::Any, port)) {
        const QString reason = m_server.errorString();
        m_context.log.write("ERROR: sckWeb Error (" + std::to_string(m_server.serverError()) + "-" +
                            ss(reason) + ")");
        m_lastError = m_context.language.text(lang_id::kWebExportPortUnavailable) + " " +
                      std::to_string(port) + " (" + ss(reason) + ")";
        return false;
    }
    m_lastError.clear();
    if (m_connections >= m_limits.maxConnections) {
        m_server.pauseAccepting();
    }
    return true;
}

void JournalWebServer::stop() {
    m_server.close();
}

bool JournalWebServer::isRunning() const {
    return m_server.isListening();
}

std::string JournalWebServer::lastError() const {
    return m_lastError;
}

std::uint16_t JournalWebServer::port() const {
    return m_server.serverPort();
}

void JournalWebServer::acceptConnections() {
    while (m_connections < m_limits.maxConnections && m_server.hasPendingConnections()) {
        QTcpSocket* socket = m_server.nextPendingConnection();
        ++m_connections;
        auto* connection = new WebClientConnection(
            socket, m_limits.idleTime,
            [this](const WebRequest& request) { return replyTo(request); }, this);
        connect(connection, &WebClientConnection::closed, this,
                &JournalWebServer::onConnectionClosed);
    }
    if (m_connections >= m_limits.maxConnections) {
        m_server.pauseAccepting();
    }
}

void JournalWebServer::onConnectionClosed() {
    --m_connections;
    emit connectionClosed();
    if (m_server.isListening() && m_connections < m_limits.maxConnections) {
        m_server.resumeAccepting();
        acceptConnections();
    }
}

QByteArray JournalWebServer::replyTo(const WebRequest& request) {
    const WebReply reply = replyFor(request, m_context.settings.webExportPassword);
    if (reply.withJournal) {
        return journalReply();
    }
    return bytes(webReplyHead(reply.status, static_cast<std::size_t>(m_wrongPasswordPage.size()))) +
           m_wrongPasswordPage;
}

QByteArray JournalWebServer::journalReply() {
    const AppContext& context = m_context;
    const auto result =
        m_pages->journalPage([&context](const std::string& n) { return context.callerName(n); });
    if (!result.journalError.empty()) {
        m_context.log.write("ERROR: WebExport-calls.txt not found (" + result.journalError + ")");
    }
    if (result.version != m_journalReplyVersion) {
        m_journalReply = bytes(webReplyHead(200, result.page->size()) + *result.page);
        m_journalReplyVersion = result.version;
    }
    return m_journalReply;
}
