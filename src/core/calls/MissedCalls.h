#pragma once

#include "stores/CallJournal.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct CallEvent;

/// The calls nobody answered that the user has not looked at yet. They are journal records,
/// so deleting them or clearing the journal takes them out of the count; after a restart they
/// are the missed calls that came after the last acknowledgement.
class MissedCalls : public JournalObserver {
public:
    using TimePoint = std::chrono::system_clock::time_point;
    /// When a journal record's call came in; none when its date and time cannot be read.
    using RecordTime = std::function<std::optional<TimePoint>(const JournalRecord&)>;

    /// missedReason is the end-reason text of a call nobody answered, as the journal holds it.
    MissedCalls(CallJournal& journal, std::string missedReason);
    ~MissedCalls() override;
    MissedCalls(const MissedCalls&) = delete;
    MissedCalls& operator=(const MissedCalls&) = delete;

    /// Takes every missed call of the journal after the last acknowledgement as not seen.
    void restore(TimePoint lastAcknowledged, const RecordTime& recordTime);
    /// Counts a call that ended unanswered.
    void onCallEvent(const CallEvent& event);
    /// The user has looked: nothing is missed any more. False when nothing was. The calls
    /// just seen stay marked until the next missed ones are seen, so the user can find them.
    bool acknowledge();

    /// How many missed calls the journal holds that the user has not seen.
    int count() const;
    /// A missed call not seen yet, or one of those seen last.
    bool isMarked(const JournalRecord& record) const;

    // The count follows the journal's changes, so that a call need not count them all again.
    void journalChanging(Change, int) override {}
    void journalChanged(Change change, int index) override;

private:
    // A call's fingerprint: number, date and time hashed to 64 bits. A sorted list of them takes
    // 8 bytes per missed call, where the texts would take over a hundred.
    using Key = std::uint64_t;
    using Keys = std::vector<Key>; // sorted

    static Key keyOf(const std::string& number, const std::string& date, const std::string& time);
    static bool contains(const Keys& keys, Key key);
    bool isUnseen(const JournalRecord& record) const;
    int recordsWith(Key key) const; // 1 when the journal holds the key's record

    CallJournal& m_journal;
    std::string m_missedReason;
    Keys m_unseen;
    Keys m_seenLast;
    mutable std::optional<int> m_count; // records in m_unseen; none until counted again
};
