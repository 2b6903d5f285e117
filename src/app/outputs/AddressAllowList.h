#pragma once

#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

/// The addresses and networks that may connect to a server: entries such as "192.168.0.0/16",
/// "fd00::/8" or "127.0.0.1", separated by blanks or commas. An IPv4 client that reaches an
/// IPv6 socket (::ffff:a.b.c.d) is matched as the IPv4 address it is.
class AddressAllowList {
public:
    AddressAllowList() = default;
    /// The entries of the text; those that are no address or network go to bad (when given).
    explicit AddressAllowList(const QString& text, QStringList* bad = nullptr);

    bool allows(const QHostAddress& address) const;
    bool isEmpty() const { return m_networks.isEmpty(); }

private:
    QList<QPair<QHostAddress, int>> m_networks;
};
