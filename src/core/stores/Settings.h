#pragma once

#include "support/SafeSave.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniDocument;
class StoreFile;

/// The reverse-lookup address used when config.dat names none; "%s" stands for the number.
inline constexpr const char* kDefaultLookupUrl =
    "https://www.dasoertliche.de/Controller?form_name=search_inv&la=de&page=RUECKSUCHE"
    "&context=RUECKSUCHE&action=SUCHEN&buc=&ph=%s";

/// The update server's base address used when config.dat names none: version.txt and the
/// setup files lie below it.
inline constexpr const char* kDefaultUpdateUrl = "https://rufwacht.example/files/";

/// The default call sound, relative to the data folder.
inline constexpr const char* kDefaultCallSound = "./res/call.wav";

/// Who may connect to the call-monitor server unless config.dat says otherwise: the loopback
/// and the private networks.
inline constexpr const char* kDefaultMonitorAllow =
    "127.0.0.0/8 ::1 10.0.0.0/8 172.16.0.0/12 192.168.0.0/16 fc00::/7 fe80::/10";

/// The user's settings, as kept in config.dat (section "config"); the comments name the keys.
/// Before the first load every flag is false, every number 0 and every text empty; loadSettings
/// puts in the defaults.
/// One address book the program takes names from: a file (vCard or router phonebook XML) or a
/// CardDAV address with its user and password.
struct AddressBookSetting {
    std::string location; // addressbookN
    std::string user;     // addressbookNuser
    std::string password; // addressbookNpassword

    bool operator==(const AddressBookSetting&) const = default;
};

struct SettingsRecord {
    bool playCallSound = false;             // plsnd
    std::string callSound;                  // sndwav
    bool showJournalOnCall = false;         // popup
    bool showPopupOnCall = false;           // popupsmall
    bool audioFeedback = false;             // audiofeedback
    bool minimizeAfterCall = false;         // minimize
    std::int16_t style = 0;                 // 0: windows with the background picture
    bool webExportOn = false;               // webexporton
    std::int16_t webExportPort = 0;         // webexportport
    std::string webExportPassword;          // webexportpwd
    bool delayRegistration = false;         // capidelay
    std::int16_t registrationDelayStep = 0; // capidelaytime: (step + 1) * 30 seconds
    bool autostart = false;
    bool quietExit = false;            // quietexit: end without asking
    bool exitOnClose = false;          // appexit: the journal window's close box ends the program
    bool addLeadingZero = false;       // TKAddNull
    bool removeLeadingZero = false;    // TKRemoveNull
    bool blinkWhileRinging = false;    // TrayBlink
    bool blinkAfterMissedCall = false; // RedBlink
    std::string language;
    bool rejectWithheld = false; // RejectAnonymous
    bool showAllCalls = false;
    std::string ownCountryPrefix; // Prefix
    std::string lookupUrl;        // lookupurl: only read, edited by hand in config.dat
    std::string updateUrl;        // updateurl: only read, edited by hand in config.dat
    std::string line; // line: as --line (capi, capi:LIBRARY, callmonitor:HOST[:PORT]); "" is capi
    // Passing calls on to other programs.
    bool monitorServerOn = false; // monitorserver: serve the calls as a call monitor
    std::int16_t monitorPort = 0; // monitorport
    std::string monitorAllow;     // monitorallow: addresses and networks, blank-separated
    std::string onCallCommand;    // oncall: program and arguments run for every call step
    // Call events to an MQTT broker.
    bool mqttOn = false;        // mqtt
    std::string mqttHost;       // mqtthost: localhost by default
    std::uint16_t mqttPort = 0; // mqttport: 1883 by default
    std::string mqttUser;       // mqttuser: none when empty
    std::string mqttPassword;   // mqttpassword
    bool mqttTls = false;       // mqtttls: checked against the system's certificates
    std::string mqttTopic;      // mqtttopic: the topics' prefix; "" is rufwacht/<host name>
    bool mqttDiscovery = false; // mqttdiscovery: Home Assistant's discovery documents
    // How calls are announced and which missed calls the user has seen.
    std::string notify;          // notify: popup, desktop or both; "" lets the desktop decide
    std::int64_t missedSeen = 0; // missedseen: seconds since 1970 of the last look at them
    /// addressbook1, addressbook2, …: read up to the first one that is missing.
    std::vector<AddressBookSetting> addressBooks;
};

/// The MQTT broker's port when config.dat names none.
inline constexpr std::uint16_t kDefaultMqttPort = 1883;

/// True when both records name the same MQTT output (every mqtt key equal).
bool sameMqttSettings(const SettingsRecord& a, const SettingsRecord& b);

/// Fills the record from config.dat's content. A missing key, an empty value or one that does
/// not convert gives the key's default; then the fix-ups apply. Returns the keys whose values
/// were there but could not be read.
std::vector<std::string> readSettings(SettingsRecord& record, const IniDocument& file);

/// Puts every setting into config.dat's content, in the fixed order.
void writeSettings(const SettingsRecord& record, IniDocument& file);

/// Fills the record from the file (created with one empty line when missing; a file that
/// cannot be read gives the defaults). See readSettings.
void loadSettings(SettingsRecord& record, const std::string& path);

/// Writes every setting into the file in the fixed order, in one write, then loads the file
/// again. A file that exists but cannot be read is not replaced.
SaveResult saveSettings(SettingsRecord& record, const std::string& path);

/// Writes the settings into the store's file in one write, keeping its other lines; a file
/// that exists but cannot be read is not replaced.
SaveResult saveSettingsTo(StoreFile& file, const SettingsRecord& record);

/// A boolean as stored: any number (non-zero is true), True/False, Yes/No or On/Off.
std::optional<bool> parseSettingBool(std::string_view text);

/// A TCP port as stored: a whole number from 1 to 65535.
std::optional<std::uint16_t> parseSettingPort(std::string_view text);

/// A signed 16-bit integer as stored; out of range or not numeric is no value.
std::optional<std::int16_t> parseSettingInt(std::string_view text);
