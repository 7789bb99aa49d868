// korvelin-assets wave FILE: what the game's WAVE reader sees in a sound file.
#include <cstdio>
#include <string>

#include "command_registry.hpp"
#include "json_writer.hpp"
#include "sound/sound_clip.hpp"
#include "sound/wave_file.hpp"

namespace {

std::string Hex(const std::vector<uint8_t>& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// How the sound manager will treat the samples: as they are, converted, or not at all.
std::string Playback(const ClipPlan& plan) {
    if (plan.coding == SampleCoding::Unsupported) return "refused: " + plan.refusal;
    return plan.converted ? "converted to 16-bit" : "as is";
}

int Run(const CommandContext& ctx) {
    if (ctx.args.size() != 1) {
        std::fprintf(stderr, "usage: korvelin-assets [--json] wave FILE\n");
        return 2;
    }
    const std::string& path = ctx.args[0];
    WaveFile wave;
    if (!wave.Open(path.c_str())) {
        std::fprintf(stderr, "korvelin-assets: %s: not a readable WAVE file: %s\n", path.c_str(),
                     wave.Error().c_str());
        return 1;
    }
    const WaveFormat& f = wave.Format();
    const std::string playback = Playback(PlanSoundClip(f));
    if (ctx.json) {
        JsonWriter j;
        j.BeginObject();
        j.Key("file").Value(path);
        j.Key("format_tag").Value(int{f.formatTag});
        j.Key("format_name").Value(WaveFormatTagName(f.formatTag));
        j.Key("channels").Value(int{f.channels});
        j.Key("samples_per_sec").Value(f.samplesPerSec);
        j.Key("avg_bytes_per_sec").Value(f.avgBytesPerSec);
        j.Key("block_align").Value(int{f.blockAlign});
        j.Key("bits_per_sample").Value(int{f.bitsPerSample});
        j.Key("extra_size").Value(int{f.cbSize});
        j.Key("extra_bytes").Value(Hex(f.extra));
        j.Key("data_size").Value(wave.DataSize());
        j.Key("declared_data_size").Value(wave.DeclaredDataSize());
        j.Key("playback").Value(playback);
        j.EndObject();
        std::printf("%s\n", j.str().c_str());
        return 0;
    }
    std::printf("file:              %s\n", path.c_str());
    std::printf("format tag:        0x%04x (%s)\n", f.formatTag, WaveFormatTagName(f.formatTag));
    std::printf("channels:          %u\n", unsigned{f.channels});
    std::printf("samples per sec:   %u\n", f.samplesPerSec);
    std::printf("avg bytes per sec: %u\n", f.avgBytesPerSec);
    std::printf("block align:       %u\n", unsigned{f.blockAlign});
    std::printf("bits per sample:   %u\n", unsigned{f.bitsPerSample});
    std::printf("extra bytes:       %u%s%s\n", unsigned{f.cbSize}, f.extra.empty() ? "" : " ",
                Hex(f.extra).c_str());
    std::printf("data size:         %u\n", wave.DataSize());
    if (wave.DeclaredDataSize() != wave.DataSize())
        std::printf("declared data:     %u (the file ends sooner)\n", wave.DeclaredDataSize());
    std::printf("playback:          %s\n", playback.c_str());
    return 0;
}

CommandRegistration reg("wave", "wave FILE      format, sizes and playback of a .wav file", &Run);

}  // namespace
