#include "calls/MissedCalls.h"

#include "calls/CallEvent.h"
#include "stores/CallJournal.h"

#include <utility>

MissedCalls::MissedCalls(const CallJournal& journal, std::string missedReason)
    : m_journal(journal), m_missedReason(std::move(missedReason)) {}

void MissedCalls::restore(TimePoint lastAcknowledged, const RecordTime& recordTime) {
    m_unseen.clear();
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
    if (event.kind == CallEvent::Kind::End && event.missed) {
        m_unseen.emplace(event.number, event.journalDate, event.journalTime);
    }
}

bool MissedCalls::acknowledge() {
    if (count() == 0) {
        return false;
    }
    m_seenLast = std::exchange(m_unseen, {});
    return true;
}

int MissedCalls::count() const {
    if (m_unseen.empty()) {
        return 0;
    }
    int count = 0;
    for (int index = 1; index <= m_journal.size(); ++index) {
        count += isUnseen(m_journal.recordAt(index)) ? 1 : 0;
    }
    return count;
}

bool MissedCalls::isUnseen(const JournalRecord& record) const {
    return m_unseen.contains(Key{record.number, record.date, record.time});
}

bool MissedCalls::isMarked(const JournalRecord& record) const {
    return isUnseen(record) || m_seenLast.contains(Key{record.number, record.date, record.time});
}
