#include "line/CapiCodeTables.h"

#include "line/CapiMessages.h"

#include <array>
#include <cstdio>
#include <utility>

namespace {

struct InfoEntry {
    std::uint32_t code;
    const char* text;
};

constexpr InfoEntry kInfoTexts[] = {
    {0x0001, "0x0001 NCPI not supported by current protocol, NCPI"},
    {0x0002, "0x0002 Flags not supported by current protocol, flags"},
    {0x0003, "0x0003 Alert already sent by another application"},
    {0x1001, "0x1001 Too many applications"},
    {0x1002, "0x1002 Logical block size too small; must be at least 128 bytes"},
    {0x1003, "0x1003 Buffer exceeds 64 kbytes"},
    {0x1004, "0x1004 Message buffer size too small, must be at least 1024 bytes"},
    {0x1005, "0x1005 Max. number of logical connections not supported"},
    {0x1006, "0x1006 reserved"},
    {0x1007, "0x1007 The message could not be accepted because of an internal busy condition"},
    {0x1008, "0x1008 OS resource error (e.g. no memory)"},
    {0x1009, "0x1009 Not COMMON - ISDN - API"},
    {0x100A, "0x100A Controller does not support external equipment"},
    {0x100B, "0x100B Controller does only support external equipment"},
    {0x1101, "0x1101 Illegal application number"},
    {0x1102, "0x1102 Illegal command or subcommand, or message length less than 12 octets"},
    {0x1103, "0x1103 The message could not be accepted because of a queue full condition. The "
             "error\r\nanother controller, PLCI or NCCI."},
    {0x1104, "0x1104 Queue Is Empty"},
    {0x1105, "0x1105 Queue overflow: a message was lost. This indicates a configuration error. "
             "The only\r\nrecovery from this error is to do the CAPI_RELEASE operation."},
    {0x1106, "0x1106 Unknown notification parameter"},
    {0x1107, "0x1107 The message could not be accepted because of an internal busy condition"},
    {0x1108, "0x1108 OS resource error (e.g. no memory)"},
    {0x1109, "0x1109 Not COMMON - ISDN - API"},
    {0x110A, "0x110A Controller does not support external equipment"},
    {0x110B, "0x110B Controller supports only external equipment"},
    {0x2001, "0x2001 Message not supported in current state"},
    {0x2002, "0x2002 Illegal Controller/PLCI/NCCI"},
    {0x2003, "0x2003 No PLCI available"},
    {0x2004, "0x2004 No NCCI available"},
    {0x2005, "0x2005 No Listen resources available"},
    {0x2006, "0x2006 No fax resources available (protocol T.30)"},
    {0x2007, "0x2007 Illegal message parameter coding"},
    {0x2008, "0x2008 No interconnection resources available"},
    {0x3001, "0x3001 B1 protocol not supported"},
    {0x3002, "0x3002 B2 protocol not supported"},
    {0x3003, "0x3003 B3 protocol not supported"},
    {0x3004, "0x3004 B1 protocol parameter not supported"},
    {0x3005, "0x3005 B2 protocol parameter not supported"},
    {0x3006, "0x3006 B3 protocol parameter not supported"},
    {0x3007, "0x3007 B protocol combination not supported"},
    {0x3008, "0x3008 Not NCPI"},
    {0x3009, "0x3009 CIP Value unknown"},
    {0x300A, "0x300A Flags not supported (reserved bits)"},
    {0x300B, "0x300B Not Facility"},
    {0x300C, "0x300C Data length not supported by current protocol"},
    {0x300D, "0x300D Reset procedure not supported by current protocol"},
    {0x300E, "0x300E TEI assignment failed / overlapping channel masks"},
    {0x300F, "0x300F Unsupported interoperability (see Part IV)"},
    {0x3010, "0x3010 Request not allowed in this state"},
    {0x3011, "0x3011 Facility specific function not supported"},
};

constexpr std::array<const char*, 29> kCipNames = {
    "Any match",
    "Speech",
    "Unrestricted digital information",
    "Restricted digital information",
    "3.1 kHz audio",
    "7.0 kHz audio",
    "Video",
    "Packet mode",
    "56 kbit/s rate adaptation",
    "Unrestricted digital information with tones/announcements",
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    "Telephony",
    "Group 2/3 fax",
    "Group 4 fax class 1",
    "Teletex service (basic and mixed), fax group 4 class 2",
    "Teletex service(basic And processable)",
    "Teletex service(basic)",
    "Videotex",
    "Telex",
    "Message handling systems according X.400",
    "OSI applications according X.200",
    "7 kHz Telephony",
    "Video Telephony F.721, first connection",
    "Video Telephony F.721, second connection",
};

constexpr const char* kGlobalOptionTexts[] = {
    "Internal controller supported",
    "External equipment supported",
    "Handset supported (external equipment must also be set)",
    "DTMF supported",
    "Supplementary Services (see Part III)",
    "Channel allocation supported (leased lines)",
    "Parameter B channel operation supported",
    "Line Interconnect supported",
    "REST",
};

constexpr const char* kB1Texts[] = {
    "64 kbit/s with HDLC framing, always set.",
    "64 kbit/s bit-transparent operation with byte framing",
    "V.110 asynchronous operation with start/stop byte framing",
    "V.110 synchronous operation with HDLC framing",
    "T.30 modem for Group 3 fax",
    "64 kbit/s inverted with HDLC framing.",
    "56 kbit/s bit-transparent operation with byte framing",
    "Modem with all negotiations",
    "Modem asynchronous operation with start/stop byte framing",
    "Modem synchronous operation with HDLC framing",
    "REST",
};

constexpr const char* kB2Texts[] = {
    "ISO 7776 (X.75 SLP), always set",
    "Transparent",
    "SDLC",
    "LAPD in accordance with Q.921 for D-channel X.25",
    "T.30 for Group 3 fax",
    "Point-to-Point Protocol (PPP)",
    "Transparent (ignoring framing errors of B1 protocol)",
    "Modem error correction and compression (V.42 bis or",
    "ISO 7776 (X.75 SLP) modified supporting V.42 bis",
    "V.120 asynchronous mode",
    "V.120 asynchronous mode supporting V.42 bis",
    "V.120 bit-transparent mode",
    "LAPD in accordance with Q.921 including free SAPI",
    "reserved",
};

constexpr const char* kB3Texts[] = {
    "Transparent, always set",
    "T.90NL with compatibility to T.70NL in accordance to",
    "ISO 8208 (X.25 DTE-DTE)",
    "X.25 DCE",
    "T.30 for Group 3 fax",
    "T.30 for Group 3 fax with extensions",
    "reserved",
    "Modem",
    "reserved",
};

template <std::size_t N>
void appendSetBits(std::string& report, std::uint32_t mask, const char* const (&texts)[N]) {
    for (std::size_t bit = 0; bit < N; ++bit) {
        if (mask & (1u << bit)) {
            report += texts[bit];
            report += "\r\n";
        }
    }
}

} // namespace

std::string_view CommandName(std::uint8_t command) {
    switch (command) {
    case 0x01:
        return "CAPI_ALERT";
    case 0x02:
        return "CAPI_CONNECT";
    case 0x03:
        return "CAPI_CONNECT_ACTIVE";
    case 0x04:
        return "CAPI_DISCONNECT";
    case 0x05:
        return "CAPI_LISTEN";
    case 0x08:
        return "CAPI_INFO";
    case 0x41:
        return "CAPI_SELECT_B_PROTOCOL";
    case 0x80:
        return "CAPI_FACILITY";
    case 0x82:
        return "CAPI_CONNECT_B3";
    case 0x83:
        return "CAPI_CONNECT_B3_ACTIVE";
    case 0x84:
        return "CAPI_DISCONNECT_B3";
    case 0x86:
        return "CAPI_DATA_B3";
    case 0x87:
        return "CAPI_RESET_B3";
    case 0x88:
        return "CAPI_CONNECT_B3_T90_ACTIVE";
    case 0xFF:
        return "CAPI_MANUFACTURER";
    default:
        return "UNKNOWN";
    }
}

std::string_view SubcommandName(std::uint8_t subcommand) {
    switch (subcommand) {
    case 0x80:
        return "CAPI_REQ";
    case 0x81:
        return "CAPI_CONF";
    case 0x82:
        return "CAPI_IND";
    case 0x83:
        return "CAPI_RESP";
    default:
        return "unknown";
    }
}

std::string infoText(std::uint32_t info) {
    if (info == 0) {
        return {};
    }
    for (const auto& entry : kInfoTexts) {
        if (entry.code == info) {
            return entry.text;
        }
    }
    return "Unknown Error - " + std::to_string(info);
}

std::string_view CipName(int cip) {
    if (cip >= 0 && static_cast<std::size_t>(cip) < kCipNames.size() && kCipNames[cip]) {
        return kCipNames[cip];
    }
    return "reserved";
}

std::string versionText(std::uint32_t capiMajor, std::uint32_t capiMinor,
                        std::uint32_t manufacturerMajor, std::uint32_t manufacturerMinor) {
    return std::to_string(capiMajor) + "." + std::to_string(capiMinor) + " rev. " +
           std::to_string(manufacturerMajor) + "." + std::to_string(manufacturerMinor);
}

std::string profileReport(const std::uint8_t* profile, std::size_t size) {
    const auto controllers = capi::readLE(profile, size, 0, 2);
    const auto bChannels = capi::readLE(profile, size, 2, 2);
    const auto globalOptions = capi::readLE(profile, size, 4, 4);
    const auto b1 = capi::readLE(profile, size, 8, 4);
    const auto b2 = capi::readLE(profile, size, 12, 4);
    const auto b3 = capi::readLE(profile, size, 16, 4);

    std::string report;
    const std::pair<const char*, std::uint32_t> counts[] = {
        {"Controllers: ", controllers},
        {"B-Channels: ", bChannels},
        {"GlobalOptions: ", globalOptions},
        {"B1ProtSupport: ", b1},
        {"B2ProtSupport: ", b2},
        {"B3ProtSupport: ", b3},
    };
    for (const auto& [label, value] : counts) {
        report += label + std::to_string(value) + "\r\n";
    }
    report += "-----------\r\n";
    report += "---GLOBAL OPTIONS\r\n";
    appendSetBits(report, globalOptions, kGlobalOptionTexts);
    report += "---B1 PROT SUPP\r\n";
    appendSetBits(report, b1, kB1Texts);
    report += "---B2 PROT SUPP\r\n";
    appendSetBits(report, b2, kB2Texts);
    report += "---B3 PROT SUPP\r\n";
    appendSetBits(report, b3, kB3Texts);
    return report;
}
