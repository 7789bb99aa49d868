// RIFF WAVE encoding of 16-bit PCM and the small synthesis tools the sounds share.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

constexpr int kSampleRate = 44100;

// Stereo float samples, -1..1 after Normalise.
struct StereoBuffer {
    std::vector<float> left, right;
    explicit StereoBuffer(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t Frames() const { return left.size(); }
    // Adds a sample at frame i, wrapped around the end (so tails run into the loop's start).
    void AddWrapped(size_t i, float l, float r) {
        i %= left.size();
        left[i] += l;
        right[i] += r;
    }
    // Scales so the loudest sample reaches `peak`.
    void Normalise(float peak);
};

// A 44.1 kHz, 16-bit, two-channel PCM WAVE file.
std::string EncodeWave(const StereoBuffer& buffer);

// Deterministic white noise in -1..1.
class NoiseSource {
public:
    explicit NoiseSource(uint32_t seed) : state_(seed ? seed : 1u) {}
    float Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<float>(state_ & 0xffffffu) / 8388607.5f - 1.0f;
    }

private:
    uint32_t state_;
};

// Band-limited step correction for saw and pulse oscillators (phase in 0..1, dt per sample).
inline float PolyBlep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

inline float MidiToHz(float note) { return 440.0f * std::exp2((note - 69.0f) / 12.0f); }
