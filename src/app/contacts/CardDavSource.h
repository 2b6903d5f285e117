#pragma once

#include "contacts/AddressBookSource.h"

#include <QNetworkAccessManager>
#include <QPointer>
#include <QTimer>

class LanguageTable;
class QNetworkReply;

/// A CardDAV address book: every card with one REPORT, with basic authentication, every 15
/// minutes and on demand. The last good answer is kept in a file, so that a start without
/// network still has the names.
class CardDavSource : public AddressBookSource {
    Q_OBJECT
public:
    struct Account {
        QString url;
        QString user;
        QString password;
    };
    /// An answer larger than this is refused.
    static constexpr qint64 kMaxAnswerBytes = 50LL * 1024 * 1024;

    CardDavSource(Account account, QString cachePath, const LanguageTable& language,
                  QObject* parent = nullptr);
    ~CardDavSource() override;

    void refresh() override;
    void loadKeptCopy() override;

private:
    void onFinished(QNetworkReply* reply);
    QString text(int number) const;

    Account m_account;
    QString m_cachePath;
    const LanguageTable& m_language;
    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
    bool m_tooLarge = false;
    QTimer m_timer;
};
