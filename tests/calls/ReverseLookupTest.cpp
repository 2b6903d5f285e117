#include "calls/ReverseLookup.h"

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
