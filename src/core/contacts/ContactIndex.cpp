#include "contacts/ContactIndex.h"

#include "contacts/NumberForm.h"

ContactIndex::ContactIndex(std::string ownCountryPrefix)
    : m_ownCountryPrefix(std::move(ownCountryPrefix)) {}

void ContactIndex::setOwnCountryPrefix(std::string prefix) {
    if (prefix != m_ownCountryPrefix) {
        m_ownCountryPrefix = std::move(prefix);
        rebuild();
    }
}

void ContactIndex::setSource(std::size_t index, std::string label, std::vector<Contact> contacts) {
    if (m_sources.size() <= index) {
        m_sources.resize(index + 1);
    }
    m_sources[index] = Source{std::move(label), std::move(contacts)};
    rebuild();
}

void ContactIndex::keepSources(std::size_t count) {
    if (m_sources.size() > count) {
        m_sources.resize(count);
        rebuild();
    }
}

std::optional<ContactMatch> ContactIndex::find(const std::string& number) const {
    const std::string key = canonicalNumber(number, m_ownCountryPrefix);
    if (key.empty()) {
        return std::nullopt;
    }
    const auto found = m_byNumber.find(key);
    if (found == m_byNumber.end()) {
        return std::nullopt;
    }
    const Source& source = m_sources[found->second.source];
    const Contact& contact = source.contacts[found->second.contact];
    return ContactMatch{contact.name, source.label, contact.picturePath};
}

void ContactIndex::rebuild() {
    m_byNumber.clear();
    for (std::size_t s = 0; s < m_sources.size(); ++s) {
        const auto& contacts = m_sources[s].contacts;
        for (std::size_t c = 0; c < contacts.size(); ++c) {
            for (const std::string& number : contacts[c].numbers) {
                std::string key = canonicalNumber(number, m_ownCountryPrefix);
                if (!key.empty()) {
                    m_byNumber.try_emplace(std::move(key), Entry{s, c});
                }
            }
        }
    }
}
