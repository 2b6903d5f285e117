#include "net/UpdateCheck.h"

#include <gtest/gtest.h>

namespace {

constexpr VersionNumber kRunning{2, 3, 4};

struct VersionCase {
    const char* name;
    const char* firstLine;
    VersionNumber running;
    const char* shown;
    std::optional<bool> newer; // nothing: the check has no result
};

class VersionLineCases : public ::testing::TestWithParam<VersionCase> {};

const std::string kDigest(64, 'a');

} // namespace

TEST_P(VersionLineCases, ShownAndNewer) {
    const VersionCase& c = GetParam();
    const VersionLine line = parseVersionLine(c.firstLine);
    EXPECT_EQ(line.versionText, c.shown);
    ASSERT_EQ(line.version.has_value(), c.newer.has_value());
    if (line.version) {
        EXPECT_EQ(*line.version > c.running, *c.newer);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Versions, VersionLineCases,
    ::testing::Values(VersionCase{"SameWithComment", "2.3.4#comment", kRunning, "2.3.4", false},
                      VersionCase{"NextRevision", "2.3.5", kRunning, "2.3.5", true},
                      VersionCase{"MissingRevisionCountsZero", "2.4", {2, 3, 9}, "2.4", true},
                      VersionCase{"MajorOnly", "2", {2, 0, 0}, "2", false},
                      VersionCase{"OlderMajorNewerRest", "1.9.9", {2, 0, 0}, "1.9.9", false},
                      VersionCase{"OlderThanRunning", "1.5.0", {2, 0, 5}, "1.5.0", false},
                      VersionCase{"NumbersNotDigits", "10.0.0", {9, 9, 9}, "10.0.0", true},
                      VersionCase{"Blanks", "  3.0.0 \t# x", kRunning, "3.0.0", true},
                      VersionCase{"NoNumbers", "latest", kRunning, "latest", std::nullopt},
                      VersionCase{"EmptyLine", "", kRunning, "", std::nullopt},
                      VersionCase{"FourNumbers", "2.3.4.1", kRunning, "2.3.4.1", std::nullopt},
                      VersionCase{"EmptyPart", "2..4", kRunning, "2..4", std::nullopt},
                      VersionCase{"Letters", "2.3b", kRunning, "2.3b", std::nullopt},
                      VersionCase{"Negative", "-2.3", kRunning, "-2.3", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateCheck, SetupDigestInTheComment) {
    EXPECT_EQ(parseVersionLine("2.4.0#sha256=" + kDigest).setupSha256, kDigest);
    const VersionLine upper =
        parseVersionLine("2.4.0 # built today sha256=" + std::string(64, 'F') + " signed");
    EXPECT_EQ(upper.setupSha256, std::string(64, 'f'));
    EXPECT_TRUE(upper.version.has_value());
    EXPECT_EQ(parseVersionLine("2.4.0#no digest").setupSha256, "");
    // A digest that cannot be checked makes the line unusable rather than unchecked.
    EXPECT_FALSE(parseVersionLine("2.4.0#sha256=abc").version.has_value());
    EXPECT_FALSE(parseVersionLine("2.4.0#sha256=" + std::string(63, 'a') + "g").version);
}

TEST(UpdateCheck, AddressesAndSetupNames) {
    EXPECT_EQ(updateBase("https://h/files"), "https://h/files/");
    EXPECT_EQ(updateBase(" https://h/files// "), "https://h/files/");
    EXPECT_EQ(windowsSetup("2.3.5").remoteName, "Rufwacht-2.3.5.exe");
    EXPECT_EQ(windowsSetup("2.3.5").localName, "update.exe");
    EXPECT_EQ(debianPackage("2.4").remoteName, "rufwacht_2.4_amd64.deb");
    EXPECT_EQ(debianPackage("2.4").localName, "rufwacht_2.4_amd64.deb");
#ifdef _WIN32
    EXPECT_EQ(setupPackageFor("1.0").remoteName, "Rufwacht-1.0.exe");
#else
    EXPECT_EQ(setupPackageFor("1.0").remoteName, "rufwacht_1.0_amd64.deb");
#endif
}

TEST(UpdateCheck, ProgressPercent) {
    EXPECT_EQ(progressPercent(250, 1000), 25);
    EXPECT_EQ(progressPercent(1000, 1000), 100);
    EXPECT_EQ(progressPercent(5, 1000), 1); // 0.5 rounds up
    EXPECT_EQ(progressPercent(4, 1000), 0);
    EXPECT_EQ(progressPercent(2000, 1000), 100);
    EXPECT_EQ(progressPercent(-5, 1000), 0);
    EXPECT_EQ(progressPercent(350, 0), 100);
}
