#include "line/CapiMessages.h"
#include "support/FakeCapiDriver.h"

#include <gtest/gtest.h>

using capi::Message;
using line_test::hexBytes;

namespace {

const capi::CallerTexts kTexts{"With held", "Other-", "Not sent", "Unknown"};

capi::DecodedCall decode(const Message& body) {
    return capi::decodeConnectInd(body.data(), body.size(), kTexts);
}

/// A call with PLCI 0x101 to MSN 12345, decoded from the body of the CONNECT_IND the line sends.
capi::DecodedCall decodeSent(capi::IncomingCallElements call) {
    call.plci = 0x101;
    const Message message = capi::encodeConnectInd(1, 1, call);
    return decode(Message(message.begin() + 8, message.end()));
}

capi::DecodedCall callFrom(std::uint8_t octet3, std::uint8_t octet3a, const std::string& digits) {
    return decodeSent(
        {.calledDigits = "12345", .callingDigits = digits, .octet3 = octet3, .octet3a = octet3a});
}

} // namespace

TEST(CapiMessageEncoding, RequestsAndResponsesByteForByte) {
    EXPECT_EQ(capi::encodeListenReq(0x0102),
              hexBytes("1a 00 02 01 05 80 01 00  01 00 00 00  00 00 00 00  12 00 01 00"
                       "  00 00 00 00  00 00"));
    EXPECT_EQ(capi::encodeAlertReq(1, 0x04030201),
              hexBytes("11 00 01 00 01 80 00 00  01 02 03 04  00 00 00 00 00"));
    EXPECT_EQ(capi::encodeConnectResp(1, 0x101),
              hexBytes("1b 00 01 00 02 83 00 00  01 01 00 00  00 00"
                       "  00 00 00 00 00 00 00 00 00 00 00 00 00"));
    EXPECT_EQ(capi::encodeDisconnectReq(1, 0x101),
              hexBytes("0d 00 01 00 04 80 00 00  01 01 00 00  00"));
    EXPECT_EQ(capi::encodeDisconnectResp(1, 0x201),
              hexBytes("0c 00 01 00 04 83 00 00  01 02 00 00"));
    EXPECT_EQ(capi::encodeInfoResp(1, 0x301), hexBytes("0c 00 01 00 08 83 00 00  01 03 00 00"));
    EXPECT_EQ(capi::encodeConnectActiveResp(1, 0x101),
              hexBytes("0c 00 01 00 03 83 00 00  01 01 00 00"));
}

TEST(CapiMessageEncoding, IndicationsOfTheLine) {
    capi::IncomingCallElements call;
    call.plci = 0x101;
    call.calledDigits = "123";
    call.callingDigits = "301234";
    EXPECT_EQ(capi::encodeConnectInd(1, 5, call),
              hexBytes("23 00 01 00 02 82 05 00  01 01 00 00  01 00  04 81 31 32 33"
                       "  08 21 80 33 30 31 32 33 34  00 00 00 00 00 00 00"));
    call.callingDigits = std::nullopt;
    EXPECT_EQ(capi::encodeConnectInd(1, 5, call)[19], 0); // calling party number empty
    EXPECT_EQ(capi::encodeDisconnectInd(1, 7, 0x101, 0x3490),
              hexBytes("0e 00 01 00 04 82 07 00  01 01 00 00  90 34"));
    EXPECT_EQ(capi::encodeConfirmation(1, capi::kListen, 1, 1, 0x2002),
              hexBytes("0e 00 01 00 05 81 01 00  01 00 00 00  02 20"));
}

TEST(CapiMessageDecoding, HeaderReadsMissingBytesAsZero) {
    const auto bytes = hexBytes("0e 00 01 00 04");
    const auto header = capi::decodeHeader(bytes.data(), bytes.size());
    EXPECT_EQ(header.length, 14);
    EXPECT_EQ(header.command, 4);
    EXPECT_EQ(header.subcommand, 0);
    EXPECT_EQ(capi::decodeHeader(nullptr, 0).length, 0);
}

TEST(CapiMessageDecoding, CallerNumberByTypeOfNumber) {
    EXPECT_EQ(callFrom(0x21, 0x80, "3012345678").callerID, "03012345678");  // national
    EXPECT_EQ(callFrom(0x11, 0x80, "3012345678").callerID, "003012345678"); // international
    EXPECT_EQ(callFrom(0x01, 0x80, "3012345678").callerID, "03012345678");  // unknown type
    EXPECT_EQ(callFrom(0x01, 0x80, "03012345678").callerID, "03012345678");
    EXPECT_EQ(callFrom(0x41, 0x80, "3012345678").callerID, "03012345678"); // other type, step 8
}

TEST(CapiMessageDecoding, CallerWithoutUsableDigits) {
    EXPECT_EQ(callFrom(0x01, 0xA0, "").callerID, "Withheld");  // restricted, ISDN plan
    EXPECT_EQ(callFrom(0x09, 0xA0, "").callerID, "Other-9");   // restricted, other plan
    EXPECT_EQ(callFrom(0x00, 0xA0, "").callerID, "Unknown");   // restricted, octet 3 zero
    EXPECT_EQ(callFrom(0x01, 0x80, "").callerID, "Unknown");   // allowed, but no digits
    EXPECT_EQ(callFrom(0x01, 0x80, "12").callerID, "Unknown"); // too few digits
    EXPECT_EQ(callFrom(0x21, 0x80, "12").callerID, "012");     // "0" makes three
    EXPECT_EQ(callFrom(0x01, 0x80, "ABC").callerID, "ABC");    // not digits: unchanged
    const auto none = decodeSent({.calledDigits = "12345", .callingDigits = std::nullopt});
    EXPECT_EQ(none.callerID, "Notsent");
}

TEST(CapiMessageDecoding, CalledNumberCipAndPlci) {
    const auto call = decodeSent({.cip = 16, .calledDigits = "81 2345", .callingDigits = "301234"});
    EXPECT_EQ(call.calledMSN, "812345");
    EXPECT_EQ(call.cip, 16);
    EXPECT_EQ(call.plci, 0x101u);
    const auto emptyCalled = decode(hexBytes("01 01 00 00 01 00 00 08 21 80 33 30 31 32 33 34"));
    EXPECT_EQ(emptyCalled.calledMSN, "");
    EXPECT_EQ(emptyCalled.callerID, "0301234");
}

TEST(CapiMessageDecoding, StructuresBeyondTheBodyCountAsAbsent) {
    // Called party number claims 50 bytes but the body ends after 5.
    const auto cut = decode(hexBytes("01 01 00 00 01 00 32 81 31 32"));
    EXPECT_EQ(cut.calledMSN, "");
    EXPECT_EQ(cut.callerID, "Notsent");
    // Calling party number claims more than the body holds.
    const auto cutCaller = decode(hexBytes("01 01 00 00 01 00 02 81 35 14 21 80 33 30"));
    EXPECT_EQ(cutCaller.calledMSN, "5");
    EXPECT_EQ(cutCaller.callerID, "Notsent");
    // Nothing but a PLCI.
    const Message plciOnly = {1, 2};
    const auto tiny = capi::decodeConnectInd(plciOnly.data(), plciOnly.size(), kTexts);
    EXPECT_EQ(tiny.plci, 0x0201u);
    EXPECT_EQ(tiny.callerID, "Notsent");
    // Only the first 106 bytes are kept: a calling number reaching past them is absent.
    const auto longCalled =
        decodeSent({.calledDigits = std::string(96, '1'), .callingDigits = "3012"});
    EXPECT_EQ(longCalled.callerID, "Notsent");
    EXPECT_EQ(longCalled.calledMSN, std::string(96, '1'));
}
