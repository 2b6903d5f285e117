#pragma once

#include <string>

struct JournalRecord;

/// What the windows ask of the controller: the line, the browser, the sounds and the end.
class AppCommands {
public:
    virtual ~AppCommands() = default;
    /// Turns away the call that rang last.
    virtual void rejectCall() = 0;
    /// False when the line cannot turn calls away (the router's call monitor).
    virtual bool canRejectCalls() const { return true; }
    /// Looks the number of a display text up in the web directory.
    virtual void identify(const std::string& displayText) = 0;
    /// Ends the program after asking, unless the settings say not to ask.
    virtual void exitApp() = 0;
    /// The caller number of the latest incoming call as the line delivered it.
    virtual std::string latestCallerId() const = 0;
    /// A feedback sound (res/NAME.wav), subject to the audio feedback setting.
    virtual void playSound(const std::string& name) = 0;
    /// Opens the settings dialog, or raises it when it is open; on its info page when asked.
    virtual void openSettings(bool infoPage) = 0;
    /// Opens the update window.
    virtual void checkForUpdate() = 0;
    /// Ends the program without asking: an update's setup has been handed to the desktop.
    virtual void exitForUpdate() = 0;
    /// The missed calls the user has not looked at yet, and whether a record is one of them.
    virtual int missedCallCount() const { return 0; }
    virtual bool isMissedCall(const JournalRecord& /*record*/) const { return false; }
    /// The user has looked at the journal.
    virtual void acknowledgeMissedCalls() {}
};
