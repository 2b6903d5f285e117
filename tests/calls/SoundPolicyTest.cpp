#include "calls/SoundPolicy.h"
#include "stores/Settings.h"
#include "support/AppPaths.h"
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
