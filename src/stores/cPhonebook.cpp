#include "stores/cPhonebook.h"

#include "support/AppPaths.h"

struct PhonebookLineFormat {
    static const std::string& key(const PhonebookEntry& e) { return e.number; }
    static std::string toLine(const PhonebookEntry& e) {
        return joinFields({e.number, e.name, storedBool(e.reject), e.sound, e.picture});
    }
    static PhonebookEntry fromFields(const std::vector<std::string>& f) {
        return {fieldAt(f, 0), fieldAt(f, 1), readStoredBool(fieldAt(f, 2)), fieldAt(f, 3),
                fieldAt(f, 4)};
    }
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

bool cPhonebook::Init() {
    return Init(ConfigDir + "nn.dat");
}

bool cPhonebook::Init(const std::string& path) {
    m_list.setPath(path);
    return m_list.load();
}

const PhonebookEntry* cPhonebook::firstMatch(const std::string& sNumber) const {
    for (const auto& entry : m_list.entries()) {
        if (matches(entry.number, sNumber)) {
            return &entry;
        }
    }
    return nullptr;
}

std::string cPhonebook::getName(const std::string& sNumber) const {
    const auto* entry = firstMatch(sNumber);
    return entry ? entry->name : sNumber;
}

bool cPhonebook::getReject(const std::string& sNumber) const {
    const auto* entry = firstMatch(sNumber);
    return entry && entry->reject;
}

std::string cPhonebook::getSound(const std::string& sNumber) const {
    const auto& entries = m_list.entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->number == sNumber) {
            return it->sound;
        }
    }
    return {};
}

std::string cPhonebook::getPicture(const std::string& sNumber) const {
    for (const auto& entry : m_list.entries()) {
        if (entry.number == sNumber) {
            return entry.picture;
        }
    }
    return {};
}

int cPhonebook::getSize() const {
    return static_cast<int>(m_list.entries().size());
}

std::string cPhonebook::getNameIndex(int iIndex) const {
    const auto* entry = m_list.at(iIndex);
    return entry ? entry->name : std::string();
}

std::string cPhonebook::getNumberIndex(int iIndex) const {
    const auto* entry = m_list.at(iIndex);
    return entry ? entry->number : std::string();
}

bool cPhonebook::getRejectIndex(int iIndex) const {
    const auto* entry = m_list.at(iIndex);
    return entry && entry->reject;
}

std::string cPhonebook::getSoundIndex(int iIndex) const {
    const auto* entry = m_list.at(iIndex);
    return entry ? entry->sound : std::string();
}

std::string cPhonebook::getPictureIndex(int iIndex) const {
    const auto* entry = m_list.at(iIndex);
    return entry ? entry->picture : std::string();
}

void cPhonebook::remove(const std::string& sNumber) {
    for (auto& entry : m_list.entries()) {
        if (entry.number == sNumber) {
            entry = PhonebookEntry{};
            break;
        }
    }
    m_list.saveAndReload();
}

void cPhonebook::add(const std::string& sNumber, const std::string& sName, bool bReject,
                     const std::string& sSound, const std::string& sPicture) {
    m_list.entries().push_back({sNumber, sName, bReject, sSound, sPicture});
    m_list.saveAndReload();
}

void cPhonebook::sortNameAsc() {
    m_list.sortNameAsc();
}

void cPhonebook::changeIndex(int iIndex, const std::string& sNumber, const std::string& sName,
                             bool bReject, const std::string& sSound, const std::string& sPicture) {
    auto* entry = m_list.at(iIndex);
    if (!entry) {
        return;
    }
    *entry = {sNumber, sName, bReject, sSound, sPicture};
    m_list.saveAndReload();
}

cPhonebook& Phonebook() {
    static cPhonebook phonebook;
    return phonebook;
}
