#include "calls/MissedCalls.h"

#include "calls/CallEvent.h"
#include "stores/CallJournal.h"

#include <utility>

namespace {

// A record's key without copying its texts.
auto keyOf(const JournalRecord& record) {
    return std::tie(record.number, record.date, record.time);
}

} // namespace

MissedCalls::MissedCalls(CallJournal& journal, std::string missedReason)
    : m_journal(journal), m_missedReason(std::move(missedReason)) {
    m_journal.addObserver(this);
}

MissedCalls::~MissedCalls() {
    m_journal.removeObserver(this);
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
            m_unseen.emplace(record.number, record.date, record.time);
        }
    }
}

void MissedCalls::onCallEvent(const CallEvent& event) {
    if (event.kind != CallEvent::Kind::End || !event.missed) {
        return;
    }
    const auto [key, added] = m_unseen.emplace(event.number, event.journalDate, event.journalTime);
    if (added && m_count) {
        *m_count += recordsWith(*key);
    }
}

int MissedCalls::recordsWith(const Key& key) const {
    // The call's record is among the newest; number, date and time to the second make it the
    // only one with its key.
    for (int index = m_journal.size(); index > 0; --index) {
        if (keyOf(m_journal.recordAt(index)) == key) {
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
    return m_unseen.contains(keyOf(record));
}

bool MissedCalls::isMarked(const JournalRecord& record) const {
    return isUnseen(record) || m_seenLast.contains(keyOf(record));
}
