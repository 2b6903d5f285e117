#include "stores/Settings.h"

#include "stores/IniFile.h"
#include "support/AppPaths.h"
#include "support/NumericText.h"
#include "support/TextFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace {

constexpr const char* kSection = "config";

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string toLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Reads one key and converts it; a failed conversion leaves the setting alone.
class SettingsReader {
public:
    explicit SettingsReader(const std::string& path) : m_path(path) {}

    std::string text(const char* key) const { return readIni(m_path, kSection, key); }

    void read(const char* key, bool& setting) const {
        if (const auto value = parseSettingBool(text(key))) {
            setting = *value;
        }
    }
    void read(const char* key, std::int16_t& setting) const {
        if (const auto value = parseSettingInt(text(key))) {
            setting = *value;
        }
    }
    void read(const char* key, std::string& setting) const {
        if (auto value = text(key); !value.empty()) {
            setting = std::move(value);
        }
    }

private:
    const std::string& m_path;
};

const char* boolText(bool value) {
    return value ? "-1" : "0";
}

} // namespace

std::optional<bool> parseSettingBool(std::string_view text) {
    const std::string_view trimmed = trimBlanks(text);
    if (equalsNoCase(trimmed, "true")) {
        return true;
    }
    if (equalsNoCase(trimmed, "false")) {
        return false;
    }
    if (const auto number = numericValue(text)) {
        return *number != 0.0;
    }
    return std::nullopt;
}

std::optional<std::int16_t> parseSettingInt(std::string_view text) {
    const auto number = numericValue(text);
    if (!number) {
        return std::nullopt;
    }
    // Fractions round to the nearest integer, halves to the even one.
    const double rounded = std::nearbyint(*number);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

void loadSettings(SettingsRecord& r, const std::string& path) {
    if (!fileExists(path)) {
        writeTextLines(path, {""});
    }
    const SettingsReader in(path);
    r.playCallSound = true;
    in.read("plsnd", r.playCallSound);
    in.read("sndwav", r.callSound);
    if (r.callSound.empty() && r.playCallSound) {
        r.callSound = kDefaultCallSound;
    }
    in.read("popup", r.showJournalOnCall);
    in.read("popupsmall", r.showPopupOnCall);
    in.read("audiofeedback", r.audioFeedback);
    in.read("minimize", r.minimizeAfterCall);
    in.read("style", r.style);
    in.read("webexporton", r.webExportOn);
    in.read("webexportport", r.webExportPort);
    if (r.webExportPort == 0) {
        r.webExportPort = 80;
    }
    in.read("webexportpwd", r.webExportPassword);
    if (r.webExportPassword.empty()) {
        r.webExportPassword = "brindle";
    }
    in.read("capidelay", r.delayRegistration);
    in.read("capidelaytime", r.registrationDelayStep);
    in.read("autostart", r.autostart);
    in.read("quietexit", r.quietExit);
    in.read("appexit", r.exitOnClose);
    in.read("TKAddNull", r.addLeadingZero);
    in.read("TKRemoveNull", r.removeLeadingZero);
    in.read("TrayBlink", r.blinkWhileRinging);
    in.read("RedBlink", r.blinkAfterMissedCall);
    in.read("language", r.language);
    in.read("RejectAnonymous", r.rejectWithheld);
    if (in.text("showAllCalls").empty()) {
        r.showAllCalls = true;
    } else {
        in.read("showAllCalls", r.showAllCalls);
    }
    in.read("Prefix", r.ownCountryPrefix);
    if (r.ownCountryPrefix.empty() || !isNumericText(r.ownCountryPrefix)) {
        r.ownCountryPrefix = "0049";
    }
    in.read("lookupurl", r.lookupUrl);
    if (r.lookupUrl.empty()) {
        r.lookupUrl = kDefaultLookupUrl;
    }
    in.read("line", r.line);
}

void saveSettings(SettingsRecord& r, const std::string& path) {
    const auto put = [&path](const char* key, const std::string& value) {
        writeIni(path, kSection, key, value);
    };
    put("plsnd", boolText(r.playCallSound));
    put("sndwav", r.callSound);
    put("popup", boolText(r.showJournalOnCall));
    put("popupsmall", boolText(r.showPopupOnCall));
    put("minimize", boolText(r.minimizeAfterCall));
    put("audiofeedback", boolText(r.audioFeedback));
    put("style", std::to_string(r.style));
    put("webexporton", boolText(r.webExportOn));
    put("webexportport", std::to_string(r.webExportPort));
    put("webexportpwd", r.webExportPassword);
    put("capidelay", boolText(r.delayRegistration));
    put("capidelaytime", std::to_string(r.registrationDelayStep));
    put("autostart", boolText(r.autostart));
    put("quietexit", boolText(r.quietExit));
    put("appexit", boolText(r.exitOnClose));
    put("TKAddNull", boolText(r.addLeadingZero));
    put("TKRemoveNull", boolText(r.removeLeadingZero));
    put("TrayBlink", boolText(r.blinkWhileRinging));
    put("RedBlink", boolText(r.blinkAfterMissedCall));
    put("language", toLower(r.language));
    put("RejectAnonymous", boolText(r.rejectWithheld));
    put("showAllCalls", boolText(r.showAllCalls));
    put("prefix", r.ownCountryPrefix);
    put("line", r.line);
    loadSettings(r, path);
}
