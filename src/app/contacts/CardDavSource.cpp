#include "contacts/CardDavSource.h"

#include "contacts/CardDavAnswer.h"
#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "support/QtText.h"
#include "support/SafeSave.h"
#include "support/TextFile.h"

#include <QNetworkReply>
#include <QNetworkRequest>

#include <chrono>

CardDavSource::CardDavSource(Account account, QString cachePath, const LanguageTable& language,
                             QObject* parent)
    : AddressBookSource(parent), m_account(std::move(account)), m_cachePath(std::move(cachePath)),
      m_language(language) {
    m_timer.setInterval(std::chrono::minutes(15));
    connect(&m_timer, &QTimer::timeout, this, &CardDavSource::refresh);
    m_timer.start();
}

CardDavSource::~CardDavSource() {
    if (m_reply) {
        // An answer cut off now concerns nobody any more: no error, no signals.
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

QString CardDavSource::text(int number) const {
    return qs(m_language.text(number));
}

void CardDavSource::loadKeptCopy() {
    const auto bytes = readFileBytes(ss(m_cachePath));
    if (!bytes) {
        return;
    }
    CardDavAnswer answer = readCardDavAnswer(*bytes);
    if (answer.ok) {
        deliver(answer.read);
    }
}

void CardDavSource::refresh() {
    if (m_reply) {
        return; // one question at a time
    }
    QNetworkRequest request{QUrl(m_account.url)};
    request.setRawHeader("Depth", "1");
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/xml; charset=utf-8");
    if (!m_account.user.isEmpty()) {
        request.setRawHeader("Authorization",
                             "Basic " +
                                 (m_account.user + ":" + m_account.password).toUtf8().toBase64());
    }
    request.setTransferTimeout(60000);
    m_tooLarge = false;
    m_reply = m_network.sendCustomRequest(request, "REPORT",
                                          QByteArray::fromStdString(cardDavQueryBody()));
    QNetworkReply* reply = m_reply;
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply]() {
        if (reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > kMaxAnswerBytes) {
            m_tooLarge = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::downloadProgress, this, [this, reply](qint64 received, qint64) {
        if (received > kMaxAnswerBytes) {
            m_tooLarge = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply]() { onFinished(reply); });
}

void CardDavSource::onFinished(QNetworkReply* reply) {
    reply->deleteLater();
    m_reply.clear();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_tooLarge) {
        fail(text(lang_id::kAddressBookTooLarge));
        return;
    }
    if (status == 401 || reply->error() == QNetworkReply::AuthenticationRequiredError) {
        fail(text(lang_id::kAddressBookWrongPassword));
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        fail(text(lang_id::kAddressBookNoAnswer) + " " + reply->errorString());
        return;
    }
    const QByteArray bytes = reply->readAll();
    CardDavAnswer answer = readCardDavAnswer(std::string_view(bytes.constData(), bytes.size()));
    if (!answer.ok) {
        fail(text(lang_id::kAddressBookNotReadable) + " " + qs(answer.error));
        return;
    }
    // Only a good answer replaces the copy kept for starts without network.
    const SaveResult saved =
        safeSave(ss(m_cachePath), std::string_view(bytes.constData(), bytes.size()));
    deliver(answer.read);
    if (!saved.ok()) {
        fail(text(lang_id::kAddressBookCacheNotSaved) + " " + m_cachePath + ": " + qs(saved.error));
    }
}
