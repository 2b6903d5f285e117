#include "line/CapiCodeTables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

// The names themselves show in every transcript that the line tests compare.
TEST(CapiCodeTables, CommandAndSubcommandNamesToTheEndsAndUnknownCodes) {
    EXPECT_EQ(CommandName(0xFF), "CAPI_MANUFACTURER");
    EXPECT_EQ(CommandName(0x06), "UNKNOWN");
    EXPECT_EQ(CommandName(0x85), "UNKNOWN");
    EXPECT_EQ(SubcommandName(0x84), "unknown");
    EXPECT_EQ(SubcommandName(0x00), "unknown");
}

// Every code of the five ranges starts its text with its hex value; the codes around the ranges
// are unknown.
TEST(CapiCodeTables, InfoTextsOfTheFiveRangesAndAroundThem) {
    EXPECT_EQ(infoText(0), "");
    const std::pair<std::uint32_t, std::uint32_t> ranges[] = {
        {0x0001, 0x0003}, {0x1001, 0x100B}, {0x1101, 0x110B}, {0x2001, 0x2008}, {0x3001, 0x3011}};
    for (const auto& [first, last] : ranges) {
        for (auto code = first; code <= last; ++code) {
            char prefix[8];
            std::snprintf(prefix, sizeof prefix, "0x%04X ", code);
            EXPECT_EQ(infoText(code).substr(0, 7), prefix) << code;
            EXPECT_GT(infoText(code).size(), 7u) << code;
        }
        for (const auto outside : {first - 1, last + 1}) {
            if (outside != 0) {
                EXPECT_EQ(infoText(outside), "Unknown Error - " + std::to_string(outside));
            }
        }
    }
    EXPECT_EQ(infoText(0x4000), "Unknown Error - 16384");
}

TEST(CapiCodeTables, CipNamesAndTheReservedValues) {
    EXPECT_EQ(CipName(0), "Any match");
    EXPECT_EQ(CipName(28), "Video Telephony F.721, second connection");
    for (int cip = -1; cip <= 29; ++cip) {
        const bool reserved = cip < 0 || (cip >= 10 && cip <= 15) || cip > 28;
        EXPECT_EQ(CipName(cip) == "reserved", reserved) << cip;
    }
}

TEST(CapiCodeTables, ProfileReport) {
    std::uint8_t profile[64] = {};
    profile[0] = 1;
    profile[2] = 2;
    profile[4] = 9;     // internal controller, DTMF
    profile[8] = 0x01;  // HDLC
    profile[9] = 0x04;  // bit 10: REST
    profile[12] = 0x02; // transparent
    profile[13] = 0x20; // bit 13: reserved
    profile[16] = 0x80; // modem
    profile[17] = 0xFE; // bits 9..15: not examined
    EXPECT_EQ(profileReport(profile, sizeof profile),
              "Controllers: 1\r\nB-Channels: 2\r\nGlobalOptions: 9\r\nB1ProtSupport: 1025\r\n"
              "B2ProtSupport: 8194\r\nB3ProtSupport: 65152\r\n-----------\r\n"
              "---GLOBAL OPTIONS\r\nInternal controller supported\r\nDTMF supported\r\n"
              "---B1 PROT SUPP\r\n64 kbit/s with HDLC framing, always set.\r\nREST\r\n"
              "---B2 PROT SUPP\r\nTransparent\r\nreserved\r\n"
              "---B3 PROT SUPP\r\nModem\r\n");
    EXPECT_EQ(profileReport(profile, 0).substr(0, 16), "Controllers: 0\r\n");
}
