// Input scripts: what a line means, what a bad line says, and the order events take effect.
#include "platform/input/input_script.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace platform;

namespace {

InputScript Parse(const std::string& text) {
    InputScript script;
    std::string error;
    EXPECT_TRUE(ParseInputScript(text, "s.txt", &script, &error)) << error;
    return script;
}

InputEvent Event(int64_t frame, InputEvent::Type type) {
    InputEvent e;
    e.frame = frame;
    e.type = type;
    return e;
}

TEST(InputScript, GoodLinesAndWhatTheyMean) {
    using T = InputEvent::Type;
    InputEvent down = Event(0, T::Down), up = Event(12, T::Up), cursor = Event(3, T::Cursor),
               yes = Event(40, T::Answer), no = Event(41, T::Answer), quit = Event(900, T::Quit);
    down.key = Key::Space;
    up.key = Key::LeftButton;
    cursor.cursor = {-20, 700};
    yes.yes = true;
    const struct {
        const char* line;
        InputEvent event;
    } cases[] = {
        {"0 down Space", down},
        {"12 up LeftButton", up},
        {"  3\tcursor  -20 700   ", cursor},
        {"40 answer yes # leave the game", yes},
        {"41 answer no", no},
        {"00012 up LeftButton\r", up},
        {"900 quit", quit},
    };
    for (const auto& c : cases) {
        const InputScript script = Parse(c.line);
        ASSERT_EQ(script.events.size(), 1u) << c.line;
        EXPECT_EQ(script.events[0], c.event) << c.line;
    }
    // Comments, blank lines and a byte-order mark carry nothing.
    EXPECT_TRUE(Parse("\xEF\xBB\xBF# keys\n\n   \n# 5 down A\n").events.empty());
}

TEST(InputScript, BadLinesNameTheFileTheLineAndTheReason) {
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"down Space", "s.txt:1: expected a frame number, found 'down'"},
        {"-1 down Space", "s.txt:1: expected a frame number, found '-1'"},
        {"1.5 down Space", "s.txt:1: expected a frame number, found '1.5'"},
        {"99999999999999999999 down A", "s.txt:1: frame number '99999999999999999999' is too large"},
        {"5", "s.txt:1: expected down, up, cursor, answer or quit after the frame number"},
        {"# fine\n5 jump", "s.txt:2: unknown event 'jump' (expected down, up, cursor, answer or quit)"},
        {"5 down", "s.txt:1: 'down' needs a key: A D E F Q R S W Z Space Escape LeftButton RightButton"},
        {"5 down space",
         "s.txt:1: unknown key 'space' (keys: A D E F Q R S W Z Space Escape LeftButton RightButton)"},
        {"5 down Return",
         "s.txt:1: unknown key 'Return' (keys: A D E F Q R S W Z Space Escape LeftButton RightButton)"},
        {"5 up A A", "s.txt:1: unexpected 'A' after the event"},
        {"5 cursor 10", "s.txt:1: 'cursor' needs X and Y, whole client pixels from -100000 to 100000"},
        {"5 cursor 10 2147483648", "s.txt:1: 'cursor' needs X and Y, whole client pixels from -100000 to 100000"},
        {"5 cursor 1e3 0", "s.txt:1: 'cursor' needs X and Y, whole client pixels from -100000 to 100000"},
        {"5 answer maybe", "s.txt:1: 'answer' needs yes or no"},
        {"5 quit now", "s.txt:1: unexpected 'now' after the event"},
        {"# seed 12x", "s.txt:1: '# seed' needs one whole number from 0 to 18446744073709551615"},
        {"# seed 18446744073709551616", "s.txt:1: '# seed' needs one whole number from 0 to 18446744073709551615"},
        {"\n\n5 down A\xC3(", "s.txt:3: the line is not valid UTF-8"},
        {"5 down A # \xED\xA0\x80", "s.txt:1: the line is not valid UTF-8"},  // a surrogate
        {"5 down A # \xC0\xAF", "s.txt:1: the line is not valid UTF-8"},      // overlong
        {std::string("5 down A\0", 9), "s.txt:1: the line holds a NUL byte"},
        {"1 down A\n" + std::string(1025, ' '), "s.txt:2: the line is longer than 1024 bytes"},
        {"5 answer " + std::string(200, 'y'), "s.txt:1: 'answer' needs yes or no"},
        {"5 " + std::string(100, 'x'),
         "s.txt:1: unknown event '" + std::string(40, 'x') + "...' (expected down, up, cursor, answer or quit)"},
    };
    for (const auto& c : cases) {
        InputScript script;
        std::string error;
        EXPECT_FALSE(ParseInputScript(c.text, "s.txt", &script, &error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_TRUE(script.events.empty());
    }
    std::string error;
    InputScript script;
    EXPECT_FALSE(ParseInputScript(std::string(kMaxScriptBytes + 1, '\n'), "big.txt", &script, &error));
    EXPECT_EQ(error, "big.txt: the script is larger than 16 MiB");
    EXPECT_FALSE(LoadInputScript("/nonexistent/keys.txt", "keys.txt", &script, &error));
    EXPECT_EQ(error, "keys.txt: cannot open: No such file or directory");
}

TEST(InputScript, FramesSortStablyAndTheSeedComesFromTheFirstLine) {
    const InputScript script = Parse(
        "# seed 42\n"
        "30 up Space\n"
        "10 down Space\n"
        "10 up Space\n"  // a tap inside one frame: the order of the lines is kept
        "0 cursor 640 360\n"
        "31 quit\n");
    ASSERT_EQ(script.events.size(), 5u);
    EXPECT_EQ(script.events[0].type, InputEvent::Type::Cursor);
    EXPECT_EQ(script.events[1].type, InputEvent::Type::Down);
    EXPECT_EQ(script.events[2].type, InputEvent::Type::Up);
    EXPECT_EQ(script.events[2].frame, 10);
    EXPECT_EQ(script.events[3].frame, 30);
    EXPECT_EQ(script.events[4].type, InputEvent::Type::Quit);
    EXPECT_EQ(script.seed, 42u);
    // Only the first line carries a seed; other comments about seeds are comments.
    EXPECT_FALSE(Parse("\n# seed 42\n").seed);
    EXPECT_FALSE(Parse("# seeds of doubt").seed);
    // Written out, it reads back the same.
    const InputScript again = Parse(FormatInputScript(script));
    EXPECT_EQ(again.events, script.events);
    EXPECT_EQ(again.seed, script.seed);
}

}  // namespace
