#pragma once

#include "calls/ContactLookup.h"
#include "contacts/AddressBookSource.h"
#include "contacts/ContactIndex.h"
#include "stores/Settings.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class LanguageTable;
class Log;

/// The address books of the settings (addressbook1, addressbook2, …) and the index of their
/// numbers, which the call handler asks for callers the phonebook does not name. Each source
/// is read on its own; what it read stays until it reads something better. Nothing here ever
/// writes to the phonebook.
class AddressBooks : public QObject, public ContactLookup {
    Q_OBJECT
public:
    struct Places {
        /// The settings folder: the CardDAV copies and the contacts' pictures go there.
        QString configDir;
        const LanguageTable& language;
        Log& log;
        /// Where the numbers go; the program's context holds it.
        ContactIndex& index;
    };

    explicit AddressBooks(Places places, QObject* parent = nullptr);
    ~AddressBooks() override;

    /// Takes the sources and the own country prefix of the settings; sources that did not
    /// change keep what they read. A new source is read at once.
    void configure(const std::vector<AddressBookSetting>& books,
                   const std::string& ownCountryPrefix);
    void refreshAll();

    std::size_t sourceCount() const { return m_sources.size(); }
    const AddressBookSource& source(std::size_t index) const { return *m_sources[index].source; }
    /// What the user knows a source by: "address book 1 (contacts.vcf)".
    QString label(std::size_t index) const;
    /// The contacts source index read last.
    const std::vector<Contact>& contactsOf(std::size_t index) const {
        return m_sources[index].contacts;
    }

    std::optional<ContactMatch> find(const std::string& number) const override;
    /// Where the name journaled for a number came from; empty when not from an address book.
    QString sourceOfName(const std::string& number, const std::string& name) const;

    /// A line for the debug trace.
    std::function<void(const QString&)> trace;

signals:
    /// A source's contact count or error has changed.
    void sourcesChanged();

private:
    struct Entry {
        AddressBookSetting setting;
        std::unique_ptr<AddressBookSource> source;
        std::vector<Contact> contacts;
    };

    std::unique_ptr<AddressBookSource> createSource(const AddressBookSetting& setting);
    void onContactsRead(std::size_t index, std::vector<Contact> contacts,
                        const std::vector<std::string>& problems);
    void savePictures(std::vector<Contact>& contacts) const;
    void say(const QString& line) const;

    Places m_places;
    ContactIndex& m_index;
    std::vector<Entry> m_sources;
};
