#pragma once

#include "calls/ContactLookup.h"
#include "contacts/Contact.h"

#include <string>
#include <unordered_map>
#include <vector>

/// The numbers of all address books in their canonical form, for the call handler. The
/// sources are asked in their order: of two sources that know a number, the one with the
/// smaller index names it; within one source the first contact does.
class ContactIndex : public ContactLookup {
public:
    explicit ContactIndex(std::string ownCountryPrefix = "0049");

    void setOwnCountryPrefix(std::string prefix);
    /// Replaces what source number `index` (counted from 0) contributes.
    void setSource(std::size_t index, std::string label, std::vector<Contact> contacts);
    /// Forgets the sources from `count` on.
    void keepSources(std::size_t count);

    std::optional<ContactMatch> find(const std::string& number) const override;
    /// How many numbers the index knows.
    std::size_t numberCount() const { return m_byNumber.size(); }

private:
    struct Source {
        std::string label;
        std::vector<Contact> contacts;
    };
    struct Entry {
        std::size_t source;
        std::size_t contact;
    };

    void rebuild();

    std::string m_ownCountryPrefix;
    std::vector<Source> m_sources;
    std::unordered_map<std::string, Entry> m_byNumber;
};
