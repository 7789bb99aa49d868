// The drawn question box's layout: long messages wrap (at spaces where there are any, between
// characters where there are none, Japanese included) and the box grows to hold them, always
// inside the picture, its buttons inside the box and the focus on the default. And how it is
// answered: Escape is No whatever the default, Yes takes its button or its key.
#include "ui/question_panel.hpp"

#include <gtest/gtest.h>

#include <optional>
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

WindowEvent Key(WindowEvent::Move move) {
    WindowEvent e;
    e.type = WindowEvent::Type::Navigate;
    e.move = move;
    return e;
}

WindowEvent Pointer(WindowEvent::Type type, Point at) {
    WindowEvent e;
    e.type = type;
    e.pointer = at;
    return e;
}

TEST(QuestionPanel, EscapeIsNoAndYesTakesItsButtonOrItsKey) {
    using Move = WindowEvent::Move;
    const DialogRequest quit{"ゲームを終了しますか？", "確認", DialogIcon::Question, DialogButtons::YesNo, false};
    DialogRequest yesFirst = quit;
    yesFirst.defaultYes = true;
    const DialogRequest report{"course.dat: record 4", "-KORVELIN-", DialogIcon::Error, DialogButtons::Ok, false};
    const QuestionPanel layout(quit, 1280, 720, Measure);
    const Point yesButton{layout.buttons[0].rect.left + 5, layout.buttons[0].rect.top + 5};
    const struct {
        const char* what;
        const DialogRequest& request;
        std::vector<WindowEvent> events;
        std::optional<DialogAnswer> answer;
    } cases[] = {
        {"Escape", quit, {Key(Move::Cancel)}, DialogAnswer::No},
        {"Escape where Return means yes", yesFirst, {Key(Move::Cancel)}, DialogAnswer::No},
        {"Escape on a report", report, {Key(Move::Cancel)}, DialogAnswer::Ok},
        {"Return gives the default", quit, {Key(Move::Accept)}, DialogAnswer::No},
        {"Return gives the default, yes", yesFirst, {Key(Move::Accept)}, DialogAnswer::Yes},
        {"Y", quit, {Key(Move::Yes)}, DialogAnswer::Yes},
        {"Y on a report answers nothing", report, {Key(Move::Yes)}, std::nullopt},
        {"Tab to yes, Return", quit, {Key(Move::Next), Key(Move::Accept)}, DialogAnswer::Yes},
        {"to yes, then Escape", quit, {Key(Move::Previous), Key(Move::Cancel)}, DialogAnswer::No},
        {"a click on yes", quit,
         {Pointer(WindowEvent::Type::PointerPress, yesButton), Pointer(WindowEvent::Type::PointerRelease, yesButton)},
         DialogAnswer::Yes},
        {"pressed on yes, let go outside", quit,
         {Pointer(WindowEvent::Type::PointerPress, yesButton), Pointer(WindowEvent::Type::PointerRelease, {0, 0})},
         std::nullopt},
    };
    for (const auto& c : cases) {
        QuestionPanel panel(c.request, 1280, 720, Measure);
        for (const WindowEvent& e : c.events) panel.Handle(e);
        EXPECT_EQ(panel.answer, c.answer) << c.what;
    }
}

}  // namespace
