// WAVE encoding.
#include "wave_writer.hpp"

#include <algorithm>
#include <cmath>

void StereoBuffer::Normalise(float peak) {
    float most = 1e-9f;
    for (size_t i = 0; i < left.size(); ++i) most = std::max({most, std::fabs(left[i]), std::fabs(right[i])});
    const float gain = peak / most;
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] *= gain;
        right[i] *= gain;
    }
}

namespace {
void Put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>(v >> 8);
}
void Put32(std::string& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v & 0xffff));
    Put16(out, static_cast<uint16_t>(v >> 16));
}
int16_t ToPcm(float v) {
    return static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
}
}  // namespace

std::string EncodeWave(const StereoBuffer& buffer) {
    const uint32_t dataBytes = static_cast<uint32_t>(buffer.Frames() * 4);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 2);
    Put32(out, kSampleRate);
    Put32(out, kSampleRate * 4);
    Put16(out, 4);
    Put16(out, 16);
    out += "data";
    Put32(out, dataBytes);
    for (size_t i = 0; i < buffer.Frames(); ++i) {
        Put16(out, static_cast<uint16_t>(ToPcm(buffer.left[i])));
        Put16(out, static_cast<uint16_t>(ToPcm(buffer.right[i])));
    }
    return out;
}
