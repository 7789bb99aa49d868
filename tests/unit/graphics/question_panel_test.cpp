// The drawn question box's layout: long messages wrap (at spaces where there are any, between
// characters where there are none, Japanese included) and the box grows to hold them, always
// inside the picture, its buttons inside the box and the focus on the default.
#include "graphics/question_panel.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

// Ten pixels a byte: a Japanese character (three bytes) is thirty.
int Measure(const std::string& s) { return int(s.size()) * 10; }

TEST(QuestionPanel, LongLinesWrap) {
    const struct {
        std::string text;
        int width;
        std::vector<std::string> lines;
    } cases[] = {
        {"short", 100, {"short"}},
        {"one two three", 70, {"one two", "three"}},
        {"abcdefghij", 45, {"abcd", "efgh", "ij"}},
        {"line one\nline two", 200, {"line one", "line two"}},
        {"タイトルに戻りますか？", 100, {"タイト", "ルに戻", "ります", "か？"}},
        {"wide", 5, {"w", "i", "d", "e"}},  // at least one character a line
        {"", 100, {""}},
    };
    for (const auto& c : cases) EXPECT_EQ(WrapText(c.text, c.width, Measure), c.lines) << c.text;
}

TEST(QuestionPanel, TheBoxHoldsItsTextAndButtonsInsideThePicture) {
    const struct {
        DialogRequest request;
        size_t lines, buttons;
        int focus;
    } cases[] = {
        {{"ゲームを終了しますか？", "確認", DialogIcon::Question, DialogButtons::YesNo, false}, 1, 2, 1},
        {{"フルスクリーンにしますか？", "確認", DialogIcon::Question, DialogButtons::YesNo, true}, 1, 2, 0},
        {{std::string(300, 'x') + " path/to/a/course.dat", "-KORVELIN-", DialogIcon::Error, DialogButtons::Ok, false},
         3, 1, 0},
    };
    for (const auto& c : cases) {
        const QuestionPanel panel(c.request, 1280, 720, Measure);
        EXPECT_EQ(panel.lines.size(), c.lines) << c.request.text;
        ASSERT_EQ(panel.buttons.size(), c.buttons);
        EXPECT_EQ(panel.focus, c.focus);
        EXPECT_GE(panel.box.left, 0);
        EXPECT_LE(panel.box.right, 1280);
        EXPECT_EQ(panel.box.left + panel.box.right, 1280) << "centred";
        for (const std::string& line : panel.lines) EXPECT_LE(Measure(line), panel.textArea.Width());
        EXPECT_LE(panel.textArea.bottom, panel.buttons[0].rect.top);
        EXPECT_GE(panel.buttons.front().rect.left, panel.box.left);
        EXPECT_LE(panel.buttons.back().rect.right, panel.box.right);
        EXPECT_LE(panel.buttons[0].rect.bottom, panel.box.bottom);
    }
}

}  // namespace
