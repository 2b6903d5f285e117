#include "stores/Phonebook.h"

struct PhonebookLineFormat {
    static constexpr std::size_t kFields = 5;
    static constexpr bool kWildcards = true;
    static const std::string& key(const PhonebookEntry& e) { return e.number; }
    static std::array<std::string_view, kFields> fields(const PhonebookEntry& e) {
        return {e.number, e.name, storedBool(e.reject), e.sound, e.picture};
    }
    static PhonebookEntry fromFields(const std::vector<std::string>& f) {
        return {fieldAt(f, 0), fieldAt(f, 1), readStoredBool(fieldAt(f, 2)), fieldAt(f, 3),
                fieldAt(f, 4)};
    }
    static bool readsBack(const std::vector<std::string>& f) { return isStoredBool(fieldAt(f, 2)); }
};

bool Phonebook::load(const std::string& path) {
    m_list.setPath(path);
    return m_list.load();
}

const PhonebookEntry* Phonebook::firstMatch(const std::string& number) const {
    return m_list.atPosition(m_list.index().firstMatch(number));
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
    const auto* entry = m_list.atPosition(m_list.index().lastOf(number));
    return entry ? entry->sound : std::string();
}

std::string Phonebook::pictureOf(const std::string& number) const {
    const auto* entry = m_list.atPosition(m_list.index().firstOf(number));
    return entry ? entry->picture : std::string();
}

void Phonebook::remove(const std::string& number) {
    m_list.removeAt(m_list.index().firstOf(number));
}

void Phonebook::add(const std::string& number, const std::string& name, bool reject,
                    const std::string& sound, const std::string& picture) {
    m_list.add({number, name, reject, sound, picture, {}});
}

void Phonebook::sortByNameDescending() {
    m_list.sortByNameDescending();
}

void Phonebook::replaceAt(int index, const std::string& number, const std::string& name,
                          bool reject, const std::string& sound, const std::string& picture) {
    m_list.replace(index, {number, name, reject, sound, picture, {}});
}
