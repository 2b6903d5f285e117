#include "support/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, TheWordDebugShowsTheDebugWindowAndOtherWordsOrOptionsAreErrors) {
    EXPECT_TRUE(parseCommandLine({"debug"}).debug);
    EXPECT_TRUE(parseCommandLine({"--headless", "debug"}).debug);
    EXPECT_TRUE(parseCommandLine({"--headless", "--debug"}).debug);
    EXPECT_FALSE(parseCommandLine({}).debug);
    EXPECT_FALSE(parseCommandLine({"Debug"}).error.empty());
    EXPECT_FALSE(parseCommandLine({"debug", "x"}).error.empty());
    EXPECT_FALSE(parseCommandLine({"--config-dir"}).error.empty());
    EXPECT_FALSE(parseCommandLine({"-x"}).error.empty());
}

TEST(CommandLine, OptionsWithValuesInBothForms) {
    const auto a = parseCommandLine({"--line=sim:demo.scenario", "--config-dir", "/tmp/c"});
    EXPECT_EQ(a.line, "sim:demo.scenario");
    EXPECT_EQ(a.configDir, "/tmp/c");
    const auto b = parseCommandLine({"--origin", "0301234"});
    ASSERT_TRUE(b.origin.has_value());
    EXPECT_EQ(*b.origin, "0301234");
    EXPECT_TRUE(parseCommandLine({"--headless"}).headless);
    EXPECT_TRUE(parseCommandLine({"--help"}).help);
}
