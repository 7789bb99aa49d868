// SoundManager with no sound device at all: it says so once and every call is harmless.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

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
