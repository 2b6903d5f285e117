#pragma once

#include <optional>
#include <string>
#include <string_view>

/// How an incoming call is announced besides sound, blinking and the journal window: the
/// program's own pop-up, the desktop's notifications, or both (setting `notify`).
enum class NotifyMode { Popup, Desktop, Both };

/// The setting's value for a mode: "popup", "desktop" or "both".
const char* notifyModeKey(NotifyMode mode);

/// The mode a stored value names; none for an empty or unknown value.
std::optional<NotifyMode> parseNotifyMode(std::string_view value);

/// The mode in use: the stored one, else desktop notifications where the pop-up cannot be
/// placed or found again (no notification area, or a Wayland session), else the pop-up.
NotifyMode chooseNotifyMode(std::string_view stored, bool hasNotificationArea, bool wayland);

inline bool usesDesktopNotifications(NotifyMode mode) {
    return mode != NotifyMode::Popup;
}
inline bool usesPopup(NotifyMode mode) {
    return mode != NotifyMode::Desktop;
}
