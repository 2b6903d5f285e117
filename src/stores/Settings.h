#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

/// The reverse-lookup address used when config.dat names none; "%s" stands for the number.
inline constexpr const char* kDefaultLookupUrl =
    "https://www.dasoertliche.de/Controller?form_name=search_inv&la=de&page=RUECKSUCHE"
    "&context=RUECKSUCHE&action=SUCHEN&buc=&ph=%s";

/// The default call sound, relative to the program's folder.
inline constexpr const char* kDefaultCallSound = "./res/call.wav";

/// The user's settings, as kept in config.dat (section "config"). Before the first load every
/// flag is false, every number 0 and every text empty; loadSettings puts in the defaults.
struct SettingsRecord {
    bool plsnd = false;
    std::string sndwav;
    bool popup = false;
    bool popupsmall = false;
    bool audiofeedback = false;
    bool minimize = false;
    std::int16_t style = 0;
    bool webexporton = false;
    std::int16_t webexportport = 0;
    std::string webexportpwd;
    bool capidelay = false;
    std::int16_t capidelaytime = 0;
    bool autostart = false;
    bool quietexit = false;
    bool appexit = false;
    bool TKAddNull = false;
    bool TKRemoveNull = false;
    bool TrayBlink = false;
    bool RedBlink = false;
    std::string language;
    bool RejectAnonymous = false;
    bool showAllCalls = false;
    std::string Prefix;
    std::string lookupurl; // only read: edited by hand in config.dat
};

/// The one settings record of the process.
SettingsRecord& settings();

/// ConfigDir + "config.dat".
std::string configFilePath();

/// Fills the record from the file (created with one empty line when missing). A missing key or
/// a value that does not convert leaves the setting as it was; then the fix-ups apply.
void loadSettings(SettingsRecord& record, const std::string& path);

/// Writes every setting into the file in the fixed order, then loads the file again.
void saveSettings(SettingsRecord& record, const std::string& path);

/// The process-wide record with ConfigDir + "config.dat".
void loadSettings();
void saveSettings();

/// A boolean as stored: any number (non-zero is true) or the words True and False.
std::optional<bool> parseSettingBool(std::string_view text);

/// A signed 16-bit integer as stored; out of range or not numeric is no value.
std::optional<std::int16_t> parseSettingInt(std::string_view text);
