// SoundClip: which formats reach the mixer as they are, which are converted, which are refused.
#include "sound/sound_clip.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "wave_builder.hpp"

using namespace wavetest;

namespace {

WaveFormat FormatOf(const Bytes& fmtBody) {
    const Bytes image = Riff({{"fmt ", fmtBody}, {"data", {}}});
    WaveFile w;
    EXPECT_TRUE(w.OpenMemory(image)) << w.Error();
    return w.Format();
}

bool Load(const Bytes& image, SoundClip* clip, std::string* error) {
    WaveFile w;
    if (!w.OpenMemory(image)) {
        *error = w.Error();
        return false;
    }
    return LoadSoundClip(w, clip, error);
}

std::vector<int16_t> Int16s(const SoundClip& clip) {
    std::vector<int16_t> out(clip.samples.size() / 2);
    std::memcpy(out.data(), clip.samples.data(), out.size() * 2);
    return out;
}

}  // namespace

TEST(SoundClipTest, PlanPerFormat) {
    struct PlanCase {
        const char* name;
        Bytes fmt;
        SampleCoding coding;
        bool converted;
        const char* refusal;  // part of the reason, when refused
    };
    const PlanCase cases[] = {
        {"Pcm8Mono", Fmt(1, 1, 8000, 8), SampleCoding::Pcm8, false, nullptr},
        {"Pcm16Stereo", Fmt(1, 2, 44100, 16), SampleCoding::Pcm16, false, nullptr},
        {"Pcm24", Fmt(1, 2, 48000, 24), SampleCoding::Pcm24, true, nullptr},
        {"Pcm32", Fmt(1, 1, 48000, 32), SampleCoding::Pcm32, true, nullptr},
        {"Float32", Fmt(3, 2, 44100, 32), SampleCoding::Float32, true, nullptr},
        {"Float64", FmtEx(Fmt(3, 1, 44100, 64), {}), SampleCoding::Float64, true, nullptr},
        {"ExtensiblePcm16", FmtEx(Fmt(0xFFFE, 2, 44100, 16), ExtensibleExtra(16, 3, 1)), SampleCoding::Pcm16,
         false, nullptr},
        {"ExtensibleFloat", FmtEx(Fmt(0xFFFE, 2, 44100, 32), ExtensibleExtra(32, 3, 3)), SampleCoding::Float32,
         true, nullptr},
        {"ExtensibleShortExtra", FmtEx(Fmt(0xFFFE, 2, 44100, 16), {1, 2}), SampleCoding::Unsupported, false,
         "22 extra"},
        {"ExtensibleUnknownGuid",
         [] { Bytes e = ExtensibleExtra(16, 3, 1); e.back() ^= 0xFF; return FmtEx(Fmt(0xFFFE, 2, 44100, 16), e); }(),
         SampleCoding::Unsupported, false, "sub-format"},
        {"Adpcm", FmtEx(Fmt(2, 1, 8000, 4, 256), {0, 0}), SampleCoding::Unsupported, false, "MS ADPCM"},
        {"Pcm12", Fmt(1, 1, 8000, 12, 2), SampleCoding::Unsupported, false, "12 bits"},
        {"SixChannels", Fmt(1, 6, 48000, 16), SampleCoding::Unsupported, false, "6 channels"},
        {"BlockAlignLies", Fmt(1, 2, 44100, 16, 2), SampleCoding::Unsupported, false, "block align"},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ClipPlan plan = PlanSoundClip(FormatOf(c.fmt));
        EXPECT_EQ(plan.coding, c.coding);
        EXPECT_EQ(plan.converted, c.converted);
        if (c.refusal != nullptr) EXPECT_NE(plan.refusal.find(c.refusal), std::string::npos) << plan.refusal;
        else EXPECT_TRUE(plan.refusal.empty()) << plan.refusal;
    }
}

TEST(SoundClipTest, ConvertsWideAndFloatSamplesTo16Bit) {
    Bytes pcm24;
    for (uint32_t v : {0x7FFFFFu, 0x800000u, 0x000100u, 0xFFFFFFu}) {
        pcm24.push_back(static_cast<uint8_t>(v));
        pcm24.push_back(static_cast<uint8_t>(v >> 8));
        pcm24.push_back(static_cast<uint8_t>(v >> 16));
    }
    SoundClip clip;
    std::string error;
    ASSERT_TRUE(Load(Riff({{"fmt ", Fmt(1, 2, 48000, 24)}, {"data", pcm24}}), &clip, &error)) << error;
    EXPECT_EQ(clip.bitsPerSample, 16);
    EXPECT_EQ(clip.channels, 2);
    EXPECT_EQ(clip.sampleRate, 48000u);
    EXPECT_EQ(Int16s(clip), (std::vector<int16_t>{32767, -32768, 1, -1}));

    Bytes floats;
    for (float f : {1.0f, -1.0f, 0.5f, 4.0f, -4.0f, std::numeric_limits<float>::quiet_NaN()}) {
        uint32_t u;
        std::memcpy(&u, &f, 4);
        Put32(floats, u);
    }
    ASSERT_TRUE(Load(Riff({{"fmt ", Fmt(3, 1, 44100, 32)}, {"data", floats}}), &clip, &error)) << error;
    EXPECT_EQ(Int16s(clip), (std::vector<int16_t>{32767, -32767, 16384, 32767, -32767, 0}));
}

TEST(SoundClipTest, KeepsWholeFramesOnly) {
    // 16-bit stereo: 4 bytes a frame; 10 bytes are two frames and a half.
    SoundClip clip;
    std::string error;
    ASSERT_TRUE(Load(Riff({{"fmt ", Fmt(1, 2, 44100, 16)}, {"data", Bytes(10, 0x11)}}), &clip, &error));
    EXPECT_EQ(clip.samples.size(), 8u);
    EXPECT_FALSE(Load(Riff({{"fmt ", Fmt(1, 6, 44100, 16)}, {"data", Bytes(12, 0)}}), &clip, &error));
    EXPECT_NE(error.find("channels"), std::string::npos);
}
