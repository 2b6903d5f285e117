#include "line/CapiCodeTables.h"

#include <gtest/gtest.h>

TEST(CapiCodeTables, CommandAndSubcommandNames) {
    EXPECT_EQ(CommandName(0x01), "CAPI_ALERT");
    EXPECT_EQ(CommandName(0x03), "CAPI_CONNECT_ACTIVE");
    EXPECT_EQ(CommandName(0x41), "CAPI_SELECT_B_PROTOCOL");
    EXPECT_EQ(CommandName(0x88), "CAPI_CONNECT_B3_T90_ACTIVE");
    EXPECT_EQ(CommandName(0xFF), "CAPI_MANUFACTURER");
    EXPECT_EQ(CommandName(0x06), "UNKNOWN");
    EXPECT_EQ(CommandName(0x85), "UNKNOWN");
    EXPECT_EQ(SubcommandName(0x80), "CAPI_REQ");
    EXPECT_EQ(SubcommandName(0x83), "CAPI_RESP");
    EXPECT_EQ(SubcommandName(0x84), "unknown");
    EXPECT_EQ(SubcommandName(0x00), "unknown");
}

TEST(CapiCodeTables, InfoTexts) {
    EXPECT_EQ(infoText(0), "");
    EXPECT_EQ(infoText(0x0003), "0x0003 Alert already sent by another application");
    EXPECT_EQ(infoText(0x100B), "0x100B Controller does only support external equipment");
    EXPECT_EQ(infoText(0x110B), "0x110B Controller supports only external equipment");
    EXPECT_EQ(infoText(0x2002), "0x2002 Illegal Controller/PLCI/NCCI");
    EXPECT_EQ(infoText(0x3011), "0x3011 Facility specific function not supported");
    EXPECT_EQ(infoText(0x1103), "0x1103 The message could not be accepted because of a queue full "
                                "condition. The error\r\nanother controller, PLCI or NCCI.");
    EXPECT_EQ(infoText(0x1105),
              "0x1105 Queue overflow: a message was lost. This indicates a configuration error. "
              "The only\r\nrecovery from this error is to do the CAPI_RELEASE operation.");
    EXPECT_EQ(infoText(0x4000), "Unknown Error - 16384");
    EXPECT_EQ(infoText(0x3012), "Unknown Error - 12306");
    EXPECT_EQ(infoText(0x1000), "Unknown Error - 4096");
}

TEST(CapiCodeTables, EveryTableCodeStartsWithItsHexValue) {
    const std::uint32_t firsts[] = {0x0001, 0x1001, 0x1101, 0x2001, 0x3001};
    const std::uint32_t lasts[] = {0x0003, 0x100B, 0x110B, 0x2008, 0x3011};
    for (int range = 0; range < 5; ++range) {
        for (auto code = firsts[range]; code <= lasts[range]; ++code) {
            char prefix[8];
            std::snprintf(prefix, sizeof prefix, "0x%04X", code);
            EXPECT_EQ(infoText(code).substr(0, 6), prefix) << code;
        }
    }
}

TEST(CapiCodeTables, CipNames) {
    EXPECT_EQ(CipName(0), "Any match");
    EXPECT_EQ(CipName(1), "Speech");
    EXPECT_EQ(CipName(9), "Unrestricted digital information with tones/announcements");
    EXPECT_EQ(CipName(16), "Telephony");
    EXPECT_EQ(CipName(28), "Video Telephony F.721, second connection");
    EXPECT_EQ(CipName(10), "reserved");
    EXPECT_EQ(CipName(12), "reserved");
    EXPECT_EQ(CipName(15), "reserved");
    EXPECT_EQ(CipName(29), "reserved");
    EXPECT_EQ(CipName(-1), "reserved");
}

TEST(CapiCodeTables, VersionText) {
    EXPECT_EQ(versionText(2, 0, 3, 11), "2.0 rev. 3.11");
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
