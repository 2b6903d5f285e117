#include "stores/cMSN.h"

#include "support/AppPaths.h"

struct MSNLineFormat {
    static const std::string& key(const MSNEntry& e) { return e.msn; }
    static std::string toLine(const MSNEntry& e) {
        return joinFields({e.msn, e.name, storedBool(e.reject), storedBool(e.rejectAnonymous)});
    }
    static MSNEntry fromFields(const std::vector<std::string>& f) {
        return {fieldAt(f, 0), fieldAt(f, 1), readStoredBool(fieldAt(f, 2)),
                readStoredBool(fieldAt(f, 3))};
    }
};

bool cMSN::Init() {
    return Init(ConfigDir + "msn.dat");
}

bool cMSN::Init(const std::string& path) {
    m_list.setPath(path);
    return m_list.load();
}

const MSNEntry* cMSN::lastMatch(const std::string& sMSN) const {
    const auto& entries = m_list.entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->msn == sMSN) {
            return &*it;
        }
    }
    return nullptr;
}

std::string cMSN::getName(const std::string& sMSN) const {
    const auto* entry = lastMatch(sMSN);
    return entry ? entry->name : sMSN;
}

bool cMSN::getReject(const std::string& sMSN) const {
    const auto* entry = lastMatch(sMSN);
    return entry && entry->reject;
}

bool cMSN::getRejectAnonymous(const std::string& sMSN) const {
    const auto* entry = lastMatch(sMSN);
    return entry && entry->rejectAnonymous;
}

int cMSN::getSize() const {
    return static_cast<int>(m_list.entries().size());
}

std::string cMSN::getNameIndex(int iIndex) const {
    const auto* entry = m_list.at(iIndex);
    return entry ? entry->name : std::string();
}

std::string cMSN::getMSNIndex(int iIndex) const {
    const auto* entry = m_list.at(iIndex);
    return entry ? entry->msn : std::string();
}

bool cMSN::getRejectIndex(int iIndex) const {
    const auto* entry = m_list.at(iIndex);
    return entry && entry->reject;
}

bool cMSN::getRejectAnonymousIndex(int iIndex) const {
    const auto* entry = m_list.at(iIndex);
    return entry && entry->rejectAnonymous;
}

void cMSN::remove(const std::string& sMSN) {
    std::erase_if(m_list.entries(), [&](const MSNEntry& e) { return e.msn == sMSN; });
    m_list.saveAndReload();
}

void cMSN::add(const std::string& sMSN, const std::string& sName, bool bReject, bool bRejectAnon) {
    m_list.entries().push_back({sMSN, sName, bReject, bRejectAnon});
    m_list.saveAndReload();
}

void cMSN::sortNameAsc() {
    m_list.sortNameAsc();
}

void cMSN::changeIndex(int iIndex, const std::string& sMSN, const std::string& sName, bool bReject,
                       bool bRejectAnon) {
    auto* entry = m_list.at(iIndex);
    if (!entry) {
        return;
    }
    *entry = {sMSN, sName, bReject, bRejectAnon};
    m_list.saveAndReload();
}

cMSN& MSNList() {
    static cMSN list;
    return list;
}
