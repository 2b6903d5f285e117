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

SettingsRecord& settings() {
    static SettingsRecord record;
    return record;
}

std::string configFilePath() {
    return ConfigDir + "config.dat";
}

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
    r.plsnd = true;
    in.read("plsnd", r.plsnd);
    in.read("sndwav", r.sndwav);
    if (r.sndwav.empty() && r.plsnd) {
        r.sndwav = kDefaultCallSound;
    }
    in.read("popup", r.popup);
    in.read("popupsmall", r.popupsmall);
    in.read("audiofeedback", r.audiofeedback);
    in.read("minimize", r.minimize);
    in.read("style", r.style);
    in.read("webexporton", r.webexporton);
    in.read("webexportport", r.webexportport);
    if (r.webexportport == 0) {
        r.webexportport = 80;
    }
    in.read("webexportpwd", r.webexportpwd);
    if (r.webexportpwd.empty()) {
        r.webexportpwd = "brindle";
    }
    in.read("capidelay", r.capidelay);
    in.read("capidelaytime", r.capidelaytime);
    in.read("autostart", r.autostart);
    in.read("quietexit", r.quietexit);
    in.read("appexit", r.appexit);
    in.read("TKAddNull", r.TKAddNull);
    in.read("TKRemoveNull", r.TKRemoveNull);
    in.read("TrayBlink", r.TrayBlink);
    in.read("RedBlink", r.RedBlink);
    in.read("language", r.language);
    in.read("RejectAnonymous", r.RejectAnonymous);
    if (in.text("showAllCalls").empty()) {
        r.showAllCalls = true;
    } else {
        in.read("showAllCalls", r.showAllCalls);
    }
    in.read("Prefix", r.Prefix);
    if (r.Prefix.empty() || !isNumericText(r.Prefix)) {
        r.Prefix = "0049";
    }
    in.read("lookupurl", r.lookupurl);
    if (r.lookupurl.empty()) {
        r.lookupurl = kDefaultLookupUrl;
    }
}

void saveSettings(SettingsRecord& r, const std::string& path) {
    const auto put = [&path](const char* key, const std::string& value) {
        writeIni(path, kSection, key, value);
    };
    put("plsnd", boolText(r.plsnd));
    put("sndwav", r.sndwav);
    put("popup", boolText(r.popup));
    put("popupsmall", boolText(r.popupsmall));
    put("minimize", boolText(r.minimize));
    put("audiofeedback", boolText(r.audiofeedback));
    put("style", std::to_string(r.style));
    put("webexporton", boolText(r.webexporton));
    put("webexportport", std::to_string(r.webexportport));
    put("webexportpwd", r.webexportpwd);
    put("capidelay", boolText(r.capidelay));
    put("capidelaytime", std::to_string(r.capidelaytime));
    put("autostart", boolText(r.autostart));
    put("quietexit", boolText(r.quietexit));
    put("appexit", boolText(r.appexit));
    put("TKAddNull", boolText(r.TKAddNull));
    put("TKRemoveNull", boolText(r.TKRemoveNull));
    put("TrayBlink", boolText(r.TrayBlink));
    put("RedBlink", boolText(r.RedBlink));
    put("language", toLower(r.language));
    put("RejectAnonymous", boolText(r.RejectAnonymous));
    put("showAllCalls", boolText(r.showAllCalls));
    put("prefix", r.Prefix);
    loadSettings(r, path);
}

void loadSettings() {
    loadSettings(settings(), configFilePath());
}

void saveSettings() {
    saveSettings(settings(), configFilePath());
}
