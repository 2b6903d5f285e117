#include "outputs/AddressAllowList.h"

#include <QRegularExpression>

#include <algorithm>

AddressAllowList::AddressAllowList(const QString& text, QStringList* bad) {
    static const QRegularExpression kSeparators("[\\s,;]+");
    for (const QString& entry : text.split(kSeparators, Qt::SkipEmptyParts)) {
        // A bare address is a network of one.
        QPair<QHostAddress, int> network = QHostAddress::parseSubnet(entry);
        if (!entry.contains('/')) {
            const QHostAddress address(entry);
            network = {address, address.protocol() == QAbstractSocket::IPv4Protocol ? 32 : 128};
        }
        if (network.first.isNull() || network.second < 0) {
            if (bad != nullptr) {
                bad->append(entry);
            }
            continue;
        }
        m_networks.append(network);
    }
}

bool AddressAllowList::allows(const QHostAddress& address) const {
    QHostAddress plain = address;
    bool mapped = false;
    const quint32 ipv4 = address.toIPv4Address(&mapped);
    if (mapped) {
        plain = QHostAddress(ipv4);
    }
    return std::ranges::any_of(m_networks,
                               [&plain](const auto& network) { return plain.isInSubnet(network); });
}
