#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <memory>

class QSaveFile;
class UserPrompt;

/// Fetches one address (http or https, redirects followed) into a local file (the design's
/// `cDownload`: DoDownload, AbortDownload and the events Start, Progress, Finished). The
/// file is written under a temporary name and takes its own name only when the whole body
/// has arrived with a success status (and the expected digest, when one is given). A download
/// ends with an error at the first failed write, when the body grows past its announced length
/// or the size limit, and when it has not finished by its deadline.
class Downloader : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Completed, Failed, DigestMismatch };
    Q_ENUM(Outcome)

    explicit Downloader(UserPrompt& prompt, QObject* parent = nullptr);
    ~Downloader() override;

    /// Starts fetching and returns at once; an earlier download of this object is dropped and
    /// an existing local file deleted. False, after a message box, when the address cannot be
    /// used or the file cannot be prepared. expectedSha256 (hex) asks for that digest.
    bool start(const QString& address, const QString& localFile,
               const QByteArray& expectedSha256 = {});
    /// Stops the download and discards what has arrived; no signal follows.
    void abort();
    /// The most body bytes taken whatever the server announces, and the time a whole download
    /// may take; for the downloads started from now on.
    void setLimits(qint64 maxBytes, int deadlineMs);
    bool isRunning() const { return m_reply != nullptr; }

    /// An address as the downloader takes it: "http://" is assumed when no scheme is given
    /// and an empty path is "/"; invalid for anything but http and https.
    static QUrl addressFrom(const QString& text);

signals:
    /// The request has been sent.
    void started();
    /// Body bytes written so far and the announced length (0 when unknown).
    void progress(qint64 bytesLoaded, qint64 fileSize);
    /// The download has ended; errorText tells why when it did not complete.
    void finished(Downloader::Outcome outcome, const QString& errorText);

private:
    void onReadyRead();
    void onFinished();
    void end(Outcome outcome, const QString& errorText);
    /// The most body bytes this reply may bring.
    qint64 bodyLimit() const;
    void refuse(int number, const QString& description);
    int statusCode() const;

    UserPrompt& m_prompt;
    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
    std::unique_ptr<QSaveFile> m_file;
    QCryptographicHash m_digest{QCryptographicHash::Sha256};
    QByteArray m_expectedSha256;
    QTimer m_deadline;
    qint64 m_maxBytes;
    int m_deadlineMs;
    qint64 m_bytesLoaded = 0;
    bool m_started = false;
};
