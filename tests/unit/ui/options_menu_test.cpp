// The options screen played with the keyboard alone, the mouse alone and a gamepad alone.
#include "graphics/options_menu.hpp"

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

size_t RowOf(const OptionsMenu& menu, OptionsMenu::Row row, Control control = Control::Count) {
    for (size_t i = 0; i < menu.items().size(); ++i)
        if (menu.items()[i].row == row && menu.items()[i].control == control) return i;
    return menu.items().size();
}

void Click(OptionsMenu& menu, Point p, std::vector<Outcome>* outcomes = nullptr) {
    for (Type t : {Type::PointerMove, Type::PointerPress, Type::PointerRelease}) {
        const Outcome o = menu.Handle(Pointer(t, p));
        if (outcomes) outcomes->push_back(o);
    }
}

}  // namespace

// Keys only: down to the music, left twice (a sound each time), and out with Escape.
TEST(OptionsMenu, KeysAloneTurnTheMusicDown) {
    OptionsMenu menu(Settings{}, 1280, 720);
    EXPECT_EQ(menu.focus(), RowOf(menu, OptionsMenu::Row::Music));
    EXPECT_EQ(menu.Handle(Nav(Move::Left)), Outcome::VolumeChanged);
    EXPECT_EQ(menu.Handle(Nav(Move::Left)), Outcome::VolumeChanged);
    EXPECT_EQ(menu.settings().music, 80);
    EXPECT_EQ(menu.Value(menu.items()[menu.focus()]), "80 %");
    // Up from the first row wraps to "Done"; Return there leaves.
    menu.Handle(Nav(Move::Up));
    EXPECT_EQ(menu.items()[menu.focus()].row, OptionsMenu::Row::Done);
    EXPECT_EQ(menu.Handle(Nav(Move::Accept)), Outcome::Leave);
    EXPECT_EQ(menu.Handle(Nav(Move::Cancel)), Outcome::Leave);
}

// Values stay in their range, switches turn over, the full-screen answer cycles.
TEST(OptionsMenu, ValuesStayInRange) {
    Settings s;
    s.mouseSensitivity = 0.1;
    OptionsMenu menu(s, 1280, 720);
    for (int i = 0; i < 3; ++i) menu.Handle(Nav(Move::Right));
    EXPECT_EQ(menu.settings().music, 100);
    menu.Handle(Nav(Move::Down));
    menu.Handle(Nav(Move::Down));  // sensitivity
    menu.Handle(Nav(Move::Left));
    EXPECT_DOUBLE_EQ(menu.settings().mouseSensitivity, 0.1);
    menu.Handle(Nav(Move::Right));
    EXPECT_NEAR(menu.settings().mouseSensitivity, 0.2, 1e-12);
    menu.Handle(Nav(Move::Down));  // invert
    EXPECT_EQ(menu.Handle(Nav(Move::Accept)), Outcome::Changed);
    EXPECT_TRUE(menu.settings().invertVertical);
    menu.Handle(Nav(Move::Down));
    menu.Handle(Nav(Move::Down));  // full screen
    menu.Handle(Nav(Move::Left));
    EXPECT_EQ(menu.settings().fullScreen, FullScreenAtStart::No);
    // The render scale steps auto, 1, 0.75, 0.5 and round again; frame skip turns over.
    menu.Handle(Nav(Move::Down));
    std::vector<std::string> shown;
    for (int i = 0; i < 4; ++i) {
        menu.Handle(Nav(Move::Right));
        shown.push_back(menu.Value(menu.items()[menu.focus()]));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"1", "0.75", "0.5", "auto"}));
    EXPECT_FALSE(menu.settings().renderScale);
    menu.Handle(Nav(Move::Left));
    EXPECT_EQ(menu.settings().renderScale, 0.5);
    menu.Handle(Nav(Move::Down));
    menu.Handle(Nav(Move::Accept));
    EXPECT_FALSE(menu.settings().frameSkip);
}

// Rebinding with each device alone: the key moves from the control that had it, which shows
// emptied; a press of the other kind of device gives up; "Defaults" puts everything back.
TEST(OptionsMenu, RebindingMovesAKeyAndDefaultsPutItBack) {
    OptionsMenu menu(Settings{}, 1280, 720);
    const size_t left = RowOf(menu, OptionsMenu::Row::Binding, Control::SlideLeft);
    const size_t right = RowOf(menu, OptionsMenu::Row::Binding, Control::SlideRight);
    // Keyboard: to slide left, Return, then D (slide right's key).
    while (menu.focus() != left) menu.Handle(Nav(Move::Down));
    menu.Handle(Nav(Move::Accept, "Return"));
    EXPECT_TRUE(menu.waiting());
    EXPECT_EQ(menu.Handle(Press("D")), Outcome::Changed);
    EXPECT_FALSE(menu.waiting());
    EXPECT_EQ(menu.settings().keys[size_t(Control::SlideLeft)], InputNames{"D"});
    EXPECT_TRUE(menu.settings().keys[size_t(Control::SlideRight)].empty());
    EXPECT_EQ(menu.Value(menu.items()[right], 0), "-");

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
    const size_t pause = RowOf(shared, OptionsMenu::Row::Binding, Control::Pause);
    while (shared.focus() != pause) shared.Handle(Nav(Move::Down));
    shared.Handle(Nav(Move::Accept));
    shared.Handle(Press("Space"));
    EXPECT_EQ(shared.settings().keys[size_t(Control::Start)], InputNames{"Space"});

    // Mouse alone: a click on the fire cell, a click of the right button binds it; a click on
    // "Defaults" puts back the game's keys.
    const OptionsMenu::Item& fire = menu.items()[RowOf(menu, OptionsMenu::Row::Binding, Control::Fire)];
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
    Click(menu, Middle(menu.items()[RowOf(menu, OptionsMenu::Row::Defaults)].rect), &outcomes);
    EXPECT_EQ(outcomes.back(), Outcome::Changed);
    EXPECT_EQ(menu.settings().keys, Settings::DefaultKeys());
    EXPECT_EQ(menu.settings().buttons, Settings::DefaultButtons());
    // A click on the left half of the music's value turns it down; on "Done", out.
    Click(menu, {menu.items()[0].cells[0].left + 4, Middle(menu.items()[0].rect).y}, &outcomes);
    EXPECT_EQ(menu.settings().music, 90);
    Click(menu, Middle(menu.items()[RowOf(menu, OptionsMenu::Row::Done)].rect), &outcomes);
    EXPECT_EQ(outcomes.back(), Outcome::Leave);
}
