// SoundManager with no sound device at all: it says so once and every call is harmless.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "sound/sound_manager.hpp"
#include "wave_builder.hpp"

using namespace wavetest;

TEST(SoundNoDeviceTest, RunsSilentAndSaysSoOnce) {
    // A driver list naming no real output leaves OpenAL Soft without a device.
    setenv("ALSOFT_DRIVERS", "no-such-output", 1);
    const auto dir = std::filesystem::temp_directory_path() / ("korvelin-nodev-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string music = (dir / "music.wav").string();
    ASSERT_TRUE(WriteFile(music, Pcm16Wave(Sine(440, 0.2, 0.3))));

    testing::internal::CaptureStderr();
    {
        SoundManager sound;
        EXPECT_TRUE(sound.IsSilent());
        for (int frame = 0; frame < 3; ++frame) {
            sound.PlayBgm(music.c_str());
            sound.PlayShot3D(music.c_str());
            sound.PlayShot3D("data/sound/missing.wav");
            sound.UpdateListener(MatrixLookAtLH({0, 5, -10}, {0, 0, 0}, {0, 1, 0}));
        }
        EXPECT_FALSE(sound.IsBgmPlaying(music.c_str()));
        EXPECT_EQ(sound.ShotVoicesPlaying(music.c_str()), 0);
        EXPECT_EQ(sound.BgmPlayPosition(music.c_str()), 0);
        sound.Release();
        sound.Release();
    }
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("without sound"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    std::filesystem::remove_all(dir);
}

TEST(SoundNoDeviceTest, AlsaWithoutItsCardLeavesOnlyOurLineWithItsReason) {
    // OpenAL Soft reads its settings once per process: the manager starts in a fresh one.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto conf = std::filesystem::temp_directory_path() / ("korvelin-alsoft-" + std::to_string(getpid()) + ".conf");
    std::ofstream(conf) << "[alsa]\ndevice = hw:CARD=KorvelinNoSuchCard\n";
    setenv("ALSOFT_CONF", conf.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "alsa", 1);
    unsetenv("ALSOFT_LOGLEVEL");
    // Left to themselves, ALSA and OpenAL Soft would each add lines of their own.
    EXPECT_EXIT(
        {
            SoundManager sound;
            std::exit(sound.IsSilent() ? 0 : 1);
        },
        testing::ExitedWithCode(0),
        "^korvelin: no sound device could be opened \\(ALSA: [^\n]*KorvelinNoSuchCard[^\n]*\\); "
        "the game runs without sound\n$");
    std::filesystem::remove(conf);
}
