// The background track: 72 seconds of synthwave at 120 beats a minute in A minor (drums,
// bass, arpeggio, pads), written as a seamless loop: every tail that runs past the end is
// folded back onto the start.
#include <cmath>

#include "asset_tree.hpp"
#include "wave_writer.hpp"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr int kBars = 36;
constexpr size_t kBeat = kSampleRate / 2;  // 120 beats a minute
constexpr size_t kBar = kBeat * 4;
constexpr size_t kSixteenth = kBeat / 4;

struct Chord {
    int root;      // bass note (MIDI)
    int tones[3];  // the triad for pads and arpeggio
};
// Am - F - C - G, the loop's four bars.
constexpr Chord kChords[4] = {{45, {57, 60, 64}}, {41, {53, 57, 60}}, {48, {55, 60, 64}}, {43, {55, 59, 62}}};

// What plays in each bar: sections of the song.
struct Section {
    bool kick, snare, hats, bass, arp, pad;
    float arpOctave;
};
Section SectionOf(int bar) {
    if (bar < 4) return {false, false, true, false, true, true, 0};         // intro
    if (bar < 12) return {true, true, true, true, true, true, 0};           // verse
    if (bar < 20) return {true, true, true, true, true, true, 12};          // lift
    if (bar < 24) return {false, false, false, true, true, true, 0};        // breakdown
    if (bar < 32) return {true, true, true, true, true, true, 12};          // drive
    return {true, false, true, true, true, true, 0};                        // run back to the top
}

void Kick(StereoBuffer& out, size_t at, float gain) {
    float phase = 0;
    for (size_t i = 0; i < kSampleRate * 45 / 100; ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        const float freq = 48.0f + 110.0f * std::exp(-t * 30.0f);
        phase += freq / kSampleRate;
        const float v = std::sin(2 * kPi * phase) * std::exp(-t * 7.0f) * gain;
        out.AddWrapped(at + i, v, v);
    }
}

void Snare(StereoBuffer& out, size_t at, float gain, NoiseSource& noise) {
    float low = 0, prev = 0;
    for (size_t i = 0; i < kSampleRate / 4; ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        const float n = noise.Next();
        low += 0.35f * (n - low);
        const float band = low - prev * 0.6f;
        prev = low;
        const float body = std::sin(2 * kPi * 185.0f * t) * std::exp(-t * 35.0f);
        const float v = (band * std::exp(-t * 16.0f) * 0.9f + body * 0.6f) * gain;
        out.AddWrapped(at + i, v * 0.95f, v);
    }
}

void Hat(StereoBuffer& out, size_t at, float gain, float decay, NoiseSource& noise) {
    float prev = 0;
    for (size_t i = 0; i < static_cast<size_t>(kSampleRate * decay * 6); ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        const float n = noise.Next();
        const float high = n - prev;
        prev = n;
        const float v = high * std::exp(-t / decay) * gain;
        out.AddWrapped(at + i, v * 0.8f, v);
    }
}

// A band-limited saw through a one-pole low-pass whose cut-off falls after the attack.
void BassNote(StereoBuffer& out, size_t at, size_t length, float note, float gain) {
    const float dt = MidiToHz(note) / kSampleRate;
    float phase = 0, low = 0;
    for (size_t i = 0; i < length + kSampleRate / 50; ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        float saw = 2 * phase - 1 - PolyBlep(phase, dt);
        phase += dt;
        if (phase >= 1) phase -= 1;
        const float cutoff = 0.04f + 0.25f * std::exp(-t * 12.0f);
        low += cutoff * (saw - low);
        const float release = i < length ? 1.0f : 1.0f - static_cast<float>(i - length) / (kSampleRate / 50.0f);
        const float attack = std::fmin(1.0f, t * 400.0f);
        const float v = low * attack * release * gain;
        out.AddWrapped(at + i, v, v);
    }
}

// A plucked pulse note, panned.
void ArpNote(StereoBuffer& out, size_t at, float note, float gain, float pan) {
    const float dt = MidiToHz(note) / kSampleRate;
    float phase = 0, low = 0;
    for (size_t i = 0; i < kSampleRate * 3 / 10; ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        float pulse = (phase < 0.3f ? 1.0f : -1.0f) + PolyBlep(phase, dt);
        float shifted = phase + 0.7f;
        if (shifted >= 1) shifted -= 1;
        pulse -= PolyBlep(shifted, dt);
        phase += dt;
        if (phase >= 1) phase -= 1;
        low += 0.3f * (pulse - low);
        const float v = low * std::exp(-t * 14.0f) * std::fmin(1.0f, t * 800.0f) * gain;
        out.AddWrapped(at + i, v * (1 - pan), v * (1 + pan));
    }
}

// A slow pad chord: detuned saws, soft attack and a release that runs into the next bar.
void PadChord(StereoBuffer& out, size_t at, const Chord& chord, float gain) {
    const size_t hold = kBar, release = kSampleRate * 8 / 10;
    float notes[4] = {static_cast<float>(chord.tones[0]), static_cast<float>(chord.tones[1]),
                      static_cast<float>(chord.tones[2]), static_cast<float>(chord.root + 12)};
    for (int n = 0; n < 4; ++n)
        for (int d = 0; d < 2; ++d) {
            const float detune = d == 0 ? -0.08f : 0.08f;
            const float dt = MidiToHz(notes[n] + detune) / kSampleRate;
            float phase = static_cast<float>(n * 2 + d) * 0.13f, low = 0;
            for (size_t i = 0; i < hold + release; ++i) {
                const float t = static_cast<float>(i) / kSampleRate;
                const float saw = 2 * phase - 1 - PolyBlep(phase, dt);
                phase += dt;
                if (phase >= 1) phase -= 1;
                low += 0.06f * (saw - low);
                const float attack = std::fmin(1.0f, t / 0.35f);
                const float tail = i < hold ? 1.0f : 1.0f - static_cast<float>(i - hold) / static_cast<float>(release);
                const float v = low * attack * tail * gain;
                out.AddWrapped(at + i, d == 0 ? v : v * 0.6f, d == 0 ? v * 0.6f : v);
            }
        }
}

// A ping-pong echo of the arpeggio, wrapped like everything else.
void Echo(const StereoBuffer& dry, StereoBuffer& out, size_t delay, float feedback) {
    const size_t n = dry.Frames();
    float gain = feedback;
    for (int tap = 1; tap <= 6; ++tap, gain *= feedback)
        for (size_t i = 0; i < n; ++i) {
            const size_t from = (i + n - (delay * tap) % n) % n;
            const bool swap = tap % 2 == 1;
            out.left[i] += gain * (swap ? dry.right[from] : dry.left[from]);
            out.right[i] += gain * (swap ? dry.left[from] : dry.right[from]);
        }
}

}  // namespace

static StereoBuffer ComposeMusic() {
    StereoBuffer mix(kBar * kBars);
    StereoBuffer arp(kBar * kBars);
    NoiseSource noise(2024u);
    const int pattern[8] = {0, 1, 2, 3, 2, 1, 3, 2};  // arpeggio walk over the chord and its octave
    for (int bar = 0; bar < kBars; ++bar) {
        const Section s = SectionOf(bar);
        const Chord& chord = kChords[bar % 4];
        const size_t start = kBar * static_cast<size_t>(bar);
        if (s.pad) PadChord(mix, start, chord, 0.05f);
        for (int beat = 0; beat < 4; ++beat) {
            const size_t at = start + kBeat * static_cast<size_t>(beat);
            if (s.kick) Kick(mix, at, 0.9f);
            if (s.snare && (beat == 1 || beat == 3)) Snare(mix, at, 0.45f, noise);
        }
        for (int e = 0; e < 8; ++e) {
            const size_t at = start + kBeat / 2 * static_cast<size_t>(e);
            if (s.hats) Hat(mix, at, e % 2 ? 0.16f : 0.07f, e == 7 ? 0.06f : 0.018f, noise);
            if (s.bass) {
                const float note = static_cast<float>(chord.root + (e % 4 == 2 ? 12 : 0));
                BassNote(mix, at, kBeat / 2 - kBeat / 16, note, bar < 24 && bar >= 20 ? 0.18f : 0.3f);
            }
        }
        if (s.arp)
            for (int k = 0; k < 16; ++k) {
                const int step = pattern[k % 8];
                const float note = step == 3 ? static_cast<float>(chord.tones[0] + 12) : static_cast<float>(chord.tones[step]);
                ArpNote(arp, start + kSixteenth * static_cast<size_t>(k), note + 12 + s.arpOctave, 0.12f,
                        (k % 2 ? 0.35f : -0.35f));
            }
    }
    Echo(arp, mix, kSixteenth * 3, 0.4f);
    for (size_t i = 0; i < mix.Frames(); ++i) {
        mix.left[i] += arp.left[i];
        mix.right[i] += arp.right[i];
    }
    mix.Normalise(0.89f);
    return mix;
}

// A short laser shot: a falling square chirp over a noise snap.
static StereoBuffer ComposeShot() {
    StereoBuffer out(kSampleRate * 35 / 100);
    NoiseSource noise(77u);
    float phase = 0, sub = 0;
    for (size_t i = 0; i < out.Frames(); ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        const float freq = 300.0f + 1900.0f * std::exp(-t * 18.0f);
        const float dt = freq / kSampleRate;
        float square = (phase < 0.5f ? 1.0f : -1.0f) + PolyBlep(phase, dt);
        float half = phase + 0.5f;
        if (half >= 1) half -= 1;
        square -= PolyBlep(half, dt);
        phase += dt;
        if (phase >= 1) phase -= 1;
        sub += 2 * kPi * freq * 0.5f / kSampleRate;
        const float env = std::exp(-t * 11.0f) * std::fmin(1.0f, t * 2000.0f);
        const float snap = noise.Next() * std::exp(-t * 90.0f);
        const float fade = std::fmin(1.0f, (static_cast<float>(out.Frames() - i)) / 400.0f);
        const float v = (square * 0.45f + std::sin(sub) * 0.5f + snap * 0.4f) * env * fade;
        out.left[i] = v;
        out.right[i] = v * 0.9f + square * 0.05f * env * fade;
    }
    out.Normalise(0.8f);
    return out;
}

void AddSounds(AssetList& out) {
    out.push_back({"sound/bgm.wav", EncodeWave(ComposeMusic())});
    out.push_back({"sound/shot.wav", EncodeWave(ComposeShot())});
}
