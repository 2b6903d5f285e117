#include "stores/Phonebook.h"

struct PhonebookLineFormat {
    static constexpr std::size_t kFields = 5;
    static const std::string& key(const PhonebookEntry& e) { return e.number; }
    static std::string toLine(const PhonebookEntry& e) {
        return joinFields({e.number, e.name, storedBool(e.reject), e.sound, e.picture});
    }
    static PhonebookEntry fromFields(const std::vector<std::string>& f) {
        return {fieldAt(f, 0), fieldAt(f, 1), readStoredBool(fieldAt(f, 2)), fieldAt(f, 3),
                fieldAt(f, 4)};
    }
    static bool readsBack(const std::vector<std::string>& f) { return isStoredBool(fieldAt(f, 2)); }
};

namespace {

// An entry ending in "*" matches every number that begins with the rest of it.
bool matches(const std::string& entryNumber, const std::string& number) {
    if (!entryNumber.empty() && entryNumber.back() == '*') {
        return std::string_view(number).starts_with(
            std::string_view(entryNumber).substr(0, entryNumber.size() - 1));
    }
    return entryNumber == number;
}

} // namespace

bool Phonebook::load(const std::string& path) {
    m_list.setPath(path);
    return m_list.load();
}

const PhonebookEntry* Phonebook::firstMatch(const std::string& number) const {
    return m_list.firstWhere([&](const PhonebookEntry& e) { return matches(e.number, number); });
}

std::string Phonebook::nameOf(const std::string& number) const {
    const auto* entry = firstMatch(number);
    return entry ? entry->name : number;
}

bool Phonebook::rejects(const std::string& number) const {
    const auto* entry = firstMatch(number);
    return entry && entry->reject;
}

std::string Phonebook::soundOf(const std::string& number) const {
    if (const auto* entry =
            m_list.lastWhere([&](const PhonebookEntry& e) { return e.number == number; })) {
        return entry->sound;
    }
    return {};
}

std::string Phonebook::pictureOf(const std::string& number) const {
    const auto* entry =
        m_list.firstWhere([&](const PhonebookEntry& e) { return e.number == number; });
    return entry ? entry->picture : std::string();
}

void Phonebook::remove(const std::string& number) {
    for (auto& entry : m_list.entries()) {
        if (entry.number == number) {
            entry = PhonebookEntry{};
            break;
        }
    }
    m_list.saveAndReload();
}

void Phonebook::add(const std::string& number, const std::string& name, bool reject,
                    const std::string& sound, const std::string& picture) {
    m_list.entries().push_back({number, name, reject, sound, picture, {}});
    m_list.saveAndReload();
}

void Phonebook::sortByNameDescending() {
    m_list.sortByNameDescending();
}

void Phonebook::replaceAt(int index, const std::string& number, const std::string& name,
                          bool reject, const std::string& sound, const std::string& picture) {
    auto* entry = m_list.at(index);
    if (!entry) {
        return;
    }
    *entry = {number, name, reject, sound, picture, entry->extra};
    m_list.saveAndReload();
}
