#include "calls/MissedCalls.h"

#include "calls/CallEvent.h"
#include "stores/CallJournal.h"

#include <algorithm>
#include <utility>

MissedCalls::MissedCalls(CallJournal& journal, std::string missedReason)
    : m_journal(journal), m_missedReason(std::move(missedReason)) {
    m_journal.addObserver(this);
}

MissedCalls::~MissedCalls() {
    m_journal.removeObserver(this);
}

MissedCalls::Key MissedCalls::keyOf(const std::string& number, const std::string& date,
                                    const std::string& time) {
    // FNV-1a over the three texts, each ended by a byte no text holds.
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::string* text : {&number, &date, &time}) {
        for (const char c : *text) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        }
        hash = (hash ^ 0xFFu) * 1099511628211ull;
    }
    return hash;
}

bool MissedCalls::contains(const Keys& keys, Key key) {
    return std::binary_search(keys.begin(), keys.end(), key);
}

void MissedCalls::restore(TimePoint lastAcknowledged, const RecordTime& recordTime) {
    m_unseen.clear();
    m_count.reset();
    for (int index = 1; index <= m_journal.size(); ++index) {
        const JournalRecord& record = m_journal.recordAt(index);
        if (record.endReason != m_missedReason) {
            continue;
        }
        // A record whose time cannot be read is older than anything that matters now.
        if (const auto came = recordTime(record); came && *came > lastAcknowledged) {
            m_unseen.push_back(keyOf(record.number, record.date, record.time));
        }
    }
    std::sort(m_unseen.begin(), m_unseen.end());
    m_unseen.erase(std::unique(m_unseen.begin(), m_unseen.end()), m_unseen.end());
}

void MissedCalls::onCallEvent(const CallEvent& event) {
    if (event.kind != CallEvent::Kind::End || !event.missed) {
        return;
    }
    const Key key = keyOf(event.number, event.journalDate, event.journalTime);
    const auto at = std::lower_bound(m_unseen.begin(), m_unseen.end(), key);
    if (at != m_unseen.end() && *at == key) {
        return;
    }
    m_unseen.insert(at, key);
    if (m_count) {
        *m_count += recordsWith(key);
    }
}

int MissedCalls::recordsWith(Key key) const {
    // The call's record is among the newest; number, date and time to the second make it the
    // only one with its key.
    for (int index = m_journal.size(); index > 0; --index) {
        const JournalRecord& record = m_journal.recordAt(index);
        if (keyOf(record.number, record.date, record.time) == key) {
            return 1;
        }
    }
    return 0;
}

void MissedCalls::journalChanged(Change change, int index) {
    if (change == Change::Added) {
        if (m_count && isUnseen(m_journal.recordAt(index))) {
            ++*m_count;
        }
    } else if (change != Change::Updated) {
        m_count.reset(); // records gone: counted again when asked
    }
}

bool MissedCalls::acknowledge() {
    if (count() == 0) {
        return false;
    }
    m_seenLast = std::exchange(m_unseen, {});
    m_count = 0;
    return true;
}

int MissedCalls::count() const {
    if (m_unseen.empty()) {
        return 0;
    }
    if (!m_count) {
        int count = 0;
        for (int index = 1; index <= m_journal.size(); ++index) {
            count += isUnseen(m_journal.recordAt(index)) ? 1 : 0;
        }
        m_count = count;
    }
    return *m_count;
}

bool MissedCalls::isUnseen(const JournalRecord& record) const {
    return !m_unseen.empty() && contains(m_unseen, keyOf(record.number, record.date, record.time));
}

bool MissedCalls::isMarked(const JournalRecord& record) const {
    return isUnseen(record) ||
           (!m_seenLast.empty() &&
            contains(m_seenLast, keyOf(record.number, record.date, record.time)));
}
