#pragma once

#include "support/WavePlayer.h"

#include <string>

// What the call handlers do to the windows and the notification icon. The desktop implements
// them with its windows; the headless service leaves them empty.

/// The journal window.
class JournalView {
public:
    virtual ~JournalView() = default;
    /// Brings the table up to date: the names as the phonebook and MSN list give them now;
    /// clear empties the journal first.
    virtual void refresh(bool clear) = 0;
    /// Restores, shows and activates the window.
    virtual void showAndActivate() = 0;
    /// Minimises the window (into the notification area).
    virtual void minimize() = 0;
};

/// What the incoming-call pop-up shows.
struct PopupContent {
    std::string dateTime;
    std::string msn;
    std::string caller;      // display, with the origin in parentheses when known
    bool showAddToPhonebook; // the phonebook knew no name
    std::string status;
    std::string picturePath; // empty: no picture
};

/// The incoming-call pop-up.
class PopupView {
public:
    virtual ~PopupView() = default;
    /// Fills the pop-up (creating it on first use), shows and activates it.
    virtual void showCall(const PopupContent& content) = 0;
    /// Writes the status line, also while the pop-up is hidden.
    virtual void setStatus(const std::string& status) = 0;
    /// Closes the pop-up when it is open.
    virtual void close() = 0;
};

/// The notification-area icon.
enum class TrayIcon { Black, Green, Red };

class TrayView {
public:
    virtual ~TrayView() = default;
    virtual void setTooltip(const std::string& tooltip) = 0;
    virtual void setIcon(TrayIcon icon) = 0;
    /// The green blinking of a ringing call and the red blinking of a missed one.
    virtual void setGreenBlink(bool on) = 0;
    virtual void setRedBlink(bool on) = 0;
};

/// Opens an address in the user's web browser; false when that failed.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual bool openUrl(const std::string& address) = 0;
};
