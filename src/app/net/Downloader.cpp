#include "net/Downloader.h"

#include "net/ProductInfo.h"
#include "support/QtText.h"
#include "support/UserPrompt.h"
#include "support/Version.h"

#include <QFile>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>

#include <algorithm>

namespace {

// A server that sends nothing for this long ends the download with an error.
constexpr int kTransferTimeoutMs = 30000;
// No setup file comes near this; a server sending more is sending something else.
constexpr qint64 kMaxDownloadBytes = 200LL * 1000 * 1000;
// Even a slow line brings a setup file within this time.
constexpr int kDownloadDeadlineMs = 15 * 60 * 1000;

QString userAgent() {
    return QStringLiteral("Rufwacht/%1.%2.%3 (%4)")
        .arg(kAppVersionMajor)
        .arg(kAppVersionMinor)
        .arg(kAppVersionPatch)
        .arg(QString::fromLatin1(kProductWebAddress));
}

} // namespace

Downloader::Downloader(UserPrompt& prompt, QObject* parent)
    : QObject(parent), m_prompt(prompt), m_maxBytes(kMaxDownloadBytes),
      m_deadlineMs(kDownloadDeadlineMs) {
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this]() {
        end(Outcome::Failed,
            QStringLiteral("The download did not finish within %1 s").arg(m_deadlineMs / 1000.0));
    });
}

void Downloader::setLimits(qint64 maxBytes, int deadlineMs) {
    m_maxBytes = maxBytes;
    m_deadlineMs = deadlineMs;
}

Downloader::~Downloader() {
    abort();
}

QUrl Downloader::addressFrom(const QString& text) {
    QString address = text.trimmed();
    if (!address.contains(QLatin1String("://"))) {
        address.prepend(QLatin1String("http://"));
    }
    QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        return {};
    }
    if (url.path().isEmpty()) {
        url.setPath(QStringLiteral("/"));
    }
    return url;
}

void Downloader::refuse(int number, const QString& description) {
    m_prompt.message("Fehler!\r\nError: " + std::to_string(number) + "\r\n" + ss(description), "",
                     PromptIcon::Critical);
}

bool Downloader::start(const QString& address, const QString& localFile,
                       const QByteArray& expectedSha256) {
    abort();
    const QUrl url = addressFrom(address);
    if (!url.isValid()) {
        refuse(QNetworkReply::ProtocolUnknownError, "The address cannot be used: " + address);
        return false;
    }
    QFile old(localFile);
    if (old.exists() && !old.remove()) {
        refuse(old.error(), old.errorString());
        return false;
    }
    m_file = std::make_unique<QSaveFile>(localFile);
    // Unbuffered, so that a full disk fails the write that meets it.
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        refuse(m_file->error(), m_file->errorString());
        m_file.reset();
        return false;
    }
    m_expectedSha256 = expectedSha256.toLower();
    m_digest.reset();
    m_bytesLoaded = 0;
    m_started = false;

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    request.setRawHeader("Accept", "*/*");
    // The body as it is, so that its length can be held against Content-Length.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(kTransferTimeoutMs);
    m_reply = m_network.get(request);
    connect(m_reply, &QNetworkReply::requestSent, this, [this]() {
        if (!m_started) {
            m_started = true;
            emit started();
        }
    });
    connect(m_reply, &QNetworkReply::readyRead, this, &Downloader::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &Downloader::onFinished);
    m_deadline.start(m_deadlineMs);
    return true;
}

void Downloader::abort() {
    m_deadline.stop();
    if (m_reply) {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    if (m_file) {
        m_file->cancelWriting();
        m_file.reset();
    }
}

int Downloader::statusCode() const {
    return m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

qint64 Downloader::bodyLimit() const {
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    return length.isValid() ? std::min(length.toLongLong(), m_maxBytes) : m_maxBytes;
}

void Downloader::onReadyRead() {
    const QByteArray data = m_reply->readAll();
    const int status = statusCode();
    if (data.isEmpty() || status < 200 || status > 299) {
        return; // an error page is not the file
    }
    if (m_bytesLoaded + data.size() > bodyLimit()) {
        end(Outcome::Failed, QStringLiteral("The server sent more than %1 bytes").arg(bodyLimit()));
        return;
    }
    if (m_file->write(data) != data.size()) {
        end(Outcome::Failed, m_file->errorString());
        return;
    }
    m_digest.addData(data);
    m_bytesLoaded += data.size();
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    emit progress(m_bytesLoaded, length.isValid() ? length.toLongLong() : 0);
}

void Downloader::onFinished() {
    onReadyRead();
    if (!m_reply) {
        return; // the last bytes ended it
    }
    const int status = statusCode();
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (status > 0 && (status < 200 || status > 299)) {
        const QString reason =
            m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        end(Outcome::Failed, QStringLiteral("HTTP %1 %2").arg(status).arg(reason).trimmed());
    } else if (m_reply->error() != QNetworkReply::NoError) {
        end(Outcome::Failed, m_reply->errorString());
    } else if (length.isValid() && m_bytesLoaded < length.toLongLong()) {
        end(Outcome::Failed, QStringLiteral("The connection ended after %1 of %2 bytes")
                                 .arg(m_bytesLoaded)
                                 .arg(length.toLongLong()));
    } else if (!m_expectedSha256.isEmpty() && m_digest.result().toHex() != m_expectedSha256) {
        end(Outcome::DigestMismatch, QStringLiteral("The file's SHA-256 digest differs"));
    } else if (!m_file->commit()) {
        end(Outcome::Failed, m_file->errorString());
    } else {
        m_file.reset();
        end(Outcome::Completed, {});
    }
}

void Downloader::end(Outcome outcome, const QString& errorText) {
    abort();
    emit finished(outcome, errorText);
}
