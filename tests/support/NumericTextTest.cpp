#include "support/NumericText.h"

#include <gtest/gtest.h>

TEST(NumericText, AcceptsNumbersWithBlanksSignsPointsAndExponentsOnly) {
    for (const char* text :
         {"0", "0049", " 12 ", "-1", "+3", "1.5", ".5", "12.", "1e5", "1E-3", "\t7\t", "-.25e+2"}) {
        EXPECT_TRUE(isNumericText(text)) << '"' << text << '"';
    }
    for (const char* text : {"", " ", ".", "-", "+-1", "1.2.3", "12a", "a12", "1e", "1e+", "00 49",
                             "0x1F", "--1", "Anonym"}) {
        EXPECT_FALSE(isNumericText(text)) << '"' << text << '"';
    }
}

TEST(NumericText, ValueIgnoresBlanksAndSign) {
    EXPECT_DOUBLE_EQ(*numericValue(" -2.5 "), -2.5);
    EXPECT_DOUBLE_EQ(*numericValue("+1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(*numericValue("12."), 12.0);
    EXPECT_FALSE(numericValue("abc").has_value());
}
