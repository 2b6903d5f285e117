#include "stores/MsnList.h"

struct MsnLineFormat {
    static constexpr std::size_t kFields = 4;
    static constexpr bool kWildcards = false;
    static const std::string& key(const MsnEntry& e) { return e.msn; }
    static std::array<std::string_view, kFields> fields(const MsnEntry& e) {
        return {e.msn, e.name, storedBool(e.reject), storedBool(e.rejectWithheld)};
    }
    static MsnEntry fromFields(const std::vector<std::string>& f) {
        return {fieldAt(f, 0), fieldAt(f, 1), readStoredBool(fieldAt(f, 2)),
                readStoredBool(fieldAt(f, 3))};
    }
    static bool readsBack(const std::vector<std::string>& f) {
        return isStoredBool(fieldAt(f, 2)) && isStoredBool(fieldAt(f, 3));
    }
};

bool MsnList::load(const std::string& path) {
    m_list.setPath(path);
    return m_list.load();
}

const MsnEntry* MsnList::lastMatch(const std::string& msn) const {
    return m_list.atPosition(m_list.index().lastOf(msn));
}

std::string MsnList::nameOf(const std::string& msn) const {
    const auto* entry = lastMatch(msn);
    return entry ? entry->name : msn;
}

bool MsnList::rejects(const std::string& msn) const {
    const auto* entry = lastMatch(msn);
    return entry && entry->reject;
}

bool MsnList::rejectsWithheld(const std::string& msn) const {
    const auto* entry = lastMatch(msn);
    return entry && entry->rejectWithheld;
}

void MsnList::remove(const std::string& msn) {
    m_list.removeAll(msn);
}

void MsnList::add(const std::string& msn, const std::string& name, bool reject,
                  bool rejectWithheld) {
    m_list.add({msn, name, reject, rejectWithheld, {}});
}

void MsnList::sortByNameDescending() {
    m_list.sortByNameDescending();
}

void MsnList::replaceAt(int index, const std::string& msn, const std::string& name, bool reject,
                        bool rejectWithheld) {
    m_list.replace(index, {msn, name, reject, rejectWithheld, {}});
}
