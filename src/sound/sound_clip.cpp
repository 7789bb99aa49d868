// SoundClip: decides how a WAVE format reaches the mixer and converts the samples that need it.
#include "sound/sound_clip.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The 14 bytes every KSDATAFORMAT_SUBTYPE GUID shares after its leading 16-bit format tag.
constexpr uint8_t kSubtypeTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                      0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

int16_t FromFloat(double v) {
    if (!(v == v)) return 0;  // NaN is silence
    v = std::clamp(v, -1.0, 1.0);
    return static_cast<int16_t>(std::lrint(v * 32767.0));
}

int16_t ConvertSample(const uint8_t* p, SampleCoding coding) {
    switch (coding) {
        case SampleCoding::Pcm24: return static_cast<int16_t>(p[1] | (p[2] << 8));
        case SampleCoding::Pcm32: return static_cast<int16_t>(p[2] | (p[3] << 8));
        case SampleCoding::Float32: {
            float f;
            std::memcpy(&f, p, sizeof f);
            return FromFloat(f);
        }
        case SampleCoding::Float64: {
            double d;
            std::memcpy(&d, p, sizeof d);
            return FromFloat(d);
        }
        default: return 0;
    }
}

}  // namespace

ClipPlan PlanSoundClip(const WaveFormat& format) {
    ClipPlan plan;
    uint16_t tag = format.formatTag;
    if (tag == kWaveFormatExtensible) {
        // cbSize 22: valid bits, channel mask, then the sub-format GUID.
        if (format.extra.size() < 22) {
            plan.refusal = "extensible format without its 22 extra bytes";
            return plan;
        }
        const uint8_t* guid = format.extra.data() + 6;
        if (std::memcmp(guid + 2, kSubtypeTail, sizeof kSubtypeTail) != 0) {
            plan.refusal = "extensible format with an unknown sub-format";
            return plan;
        }
        tag = static_cast<uint16_t>(guid[0] | (guid[1] << 8));
    }
    const int bits = format.bitsPerSample;
    if (tag == kWaveFormatPcm && bits == 8) plan.coding = SampleCoding::Pcm8;
    else if (tag == kWaveFormatPcm && bits == 16) plan.coding = SampleCoding::Pcm16;
    else if (tag == kWaveFormatPcm && bits == 24) plan.coding = SampleCoding::Pcm24;
    else if (tag == kWaveFormatPcm && bits == 32) plan.coding = SampleCoding::Pcm32;
    else if (tag == kWaveFormatIeeeFloat && bits == 32) plan.coding = SampleCoding::Float32;
    else if (tag == kWaveFormatIeeeFloat && bits == 64) plan.coding = SampleCoding::Float64;
    else {
        plan.refusal = std::string(WaveFormatTagName(tag)) + " with " + std::to_string(bits) +
                       " bits per sample is not played";
        return plan;
    }
    if (format.channels != 1 && format.channels != 2) {
        plan.coding = SampleCoding::Unsupported;
        plan.refusal = std::to_string(format.channels) + " channels; only mono and stereo are played";
        return plan;
    }
    // The frame walk below relies on this; a file that disagrees with itself is refused.
    if (format.blockAlign != format.channels * (bits / 8)) {
        plan.coding = SampleCoding::Unsupported;
        plan.refusal = "block align " + std::to_string(format.blockAlign) + " does not match " +
                       std::to_string(format.channels) + " x " + std::to_string(bits) + " bits";
        return plan;
    }
    plan.converted = plan.coding != SampleCoding::Pcm8 && plan.coding != SampleCoding::Pcm16;
    return plan;
}

bool LoadSoundClip(WaveFile& wave, SoundClip* clip, std::string* error) {
    const WaveFormat& format = wave.Format();
    const ClipPlan plan = PlanSoundClip(format);
    if (plan.coding == SampleCoding::Unsupported) {
        *error = plan.refusal;
        return false;
    }
    const size_t frames = wave.Remaining() / format.blockAlign;
    std::vector<uint8_t> raw(frames * format.blockAlign);
    size_t got = 0;
    if (!wave.Read(raw.size(), raw.data(), &got) || got != raw.size()) {
        *error = "cannot read the sample bytes";
        return false;
    }
    clip->channels = format.channels;
    clip->sampleRate = format.samplesPerSec;
    if (!plan.converted) {
        clip->bitsPerSample = format.bitsPerSample;
        clip->samples = std::move(raw);
        return true;
    }
    const size_t count = frames * format.channels;
    const size_t width = format.bitsPerSample / 8u;
    clip->bitsPerSample = 16;
    clip->samples.resize(count * sizeof(int16_t));
    for (size_t i = 0; i < count; ++i) {
        const int16_t s = ConvertSample(raw.data() + i * width, plan.coding);
        std::memcpy(clip->samples.data() + i * sizeof s, &s, sizeof s);
    }
    return true;
}
