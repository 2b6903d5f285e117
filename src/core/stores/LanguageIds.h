#pragma once

// Numbers of the language strings the program shows. The texts live in the
// language files in lang\ ("n=text" per line); english.lng is the base table
// and every number below is defined in each shipped language file.

#include <cstdint>

namespace lang_id {

// --- Journal window, pop-up menus and notification icon ---------------------
// settings button/menu item and settings dialog title
inline constexpr std::int16_t kSettings = 1000;
// journal window title, "show journal" menu item, web page heading
inline constexpr std::int16_t kCallJournal = 1015;
// options panel button: clear the journal
inline constexpr std::int16_t kClearList = 1016;
// info button/menu item (opens the info page of the settings)
inline constexpr std::int16_t kInfo = 1017;
// exit button/menu item and title of the exit question
inline constexpr std::int16_t kExitTitle = 1018;
// "add caller to phonebook" button and menu item
inline constexpr std::int16_t kAddToPhonebook = 1028;
// reverse number lookup button and menu item
inline constexpr std::int16_t kReverseLookup = 1029;
// tray tooltip prefix before the last caller
inline constexpr std::int16_t kTooltipLastCaller = 1035;
// question before the journal is cleared
inline constexpr std::int16_t kClearListQuestion = 1042;
// tray tooltip before the first call
inline constexpr std::int16_t kTooltipIdle = 1043;
// options panel button: open the update window
inline constexpr std::int16_t kSearchUpdate = 1045;
// journal / web export column heading: caller name
inline constexpr std::int16_t kColumnCaller = 1049;
// journal / web export column heading: end reason
inline constexpr std::int16_t kColumnEndReason = 1053;
// question before a caller is added to the phonebook
inline constexpr std::int16_t kAddToPhonebookQuestion = 1057;
// input prompt for the new phonebook name
inline constexpr std::int16_t kAddToPhonebookNamePrompt = 1058;
// button: turn away the ringing call
inline constexpr std::int16_t kRejectCall = 1063;
// options panel button: origin of a prefix
inline constexpr std::int16_t kPrefixCheck = 1076;
// input prompt of the prefix check
inline constexpr std::int16_t kPrefixCheckPrompt = 1077;
// message: prefix check found no origin
inline constexpr std::int16_t kPrefixCheckNoResult = 1078;
// journal context menu: delete the selected record
inline constexpr std::int16_t kDeleteEntry = 1090;

// --- Shared captions and column headings -------------------------------------
// "number" label/column heading; also "<text>: <number>" in the add question
inline constexpr std::int16_t kNumber = 1008;
// "name" label and phonebook column heading
inline constexpr std::int16_t kName = 1009;
// MSN label and column heading
inline constexpr std::int16_t kMsn = 1050;
// date label and column heading
inline constexpr std::int16_t kDate = 1051;
// time column heading
inline constexpr std::int16_t kTime = 1052;

// --- The line going away and coming back ------------------------------------------
// tray tooltip while the line is down and being reconnected
inline constexpr std::int16_t kTooltipLineDown = 1190;
// tooltip of the disabled reject buttons on a line that cannot turn calls away
inline constexpr std::int16_t kRejectNotPossible = 1191;

// --- Incoming-call pop-up ----------------------------------------------------
// pop-up window title
inline constexpr std::int16_t kIncomingCallTitle = 1024;
// pop-up close button
inline constexpr std::int16_t kClose = 1025;
// pop-up status line while the call rings
inline constexpr std::int16_t kCallRinging = 1059;
// pop-up label in front of the status line
inline constexpr std::int16_t kCallStatus = 1061;

// --- Caller texts for calls without a usable number ----------------------------
// Blanks are removed from these when they stand in for a caller number.
// number withheld (ISDN numbering plan)
inline constexpr std::int16_t kCallerWithheld = 1032;
// number withheld, other plan; octet 3 is appended
inline constexpr std::int16_t kCallerWithheldOtherPlan = 1033;
// no calling party number at all
inline constexpr std::int16_t kCallerNotTransmitted = 1034;
// no usable number; also the end reason for unlisted causes
inline constexpr std::int16_t kUnknown = 1041;

// --- End reasons of a call ------------------------------------------------------
// 0x349A: answered at another terminal
inline constexpr std::int16_t kEndAnsweredElsewhere = 1036;
// 0x3490: normal call clearing (missed call)
inline constexpr std::int16_t kEndCallerHungUp = 1037;
// 0x3304: another application took the call
inline constexpr std::int16_t kEndOtherApplication = 1038;
// 0x349F: normal, unspecified
inline constexpr std::int16_t kEndNormalUnspecified = 1039;
// 0x34E6: recovery on timer expiry
inline constexpr std::int16_t kEndTimerExpiry = 1040;
// 0x3400: network cause octet 0
inline constexpr std::int16_t kEndNoCause = 1064;

// --- Start-up and exit messages ------------------------------------------------
// message: CAPI registration failed
inline constexpr std::int16_t kCapiRegisterFailed = 1044;
// title of that message
inline constexpr std::int16_t kCapiRegisterFailedTitle = 1047;
// "really exit?" question
inline constexpr std::int16_t kExitQuestion = 1048;
// message: origin tables or resource file missing
inline constexpr std::int16_t kResourceMissing = 1060;
// message: program already running
inline constexpr std::int16_t kSecondInstance = 1062;
// message at start: the language files lack texts ("%1": how many), English stands in
inline constexpr std::int16_t kLanguageIncomplete = 1120;

// --- Settings dialog: navigation and buttons -----------------------------------------
// tree node of the call page
inline constexpr std::int16_t kNavCalls = 1001;
// tree node of the phonebook page
inline constexpr std::int16_t kNavPhonebook = 1002;
// tree node and group of the misc page
inline constexpr std::int16_t kMiscellaneous = 1003;
// tree node of the web export page
inline constexpr std::int16_t kNavWebExport = 1079;
// tree node of the backup page
inline constexpr std::int16_t kNavBackup = 1109;
// OK button
inline constexpr std::int16_t kOk = 1013;
// Cancel button
inline constexpr std::int16_t kCancel = 1014;
// file pick buttons
inline constexpr std::int16_t kBrowse = 1005;

// --- Settings dialog: call page ------------------------------------------------------
// check box: play a sound on a call
inline constexpr std::int16_t kPlaySoundOnCall = 1004;
// button: play the chosen wave file
inline constexpr std::int16_t kTestSound = 1006;
// option: raise the journal window on a call
inline constexpr std::int16_t kPopUpJournal = 1007;
// check box: minimise again after the call
inline constexpr std::int16_t kMinimizeAfterCall = 1021;
// option: small pop-up window on a call
inline constexpr std::int16_t kPopUpSmall = 1026;
// option: no window on a call
inline constexpr std::int16_t kNoPopUp = 1027;
// group: notification icon behaviour
inline constexpr std::int16_t kTrayIconGroup = 1093;
// option: icon does not blink
inline constexpr std::int16_t kTrayNormal = 1094;
// option: blink green while a call rings
inline constexpr std::int16_t kTrayBlinkGreen = 1095;
// check box: blink red after a missed call
inline constexpr std::int16_t kTrayBlinkRed = 1096;
// group: pop-up behaviour
inline constexpr std::int16_t kPopUpGroup = 1097;
// check box: reject calls without caller number
inline constexpr std::int16_t kRejectAnonymous = 1101;
// group: which calls are signalled
inline constexpr std::int16_t kCallSignallingGroup = 1106;
// option: show all calls
inline constexpr std::int16_t kShowAllCalls = 1107;
// option: show only calls to listed MSNs
inline constexpr std::int16_t kShowListedMsnOnly = 1108;

// --- Settings dialog: phonebook and MSN pages ------------------------------------------
// add button
inline constexpr std::int16_t kAdd = 1010;
// remove button
inline constexpr std::int16_t kRemove = 1011;
// message: remove with an empty number field
inline constexpr std::int16_t kRemoveNeedsNumber = 1030;
// message: number neither numeric nor with "*"
inline constexpr std::int16_t kInvalidNumber = 1067;
// label: reject calls from/to this entry
inline constexpr std::int16_t kAutoReject = 1068;
// change button
inline constexpr std::int16_t kChange = 1075;
// label: the entry's wave file
inline constexpr std::int16_t kSound = 1091;
// label: the entry's picture file
inline constexpr std::int16_t kPicture = 1092;

// --- Settings dialog: web export page --------------------------------------------------
// check box: run the web export server
inline constexpr std::int16_t kWebExportEnable = 1080;
// label: password
inline constexpr std::int16_t kWebExportPassword = 1081;
// label: hint on the password
inline constexpr std::int16_t kWebExportPasswordHint = 1082;

// --- Settings dialog: misc page -----------------------------------------------------
// check box: feedback sounds
inline constexpr std::int16_t kAudioFeedback = 1012;
// group around the language list
inline constexpr std::int16_t kLanguage = 1020;
// check box: delayed CAPI registration
inline constexpr std::int16_t kCapiDelay = 1083;
// label explaining the start delay
inline constexpr std::int16_t kCapiDelayHint = 1084;
// check box: start with Windows
inline constexpr std::int16_t kAutostart = 1085;
// check box: exit without asking
inline constexpr std::int16_t kQuietExit = 1088;
// group: telephone system (PBX) number fixes
inline constexpr std::int16_t kTelephoneSystem = 1089;
// check box: add a leading zero
inline constexpr std::int16_t kTkAddNull = 1098;
// check box: remove the leading zero
inline constexpr std::int16_t kTkRemoveNull = 1099;
// group around the own country prefix
inline constexpr std::int16_t kCountryPrefix = 1113;
// check box: the close box exits the program
inline constexpr std::int16_t kExitOnClose = 1114;
// message: language changed / settings restored
inline constexpr std::int16_t kRestartNeeded = 1055;

// --- Settings dialog: backup and info pages ---------------------------------------------
// button: write a backup file
inline constexpr std::int16_t kBackup = 1110;
// button: restore from a backup file
inline constexpr std::int16_t kRestore = 1111;
// label of the backup page
inline constexpr std::int16_t kBackupHint = 1112;
// info page: acknowledgement of the lookup service
inline constexpr std::int16_t kLookupCredits = 1065;
// info page: link to the lookup service's privacy page
inline constexpr std::int16_t kLookupPrivacy = 1066;

// --- Settings dialog: messages and notes of its own ------------------------------------
// message: the web export port is not a number from 1 to 32767
inline constexpr std::int16_t kInvalidPort = 1130;
// message: a file chosen for restore holds no backup section
inline constexpr std::int16_t kBackupWithoutSections = 1131;
// message: a file chosen for restore cannot be read
inline constexpr std::int16_t kBackupUnreadable = 1132;
// message: the backup file cannot be written
inline constexpr std::int16_t kBackupNotWritten = 1133;
// message: a restored settings file cannot be written
inline constexpr std::int16_t kRestoreIncomplete = 1134;
// message: a list entry to change has moved or gone since it was clicked
inline constexpr std::int16_t kListChanged = 1135;
// note beside the web export box, before the reason a start failed
inline constexpr std::int16_t kWebExportNotStarted = 1136;
// message: a file chosen for restore ends inside a section
inline constexpr std::int16_t kBackupCutOff = 1137;
// message: a file chosen for restore is far larger than any backup
inline constexpr std::int16_t kBackupTooLarge = 1138;
// message: the restored settings files could not all be written
inline constexpr std::int16_t kRestoreNotWritten = 1139;
// question: the version file gives no digest for the setup file
inline constexpr std::int16_t kUpdateWithoutDigest = 1140;
// update window: the version line's checksum is malformed
inline constexpr std::int16_t kUpdateMalformedDigest = 1141;
// message: the instance lock cannot be opened; its path and the reason follow
inline constexpr std::int16_t kInstanceLockFailed = 1142;
// message: no log is written; the folder and the reason follow
inline constexpr std::int16_t kLogFolderUnusable = 1143;

// --- Settings dialog: the line page --------------------------------------------------------
// group of the line choice
inline constexpr std::int16_t kLineGroup = 1192;
// option: the system's CAPI 2.0 library
inline constexpr std::int16_t kLineCapi = 1193;
// option: a router's call monitor on TCP
inline constexpr std::int16_t kLineCallMonitor = 1194;
// label of the call monitor's HOST[:PORT]
inline constexpr std::int16_t kLineHost = 1195;
// note: the line is chosen at start-up only
inline constexpr std::int16_t kLineAtNextStart = 1196;
// note before the --line value that wins over the setting in this run
inline constexpr std::int16_t kLineFromCommandLine = 1197;
// message: the call monitor's host is empty or its port not from 1 to 65535
inline constexpr std::int16_t kInvalidLineHost = 1198;

// --- Passing calls on: headless print-out, call-monitor server, command on every call -----
// headless print-out: before the MSN's name, "RING  caller for Privat"
inline constexpr std::int16_t kHeadlessForMsn = 1121;
// headless print-out: the outcome of a call nobody answered
inline constexpr std::int16_t kHeadlessMissed = 1122;
// settings dialog: group of the call-monitor server and the command on every call
inline constexpr std::int16_t kCallSharingGroup = 1123;
// check box: serve the calls as a call monitor
inline constexpr std::int16_t kMonitorServerEnable = 1124;
// label of the addresses and networks allowed to connect
inline constexpr std::int16_t kMonitorAllow = 1125;
// label of the command run on every call step
inline constexpr std::int16_t kOnCallCommand = 1126;
// message: the command cannot be split into program and arguments
inline constexpr std::int16_t kInvalidOnCallCommand = 1127;
// message before the entries of the allow list that are no address or network
inline constexpr std::int16_t kInvalidMonitorAllow = 1128;
// note: the server is set up at start-up only
inline constexpr std::int16_t kMonitorAtNextStart = 1129;
// --- Settings dialog: the MQTT page --------------------------------------------------------
// check box: publish the calls to an MQTT broker
inline constexpr std::int16_t kMqttEnable = 900;
// label of the broker's host
inline constexpr std::int16_t kMqttHost = 901;
// label of the broker's user name
inline constexpr std::int16_t kMqttUser = 902;
// label of the broker's password
inline constexpr std::int16_t kMqttPassword = 903;
// check box: TLS with the system's certificates
inline constexpr std::int16_t kMqttTls = 904;
// label of the topics' prefix
inline constexpr std::int16_t kMqttTopic = 905;
// check box: Home Assistant's MQTT discovery
inline constexpr std::int16_t kMqttDiscovery = 906;
// message: the broker's host is empty, the port not from 1 to 65535 or the prefix unusable
inline constexpr std::int16_t kInvalidMqtt = 907;
// --- Desktop notifications and missed calls ------------------------------------------------
// summary of the notification of a call nobody answered
inline constexpr std::int16_t kMissedCall = 1155;
// notification action: reverse lookup of the caller's number
inline constexpr std::int16_t kLookUp = 1156;
// notification action: turn the ringing call away
inline constexpr std::int16_t kTurnAway = 1157;
// after the count of missed calls in the journal window's title and the tooltip ("3 missed")
inline constexpr std::int16_t kMissedSuffix = 1158;
// before the count of missed calls in the log and on the web page
inline constexpr std::int16_t kMissedCallsLine = 1159;
// settings dialog, misc page: the choice of how calls are announced
inline constexpr std::int16_t kNotifyLabel = 1160;
inline constexpr std::int16_t kNotifyPopup = 1161;
inline constexpr std::int16_t kNotifyDesktop = 1162;
inline constexpr std::int16_t kNotifyBoth = 1163;

// --- Update window -------------------------------------------------------------------------
// label: running version
inline constexpr std::int16_t kInstalledVersion = 1102;
// label: version found on the server
inline constexpr std::int16_t kLatestVersion = 1103;
// button: fetch the server's version
inline constexpr std::int16_t kCheckVersion = 1104;
// button: download and start the setup
inline constexpr std::int16_t kStartUpdate = 1105;
// message: the version file could not be fetched; the reason follows
inline constexpr std::int16_t kUpdateCheckFailed = 1151;
// message: the setup file could not be fetched; the reason follows
inline constexpr std::int16_t kUpdateDownloadFailed = 1152;
// message: the setup file's digest differs from the version file's; it was deleted
inline constexpr std::int16_t kUpdateDigestMismatch = 1153;
// message: the desktop could not open the setup file; its path follows
inline constexpr std::int16_t kUpdateOpenFailed = 1154;

// --- Journal web page -------------------------------------------------------------------------
// settings dialog, beside the web export check box: the port cannot be listened on; the port
// and the reason follow
inline constexpr std::int16_t kWebExportPortUnavailable = 1150;

// --- Data files ------------------------------------------------------------------------
// message: a data file could not be saved; the data stays in memory
inline constexpr std::int16_t kSaveFailed = 1170;
// message: a data file could not be read; it is left alone and the program works in memory
inline constexpr std::int16_t kReadFailed = 1171;
// message: a data file is left as it is until the user changes its entries
inline constexpr std::int16_t kKeptAsIs = 1172;
// title of the data file messages
inline constexpr std::int16_t kDataFileTitle = 1173;

// --- Address books ----------------------------------------------------------------------
// the phonebook page: heading of the list of address books
inline constexpr std::int16_t kAddressBooks = 910;
// button: add a vCard file or router phonebook as address book
inline constexpr std::int16_t kAddressBookAddFile = 911;
// button: add a CardDAV address book
inline constexpr std::int16_t kAddressBookAddCardDav = 912;
// button: read all address books again now
inline constexpr std::int16_t kAddressBookRefresh = 913;
// button: copy chosen contacts of an address book into the phonebook
inline constexpr std::int16_t kAddressBookImport = 914;
// column and trace: the number of contacts an address book gave
inline constexpr std::int16_t kAddressBookContacts = 915;
// column: what went wrong at the last reading of an address book
inline constexpr std::int16_t kAddressBookLastError = 916;
// column: the address book
inline constexpr std::int16_t kAddressBookSource = 917;
// error: the CardDAV server refused user and password
inline constexpr std::int16_t kAddressBookWrongPassword = 918;
// error: the file or answer is not an address book; the reason follows
inline constexpr std::int16_t kAddressBookNotReadable = 919;
// error: the CardDAV answer was too large
inline constexpr std::int16_t kAddressBookTooLarge = 920;
// error: the address book file cannot be read; the reason follows
inline constexpr std::int16_t kAddressBookUnreadable = 921;
// label: the address of a CardDAV address book
inline constexpr std::int16_t kAddressBookAddress = 922;
// label: the CardDAV user
inline constexpr std::int16_t kAddressBookUser = 923;
// label: the CardDAV password
inline constexpr std::int16_t kAddressBookPassword = 924;
// journal tooltip: where a name came from; the address book follows
inline constexpr std::int16_t kNameFrom = 925;
// what an address book is called, followed by its number and file or address
inline constexpr std::int16_t kAddressBookLabel = 926;
// title: choosing contacts to copy into the phonebook
inline constexpr std::int16_t kAddressBookChooseContacts = 927;
// error: the CardDAV server gave no usable answer; the reason follows
inline constexpr std::int16_t kAddressBookNoAnswer = 928;
// error: the copy of a CardDAV address book could not be saved
inline constexpr std::int16_t kAddressBookCacheNotSaved = 929;
// Every number above, in ascending order.
inline constexpr std::int16_t kAll[] = {
    kAddressBooks,
    kAddressBookAddFile,
    kAddressBookAddCardDav,
    kAddressBookRefresh,
    kAddressBookImport,
    kAddressBookContacts,
    kAddressBookLastError,
    kAddressBookSource,
    kAddressBookWrongPassword,
    kAddressBookNotReadable,
    kAddressBookTooLarge,
    kAddressBookUnreadable,
    kAddressBookAddress,
    kAddressBookUser,
    kAddressBookPassword,
    kNameFrom,
    kAddressBookLabel,
    kAddressBookChooseContacts,
    kAddressBookNoAnswer,
    kAddressBookCacheNotSaved,
    kSettings,
    kNavCalls,
    kNavPhonebook,
    kMiscellaneous,
    kPlaySoundOnCall,
    kBrowse,
    kTestSound,
    kPopUpJournal,
    kNumber,
    kName,
    kAdd,
    kRemove,
    kAudioFeedback,
    kOk,
    kCancel,
    kCallJournal,
    kClearList,
    kInfo,
    kExitTitle,
    kLanguage,
    kMinimizeAfterCall,
    kIncomingCallTitle,
    kClose,
    kPopUpSmall,
    kNoPopUp,
    kAddToPhonebook,
    kReverseLookup,
    kRemoveNeedsNumber,
    kCallerWithheld,
    kCallerWithheldOtherPlan,
    kCallerNotTransmitted,
    kTooltipLastCaller,
    kEndAnsweredElsewhere,
    kEndCallerHungUp,
    kEndOtherApplication,
    kEndNormalUnspecified,
    kEndTimerExpiry,
    kUnknown,
    kClearListQuestion,
    kTooltipIdle,
    kCapiRegisterFailed,
    kSearchUpdate,
    kCapiRegisterFailedTitle,
    kExitQuestion,
    kColumnCaller,
    kMsn,
    kDate,
    kTime,
    kColumnEndReason,
    kRestartNeeded,
    kAddToPhonebookQuestion,
    kAddToPhonebookNamePrompt,
    kCallRinging,
    kResourceMissing,
    kCallStatus,
    kSecondInstance,
    kLanguageIncomplete,
    kRejectCall,
    kEndNoCause,
    kLookupCredits,
    kLookupPrivacy,
    kInvalidNumber,
    kAutoReject,
    kChange,
    kPrefixCheck,
    kPrefixCheckPrompt,
    kPrefixCheckNoResult,
    kNavWebExport,
    kWebExportEnable,
    kWebExportPassword,
    kWebExportPasswordHint,
    kCapiDelay,
    kCapiDelayHint,
    kAutostart,
    kQuietExit,
    kTelephoneSystem,
    kDeleteEntry,
    kSound,
    kPicture,
    kTrayIconGroup,
    kTrayNormal,
    kTrayBlinkGreen,
    kTrayBlinkRed,
    kPopUpGroup,
    kTkAddNull,
    kTkRemoveNull,
    kRejectAnonymous,
    kInstalledVersion,
    kLatestVersion,
    kCheckVersion,
    kStartUpdate,
    kCallSignallingGroup,
    kShowAllCalls,
    kShowListedMsnOnly,
    kNavBackup,
    kBackup,
    kRestore,
    kBackupHint,
    kCountryPrefix,
    kExitOnClose,
    kSaveFailed,
    kReadFailed,
    kKeptAsIs,
    kDataFileTitle,
    kWebExportPortUnavailable,
    kUpdateCheckFailed,
    kUpdateDownloadFailed,
    kUpdateDigestMismatch,
    kUpdateOpenFailed,
    kTooltipLineDown,
    kRejectNotPossible,
    kInvalidPort,
    kBackupWithoutSections,
    kBackupUnreadable,
    kBackupNotWritten,
    kRestoreIncomplete,
    kListChanged,
    kWebExportNotStarted,
    kBackupCutOff,
    kBackupTooLarge,
    kRestoreNotWritten,
    kUpdateWithoutDigest,
    kUpdateMalformedDigest,
    kInstanceLockFailed,
    kLogFolderUnusable,
    kLineGroup,
    kLineCapi,
    kLineCallMonitor,
    kLineHost,
    kLineAtNextStart,
    kLineFromCommandLine,
    kInvalidLineHost,
    kMqttEnable,
    kMqttHost,
    kMqttUser,
    kMqttPassword,
    kMqttTls,
    kMqttTopic,
    kMqttDiscovery,
    kInvalidMqtt,
    kMissedCall,
    kLookUp,
    kTurnAway,
    kMissedSuffix,
    kMissedCallsLine,
    kNotifyLabel,
    kNotifyPopup,
    kNotifyDesktop,
    kNotifyBoth,
};

} // namespace lang_id
