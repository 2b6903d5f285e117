#include "calls/ReverseLookup.h"
#include "calls/EndReason.h"
#include "stores/LanguageIds.h"

#include <gtest/gtest.h>

TEST(ReverseLookup, NumberFromDisplayTexts) {
    EXPECT_EQ(lookupNumber("0301234567 (Berlin)"), "0301234567");
    EXPECT_EQ(lookupNumber("0301234567"), "0301234567");
    EXPECT_FALSE(lookupNumber("Max (Berlin)").has_value());
    EXPECT_FALSE(lookupNumber("(Berlin)").has_value());
    EXPECT_FALSE(lookupNumber("Unknown").has_value());
    EXPECT_FALSE(lookupNumber("").has_value());
}

TEST(ReverseLookup, AddressTakesTheEncodedNumber) {
    EXPECT_EQ(lookupAddress("https://example.org/s?ph=%s&x=1", "0301234567"),
              "https://example.org/s?ph=0301234567&x=1");
    EXPECT_EQ(lookupAddress("https://example.org/s?ph=", "+49 30"),
              "https://example.org/s?ph=%2B49%2030");
}

TEST(ReverseLookup, ShellFailureTexts) {
    EXPECT_EQ(shellExecuteLogLine(2), "Err: ShellExecute 2 File was not found.");
    EXPECT_EQ(shellExecuteLogLine(31), "Err: ShellExecute 31 unknown");
    EXPECT_EQ(shellExecuteErrorText(21),
              "Application requires Microsoft Windows 32-bit extensions.");
}

TEST(EndReason, TableAndDefault) {
    EXPECT_EQ(endReasonTextId(0x349A), lang_id::kEndAnsweredElsewhere);
    EXPECT_EQ(endReasonTextId(0x3490), lang_id::kEndCallerHungUp);
    EXPECT_EQ(endReasonTextId(0x3304), lang_id::kEndOtherApplication);
    EXPECT_EQ(endReasonTextId(0x349F), lang_id::kEndNormalUnspecified);
    EXPECT_EQ(endReasonTextId(0x34E6), lang_id::kEndTimerExpiry);
    EXPECT_EQ(endReasonTextId(0x3400), lang_id::kEndNoCause);
    EXPECT_EQ(endReasonTextId(0x3301), lang_id::kUnknown);
}
