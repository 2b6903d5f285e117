#include "calls/NotifyMode.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<NotifyMode, const char*>, 3> kKeys{{
    {NotifyMode::Popup, "popup"},
    {NotifyMode::Desktop, "desktop"},
    {NotifyMode::Both, "both"},
}};

} // namespace

const char* notifyModeKey(NotifyMode mode) {
    for (const auto& [each, key] : kKeys) {
        if (each == mode) {
            return key;
        }
    }
    return "popup";
}

std::optional<NotifyMode> parseNotifyMode(std::string_view value) {
    for (const auto& [mode, key] : kKeys) {
        if (value == key) {
            return mode;
        }
    }
    return std::nullopt;
}

NotifyMode chooseNotifyMode(std::string_view stored, bool hasNotificationArea, bool wayland) {
    if (const auto mode = parseNotifyMode(stored)) {
        return *mode;
    }
    return hasNotificationArea && !wayland ? NotifyMode::Popup : NotifyMode::Desktop;
}
