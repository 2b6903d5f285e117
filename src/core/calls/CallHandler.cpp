#include "calls/CallHandler.h"

#include "calls/EndReason.h"
#include "calls/SoundPolicy.h"
#include "stores/CallJournal.h"
#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "stores/MsnList.h"
#include "stores/OriginLookup.h"
#include "stores/Phonebook.h"
#include "stores/Settings.h"
#include "support/NumericText.h"

#include <algorithm>
#include <utility>

namespace {

// The form in which the line delivers a caller without usable number.
std::string unknownCallerText(const LanguageTable& language) {
    std::string text = language.text(lang_id::kUnknown);
    std::erase(text, ' ');
    return text;
}

} // namespace

CallHandler::CallHandler(const CallHandlerParts& parts) : m_parts(parts) {}

CallHandler::CallerIdentity CallHandler::identify(const std::string& number) const {
    CallerIdentity caller{m_parts.phonebook.nameOf(number), m_parts.phonebook.pictureOf(number)};
    // The phonebook answers the key itself for a number it does not list.
    if (caller.name == number) {
        caller.name.clear();
    }
    if (caller.name.empty() && m_contacts != nullptr) {
        if (auto contact = m_contacts->find(number)) {
            caller.name = std::move(contact->name);
            if (caller.picturePath.empty()) {
                caller.picturePath = std::move(contact->picturePath);
            }
        }
    }
    return caller;
}

bool CallHandler::isFilteredOut(const std::string& calledMsn) const {
    return !m_parts.settings.showAllCalls && isNumericText(m_parts.msnList.nameOf(calledMsn));
}

std::string CallHandler::adjustForTelephoneSystem(std::string number) const {
    if (m_parts.settings.addLeadingZero) {
        number.insert(0, "0");
    }
    if (m_parts.settings.removeLeadingZero && !number.empty()) {
        number.erase(0, 1);
    }
    return number;
}

void CallHandler::onIncomingCall() {
    const std::string callType = m_parts.line.callType();
    const std::string calledMsn = m_parts.line.calledMsn();
    std::string callerId = m_parts.line.callerId();
    // A caller the line could not name is still journaled, as unknown.
    if (callerId.empty()) {
        callerId = unknownCallerText(m_parts.language);
    }
    const CallClock& clock = m_parts.clock;
    m_latest.dateTime = clock.dateText() + " - " + clock.timeText();
    m_latest.calledMsn = calledMsn;
    m_latest.callerId = callerId;
    m_latest.cip = callType;
    if (latestChanged) {
        latestChanged();
    }

    const std::uint32_t plci = m_parts.line.plci();
    ActiveCall& call = m_active[plci];
    call = ActiveCall{calledMsn, 0, {}, clock.dateText(), clock.timeText(), {}};
    if (isFilteredOut(calledMsn)) {
        return;
    }
    const std::string msnDisplay = m_parts.msnList.nameOf(calledMsn);
    const std::string number = adjustForTelephoneSystem(callerId);
    const CallerIdentity caller = identify(number);
    std::string display = caller.name;
    if (display.empty()) {
        display = number;
    }

    call.number = number;
    call.journalIndex =
        m_parts.journal.add(number, display, msnDisplay, call.date, call.time, callType);
    // Saved before the line is heard again: a crash or power cut while the telephone rings
    // keeps the call.
    journalChanged();
    m_parts.journalView.refresh(false);

    call.ring = ringEvent(plci, number, caller, calledMsn, msnDisplay, callType);
    call.ring.journalDate = call.date;
    call.ring.journalTime = call.time;
    announce(number, display, msnDisplay, call.ring);
    events.publish(call.ring);
    applyRejectRules(plci, number, calledMsn);
}

CallEvent CallHandler::ringEvent(std::uint32_t plci, const std::string& number,
                                 const CallerIdentity& caller, const std::string& calledMsn,
                                 const std::string& msnDisplay, const std::string& callType) const {
    CallEvent event;
    event.kind = CallEvent::Kind::Ring;
    event.callId = plci;
    event.number = number;
    event.withheld = number == unknownCallerText(m_parts.language);
    event.name = caller.name;
    if (isNumericText(number)) {
        event.origin = m_parts.origins.originOf(number);
    }
    event.msn = calledMsn;
    event.msnName = msnDisplay;
    event.service = callType;
    event.picturePath = caller.picturePath;
    event.canReject = m_parts.line.canReject();
    event.time = m_parts.clock.now();
    return event;
}

void CallHandler::publishEnd(const ActiveCall& call, std::uint16_t reason,
                             const std::string& reasonText) {
    CallEvent event = call.ring;
    event.canReject = false;
    event.time = m_parts.clock.now();
    if (reason == kReasonAnsweredElsewhere) {
        event.kind = CallEvent::Kind::Connect;
        events.publish(event);
    }
    event.kind = CallEvent::Kind::End;
    event.reason = reasonText;
    event.reasonCode = reason;
    event.missed = reason == kReasonNormalClearing;
    events.publish(event);
}

void CallHandler::announce(const std::string& number, const std::string& display,
                           const std::string& msnDisplay, const CallEvent& ring) {
    const SettingsRecord& s = m_parts.settings;
    const std::string& origin = ring.origin;
    if (s.playCallSound) {
        const std::string sound = m_parts.phonebook.soundOf(number);
        if (!sound.empty()) {
            m_parts.sound.playWave(sound);
        } else {
            m_parts.sound.playCallWave();
        }
    }

    m_parts.tray.setTooltip(m_parts.language.text(lang_id::kTooltipLastCaller) + " " + display);
    m_parts.tray.setGreenBlink(false);
    m_parts.tray.setRedBlink(false);
    if (s.blinkWhileRinging) {
        m_parts.tray.setGreenBlink(true);
    }

    if (s.showJournalOnCall) {
        m_parts.journalView.showAndActivate();
    } else if (s.showPopupOnCall) {
        PopupContent content;
        content.dateTime = m_parts.clock.dateText() + " " + m_parts.clock.timeText();
        content.msn = msnDisplay;
        content.caller = display;
        if (!origin.empty()) {
            content.caller = display + " (" + origin + ")";
        }
        content.showAddToPhonebook = isNumericText(display);
        content.status = m_parts.language.text(lang_id::kCallRinging);
        content.picturePath = ring.picturePath;
        m_parts.popup.showCall(content);
    }
}

void CallHandler::applyRejectRules(std::uint32_t plci, const std::string& number,
                                   const std::string& calledMsn) {
    const bool anonymous = number == unknownCallerText(m_parts.language);
    // However many rules match, the line sees one answer.
    if (m_parts.phonebook.rejects(number) || (m_parts.settings.rejectWithheld && anonymous) ||
        m_parts.msnList.rejects(calledMsn) ||
        (m_parts.msnList.rejectsWithheld(calledMsn) && anonymous)) {
        m_parts.line.rejectCall(plci);
    }
}

int CallHandler::recordIndexFor(const ActiveCall& call) const {
    const CallJournal& journal = m_parts.journal;
    if (journal.recordAt(call.journalIndex).number == call.number) {
        return call.journalIndex;
    }
    // A deletion in the journal window closes gaps and renumbers the records.
    for (int index = journal.size(); index > 0; --index) {
        const JournalRecord& record = journal.recordAt(index);
        if (record.number == call.number && record.date == call.date && record.time == call.time) {
            return index;
        }
    }
    return 0;
}

bool CallHandler::onCallDisconnect() {
    const auto found = m_active.find(m_parts.line.plci());
    if (found == m_active.end()) {
        return false;
    }
    const ActiveCall call = found->second;
    m_active.erase(found);
    finishCall(call, m_parts.line.endReason());
    return true;
}

void CallHandler::endAllCalls(std::uint16_t reason) {
    const auto calls = std::exchange(m_active, {});
    // A thousand calls open at once are one write of the journal, not a thousand.
    m_oneSaveForAll = true;
    for (const auto& [plci, call] : calls) {
        finishCall(call, reason);
    }
    m_oneSaveForAll = false;
    if (!calls.empty() || m_saveRequested) {
        saveJournal();
    }
}

void CallHandler::journalChanged() {
    if (!requestJournalSave) {
        m_parts.journal.save();
    } else if (!std::exchange(m_saveRequested, true)) {
        requestJournalSave();
    }
}

void CallHandler::saveJournal() {
    m_saveRequested = false;
    m_parts.journal.save();
}

void CallHandler::finishCall(const ActiveCall& call, std::uint16_t reason) {
    // A call left out when it came in has no record to complete.
    if (call.journalIndex == 0 || isFilteredOut(call.calledMsn)) {
        return;
    }
    const std::string reasonText = m_parts.language.text(endReasonTextId(reason));
    m_latest.disconnectReason = reasonText;
    if (latestChanged) {
        latestChanged();
    }
    m_parts.popup.setStatus(reasonText);

    m_parts.tray.setGreenBlink(false);
    m_parts.tray.setIcon(TrayIcon::Black);
    if (reason == kReasonNormalClearing && m_parts.settings.blinkAfterMissedCall) {
        m_parts.tray.setRedBlink(true);
    }
    if (m_parts.settings.minimizeAfterCall) {
        m_parts.journalView.minimize();
        m_parts.popup.close();
    }

    if (const int index = recordIndexFor(call); index > 0) {
        m_parts.journal.setEndReason(index, reasonText);
        if (!m_oneSaveForAll) {
            journalChanged();
        }
        m_parts.journalView.refresh(false);
    }
    publishEnd(call, reason, reasonText);
}
