// The devices sampled once a frame into the events the game takes: what a tap, a hold and a
// release become, the virtual cursor moved by the mouse only while the game looks with it, and
// a gamepad (SDL's virtual joystick) plugged in, played and pulled out.
#include "platform/window/sdl_input.hpp"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/input/script_player.hpp"
#include "../../support/virtual_pad.hpp"

using namespace platform;

namespace {

constexpr int kW = 1280, kH = 720;

SDL_Event KeyEvent(SDL_Scancode sc, bool down, bool repeat = false) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.scancode = sc;
    e.key.repeat = repeat;
    return e;
}

SDL_Event ButtonEvent(bool down) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_LEFT;
    return e;
}

SDL_Event Motion(int dx, int dy) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.xrel = dx;
    e.motion.yrel = dy;
    return e;
}

SDL_Event FocusLost() {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    return e;
}

// The sample as script lines, "; " between them; the events are applied to the game's input.
std::string Sample(SdlInput& devices, ScriptedInput& game, int64_t frame = 0) {
    std::vector<InputEvent> events;
    devices.Sample(frame, game, &events);
    std::string text;
    for (const InputEvent& e : events) {
        ApplyInputEvent(e, game);
        text += (text.empty() ? "" : "; ") + FormatInputEvent(e);
    }
    return text;
}

TEST(SdlInput, KeysBecomeTheEventsTheGameTakes) {
    const struct {
        const char* what;
        std::vector<SDL_Event> before;  // sampled first, so the game holds what they hold
        std::vector<SDL_Event> events;
        const char* sample;
    } cases[] = {
        {"a press", {}, {KeyEvent(SDL_SCANCODE_D, true)}, "0 down D"},
        {"a tap between two frames", {}, {KeyEvent(SDL_SCANCODE_SPACE, true), KeyEvent(SDL_SCANCODE_SPACE, false)},
         "0 down Space; 0 up Space"},
        {"a release", {KeyEvent(SDL_SCANCODE_D, true)}, {KeyEvent(SDL_SCANCODE_D, false)}, "0 up D"},
        {"held on", {KeyEvent(SDL_SCANCODE_D, true)}, {}, ""},
        {"key repeat", {KeyEvent(SDL_SCANCODE_D, true)}, {KeyEvent(SDL_SCANCODE_D, true, true)}, ""},
        {"let go and pressed again", {KeyEvent(SDL_SCANCODE_D, true)},
         {KeyEvent(SDL_SCANCODE_D, false), KeyEvent(SDL_SCANCODE_D, true)}, "0 up D; 0 down D"},
        {"a tap while held", {KeyEvent(SDL_SCANCODE_D, true)},
         {KeyEvent(SDL_SCANCODE_D, false), KeyEvent(SDL_SCANCODE_D, true), KeyEvent(SDL_SCANCODE_D, false)},
         "0 up D; 0 down D; 0 up D"},
        {"the left button", {}, {ButtonEvent(true)}, "0 down LeftButton"},
        {"a key the game does not read", {}, {KeyEvent(SDL_SCANCODE_F11, true), KeyEvent(SDL_SCANCODE_RETURN, true)},
         ""},
        {"focus lost lets go", {KeyEvent(SDL_SCANCODE_A, true), ButtonEvent(true)}, {FocusLost()},
         "0 up A; 0 up LeftButton"},
    };
    for (const auto& c : cases) {
        SdlInput devices(kW, kH);
        ScriptedInput game;
        for (const SDL_Event& e : c.before) devices.HandleEvent(e);
        Sample(devices, game);
        for (const SDL_Event& e : c.events) devices.HandleEvent(e);
        EXPECT_EQ(Sample(devices, game), c.sample) << c.what;
    }
}

TEST(SdlInput, KeysOfAQuestionAreNotTheGames) {
    SdlInput devices(kW, kH);
    ScriptedInput game;
    devices.HandleEvent(KeyEvent(SDL_SCANCODE_D, true));
    devices.HandleEvent(KeyEvent(SDL_SCANCODE_ESCAPE, true));
    EXPECT_EQ(Sample(devices, game), "0 down D; 0 down Escape");
    // The question is answered with a tap of Space, Escape let go meanwhile, D held on.
    devices.HandleEvent(KeyEvent(SDL_SCANCODE_SPACE, true));
    devices.HandleEvent(KeyEvent(SDL_SCANCODE_SPACE, false));
    devices.HandleEvent(KeyEvent(SDL_SCANCODE_ESCAPE, false));
    devices.ForgetPresses();
    EXPECT_EQ(Sample(devices, game, 1), "1 up Escape");
    // Answered with Escape, whose release comes only after the box has closed: the game never
    // sees that Escape, so it does not ask again.
    devices.HandleEvent(KeyEvent(SDL_SCANCODE_ESCAPE, true));
    devices.ForgetPresses();
    EXPECT_EQ(Sample(devices, game, 2), "");
    devices.HandleEvent(KeyEvent(SDL_SCANCODE_ESCAPE, false));
    EXPECT_EQ(Sample(devices, game, 3), "");
    devices.HandleEvent(KeyEvent(SDL_SCANCODE_ESCAPE, true));
    EXPECT_EQ(Sample(devices, game, 4), "4 down Escape") << "pressed anew, it is the game's again";
    // That Escape asks again and is let go in the box; the Escape that answers is still down when
    // the box closes. The game held Escape from before, and must now see it up, or the title
    // would read it as held and ask once more.
    devices.HandleEvent(KeyEvent(SDL_SCANCODE_ESCAPE, false));
    devices.HandleEvent(KeyEvent(SDL_SCANCODE_ESCAPE, true));
    devices.ForgetPresses();
    EXPECT_EQ(Sample(devices, game, 5), "5 up Escape");
    devices.HandleEvent(KeyEvent(SDL_SCANCODE_ESCAPE, false));
    EXPECT_EQ(Sample(devices, game, 6), "");
    EXPECT_TRUE(game.Held(Key::D)) << "held through every box, D stayed the game's";
}

TEST(SdlInput, TheMouseMovesTheCursorOnlyWhileTheGameLooksWithIt) {
    SdlInput devices(kW, kH);
    ScriptedInput game;
    game.SetCursor({640, 360});
    devices.HandleEvent(Motion(30, -10));
    EXPECT_EQ(Sample(devices, game), "") << "the title shows the cursor and reads none";
    devices.SetCursorShown(false);
    devices.HandleEvent(Motion(30, -10));
    devices.HandleEvent(Motion(5, 0));
    EXPECT_EQ(Sample(devices, game, 1), "1 cursor 675 350");
    // The game pulled it back meanwhile; the motion counts from where the game left it.
    game.SetCursor({660, 352});
    devices.HandleEvent(Motion(-4, 2));
    EXPECT_EQ(Sample(devices, game, 2), "2 cursor 656 354");
    devices.HandleEvent(Motion(5000, -5000));
    EXPECT_EQ(Sample(devices, game, 3), "3 cursor 1279 0") << "clamped to the picture";
    devices.HandleEvent(FocusLost());
    devices.HandleEvent(Motion(-100, 100));
    EXPECT_EQ(Sample(devices, game, 4), "") << "without focus the mouse is the desktop's";
}

TEST(Gamepads, TheRightStickTurnsFromJustPastTheLooksDeadZoneToTwoDegreesAFrame) {
    const struct {
        int axis, offset;
    } cases[] = {{0, 0}, {7000, 0}, {-7000, 0}, {7001, 16}, {19884, 62}, {32767, 200}, {-32768, -200}, {-19884, -62}};
    for (const auto& c : cases) EXPECT_EQ(LookOffset(c.axis), c.offset) << c.axis;
}

// A gamepad as SDL's virtual joystick, pumped into the devices the way the window pumps events.
class VirtualPad : public ::testing::Test {
protected:
    void SetUp() override {
        pad_ = test_pad::Attach(&index_);
        ASSERT_NE(pad_, nullptr) << SDL_GetError();
        Pump();
    }
    void TearDown() override {
        if (pad_) SDL_JoystickClose(pad_);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    void Pump() {
        SDL_Event e;
        while (SDL_PollEvent(&e)) devices.HandleEvent(e);
    }
    void Axis(SDL_GameControllerAxis axis, int value) {
        SDL_JoystickSetVirtualAxis(pad_, axis, Sint16(value));
        Pump();
    }
    void Button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(pad_, button, down);
        Pump();
    }

    SdlInput devices{kW, kH};
    ScriptedInput game;
    SDL_Joystick* pad_ = nullptr;
    int index_ = -1;
};

TEST_F(VirtualPad, ItsButtonsAndSticksAreTheGamesKeys) {
    ASSERT_EQ(devices.gamepadCount(), 1u) << "plugged in, it is opened";
    constexpr bool kAxis = true, kButton = false;
    const struct {
        const char* what;
        bool axis;
        int control, pushed, rest;
        const char* down;
        const char* up;
    } cases[] = {
        {"Start", kButton, SDL_CONTROLLER_BUTTON_START, 1, 0, "down Space", "up Space"},
        {"Back", kButton, SDL_CONTROLLER_BUTTON_BACK, 1, 0, "down Escape", "up Escape"},
        {"right trigger", kAxis, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767, -32768, "down LeftButton", "up LeftButton"},
        {"south button", kButton, SDL_CONTROLLER_BUTTON_A, 1, 0, "down LeftButton", "up LeftButton"},
        {"left stick left", kAxis, SDL_CONTROLLER_AXIS_LEFTX, -32768, 0, "down A", "up A"},
        {"left stick right", kAxis, SDL_CONTROLLER_AXIS_LEFTX, 30000, 0, "down D", "up D"},
        {"left shoulder", kButton, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 1, 0, "down A", "up A"},
        {"right shoulder", kButton, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 1, 0, "down D", "up D"},
    };
    auto set = [this](bool axis, int control, int value) {
        if (axis)
            Axis(SDL_GameControllerAxis(control), value);
        else
            Button(SDL_GameControllerButton(control), value != 0);
    };
    for (const auto& c : cases) {
        set(c.axis, c.control, c.pushed);
        EXPECT_EQ(Sample(devices, game), std::string("0 ") + c.down) << c.what;
        EXPECT_TRUE(devices.gamepadInUse()) << c.what;
        set(c.axis, c.control, c.rest);
        EXPECT_EQ(Sample(devices, game), std::string("0 ") + c.up) << c.what;
        // A key pressed on the keyboard hands the game back to it.
        devices.HandleEvent(KeyEvent(SDL_SCANCODE_F11, true));
        EXPECT_FALSE(devices.gamepadInUse()) << c.what;
    }
    // A stick resting a little off its middle holds nothing.
    Axis(SDL_CONTROLLER_AXIS_LEFTX, -9000);
    EXPECT_EQ(Sample(devices, game), "");
}

TEST_F(VirtualPad, TheRightStickHoldsTheCursorWhereTheLookTurnsAndLetsItBackAtOnce) {
    devices.SetCursorShown(false);
    game.SetCursor({640, 360});
    Axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    Axis(SDL_CONTROLLER_AXIS_RIGHTY, -19884);
    EXPECT_EQ(Sample(devices, game, 1), "1 cursor 840 298");
    // The look pulled the cursor a tenth back; the stick, still pushed, holds it out again.
    game.SetCursor({820, 304});
    EXPECT_EQ(Sample(devices, game, 2), "2 cursor 840 298");
    // The mouse adds to the stick.
    devices.HandleEvent(Motion(0, 10));
    EXPECT_EQ(Sample(devices, game, 3), "3 cursor 840 308");
    // Let go: the cursor is back in the middle, so the view stops turning at once.
    game.SetCursor({820, 304});
    Axis(SDL_CONTROLLER_AXIS_RIGHTX, 0);
    Axis(SDL_CONTROLLER_AXIS_RIGHTY, 3000);
    EXPECT_EQ(Sample(devices, game, 4), "4 cursor 640 360");
    EXPECT_EQ(Sample(devices, game, 5), "");
    // On the title the cursor is shown and the stick turns nothing.
    devices.SetCursorShown(true);
    Axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    EXPECT_EQ(Sample(devices, game, 6), "");
}

TEST_F(VirtualPad, PulledOutItLetsGoOfWhatItHeld) {
    Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    EXPECT_EQ(Sample(devices, game), "0 down D; 0 down LeftButton");
    SDL_JoystickClose(pad_);
    pad_ = nullptr;
    ASSERT_EQ(SDL_JoystickDetachVirtual(index_), 0) << SDL_GetError();
    Pump();
    EXPECT_EQ(devices.gamepadCount(), 0u);
    EXPECT_FALSE(devices.gamepadInUse());
    EXPECT_EQ(Sample(devices, game), "0 up D; 0 up LeftButton");
}

}  // namespace
