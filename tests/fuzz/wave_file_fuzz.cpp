// Fuzzes WaveFile and LoadSoundClip: any bytes either fail cleanly or read only what exists.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "sound/sound_clip.hpp"
#include "sound/wave_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so AddressSanitizer catches a read one byte past the end.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size ? size : 1]);
    if (size != 0) std::memcpy(copy.get(), data, size);
    const std::span<const uint8_t> bytes(copy.get(), size);

    WaveFile wave;
    if (!wave.OpenMemory(bytes)) {
        if (wave.Error().empty()) std::abort();  // a refusal always says why
        return 0;
    }
    const WaveFormat& f = wave.Format();
    if (f.channels == 0 || f.samplesPerSec == 0 || f.blockAlign == 0) std::abort();
    if (f.extra.size() != f.cbSize || wave.DataSize() > size) std::abort();
    if (f.formatTag == kWaveFormatPcm && f.cbSize != 0) std::abort();

    // Read it in odd steps, then again through the clip loader.
    uint8_t buf[13];
    size_t got = 0;
    size_t total = 0;
    while (wave.Read(sizeof buf, buf, &got) && got > 0) total += got;
    if (total != wave.DataSize()) std::abort();

    WaveFile again;
    if (!again.OpenMemory(bytes)) std::abort();
    SoundClip clip;
    std::string error;
    if (LoadSoundClip(again, &clip, &error)) {
        const size_t frame = static_cast<size_t>(clip.channels) * (clip.bitsPerSample / 8);
        if (frame == 0 || clip.samples.size() % frame != 0) std::abort();
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
