#include "contacts/AddressBookSource.h"

void AddressBookSource::deliver(const ContactsRead& read) {
    m_contactCount = static_cast<int>(read.contacts.size());
    m_lastError.clear();
    emit contactsRead(read.contacts, read.problems);
    emit statusChanged();
    emit readingEnded();
}

void AddressBookSource::fail(const QString& error) {
    if (error != m_lastError) {
        m_lastError = error;
        emit failed(error);
        emit statusChanged();
    }
    emit readingEnded();
}
