// SoundClip: a WAVE file's samples in a shape the mixer takes (8- or 16-bit PCM, mono or stereo).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sound/wave_file.hpp"

// How the samples of a format are stored, once WAVE_FORMAT_EXTENSIBLE is looked through.
enum class SampleCoding { Pcm8, Pcm16, Pcm24, Pcm32, Float32, Float64, Unsupported };

// What LoadSoundClip will do with a format: play its bytes as they are, convert them to 16-bit,
// or refuse them (with the reason).
struct ClipPlan {
    SampleCoding coding = SampleCoding::Unsupported;
    bool converted = false;
    std::string refusal;  // empty unless coding is Unsupported
};

ClipPlan PlanSoundClip(const WaveFormat& format);

struct SoundClip {
    int channels = 0;         // 1 or 2
    int bitsPerSample = 0;    // 8 (unsigned) or 16 (signed, host byte order)
    uint32_t sampleRate = 0;  // samples per second
    std::vector<uint8_t> samples;  // whole frames only
};

// Reads what remains of an open WaveFile's "data" into a clip, converting 24/32-bit integer and
// float samples to 16-bit. A trailing part-frame is dropped. False with *error set when the
// format is refused or the read fails.
bool LoadSoundClip(WaveFile& wave, SoundClip* clip, std::string* error);
