// The command line: what each option sets, and what a wrong one says.
#include "app/launch_options.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool Parse(std::vector<const char*> args, LaunchOptions* out, std::string* error) {
    args.insert(args.begin(), "korvelin");
    return ParseLaunchOptions(int(args.size()), args.data(), out, error);
}

TEST(LaunchOptions, HeadlessRunWithEveryOption) {
    LaunchOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"--headless", "--frames", "200", "--start=game", "--input", "keys.txt", "--trace", "t.jsonl",
                       "--seed", "18446744073709551615", "--course", "my.dat", "--dev"},
                      &o, &error))
        << error;
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.frames, 200);
    EXPECT_EQ(o.start, kSceneGame);
    EXPECT_EQ(o.inputFile, "keys.txt");
    EXPECT_EQ(o.traceFile, "t.jsonl");
    EXPECT_EQ(o.seed, 18446744073709551615u);
    EXPECT_EQ(o.courseFile, "my.dat");
    EXPECT_TRUE(o.dev);
    // A window takes a course and a seed too; nothing given means the title, no limit.
    ASSERT_TRUE(Parse({"--course", "my.dat", "--seed=0"}, &o, &error)) << error;
    EXPECT_FALSE(o.headless);
    EXPECT_EQ(o.seed, 0u);
    EXPECT_FALSE(o.frames);
    EXPECT_EQ(o.start, kSceneTitle);
    ASSERT_TRUE(Parse({"--help", "--frames", "3"}, &o, &error));
    EXPECT_TRUE(o.help);
}

TEST(LaunchOptions, WindowRunsAnswerTheQuestionRecordReplayAndTrace) {
    LaunchOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"--fullscreen", "--record", "run.txt", "--trace=t.jsonl"}, &o, &error)) << error;
    EXPECT_EQ(o.overrides.fullScreen, platform::FullScreenAtStart::Yes);
    EXPECT_EQ(o.recordFile, "run.txt");
    EXPECT_EQ(o.traceFile, "t.jsonl");
    ASSERT_TRUE(Parse({"--windowed", "--replay", "run.txt", "--seed", "7", "--no-frame-skip", "--render-scale=0.75"},
                      &o, &error)) << error;
    EXPECT_EQ(o.overrides.fullScreen, platform::FullScreenAtStart::No);
    EXPECT_EQ(o.replayFile, "run.txt");
    EXPECT_EQ(o.overrides.frameSkip, false);
    EXPECT_EQ(o.overrides.renderScale, std::optional<double>(0.75));
    // "auto" given by hand wins over a scale in the settings, so it is told from nothing given.
    ASSERT_TRUE(Parse({"--render-scale", "auto"}, &o, &error)) << error;
    ASSERT_TRUE(o.overrides.renderScale);
    EXPECT_FALSE(*o.overrides.renderScale);
    // Nothing given: the settings decide every one.
    ASSERT_TRUE(Parse({}, &o, &error)) << error;
    EXPECT_FALSE(o.overrides.fullScreen);
    EXPECT_FALSE(o.overrides.frameSkip);
    EXPECT_FALSE(o.overrides.renderScale);
}

TEST(LaunchOptions, WrongCommandLinesSayWhatIsWrong) {
    const struct {
        std::vector<const char*> args;
        const char* error;
    } cases[] = {
        {{"--full-screen"}, "unknown option '--full-screen'"},
        {{"--fullscreen", "--windowed"}, "--fullscreen and --windowed cannot be given together"},
        {{"--windowed", "--fullscreen"}, "--fullscreen and --windowed cannot be given together"},
        {{"--record", "a.txt", "--replay", "b.txt"}, "--record and --replay cannot be given together"},
        {{"--fullscreen=1"}, "--fullscreen takes no value"},
        {{"--record"}, "--record needs a value"},
        {{"--headless", "--record", "a.txt"}, "--record works only in the window, not with --headless"},
        {{"--replay", "b.txt", "--headless"}, "--replay works only in the window, not with --headless"},
        {{"--headless", "--windowed"}, "--windowed works only in the window, not with --headless"},
        {{"--headless", "--frames"}, "--frames needs a value"},
        {{"--headless", "--frames="}, "--frames needs a value"},
        {{"--headless", "--frames", "-5"}, "--frames takes a whole number of frames, not '-5'"},
        {{"--headless", "--frames", "10x"}, "--frames takes a whole number of frames, not '10x'"},
        {{"--headless", "--frames", "99999999999999999999"},
         "--frames takes a whole number of frames, not '99999999999999999999'"},
        {{"--headless", "--start", "menu"}, "--start takes title or game, not 'menu'"},
        {{"--seed", "0x10"}, "--seed takes a whole number from 0 to 18446744073709551615, not '0x10'"},
        {{"--headless", "--seed", "1", "--seed", "2"}, "--seed is given twice"},
        {{"--dev=1"}, "--dev takes no value"},
        {{"--render-scale", "0.6"}, "--render-scale takes auto, 1, 0.75 or 0.5, not '0.6'"},
        {{"--headless", "--no-frame-skip"}, "--no-frame-skip works only in the window, not with --headless"},
        {{"--input", "keys.txt"}, "--input works only with --headless"},
        {{"--trace", "t.jsonl", "--frames", "5"}, "--frames works only with --headless"},
    };
    for (const auto& c : cases) {
        LaunchOptions o;
        std::string error;
        EXPECT_FALSE(Parse(c.args, &o, &error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
}

}  // namespace
