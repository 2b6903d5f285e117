#include "net/JournalWebServer.h"

#include "calls/AppContext.h"
#include "calls/CallEvent.h"
#include "calls/EndReason.h"
#include "net/JournalPageCache.h"
#include "net/WebRequest.h"
#include "platform/BackgroundPriority.h"
#include "stores/LanguageIds.h"
#include "support/QtText.h"

#include <QPointer>
#include <QTcpSocket>

#include <unordered_map>

namespace {

QByteArray bytes(const std::string& text) {
    return {text.data(), static_cast<qsizetype>(text.size())};
}

constexpr std::string_view kClosingBracket = "]";

} // namespace

/// A client waiting for the page or the JSON to be built.
struct JournalWebServer::Waiting {
    QPointer<WebClientConnection> client;
    WebRequest::Resource resource;
    std::optional<std::size_t> limit;
    bool keepAlive;
};

/// What a worker has built: the page, the JSON, or both.
struct JournalWebServer::Built {
    std::optional<JournalPageCache::Result> page;
    std::shared_ptr<const CallsJson> json;
};

JournalWebServerParts JournalWebServerParts::of(AppContext& context) {
    return {context.paths,    context.log,       context.settings,
            context.language, context.phonebook, context.contacts};
}

JournalWebServer::JournalWebServer(const JournalWebServerParts& parts, QObject* parent)
    : JournalWebServer(parts, Limits{}, parent) {}

JournalWebServer::JournalWebServer(const JournalWebServerParts& parts, Limits limits,
                                   QObject* parent)
    : QObject(parent), m_parts(parts), m_limits(limits) {
    m_builder.setMaxThreadCount(1);
    connect(&m_server, &QTcpServer::newConnection, this, &JournalWebServer::acceptConnections);
    connect(&m_pingTimer, &QTimer::timeout, this, &JournalWebServer::pingListeners);
    m_buildTimer.setSingleShot(true);
    connect(&m_buildTimer, &QTimer::timeout, this, &JournalWebServer::scheduleBuild);
}

JournalWebServer::~JournalWebServer() {
    // A build still running answers to this object.
    m_builder.waitForDone();
    // The clients go first: they answer through this server.
    m_server.close();
    const QList<WebClientConnection*> clients = m_clients;
    m_clients.clear();
    for (WebClientConnection* client : clients) {
        client->disconnect(this);
        delete client;
    }
}

bool JournalWebServer::start(std::uint16_t port) {
    // The page's texts are those of the language active now.
    JournalPage page(m_parts.language);
    m_wrongPasswordPage = bytes(page.wrongPasswordPage());
    m_pages =
        std::make_shared<JournalPageCache>(std::move(page), m_parts.paths.configFile("calls.txt"));
    m_server.close();
    if (!m_server.listen(QHostAddress::Any, port)) {
        const QString reason = m_server.errorString();
        m_parts.log.write("ERROR: sckWeb Error (" + std::to_string(m_server.serverError()) + "-" +
                          ss(reason) + ")");
        m_lastError = m_parts.language.text(lang_id::kWebExportPortUnavailable) + " " +
                      std::to_string(port) + " (" + ss(reason) + ")";
        return false;
    }
    m_lastError.clear();
    m_pingTimer.start(m_limits.eventStreamPing);
    return true;
}

void JournalWebServer::stop() {
    m_server.close();
    m_pingTimer.stop();
}

bool JournalWebServer::isRunning() const {
    return m_server.isListening();
}

std::string JournalWebServer::lastError() const {
    return m_lastError;
}

void JournalWebServer::followCalls(CallEventStream& events) {
    events.subscribe([this](const CallEvent& event) { onCallEvent(event); });
}

void JournalWebServer::setLineHealth(const LineHealthSource& source) {
    m_lineHealth = source;
}

std::uint16_t JournalWebServer::port() const {
    return m_server.serverPort();
}

void JournalWebServer::acceptConnections() {
    const WebClientConnection::Limits limits{m_limits.headTime, m_limits.idleTime};
    while (m_server.hasPendingConnections()) {
        if (m_clients.size() >= m_limits.maxConnections) {
            dropSilentLongest();
        }
        auto* client = new WebClientConnection(
            m_server.nextPendingConnection(), limits,
            [this](WebClientConnection& c, const WebRequest& request) { answer(c, request); },
            this);
        m_clients.append(client);
        connect(client, &WebClientConnection::closed, this,
                [this, client]() { onConnectionClosed(client); });
    }
}

void JournalWebServer::dropSilentLongest() {
    if (m_clients.isEmpty()) {
        return;
    }
    // Clients that have asked for nothing yet go before listeners and replies under way.
    WebClientConnection* silent =
        *std::min_element(m_clients.begin(), m_clients.end(), [](const auto* a, const auto* b) {
            return std::make_pair(!a->isWaitingForRequest(), a->lastHeard()) <
                   std::make_pair(!b->isWaitingForRequest(), b->lastHeard());
        });
    silent->drop();
}

void JournalWebServer::onConnectionClosed(WebClientConnection* client) {
    m_clients.removeOne(client);
    emit connectionClosed();
}

void JournalWebServer::answer(WebClientConnection& client, const WebRequest& request) {
    const WebReply reply = replyFor(request, m_parts.settings.webExportPassword);
    const bool keepAlive = request.keepAlive && reply.status < 400;
    switch (reply.body) {
    case WebReply::Body::WrongPasswordPage:
        client.reply(
            bytes(webReplyHead(reply.status, static_cast<std::size_t>(m_wrongPasswordPage.size()),
                               kHtmlContentType, keepAlive)) +
                m_wrongPasswordPage,
            {}, keepAlive);
        return;
    case WebReply::Body::JsonError: {
        const std::string body = jsonError("Wrong password");
        client.reply(bytes(webReplyHead(reply.status, body.size(), kJsonContentType, false) + body),
                     {}, false);
        return;
    }
    case WebReply::Body::Health:
        client.reply(healthReply(request.keepAlive), {}, request.keepAlive);
        return;
    case WebReply::Body::Events:
        client.startEventStream(bytes(eventStreamHead() + ": listening\n\n"));
        return;
    case WebReply::Body::JournalPage:
    case WebReply::Body::CallsJson:
        break;
    }
    const Waiting waiting{&client, request.resource, request.limit, keepAlive};
    const bool wantsPage = request.resource == WebRequest::Resource::Page;
    if (!m_building &&
        (wantsPage ? m_pages->builtPage().page != nullptr &&
                         m_pages->pageNotice() == (m_pageNotice ? m_pageNotice() : std::string())
                   : m_pages->builtJson() != nullptr) &&
        m_pages->isCurrent(m_parts.phonebook.revision())) {
        // Built and unchanged: served from here without reading a file.
        Built built;
        if (wantsPage) {
            built.page = m_pages->builtPage();
        } else {
            built.json = m_pages->builtJson();
        }
        answerFrom(waiting, built);
        return;
    }
    m_waiting.append(waiting);
    scheduleBuild();
}

bool JournalWebServer::answerFrom(const Waiting& waiting, const Built& built) {
    WebClientConnection* client = waiting.client.data();
    if (client == nullptr) {
        return true;
    }
    if (waiting.resource == WebRequest::Resource::Page) {
        if (!built.page) {
            return false;
        }
        const std::shared_ptr<const std::string>& page = built.page->page;
        client->reply(bytes(webReplyHead(200, page->size(), kHtmlContentType, waiting.keepAlive)),
                      {page, {*page}}, waiting.keepAlive);
        return true;
    }
    if (!built.json) {
        return false;
    }
    const std::string_view array = built.json->openArray(waiting.limit);
    client->reply(bytes(webReplyHead(200, array.size() + 1, kJsonContentType, waiting.keepAlive)),
                  {built.json, {array, kClosingBracket}}, waiting.keepAlive);
    return true;
}

void JournalWebServer::scheduleBuild() {
    if (m_building || m_buildTimer.isActive() || m_waiting.isEmpty()) {
        return;
    }
    // While the journal changes with every call, each build would leave another whole page
    // with the clients still reading the last ones: one build per interval bounds both.
    const qint64 wait =
        m_sinceBuild.isValid() ? m_limits.buildInterval.count() - m_sinceBuild.elapsed() : 0;
    if (wait > 0) {
        m_buildTimer.start(static_cast<int>(wait));
    } else {
        startBuild();
    }
}

void JournalWebServer::startBuild() {
    bool wantsPage = false;
    bool wantsJson = false;
    for (const Waiting& waiting : std::as_const(m_waiting)) {
        (waiting.resource == WebRequest::Resource::Page ? wantsPage : wantsJson) = true;
    }
    // The worker reads its own copies of the lists: the program may change them meanwhile.
    auto phonebook = std::make_shared<const Phonebook>(m_parts.phonebook);
    auto contacts = std::make_shared<const ContactIndex>(m_parts.contacts);
    const std::string missedReason = m_parts.language.text(endReasonTextId(kReasonNormalClearing));
    const std::string notice = m_pageNotice ? m_pageNotice() : std::string();
    m_building = true;
    m_builder.start([this, pages = m_pages, phonebook, contacts, wantsPage, wantsJson, missedReason,
                     notice]() {
        lowerCurrentThreadPriority();
        // Callers come again and again: each display is looked up once per build.
        std::unordered_map<std::string, std::string> names;
        const NameLookup nameOf = [&phonebook, &contacts, &names](const std::string& display) {
            auto known = names.find(display);
            if (known == names.end()) {
                known = names.emplace(display, callerNameOf(*phonebook, *contacts, display)).first;
            }
            return known->second;
        };
        Built built;
        if (wantsPage) {
            built.page = pages->journalPage(nameOf, phonebook->revision(), notice);
        }
        if (wantsJson) {
            built.json = pages->callsJson(nameOf, phonebook->revision(), missedReason);
        }
        QMetaObject::invokeMethod(
            this, [this, built]() { onBuilt(built); }, Qt::QueuedConnection);
    });
}

void JournalWebServer::onBuilt(const Built& built) {
    m_building = false;
    if (built.page && !built.page->journalError.empty()) {
        m_parts.log.write("ERROR: WebExport-calls.txt not found (" + built.page->journalError +
                          ")");
    }
    QList<Waiting> unanswered;
    for (const Waiting& waiting : std::exchange(m_waiting, {})) {
        if (!answerFrom(waiting, built)) {
            unanswered.append(waiting);
        }
    }
    m_waiting = unanswered;
    m_sinceBuild.start();
    scheduleBuild();
}

QByteArray JournalWebServer::healthReply(bool keepAlive) const {
    LineHealth health;
    if (m_lineHealth) {
        health = m_lineHealth();
    } else {
        health.since = m_startedAt;
    }
    health.calls = m_calls;
    const std::string body = lineHealthJson(health);
    return bytes(webReplyHead(health.up ? 200 : 503, body.size(), kJsonContentType, keepAlive) +
                 body);
}

void JournalWebServer::onCallEvent(const CallEvent& event) {
    if (event.kind == CallEvent::Kind::Ring) {
        ++m_calls;
    }
    QByteArray message;
    for (WebClientConnection* client : QList<WebClientConnection*>(m_clients)) {
        if (client->isListening()) {
            if (message.isEmpty()) {
                message = bytes(callEventMessage(event));
            }
            client->sendEvent(message); // may drop a listener that has fallen behind
        }
    }
}

void JournalWebServer::pingListeners() {
    for (WebClientConnection* client : QList<WebClientConnection*>(m_clients)) {
        if (client->isListening()) {
            client->sendEvent(": ping\n\n");
        }
    }
}
