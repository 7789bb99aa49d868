// WaveFile: good files read exactly, lying files fail cleanly or read only what exists.
#include "sound/wave_file.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "wave_builder.hpp"

using namespace wavetest;

namespace {

// A heap copy of exactly the image's size, so AddressSanitizer sees any read past its end.
struct ExactCopy {
    explicit ExactCopy(const Bytes& b) : size(b.size()), data(new uint8_t[b.size() ? b.size() : 1]) {
        if (!b.empty()) std::memcpy(data.get(), b.data(), b.size());
    }
    std::span<const uint8_t> span() const { return {data.get(), size}; }
    size_t size;
    std::unique_ptr<uint8_t[]> data;
};

Bytes ReadAll(WaveFile& w) {
    Bytes out;
    uint8_t buf[7];  // an odd step, so reads straddle every boundary
    size_t got = 0;
    while (w.Read(sizeof buf, buf, &got) && got > 0) out.insert(out.end(), buf, buf + got);
    return out;
}

Bytes Patched(Bytes b, size_t at, const char* four) {
    std::memcpy(b.data() + at, four, 4);
    return b;
}

Bytes Counting(size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i * 7 + 1);
    return b;
}

struct Case {
    const char* name;
    Bytes image;
    const char* error;  // null when the file must open
    Bytes data = {};    // the sample bytes it must read when it opens
};

std::vector<Case> Cases() {
    const Bytes pcm = Fmt(1, 2, 22050, 16);
    const Bytes samples = Counting(100);
    const Bytes good = Riff({{"fmt ", pcm}, {"data", samples}});
    Bytes truncatedFmt = Riff({{"fmt ", pcm}, {"data", samples}});
    truncatedFmt.resize(12 + 8 + 10);
    Bytes fmt14 = pcm;
    fmt14.resize(14);
    Bytes extraPastEnd = Fmt(2, 1, 8000, 4, 256);  // cbSize 40, but the chunk holds 4 more bytes
    Put16(extraPastEnd, 40);
    Put32(extraPastEnd, 0);
    const Bytes extensible = FmtEx(Fmt(0xFFFE, 2, 48000, 16), ExtensibleExtra(16, 3, 1));
    return {
        {"TruncatedHeader", {'R', 'I', 'F', 'F', 0, 0, 0, 0}, "too short"},
        {"Empty", {}, "too short"},
        {"NotRiff", Patched(good, 0, "RIFX"), "not a RIFF"},
        {"NotWave", Patched(good, 8, "AVI "), "not WAVE"},
        {"TruncatedFmt", truncatedFmt, "ends inside"},
        {"DataSizeAllOnes", Riff({{"fmt ", pcm}, {"data", samples, 0xFFFFFFFFu}}), nullptr, samples},
        {"RiffSizeAllOnes", Riff({{"fmt ", pcm}, {"data", samples}}, 0xFFFFFFFFu), nullptr, samples},
        {"OddChunkBeforeData", Riff({{"fmt ", pcm}, {"LIST", {1, 2, 3}}, {"data", samples}}), nullptr, samples},
        {"DataBeforeFmt", Riff({{"data", samples}, {"fmt ", pcm}}), nullptr, samples},
        {"FmtShorterThan16", Riff({{"fmt ", fmt14}, {"data", samples}}), "needs 16"},
        {"NoFmt", Riff({{"data", samples}}), "no \"fmt \""},
        {"NoData", Riff({{"fmt ", pcm}, {"LIST", {1, 2}}}), "no \"data\""},
        {"HugeChunkHidesData", Riff({{"fmt ", pcm}, {"junk", {}, 0x7FFFFFF0u}, {"data", samples}}), "no \"data\""},
        {"ZeroChannels", Riff({{"fmt ", Fmt(1, 0, 22050, 16, 4)}, {"data", samples}}), "zero channels"},
        {"ZeroRate", Riff({{"fmt ", Fmt(1, 2, 0, 16)}, {"data", samples}}), "zero sample rate"},
        {"ZeroBlockAlign", Riff({{"fmt ", Fmt(1, 2, 22050, 16, 0)}, {"data", samples}}), "zero block align"},
        {"ExtensibleWithExtra", Riff({{"fmt ", extensible}, {"data", samples}}), nullptr, samples},
        {"ExtraRunsPastFmt", Riff({{"fmt ", extraPastEnd}, {"data", samples}}), "runs past"},
        {"EmptyData", Riff({{"fmt ", pcm}, {"data", {}}}), nullptr, {}},
    };
}

}  // namespace

TEST(WaveFileTest, EachImageFailsCleanlyOrReadsExactlyWhatExists) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        const ExactCopy copy(c.image);
        WaveFile w;
        const bool opened = w.OpenMemory(copy.span());
        if (c.error != nullptr) {
            EXPECT_FALSE(opened);
            EXPECT_NE(w.Error().find(c.error), std::string::npos) << w.Error();
            EXPECT_FALSE(w.IsOpen());
            size_t got = 99;
            uint8_t buf[4];
            EXPECT_FALSE(w.Read(sizeof buf, buf, &got));
            EXPECT_EQ(got, 0u);
            continue;
        }
        ASSERT_TRUE(opened) << w.Error();
        EXPECT_EQ(w.DataSize(), c.data.size());
        EXPECT_EQ(ReadAll(w), c.data);
        EXPECT_EQ(w.Remaining(), 0u);
    }
}

TEST(WaveFileTest, FormatKeepsExtraBytesOnlyForNonPcm) {
    const Bytes extra = ExtensibleExtra(16, 3, 1);
    struct FmtCase {
        const char* name;
        Bytes fmt;
        uint16_t cbSize;
        Bytes extra;
    };
    const FmtCase cases[] = {
        {"PlainPcm", Fmt(1, 1, 8000, 8), 0, {}},
        {"PcmWithCbSizeIgnored", FmtEx(Fmt(1, 1, 8000, 8), {9, 9, 9, 9, 9}), 0, {}},
        {"Extensible", FmtEx(Fmt(0xFFFE, 2, 48000, 16), extra), 22, extra},
        {"Float16ByteFmtHasNoExtra", Fmt(3, 2, 44100, 32), 0, {}},
        {"FloatWithCbSize0", FmtEx(Fmt(3, 2, 44100, 32), {}), 0, {}},
        {"AdpcmOddExtra", FmtEx(Fmt(2, 1, 8000, 4, 256), {1, 2, 3}), 3, {1, 2, 3}},
    };
    for (const FmtCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ExactCopy copy(Riff({{"fmt ", c.fmt}, {"data", {0, 0, 0, 0}}}));
        WaveFile w;
        ASSERT_TRUE(w.OpenMemory(copy.span())) << w.Error();
        EXPECT_EQ(w.Format().cbSize, c.cbSize);
        EXPECT_EQ(w.Format().extra, c.extra);
    }
    const ExactCopy copy(Riff({{"fmt ", Fmt(1, 2, 22050, 16)}, {"data", {0, 0, 0, 0}}}));
    WaveFile w;
    ASSERT_TRUE(w.OpenMemory(copy.span()));
    EXPECT_EQ(w.Format().formatTag, 1);
    EXPECT_EQ(w.Format().channels, 2);
    EXPECT_EQ(w.Format().samplesPerSec, 22050u);
    EXPECT_EQ(w.Format().avgBytesPerSec, 88200u);
    EXPECT_EQ(w.Format().blockAlign, 4);
    EXPECT_EQ(w.Format().bitsPerSample, 16);
}

// Every cut of a file with a chunk between fmt and data: the reader never reads past the cut
// and hands out only sample bytes that are really there.
TEST(WaveFileTest, EveryTruncationIsSafe) {
    const Bytes samples = Counting(37);
    const Bytes full = Riff({{"fmt ", FmtEx(Fmt(0xFFFE, 1, 8000, 8), ExtensibleExtra(8, 4, 1))},
                             {"LIST", {1, 2, 3, 4, 5}},
                             {"data", samples}});
    const size_t dataStart = full.size() - samples.size() - 1;  // the odd data chunk is padded
    for (size_t n = 0; n < full.size(); ++n) {
        SCOPED_TRACE(n);
        const ExactCopy copy(Bytes(full.begin(), full.begin() + static_cast<long>(n)));
        WaveFile w;
        if (!w.OpenMemory(copy.span())) {
            EXPECT_FALSE(w.Error().empty());
            EXPECT_LT(n, dataStart);
            continue;
        }
        const size_t expected = std::min(n - dataStart, samples.size());
        EXPECT_EQ(w.DeclaredDataSize(), samples.size());
        EXPECT_EQ(ReadAll(w), Bytes(samples.begin(), samples.begin() + static_cast<long>(expected)));
    }
}

TEST(WaveFileTest, ReadHandsOutAtMostWhatRemains) {
    const Bytes samples = Counting(10);
    const ExactCopy copy(Riff({{"fmt ", Fmt(1, 1, 8000, 8)}, {"data", samples}}));
    WaveFile w;
    ASSERT_TRUE(w.OpenMemory(copy.span()));
    uint8_t buf[64];
    size_t got = 0;
    ASSERT_TRUE(w.Read(4, buf, &got));
    EXPECT_EQ(got, 4u);
    EXPECT_EQ(w.Remaining(), 6u);
    ASSERT_TRUE(w.Read(sizeof buf, buf, &got));
    EXPECT_EQ(got, 6u);
    EXPECT_EQ(Bytes(buf, buf + 6), Bytes(samples.begin() + 4, samples.end()));
    ASSERT_TRUE(w.Read(sizeof buf, buf, &got));
    EXPECT_EQ(got, 0u);
    w.Close();
    EXPECT_FALSE(w.Read(sizeof buf, buf, &got));
}

TEST(WaveFileTest, ReadsFromDiskLikeFromMemory) {
    const auto dir = std::filesystem::temp_directory_path() / ("korvelin-wave-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const Bytes samples = Counting(300);
    const Bytes image = Riff({{"fmt ", Fmt(1, 1, 11025, 8)}, {"fact", {1, 2, 3}}, {"data", samples, 0xFFFFFFFFu}});
    const std::string path = (dir / "clip.wav").string();
    ASSERT_TRUE(WriteFile(path, image));

    WaveFile w;
    ASSERT_TRUE(w.Open(path.c_str())) << w.Error();
    EXPECT_EQ(w.Format().samplesPerSec, 11025u);
    EXPECT_EQ(ReadAll(w), samples);

    EXPECT_FALSE(w.Open((dir / "missing.wav").c_str()));
    EXPECT_NE(w.Error().find("cannot open"), std::string::npos) << w.Error();
    EXPECT_FALSE(w.Open(dir.c_str()));  // a folder is no sound
    EXPECT_FALSE(w.Error().empty());
    std::filesystem::remove_all(dir);
}
