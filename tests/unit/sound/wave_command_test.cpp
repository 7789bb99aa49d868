// korvelin-assets wave: reports what the reader sees, and fails loudly on a file it cannot read.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "wave_builder.hpp"

using namespace wavetest;

namespace {

struct ToolRun {
    int status = -1;
    std::string output;  // standard output and standard error together
};

ToolRun RunTool(const std::string& args) {
    ToolRun run;
    const std::string command = std::string("'") + KORVELIN_ASSETS_TOOL + "' " + args + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buf[512];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) run.output.append(buf, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class WaveCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("korvelin-wavecmd-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Write(const char* name, const Bytes& bytes) {
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(WriteFile(path, bytes));
        return path;
    }
    std::filesystem::path dir_;
};

}  // namespace

TEST_F(WaveCommandTest, JsonShowsWhatTheReaderSees) {
    const Bytes extra = ExtensibleExtra(16, 3, 1);
    const std::string path =
        Write("ext.wav", Riff({{"fmt ", FmtEx(Fmt(0xFFFE, 2, 48000, 16), extra)}, {"data", Bytes(40, 0)}}));
    const ToolRun run = RunTool("--json wave '" + path + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* field : {"\"format_tag\":65534", "\"format_name\":\"extensible\"", "\"channels\":2",
                              "\"samples_per_sec\":48000", "\"avg_bytes_per_sec\":192000", "\"block_align\":4",
                              "\"bits_per_sample\":16", "\"extra_size\":22",
                              "\"extra_bytes\":\"1000030000000100000000001000800000aa00389b71\"",
                              "\"data_size\":40", "\"playback\":\"as is\""})
        EXPECT_NE(run.output.find(field), std::string::npos) << field << "\n" << run.output;
}

TEST_F(WaveCommandTest, TextShowsACutShortDataChunk) {
    const std::string path =
        Write("cut.wav", Riff({{"fmt ", Fmt(1, 1, 8000, 8)}, {"data", Bytes(10, 0x80), 0xFFFFFFFFu}}));
    const ToolRun run = RunTool("wave '" + path + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("data size:         10"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("declared data:     4294967295"), std::string::npos) << run.output;
}

TEST_F(WaveCommandTest, UnreadableFilesExitNonZeroWithAReason) {
    const struct {
        const char* name;
        std::string path;
        const char* reason;
    } cases[] = {
        {"Missing", (dir_ / "missing.wav").string(), "cannot open"},
        {"NotRiff", Write("text.wav", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'a', 'v', 'e', '!', '\n'}), "not a RIFF"},
        {"NoData", Write("nodata.wav", Riff({{"fmt ", Fmt(1, 1, 8000, 8)}})), "no \"data\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun run = RunTool("--json wave '" + c.path + "'");
        EXPECT_NE(run.status, 0);
        EXPECT_NE(run.output.find("not a readable WAVE file"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find(c.reason), std::string::npos) << run.output;
    }
    EXPECT_NE(RunTool("wave").status, 0);  // no file named
}
