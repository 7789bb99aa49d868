// SoundManager on OpenAL Soft's null output: the music and shot-voice rules, heard by nobody.
#include "sound/sound_manager.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "wave_builder.hpp"

using namespace wavetest;

namespace {

// The mixer runs in real time on the null output; wait for something it does, or give up.
bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 500; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

class SoundManagerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { setenv("ALSOFT_DRIVERS", "null", 1); }

    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("korvelin-sound-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
        musicA_ = Write("a.wav", Pcm16Wave(Sine(440, 3.0, 0.3)));
        musicB_ = Write("b.wav", Pcm16Wave(Sine(660, 3.0, 0.3)));
        longShot_ = Write("long_shot.wav", Pcm16Wave(Sine(3000, 3.0, 0.8, 2.0)));
        blip_ = Write("blip.wav", Pcm16Wave(Sine(3000, 0.01, 0.8)));
        sound_ = std::make_unique<SoundManager>();
        ASSERT_FALSE(sound_->IsSilent()) << "the null output should always open";
    }
    void TearDown() override {
        sound_.reset();
        std::filesystem::remove_all(dir_);
    }
    std::string Write(const char* name, const Bytes& bytes) {
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(WriteFile(path, bytes));
        return path;
    }

    std::filesystem::path dir_;
    std::string musicA_, musicB_, longShot_, blip_;
    std::unique_ptr<SoundManager> sound_;
};

}  // namespace

TEST_F(SoundManagerTest, SameTrackEveryFrameNeverRestarts) {
    const char* a = musicA_.c_str();
    sound_->PlayBgm(a);
    ASSERT_TRUE(sound_->IsBgmPlaying(a));
    ASSERT_TRUE(WaitFor([&] { return sound_->BgmPlayPosition(a) > 4000; }));
    int last = sound_->BgmPlayPosition(a);
    for (int frame = 0; frame < 30; ++frame) {
        sound_->PlayBgm(a);
        const int now = sound_->BgmPlayPosition(a);
        EXPECT_GE(now, last) << "restarted on frame " << frame;
        last = now;
    }
    EXPECT_TRUE(sound_->IsBgmPlaying(a));
}

TEST_F(SoundManagerTest, SwitchingTracksStopsAndRewindsThePrevious) {
    const char* a = musicA_.c_str();
    const char* b = musicB_.c_str();
    sound_->PlayBgm(a);
    ASSERT_TRUE(WaitFor([&] { return sound_->BgmPlayPosition(a) > 4000; }));

    sound_->PlayBgm(b);
    EXPECT_EQ(sound_->CurrentBgm(), musicB_);
    EXPECT_TRUE(sound_->IsBgmPlaying(b));
    EXPECT_FALSE(sound_->IsBgmPlaying(a));
    EXPECT_EQ(sound_->BgmPlayPosition(a), 0);
    ASSERT_TRUE(WaitFor([&] { return sound_->BgmPlayPosition(b) > 4000; }));

    // Coming back starts the first track from its beginning.
    sound_->PlayBgm(a);
    EXPECT_TRUE(sound_->IsBgmPlaying(a));
    EXPECT_LT(sound_->BgmPlayPosition(a), 4000);
    EXPECT_FALSE(sound_->IsBgmPlaying(b));
    EXPECT_EQ(sound_->BgmPlayPosition(b), 0);
}

TEST_F(SoundManagerTest, TwentyVoicesAndNotOneMore) {
    const char* shot = longShot_.c_str();
    for (int i = 1; i <= SoundManager::kVoicesPerEffect; ++i) {
        sound_->PlayShot3D(shot);
        EXPECT_EQ(sound_->ShotVoicesPlaying(shot), i);
    }
    sound_->PlayShot3D(shot);  // the 21st: all voices are busy
    EXPECT_EQ(sound_->ShotVoicesPlaying(shot), SoundManager::kVoicesPerEffect);
}

TEST_F(SoundManagerTest, AFinishedVoicePlaysAgain) {
    const char* blip = blip_.c_str();
    sound_->PlayShot3D(blip);
    ASSERT_TRUE(WaitFor([&] { return sound_->ShotVoicesPlaying(blip) == 0; }));
    sound_->PlayShot3D(blip);
    EXPECT_EQ(sound_->ShotVoicesPlaying(blip), 1);
}

TEST_F(SoundManagerTest, MissingAndMalformedFilesAreSilentEntries) {
    const std::string missing = (dir_ / "missing.wav").string();
    const std::string broken = Write("broken.wav", Riff({{"fmt ", Fmt(1, 0, 44100, 16, 2)}, {"data", Bytes(64, 0)}}));
    const std::string sixChannels = Write("six.wav", Riff({{"fmt ", Fmt(1, 6, 44100, 16)}, {"data", Bytes(120, 0)}}));
    const char* a = musicA_.c_str();
    sound_->PlayBgm(a);
    for (const std::string& bad : {missing, broken, sixChannels}) {
        SCOPED_TRACE(bad);
        sound_->PlayBgm(bad.c_str());
        sound_->PlayBgm(bad.c_str());
        EXPECT_FALSE(sound_->IsBgmPlaying(bad.c_str()));
        EXPECT_EQ(sound_->CurrentBgm(), bad);
        EXPECT_FALSE(sound_->IsBgmPlaying(a));  // switching away still stops the old track
        sound_->PlayShot3D(bad.c_str());
        EXPECT_EQ(sound_->ShotVoicesPlaying(bad.c_str()), 0);
        sound_->PlayBgm(a);
        EXPECT_TRUE(sound_->IsBgmPlaying(a));
    }
    sound_->PlayBgm(nullptr);
    sound_->PlayShot3D(nullptr);
}

TEST_F(SoundManagerTest, PlaysEveryFormatItTakes) {
    const struct {
        const char* name;
        Bytes image;
    } cases[] = {
        {"Pcm8Stereo", Riff({{"fmt ", Fmt(1, 2, 22050, 8)}, {"data", Bytes(44100, 0x80)}})},
        {"Pcm16Stereo", Pcm16Wave(Sine(440, 0.5, 0.3), 44100, 2)},
        {"Pcm24Mono", Riff({{"fmt ", Fmt(1, 1, 48000, 24)}, {"data", Bytes(3 * 48000, 0)}})},
        {"FloatStereo", Riff({{"fmt ", Fmt(3, 2, 44100, 32)}, {"data", Bytes(8 * 44100, 0)}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Write((std::string(c.name) + ".wav").c_str(), c.image);
        sound_->PlayBgm(path.c_str());
        EXPECT_TRUE(sound_->IsBgmPlaying(path.c_str()));
        sound_->PlayShot3D(path.c_str());
        EXPECT_EQ(sound_->ShotVoicesPlaying(path.c_str()), 1);
    }
}

TEST_F(SoundManagerTest, ListenerFollowsTheView) {
    const Vec3 eye{4, 12, -30}, at{4, 8, 0};
    sound_->UpdateListener(MatrixLookAtLH(eye, at, {0, 1, 0}));
    const ListenerPose pose = sound_->Listener();
    const ListenerPose expected = ListenerPoseFromView(MatrixLookAtLH(eye, at, {0, 1, 0}));
    for (auto [got, want] : {std::pair{pose.position, expected.position}, std::pair{pose.front, expected.front},
                             std::pair{pose.top, expected.top}}) {
        EXPECT_NEAR(got.x, want.x, 1e-4f);
        EXPECT_NEAR(got.y, want.y, 1e-4f);
        EXPECT_NEAR(got.z, want.z, 1e-4f);
    }
}

TEST_F(SoundManagerTest, ReleaseSilencesAndInitStartsAgain) {
    sound_->PlayBgm(musicA_.c_str());
    sound_->PlayShot3D(longShot_.c_str());
    sound_->Release();
    EXPECT_TRUE(sound_->IsSilent());
    EXPECT_TRUE(sound_->CurrentBgm().empty());
    sound_->PlayBgm(musicA_.c_str());
    sound_->PlayShot3D(longShot_.c_str());
    sound_->UpdateListener(Matrix::Identity());
    EXPECT_FALSE(sound_->IsBgmPlaying(musicA_.c_str()));
    sound_->Release();  // twice is fine

    sound_->Init();
    ASSERT_FALSE(sound_->IsSilent());
    sound_->Init();  // a second Init keeps what is running
    sound_->PlayBgm(musicA_.c_str());
    EXPECT_TRUE(sound_->IsBgmPlaying(musicA_.c_str()));
}
