// The options screen played with the keyboard alone, the mouse alone and a gamepad alone.
#include "ui/options_menu.hpp"

#include <gtest/gtest.h>

using namespace platform;
using Type = WindowEvent::Type;
using Move = WindowEvent::Move;
using Outcome = OptionsMenu::Outcome;

namespace {

WindowEvent Nav(Move move, const char* pressed = "", bool onPad = false) {
    WindowEvent e;
    e.type = Type::Navigate;
    e.move = move;
    e.pressed = pressed;
    e.pressedOnPad = onPad;
    return e;
}

WindowEvent Press(const char* name, bool onPad = false) {
    WindowEvent e;
    e.pressed = name;
    e.pressedOnPad = onPad;
    return e;
}

WindowEvent Pointer(Type type, Point p) {
    WindowEvent e;
    e.type = type;
    e.pointer = p;
    if (type == Type::PointerPress) e.pressed = "MouseLeft";
    return e;
}

Point Middle(const RectI& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Down until the row of that name has the focus, as a player would; fails when there is none.
void FocusOn(OptionsMenu& menu, const char* name) {
    const size_t row = menu.RowOf(name);
    ASSERT_LT(row, menu.items().size()) << "no row " << name;
    for (size_t i = 0; i < menu.items().size() && menu.focus() != row; ++i) menu.Handle(Nav(Move::Down));
    ASSERT_EQ(menu.focus(), row) << name;
}

const OptionsMenu::Item& Row(const OptionsMenu& menu, const char* name) { return menu.items().at(menu.RowOf(name)); }

void Click(OptionsMenu& menu, Point p, std::vector<Outcome>* outcomes = nullptr) {
    for (Type t : {Type::PointerMove, Type::PointerPress, Type::PointerRelease}) {
        const Outcome o = menu.Handle(Pointer(t, p));
        if (outcomes) outcomes->push_back(o);
    }
}

}  // namespace

// Keys only: the music is the first row; left twice (each a change of the sound), and out with
// Escape.
TEST(OptionsMenu, KeysAloneTurnTheMusicDown) {
    OptionsMenu menu(Settings{}, 1280, 720);
    EXPECT_EQ(menu.focus(), menu.RowOf("music"));
    EXPECT_EQ(menu.Handle(Nav(Move::Left)), Outcome::Changed);
    EXPECT_EQ(menu.changedGroup(), SettingGroup::Audio);
    EXPECT_EQ(menu.Handle(Nav(Move::Left)), Outcome::Changed);
    EXPECT_EQ(menu.settings().music, 80);
    EXPECT_EQ(menu.Value(menu.items()[menu.focus()]), "80 %");
    // Up from the first row wraps to "Done"; Return there leaves.
    menu.Handle(Nav(Move::Up));
    EXPECT_EQ(menu.focus(), menu.RowOf("done"));
    EXPECT_EQ(menu.Handle(Nav(Move::Accept)), Outcome::Leave);
    EXPECT_EQ(menu.Handle(Nav(Move::Cancel)), Outcome::Leave);
}

// The rows are the table's settings with a label, then a control's keys and buttons each, then
// the two buttons; values stay in their range, switches turn over, choices cycle.
TEST(OptionsMenu, EveryLabelledSettingHasARowAndStaysInRange) {
    Settings s;
    s.mouseSensitivity = 0.1;
    OptionsMenu menu(s, 1280, 720);
    std::vector<std::string> names;
    for (const auto& item : menu.items()) names.push_back(item.name);
    EXPECT_EQ(names, (std::vector<std::string>{"music", "effects", "mouse_sensitivity", "invert_vertical",
                                               "gamepad_speed", "fullscreen", "render_scale", "frame_skip",
                                               "pause_on_focus_loss", "slide_left", "slide_right", "fire", "start",
                                               "back", "pause", "defaults", "done"}));
    for (int i = 0; i < 3; ++i) menu.Handle(Nav(Move::Right));
    EXPECT_EQ(menu.settings().music, 100) << "no louder than 100";
    FocusOn(menu, "mouse_sensitivity");
    menu.Handle(Nav(Move::Left));
    EXPECT_DOUBLE_EQ(menu.settings().mouseSensitivity, 0.1);
    menu.Handle(Nav(Move::Right));
    EXPECT_NEAR(menu.settings().mouseSensitivity, 0.2, 1e-12);
    EXPECT_EQ(menu.changedGroup(), SettingGroup::Look);
    FocusOn(menu, "invert_vertical");
    EXPECT_EQ(menu.Handle(Nav(Move::Accept)), Outcome::Changed);
    EXPECT_TRUE(menu.settings().invertVertical);
    FocusOn(menu, "fullscreen");
    menu.Handle(Nav(Move::Left));
    EXPECT_EQ(menu.settings().fullScreen, FullScreenAtStart::No);
    // The render scale steps auto, 1, 0.75, 0.5 and round again; frame skip turns over.
    FocusOn(menu, "render_scale");
    std::vector<std::string> shown;
    for (int i = 0; i < 4; ++i) {
        menu.Handle(Nav(Move::Right));
        shown.push_back(menu.Value(menu.items()[menu.focus()]));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"1", "0.75", "0.5", "auto"}));
    EXPECT_FALSE(menu.settings().renderScale);
    menu.Handle(Nav(Move::Left));
    EXPECT_EQ(menu.settings().renderScale, 0.5);
    FocusOn(menu, "frame_skip");
    menu.Handle(Nav(Move::Accept));
    EXPECT_FALSE(menu.settings().frameSkip);
    EXPECT_EQ(menu.changedGroup(), SettingGroup::Display);
}

// Rebinding with each device alone: the key moves from the control that had it, which shows
// emptied; a press of the other kind of device gives up; "Defaults" puts everything back.
TEST(OptionsMenu, RebindingMovesAKeyAndDefaultsPutItBack) {
    OptionsMenu menu(Settings{}, 1280, 720);
    // Keyboard: to slide left, Return, then D (slide right's key).
    FocusOn(menu, "slide_left");
    menu.Handle(Nav(Move::Accept, "Return"));
    EXPECT_TRUE(menu.waiting());
    EXPECT_EQ(menu.Handle(Press("D")), Outcome::Changed);
    EXPECT_FALSE(menu.waiting());
    EXPECT_EQ(menu.settings().keys[size_t(Control::SlideLeft)], InputNames{"D"});
    EXPECT_TRUE(menu.settings().keys[size_t(Control::SlideRight)].empty());
    EXPECT_EQ(menu.Value(Row(menu, "slide_right"), 0), "-");

    // Gamepad: right to the gamepad cell, the south button, then the right shoulder.
    menu.Handle(Nav(Move::Right, "dpright", true));
    EXPECT_EQ(menu.column(), 1);
    menu.Handle(Nav(Move::Accept, "a", true));
    menu.Handle(Press("rightshoulder", true));
    EXPECT_EQ(menu.settings().buttons[size_t(Control::SlideLeft)], InputNames{"rightshoulder"});
    EXPECT_EQ(menu.settings().buttons[size_t(Control::SlideRight)], InputNames{"leftx+"});
    // A key while the gamepad cell waits gives up.
    menu.Handle(Nav(Move::Accept, "a", true));
    EXPECT_EQ(menu.Handle(Press("Q")), Outcome::Moved);
    EXPECT_FALSE(menu.waiting());

    // Start and pause may share a key.
    OptionsMenu shared(Settings{}, 1280, 720);
    FocusOn(shared, "pause");
    shared.Handle(Nav(Move::Accept));
    shared.Handle(Press("Space"));
    EXPECT_EQ(shared.settings().keys[size_t(Control::Start)], InputNames{"Space"});

    // Mouse alone: a click on the fire cell, a click of the right button binds it; a click on
    // "Defaults" puts back the game's keys.
    const OptionsMenu::Item& fire = Row(menu, "fire");
    Click(menu, Middle(fire.cells[0]));
    EXPECT_TRUE(menu.waiting());
    WindowEvent rightClick = Pointer(Type::PointerPress, Middle(fire.cells[0]));
    rightClick.pressed = "MouseRight";
    EXPECT_EQ(menu.Handle(rightClick), Outcome::Changed);
    EXPECT_EQ(menu.settings().keys[size_t(Control::Fire)], InputNames{"MouseRight"});
    // Its release opens nothing.
    EXPECT_NE(menu.Handle(Pointer(Type::PointerRelease, Middle(fire.cells[0]))), Outcome::Changed);
    EXPECT_FALSE(menu.waiting());
    std::vector<Outcome> outcomes;
    Click(menu, Middle(Row(menu, "defaults").rect), &outcomes);
    EXPECT_EQ(outcomes.back(), Outcome::Changed);
    EXPECT_EQ(menu.settings().keys, Settings::DefaultKeys());
    EXPECT_EQ(menu.settings().buttons, Settings::DefaultButtons());
    // A click on the left half of the music's value turns it down; on "Done", out.
    const OptionsMenu::Item& music = Row(menu, "music");
    Click(menu, {music.cells[0].left + 4, Middle(music.rect).y}, &outcomes);
    EXPECT_EQ(menu.settings().music, 90);
    Click(menu, Middle(Row(menu, "done").rect), &outcomes);
    EXPECT_EQ(outcomes.back(), Outcome::Leave);
}
