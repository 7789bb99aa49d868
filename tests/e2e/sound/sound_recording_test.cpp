// Records what the sound manager plays through OpenAL Soft's wave-file output and measures it
// with sox: music alone, then music with one shot fired over it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "sound/sound_manager.hpp"
#include "sound/wave_file.hpp"
#include "wave_builder.hpp"

using namespace wavetest;
namespace fs = std::filesystem;

namespace {

struct Level {
    double rms = -1;  // RMS amplitude, 0..1
    double max = -1;  // largest absolute sample, 0..1
};

// "sox FILE -n EFFECTS stat": the RMS and peak of the (filtered) recording.
Level Measure(const fs::path& file, const char* effects) {
    const std::string command = "sox '" + file.string() + "' -n " + effects + " stat 2>&1";
    Level level;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return level;
    char line[256];
    auto field = [](const char* text, const char* label, double* out) {
        const char* at = std::strstr(text, label);
        if (at == nullptr) return;
        const char* p = std::strchr(at, ':');
        if (p == nullptr) return;
        ++p;
        while (*p == ' ' || *p == '\t') ++p;
        std::from_chars(p, p + std::strlen(p), *out);
    };
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        field(line, "RMS     amplitude", &level.rms);
        field(line, "Maximum amplitude", &level.max);
    }
    pclose(pipe);
    return level;
}

class SoundRecordingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = fs::temp_directory_path() / ("korvelin-recording-" + std::to_string(getpid()));
        fs::create_directories(dir_);
        // OpenAL Soft reads its settings once, when the first device opens.
        const fs::path conf = dir_ / "alsoft.conf";
        std::FILE* f = std::fopen(conf.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fprintf(f, "[general]\nchannels = stereo\nsample-type = int16\n[wave]\nfile = %s\n",
                     (dir_ / "out.wav").c_str());
        std::fclose(f);
        setenv("ALSOFT_CONF", conf.c_str(), 1);
        setenv("ALSOFT_DRIVERS", "wave", 1);

        ASSERT_TRUE(WriteFile((dir_ / "music.wav").string(), Pcm16Wave(Sine(440, 2.0, 0.3))));
        ASSERT_TRUE(WriteFile((dir_ / "shot.wav").string(), Pcm16Wave(Sine(3000, 0.3, 0.9, 10.0))));
    }
    static void TearDownTestSuite() { fs::remove_all(dir_); }

    // Plays the music for a while, fires a shot if asked, lets it ring, and keeps the recording.
    static fs::path Record(const char* name, bool fireShot) {
        const std::string music = (dir_ / "music.wav").string();
        const std::string shot = (dir_ / "shot.wav").string();
        {
            SoundManager sound;
            EXPECT_FALSE(sound.IsSilent());
            for (int frame = 0; frame < 80; ++frame) {  // 80 frames of 16 ms, as the game runs
                sound.PlayBgm(music.c_str());
                if (fireShot && frame == 40) sound.PlayShot3D(shot.c_str());
                std::this_thread::sleep_for(std::chrono::milliseconds(16));
            }
        }  // closing the device finishes the file's header
        const fs::path kept = dir_ / name;
        fs::rename(dir_ / "out.wav", kept);
        return kept;
    }

    static fs::path dir_;
};

fs::path SoundRecordingTest::dir_;

}  // namespace

TEST_F(SoundRecordingTest, MusicAndShotReachTheOutput) {
    if (std::system("sox --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "sox is not installed";
    const fs::path musicOnly = Record("music_only.wav", false);
    const fs::path withShot = Record("music_and_shot.wav", true);

    // Our own reader takes what the mixer wrote.
    WaveFile wave;
    ASSERT_TRUE(wave.Open(withShot.c_str())) << wave.Error();
    EXPECT_EQ(wave.Format().channels, 2);
    EXPECT_EQ(wave.Format().samplesPerSec, 44100u);
    EXPECT_GT(wave.DataSize(), 44100u * 4 / 2);  // more than half a second of stereo 16-bit

    // The 440 Hz music sits below 1 kHz, the 3 kHz shot above 2 kHz.
    const Level all = Measure(withShot, "");
    const Level musicBand = Measure(musicOnly, "sinc -1000");
    const Level quietHigh = Measure(musicOnly, "sinc 2000");
    const Level shotHigh = Measure(withShot, "sinc 2000");
    std::printf("recording with shot: RMS %.4f, peak %.4f\n", all.rms, all.max);
    std::printf("music alone below 1 kHz: RMS %.4f, peak %.4f\n", musicBand.rms, musicBand.max);
    std::printf("above 2 kHz, music alone: RMS %.4f, peak %.4f\n", quietHigh.rms, quietHigh.max);
    std::printf("above 2 kHz, with the shot: RMS %.4f, peak %.4f\n", shotHigh.rms, shotHigh.max);

    EXPECT_GT(all.rms, 0.05) << "the recording is silent";
    EXPECT_GT(musicBand.rms, 0.05) << "no music in the recording";
    EXPECT_LT(quietHigh.max, 0.05) << "music alone should leave the high band empty";
    EXPECT_GT(shotHigh.max, 0.3) << "the shot is missing from the recording";
    EXPECT_GT(shotHigh.rms, 10 * quietHigh.rms);
}
