#include "contacts/AddressBooks.h"

#include "contacts/CardDavSource.h"
#include "contacts/ContactFileSource.h"
#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "support/Log.h"
#include "support/QtText.h"
#include "support/SafeSave.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace {

bool isAddress(const std::string& location) {
    return location.rfind("http://", 0) == 0 || location.rfind("https://", 0) == 0;
}

QString hashOf(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(16);
}

// At most this many skipped cards are named in the trace per reading.
constexpr std::size_t kProblemsTraced = 20;

} // namespace

AddressBooks::AddressBooks(Places places, QObject* parent)
    : QObject(parent), m_places(std::move(places)), m_index(m_places.index) {}

AddressBooks::~AddressBooks() = default;

void AddressBooks::say(const QString& line) const {
    if (trace) {
        trace("\r\n" + line);
    }
}

QString AddressBooks::label(std::size_t index) const {
    const std::string& location = m_sources[index].setting.location;
    const QString where = isAddress(location) ? qs(location) : QFileInfo(qs(location)).fileName();
    return qs(m_places.language.text(lang_id::kAddressBookLabel)) + " " +
           QString::number(index + 1) + " (" + where + ")";
}

std::unique_ptr<AddressBookSource> AddressBooks::createSource(const AddressBookSetting& setting) {
    if (isAddress(setting.location)) {
        const QString cache = m_places.configDir + "/addressbook-" +
                              hashOf(QByteArray::fromStdString(setting.location)) + ".xml";
        return std::make_unique<CardDavSource>(
            CardDavSource::Account{qs(setting.location), qs(setting.user), qs(setting.password)},
            cache, m_places.language);
    }
    return std::make_unique<ContactFileSource>(qs(setting.location), m_places.language);
}

void AddressBooks::configure(const std::vector<AddressBookSetting>& books,
                             const std::string& ownCountryPrefix) {
    m_index.setOwnCountryPrefix(ownCountryPrefix);
    std::vector<std::size_t> fresh;
    for (std::size_t i = 0; i < books.size(); ++i) {
        if (i < m_sources.size() && m_sources[i].setting == books[i]) {
            continue;
        }
        if (i >= m_sources.size()) {
            m_sources.emplace_back();
        }
        Entry& entry = m_sources[i];
        entry.setting = books[i];
        entry.contacts.clear();
        m_index.setSource(i, {}, {});
        entry.source = createSource(books[i]);
        AddressBookSource* source = entry.source.get();
        connect(source, &AddressBookSource::contactsRead, this,
                [this, source](const std::vector<Contact>& contacts,
                               const std::vector<std::string>& problems) {
                    for (std::size_t k = 0; k < m_sources.size(); ++k) {
                        if (m_sources[k].source.get() == source) {
                            onContactsRead(k, contacts, problems);
                        }
                    }
                });
        connect(source, &AddressBookSource::failed, this, [this, source](const QString& error) {
            for (std::size_t k = 0; k < m_sources.size(); ++k) {
                if (m_sources[k].source.get() == source) {
                    const QString line = label(k) + ": " + error;
                    m_places.log.write("ERROR: " + ss(line));
                    say(line);
                }
            }
        });
        connect(source, &AddressBookSource::statusChanged, this, &AddressBooks::sourcesChanged);
        fresh.push_back(i);
        source->loadKeptCopy();
    }
    if (m_sources.size() > books.size()) {
        m_sources.resize(books.size());
        m_index.keepSources(books.size());
    }
    for (const std::size_t i : fresh) {
        m_sources[i].source->refresh();
    }
    emit sourcesChanged();
}

void AddressBooks::refreshAll() {
    for (Entry& entry : m_sources) {
        entry.source->refresh();
    }
}

void AddressBooks::onContactsRead(std::size_t index, std::vector<Contact> contacts,
                                  const std::vector<std::string>& problems) {
    savePictures(contacts);
    Entry& entry = m_sources[index];
    entry.contacts = contacts;
    m_index.setSource(index, ss(label(index)), std::move(contacts));
    say(label(index) + ": " + QString::number(entry.contacts.size()) + " " +
        qs(m_places.language.text(lang_id::kAddressBookContacts)));
    for (std::size_t i = 0; i < problems.size() && i < kProblemsTraced; ++i) {
        say(label(index) + ": " + qs(problems[i]));
    }
}

void AddressBooks::savePictures(std::vector<Contact>& contacts) const {
    const QString folder = m_places.configDir + "/addressbook-pictures";
    for (Contact& contact : contacts) {
        if (contact.photoData.empty()) {
            continue;
        }
        const QByteArray bytes = QByteArray::fromStdString(contact.photoData);
        const QString type = qs(contact.photoType).toLower();
        const QString path = folder + "/" + hashOf(bytes) + "." + (type.isEmpty() ? "jpeg" : type);
        if (!QFileInfo::exists(path)) {
            QDir().mkpath(folder);
            if (!safeSave(ss(path), contact.photoData).ok()) {
                continue;
            }
        }
        contact.picturePath = ss(path);
        contact.photoData.clear(); // the index keeps the path, not the bytes
    }
}

std::optional<ContactMatch> AddressBooks::find(const std::string& number) const {
    auto match = m_index.find(number);
    if (match) {
        say(qs(number) + ": " + qs(match->name) + " (" + qs(match->source) + ")");
    }
    return match;
}

QString AddressBooks::sourceOfName(const std::string& number, const std::string& name) const {
    const auto match = m_index.find(number);
    return match && match->name == name ? qs(match->source) : QString();
}
