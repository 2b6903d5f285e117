#include "calls/SoundPolicy.h"
#include "stores/Settings.h"
#include "support/AppPaths.h"
#include "support/TestEnvironment.h"
#include "support/WavePlayer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class RecordingPlayer : public WavePlayer {
public:
    void play(const std::string& path) override { played.push_back(path); }
    std::vector<std::string> played;
};

class SoundTest : public ::testing::Test {
protected:
    SettingsRecord settings;
    AppPaths paths{"/opt/rw/", "/tmp/"};
    RecordingPlayer player;
    SoundPolicy sound{player, settings, paths};
};

} // namespace

TEST_F(SoundTest, FeedbackSoundsOnlyWithAudioFeedback) {
    sound.playSound("load");
    EXPECT_TRUE(player.played.empty());
    settings.audioFeedback = true;
    sound.playSound("load");
    EXPECT_EQ(player.played, std::vector<std::string>{"/opt/rw/res/load.wav"});
}

TEST_F(SoundTest, CallSoundFollowsPlsndAndResolvesAgainstTheProgramFolder) {
    if (runsOnWindows()) {
        GTEST_SKIP() << "Linux paths";
    }
    settings.callSound = ".\\res\\call.wav"; // as a Windows-made config.dat has it
    sound.playCallWave();
    EXPECT_TRUE(player.played.empty());
    settings.playCallSound = true;
    sound.playCallWave();
    settings.callSound = "/usr/share/sounds/ring.wav";
    sound.playCallWave();
    EXPECT_EQ(player.played,
              (std::vector<std::string>{"/opt/rw/res/call.wav", "/usr/share/sounds/ring.wav"}));
}

TEST_F(SoundTest, PlayWaveIsUnconditional) {
    sound.playWave("voices/erika.wav");
    EXPECT_EQ(player.played, std::vector<std::string>{"/opt/rw/voices/erika.wav"});
}
