#pragma once

#include "contacts/Contact.h"

#include <QObject>
#include <QString>

#include <vector>

/// One address book the program reads names from. It never writes to it. Subclasses read a
/// file or ask a server; either way they hand over the contacts they read, or say what went
/// wrong and keep the contacts they had.
class AddressBookSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    /// Reads the address book again now.
    virtual void refresh() = 0;
    /// Reads what a former run kept of the address book, if it keeps anything.
    virtual void loadKeptCopy() {}

    /// How many contacts the last good reading gave; -1 before the first one.
    int contactCount() const { return m_contactCount; }
    /// What went wrong at the last reading; empty when it went well.
    const QString& lastError() const { return m_lastError; }

signals:
    /// A reading gave these contacts; the problems name the cards that were skipped.
    void contactsRead(const std::vector<Contact>& contacts,
                      const std::vector<std::string>& problems);
    /// The contact count or the last error has changed.
    void statusChanged();
    /// A reading failed; said once for each new error, not at every retry.
    void failed(const QString& error);
    /// A reading has ended, well or not.
    void readingEnded();

protected:
    void deliver(const ContactsRead& read);
    void fail(const QString& error);

private:
    int m_contactCount = -1;
    QString m_lastError;
};
