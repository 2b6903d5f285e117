#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

/// Debian's radicale on a free loopback port, with a throwaway storage folder and one user
/// ("anna", password "geheim"), for the CardDAV tests. Contacts go in over HTTP.
class RadicaleServer {
public:
    static constexpr const char* kUser = "anna";
    static constexpr const char* kPassword = "geheim";

    RadicaleServer() = default;
    ~RadicaleServer();

    static bool isInstalled();
    /// Starts the server and waits until it answers; false when it does not within 15 s.
    bool start();
    void stop();
    /// Creates the address book collection.
    bool createAddressBook();
    /// Puts one card (vCard text) into the address book.
    bool putCard(const QString& name, const QByteArray& vcard);
    /// The address book's address.
    QString addressBookUrl() const;
    QString log() const;

private:
    int request(const QByteArray& verb, const QString& path, const QByteArray& body,
                const QByteArray& contentType) const;

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
};
