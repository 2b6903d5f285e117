#pragma once

#include "calls/CallEvent.h"
#include "calls/CallViews.h"
#include "calls/ContactLookup.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

class CallJournal;
class LanguageTable;
class MsnList;
class OriginLookup;
class Phonebook;
class SoundPolicy;
struct SettingsRecord;

/// The line interface as the call handlers see it: the current call's information and the
/// one thing they do on the line.
class CallLine {
public:
    virtual ~CallLine() = default;
    virtual std::string callerId() const = 0;
    virtual std::string calledMsn() const = 0;
    /// The name of the call's CIP value.
    virtual std::string callType() const = 0;
    /// The reason of the call end.
    virtual std::uint16_t endReason() const = 0;
    /// The PLCI of the call the latest event is about.
    virtual std::uint32_t plci() const = 0;
    /// Turns the call away; once per call, however often asked.
    virtual void rejectCall(std::uint32_t plci) = 0;
    /// False for a line that can only watch: its rejectCall just says that it cannot.
    virtual bool canReject() const { return true; }
};

/// The date and time texts written into the journal and the pop-up.
class CallClock {
public:
    virtual ~CallClock() = default;
    virtual std::string dateText() const = 0;
    virtual std::string timeText() const = 0;
    /// The moment for the call events.
    virtual std::chrono::system_clock::time_point now() const {
        return std::chrono::system_clock::now();
    }
};

/// The latest incoming call as the debug window shows it; also the program's memory of it.
struct LatestCall {
    std::string dateTime;
    std::string calledMsn;
    std::string callerId;
    std::string cip;
    std::string disconnectReason;
};

/// Everything the call handlers reach.
struct CallHandlerParts {
    CallLine& line;
    const SettingsRecord& settings;
    const LanguageTable& language;
    CallJournal& journal;
    Phonebook& phonebook;
    MsnList& msnList;
    OriginLookup& origins;
    JournalView& journalView;
    PopupView& popup;
    TrayView& tray;
    SoundPolicy& sound;
    const CallClock& clock;
};

/// What happens when a call comes in and when it ends: MSN filter, telephone-system
/// adjustments, phonebook name, journal record, sound, icon, pop-up, the reject rules, and at
/// the end the end-reason text, the saved journal and the red blinking of a missed call.
class CallHandler {
public:
    explicit CallHandler(const CallHandlerParts& parts);

    void onIncomingCall();
    /// False when the call is not known (never offered, or already ended): nothing changes.
    bool onCallDisconnect();
    /// The line is gone: every call still ringing ends with the reason (its journal record is
    /// completed once, as at a disconnect).
    void endAllCalls(std::uint16_t reason);
    /// How many calls ring now.
    std::size_t activeCallCount() const { return m_active.size(); }

    const LatestCall& latest() const { return m_latest; }

    /// Where callers the phonebook does not name are looked up (the address books); none
    /// when null.
    void setContactLookup(const ContactLookup* contacts) { m_contacts = contacts; }

    /// Called whenever the latest-call fields have changed.
    std::function<void()> latestChanged;

    /// Group commit: unset, every call's record is saved (and flushed to the disk) as soon as
    /// it changes. Set, a change asks for one save through it instead, and the caller runs
    /// saveJournal once the calls that arrived together are taken: one flush for all of them.
    std::function<void()> requestJournalSave;
    /// Saves what the journal holds that its file does not; a failure is reported by the file.
    void saveJournal();

    /// Every step of every call that passed the MSN filter, for the program's outputs.
    CallEventStream events;

private:
    // What is remembered of a call between its start and its end.
    struct ActiveCall {
        std::string calledMsn;
        int journalIndex = 0; // 0: not journaled (filtered out)
        std::string number;
        std::string date;
        std::string time;
        CallEvent ring; // the Ring event, the base of the later steps
    };

    // Who calls: the phonebook's name and picture, or else an address book's; empty for none.
    struct CallerIdentity {
        std::string name;
        std::string picturePath;
    };
    CallerIdentity identify(const std::string& number) const;
    bool isFilteredOut(const std::string& calledMsn) const;
    std::string adjustForTelephoneSystem(std::string number) const;
    void announce(const std::string& number, const std::string& display,
                  const std::string& msnDisplay, const CallEvent& ring);
    CallEvent ringEvent(std::uint32_t plci, const std::string& number, const CallerIdentity& caller,
                        const std::string& calledMsn, const std::string& msnDisplay,
                        const std::string& callType) const;
    void publishEnd(const ActiveCall& call, std::uint16_t reason, const std::string& reasonText);
    void applyRejectRules(std::uint32_t plci, const std::string& number,
                          const std::string& calledMsn);
    int recordIndexFor(const ActiveCall& call) const;
    void finishCall(const ActiveCall& call, std::uint16_t reason);
    void journalChanged();

    CallHandlerParts m_parts;
    const ContactLookup* m_contacts = nullptr;
    LatestCall m_latest;
    std::map<std::uint32_t, ActiveCall> m_active;
    bool m_oneSaveForAll = false; // endAllCalls saves the journal once, after the last call
    bool m_saveRequested = false; // requestJournalSave was called, saveJournal not yet
};
