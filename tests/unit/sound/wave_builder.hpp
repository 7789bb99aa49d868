// Builds WAVE images byte by byte for the sound tests: good ones, and ones that lie.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace wavetest {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

struct Chunk {
    Chunk(std::string id_, Bytes body_, std::optional<uint32_t> size_ = {})
        : id(std::move(id_)), body(std::move(body_)), size(size_) {}
    std::string id;                // four characters
    Bytes body;                    // followed by a pad byte when its length is odd
    std::optional<uint32_t> size;  // what the header claims; the body's length when unset
};

// "RIFF" size "WAVE" and the chunks; riffSize overrides the form's declared size.
inline Bytes Riff(const std::vector<Chunk>& chunks, std::optional<uint32_t> riffSize = {}) {
    Bytes b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Chunk& c : chunks) {
        b.insert(b.end(), c.id.begin(), c.id.end());
        Put32(b, c.size.value_or(static_cast<uint32_t>(c.body.size())));
        b.insert(b.end(), c.body.begin(), c.body.end());
        if (c.body.size() & 1) b.push_back(0);
    }
    const uint32_t size = riffSize.value_or(static_cast<uint32_t>(b.size() - 8));
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<uint8_t>(size >> (8 * i));
    return b;
}

// The 16 common bytes of "fmt "; blockAlign and the byte rate follow from the rest unless given.
inline Bytes Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                 std::optional<uint16_t> blockAlign = {}) {
    const uint16_t align = blockAlign.value_or(static_cast<uint16_t>(channels * (bits / 8)));
    Bytes b;
    Put16(b, tag);
    Put16(b, channels);
    Put32(b, rate);
    Put32(b, rate * align);
    Put16(b, align);
    Put16(b, bits);
    return b;
}

// fmt with cbSize and the extra bytes after it.
inline Bytes FmtEx(Bytes fmt16, const Bytes& extra) {
    Put16(fmt16, static_cast<uint32_t>(extra.size()));
    fmt16.insert(fmt16.end(), extra.begin(), extra.end());
    return fmt16;
}

// The 22 extra bytes of WAVE_FORMAT_EXTENSIBLE with the given sub-format tag (1 PCM, 3 float).
inline Bytes ExtensibleExtra(uint16_t validBits, uint32_t channelMask, uint16_t subTag) {
    Bytes b;
    Put16(b, validBits);
    Put32(b, channelMask);
    Put16(b, subTag);
    const uint8_t tail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                              0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    b.insert(b.end(), tail, tail + 14);
    return b;
}

inline Bytes Samples16(const std::vector<int16_t>& s) {
    Bytes b;
    for (int16_t v : s) Put16(b, static_cast<uint16_t>(v));
    return b;
}

// A mono 16-bit PCM file.
inline Bytes Pcm16Wave(const std::vector<int16_t>& samples, uint32_t rate = 44100, uint16_t channels = 1) {
    return Riff({{"fmt ", Fmt(1, channels, rate, 16)}, {"data", Samples16(samples)}});
}

// seconds of a sine at freq Hz with peak amplitude (0..1), optionally fading out exponentially.
inline std::vector<int16_t> Sine(double freq, double seconds, double amplitude, double decayPerSecond = 0,
                                 uint32_t rate = 44100) {
    const size_t n = static_cast<size_t>(seconds * rate);
    std::vector<int16_t> s(n);
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double env = amplitude * std::exp(-decayPerSecond * t);
        s[i] = static_cast<int16_t>(std::lrint(32767.0 * env * std::sin(2 * M_PI * freq * t)));
    }
    return s;
}

inline bool WriteFile(const std::string& path, const Bytes& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace wavetest
