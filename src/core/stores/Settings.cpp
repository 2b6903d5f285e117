#include "stores/Settings.h"

#include "calls/NotifyMode.h"
#include "stores/IniFile.h"
#include "stores/StoreFile.h"
#include "support/AsciiText.h"
#include "support/NumericText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <tuple>

namespace {

constexpr const char* kSection = "config";

// Reads the keys of one file; a value that is missing or does not convert gives the key's
// default, and one that was there but did not convert is listed.
class SettingsReader {
public:
    SettingsReader(const IniDocument& file, std::vector<std::string>& ignored)
        : m_file(file), m_ignored(ignored) {}

    std::string text(const char* key) const { return m_file.value(kSection, key); }

    bool flag(const char* key, bool fallback) const {
        return read(key, fallback, parseSettingBool);
    }
    std::int16_t number(const char* key, std::int16_t fallback) const {
        return read(key, fallback, parseSettingInt);
    }
    std::string text(const char* key, const std::string& fallback) const {
        auto value = text(key);
        return value.empty() ? fallback : value;
    }
    std::uint16_t port(const char* key, std::uint16_t fallback) const {
        return read(key, fallback, parseSettingPort);
    }
    void ignore(const char* key) const { m_ignored.emplace_back(key); }

private:
    template <typename T, typename Parse> T read(const char* key, T fallback, Parse parse) const {
        const std::string value = text(key);
        if (value.empty()) {
            return fallback;
        }
        if (const auto parsed = parse(value)) {
            return *parsed;
        }
        ignore(key);
        return fallback;
    }

    const IniDocument& m_file;
    std::vector<std::string>& m_ignored;
};

const char* boolText(bool value) {
    return value ? "-1" : "0";
}

} // namespace

std::optional<bool> parseSettingBool(std::string_view text) {
    const std::string_view trimmed = ascii::trimmed(text);
    for (const char* word : {"true", "yes", "on"}) {
        if (ascii::equalsNoCase(trimmed, word)) {
            return true;
        }
    }
    for (const char* word : {"false", "no", "off"}) {
        if (ascii::equalsNoCase(trimmed, word)) {
            return false;
        }
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

std::optional<std::uint16_t> parseSettingPort(std::string_view text) {
    const auto number = numericValue(text);
    if (!number || *number != std::floor(*number) || *number < 1 ||
        *number > std::numeric_limits<std::uint16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(*number);
}

bool sameMqttSettings(const SettingsRecord& a, const SettingsRecord& b) {
    const auto fields = [](const SettingsRecord& r) {
        return std::tie(r.mqttOn, r.mqttHost, r.mqttPort, r.mqttUser, r.mqttPassword, r.mqttTls,
                        r.mqttTopic, r.mqttDiscovery);
    };
    return fields(a) == fields(b);
}

std::vector<std::string> readSettings(SettingsRecord& r, const IniDocument& file) {
    std::vector<std::string> ignored;
    const SettingsReader in(file, ignored);
    r.playCallSound = in.flag("plsnd", true);
    r.callSound = in.text("sndwav", "");
    if (r.callSound.empty() && r.playCallSound) {
        r.callSound = kDefaultCallSound;
    }
    r.showJournalOnCall = in.flag("popup", false);
    r.showPopupOnCall = in.flag("popupsmall", false);
    r.audioFeedback = in.flag("audiofeedback", false);
    r.minimizeAfterCall = in.flag("minimize", false);
    r.style = in.number("style", 0);
    r.webExportOn = in.flag("webexporton", false);
    r.webExportPort = in.number("webexportport", 80);
    if (r.webExportPort == 0) {
        r.webExportPort = 80;
    }
    r.webExportPassword = in.text("webexportpwd", "brindle");
    r.delayRegistration = in.flag("capidelay", false);
    r.registrationDelayStep = in.number("capidelaytime", 0);
    r.autostart = in.flag("autostart", false);
    r.quietExit = in.flag("quietexit", false);
    r.exitOnClose = in.flag("appexit", false);
    r.addLeadingZero = in.flag("TKAddNull", false);
    r.removeLeadingZero = in.flag("TKRemoveNull", false);
    r.blinkWhileRinging = in.flag("TrayBlink", false);
    r.blinkAfterMissedCall = in.flag("RedBlink", false);
    r.language = in.text("language", "");
    r.rejectWithheld = in.flag("RejectAnonymous", false);
    r.showAllCalls = in.flag("showAllCalls", true);
    r.ownCountryPrefix = in.text("Prefix", "0049");
    if (!isNumericText(r.ownCountryPrefix)) {
        in.ignore("Prefix");
        r.ownCountryPrefix = "0049";
    }
    r.lookupUrl = in.text("lookupurl", kDefaultLookupUrl);
    r.updateUrl = in.text("updateurl", kDefaultUpdateUrl);
    r.line = in.text("line");
    r.monitorServerOn = in.flag("monitorserver", false);
    r.monitorPort = in.number("monitorport", 1012);
    if (r.monitorPort <= 0) {
        in.ignore("monitorport");
        r.monitorPort = 1012;
    }
    r.monitorAllow = in.text("monitorallow", kDefaultMonitorAllow);
    r.onCallCommand = in.text("oncall");
    r.mqttOn = in.flag("mqtt", false);
    r.mqttHost = in.text("mqtthost", "localhost");
    r.mqttPort = in.port("mqttport", kDefaultMqttPort);
    r.mqttUser = in.text("mqttuser");
    r.mqttPassword = in.text("mqttpassword");
    r.mqttTls = in.flag("mqtttls", false);
    r.mqttTopic = in.text("mqtttopic");
    r.mqttDiscovery = in.flag("mqttdiscovery", true);
    r.notify = in.text("notify");
    if (!r.notify.empty() && !parseNotifyMode(r.notify)) {
        in.ignore("notify");
        r.notify.clear();
    }
    r.missedSeen = 0;
    if (const std::string seen = in.text("missedseen"); !seen.empty()) {
        const auto [end, error] =
            std::from_chars(seen.data(), seen.data() + seen.size(), r.missedSeen);
        if (error != std::errc() || end != seen.data() + seen.size() || r.missedSeen < 0) {
            in.ignore("missedseen");
            r.missedSeen = 0;
        }
    }
    r.addressBooks.clear();
    for (std::size_t n = 1;; ++n) {
        const std::string key = "addressbook" + std::to_string(n);
        AddressBookSetting book{in.text(key.c_str()), in.text((key + "user").c_str()),
                                in.text((key + "password").c_str())};
        if (book.location.empty()) {
            break;
        }
        r.addressBooks.push_back(std::move(book));
    }
    return ignored;
}

void writeSettings(const SettingsRecord& r, IniDocument& file) {
    const auto put = [&file](const char* key, const std::string& value) {
        file.set(kSection, key, value);
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
    put("language", ascii::lowered(r.language));
    put("RejectAnonymous", boolText(r.rejectWithheld));
    put("showAllCalls", boolText(r.showAllCalls));
    put("prefix", r.ownCountryPrefix);
    put("line", r.line);
    put("monitorserver", boolText(r.monitorServerOn));
    put("monitorport", std::to_string(r.monitorPort));
    put("monitorallow", r.monitorAllow);
    put("oncall", r.onCallCommand);
    put("mqtt", boolText(r.mqttOn));
    put("mqtthost", r.mqttHost);
    put("mqttport", std::to_string(r.mqttPort));
    put("mqttuser", r.mqttUser);
    put("mqttpassword", r.mqttPassword);
    put("mqtttls", boolText(r.mqttTls));
    put("mqtttopic", r.mqttTopic);
    put("mqttdiscovery", boolText(r.mqttDiscovery));
    put("notify", r.notify);
    put("missedseen", r.missedSeen > 0 ? std::to_string(r.missedSeen) : std::string());
    for (std::size_t n = 1; n <= r.addressBooks.size(); ++n) {
        const std::string key = "addressbook" + std::to_string(n);
        const AddressBookSetting& book = r.addressBooks[n - 1];
        put(key.c_str(), book.location);
        put((key + "user").c_str(), book.user);
        put((key + "password").c_str(), book.password);
    }
    // A removed source must not come back when another is added later.
    for (std::size_t n = r.addressBooks.size() + 1;; ++n) {
        const std::string key = "addressbook" + std::to_string(n);
        if (file.value(kSection, key).empty()) {
            break;
        }
        put(key.c_str(), "");
        put((key + "user").c_str(), "");
        put((key + "password").c_str(), "");
    }
}

void loadSettings(SettingsRecord& r, const std::string& path) {
    StoreFile file;
    file.setPath(path);
    readSettings(r, IniDocument(file.read().value_or(std::string())));
}

SaveResult saveSettings(SettingsRecord& r, const std::string& path) {
    StoreFile file;
    file.setPath(path);
    SaveResult result = saveSettingsTo(file, r);
    loadSettings(r, path);
    return result;
}

SaveResult saveSettingsTo(StoreFile& file, const SettingsRecord& r) {
    // Read afresh, so lines that others wrote meanwhile stay; never over a file that cannot
    // be read.
    const auto bytes = file.read();
    IniDocument document(bytes.value_or(std::string()));
    writeSettings(r, document);
    return file.write(document.bytes());
}
