#include "calls/CallHandler.h"

#include "calls/EndReason.h"
#include "stores/LanguageIds.h"
#include "stores/Settings.h"
#include "stores/cJournal.h"
#include "stores/cLanguage.h"
#include "stores/cMSN.h"
#include "stores/cPhonebook.h"
#include "stores/cVorwahlen.h"
#include "support/NumericText.h"
#include "support/modSound.h"

#include <algorithm>
#include <optional>

namespace {

// The form in which the line delivers a caller without usable number.
std::string unknownCallerText() {
    std::string text = Language().getStr(lang_id::kUnknown);
    std::erase(text, ' ');
    return text;
}

} // namespace

CallHandler::CallHandler(const CallHandlerParts& parts) : m_parts(parts) {}

bool CallHandler::isFilteredOut(const std::string& calledMsn) const {
    return !settings().showAllCalls && isNumericText(m_parts.msnList.getName(calledMsn));
}

std::string CallHandler::adjustForTelephoneSystem(std::string number) const {
    if (settings().TKAddNull) {
        number.insert(0, "0");
    }
    if (settings().TKRemoveNull && !number.empty()) {
        number.erase(0, 1);
    }
    return number;
}

void CallHandler::CAPI_IncomingCall() {
    const std::string callType = m_parts.line.callType();
    const std::string calledMsn = m_parts.line.calledMsn();
    const std::string callerId = m_parts.line.callerId();
    const CallClock& clock = m_parts.clock;
    m_latest.dateTime = clock.dateText() + " - " + clock.timeText();
    m_latest.calledMsn = calledMsn;
    m_latest.callerId = callerId;
    m_latest.cip = callType;
    if (latestChanged) {
        latestChanged();
    }

    ActiveCall& call = m_active[m_parts.line.plci()];
    call = ActiveCall{calledMsn, 0, {}};
    if (isFilteredOut(calledMsn)) {
        return;
    }
    const std::string msnDisplay = m_parts.msnList.getName(calledMsn);
    const std::string number = adjustForTelephoneSystem(callerId);
    std::string display = m_parts.phonebook.getName(number);
    if (display.empty()) {
        display = number;
    }

    call.number = number;
    call.journalIndex = m_parts.journal.add(number, display, msnDisplay, clock.dateText(),
                                            clock.timeText(), callType);
    // Saved at once: a crash or power cut while the telephone rings keeps the call.
    m_parts.journal.saveJournal();
    m_parts.journalView.RefreshJournal(false);

    announce(number, display, msnDisplay);
    applyRejectRules(number, calledMsn);
}

void CallHandler::announce(const std::string& number, const std::string& display,
                           const std::string& msnDisplay) {
    const SettingsRecord& s = settings();
    if (s.plsnd) {
        const std::string sound = m_parts.phonebook.getSound(number);
        if (!sound.empty()) {
            m_parts.sound.playWave(sound);
        } else {
            m_parts.sound.playCallWave();
        }
    }

    m_parts.tray.setTooltip(Language().getStr(lang_id::kTooltipLastCaller) + " " + display);
    m_parts.tray.setGreenBlink(false);
    m_parts.tray.setRedBlink(false);
    if (s.TrayBlink) {
        m_parts.tray.setGreenBlink(true);
    }

    if (s.popup) {
        m_parts.journalView.showAndActivate();
    } else if (s.popupsmall) {
        PopupContent content;
        content.dateTime = m_parts.clock.dateText() + " " + m_parts.clock.timeText();
        content.msn = msnDisplay;
        content.caller = display;
        if (isNumericText(number)) {
            const std::string origin = m_parts.origins.getHerkunft(number);
            if (!origin.empty()) {
                content.caller = display + " (" + origin + ")";
            }
        }
        content.showAddToPhonebook = isNumericText(display);
        content.status = Language().getStr(lang_id::kCallRinging);
        content.picturePath = m_parts.phonebook.getPicture(number);
        m_parts.popup.showCall(content);
    }
}

void CallHandler::applyRejectRules(const std::string& number, const std::string& calledMsn) {
    const bool anonymous = number == unknownCallerText();
    if (m_parts.phonebook.getReject(number)) {
        m_parts.line.rejectCall();
    }
    if (settings().RejectAnonymous && anonymous) {
        m_parts.line.rejectCall();
    }
    if (m_parts.msnList.getReject(calledMsn)) {
        m_parts.line.rejectCall();
    }
    if (m_parts.msnList.getRejectAnonymous(calledMsn) && anonymous) {
        m_parts.line.rejectCall();
    }
}

int CallHandler::recordIndexFor(const ActiveCall* call) const {
    // Falls back to the newest record when the call is unknown or its record has moved
    // (a deletion in the journal window closes gaps and renumbers the records).
    if (call != nullptr && call->journalIndex > 0 &&
        m_parts.journal.getNumber(call->journalIndex) == call->number) {
        return call->journalIndex;
    }
    return 0;
}

void CallHandler::CAPI_CallDisconnect() {
    const auto found = m_active.find(m_parts.line.plci());
    std::optional<ActiveCall> call;
    if (found != m_active.end()) {
        call = found->second;
        m_active.erase(found);
    }
    const std::string& calledMsn = call ? call->calledMsn : m_latest.calledMsn;
    // A call left out when it came in has no record to complete.
    if ((call && call->journalIndex == 0) || isFilteredOut(calledMsn)) {
        return;
    }
    const std::uint16_t reason = m_parts.line.endReason();
    const std::string reasonText = Language().getStr(endReasonTextId(reason));
    m_latest.disconnectReason = reasonText;
    if (latestChanged) {
        latestChanged();
    }
    m_parts.popup.setStatus(reasonText);

    m_parts.tray.setGreenBlink(false);
    m_parts.tray.setIcon(TrayIcon::Black);
    if (reason == kReasonNormalClearing && settings().RedBlink) {
        m_parts.tray.setRedBlink(true);
    }
    if (settings().minimize) {
        m_parts.journalView.minimize();
        m_parts.popup.close();
    }

    if (const int index = recordIndexFor(call ? &*call : nullptr); index > 0) {
        m_parts.journal.addReason(index, reasonText);
    } else {
        m_parts.journal.addReason(reasonText);
    }
    m_parts.journal.saveJournal();
    m_parts.journalView.RefreshJournal(false);
}
