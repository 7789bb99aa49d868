// The game's own question box, for where the system's box cannot serve: no box can be shown
// here, the window fills the screen (a box would open behind it), or the player holds a gamepad
// (a system box cannot be answered with one). A held screen: the game waits for its answer as it
// would for a system box, with the picture it last showed frozen behind it.
#pragma once

#include "platform/window/dialogs.hpp"
#include "ui/question_panel.hpp"
#include "ui/screen.hpp"

class HeldScreen;

class QuestionScreen final : public Screen {
public:
    // Laid out in the middle of the back buffer, in the screens' face.
    QuestionScreen(HeldScreen& screens, const platform::DialogRequest& request);

    platform::Color Veil() const override { return 0x99000000; }
    void Draw(ScreenPainter& painter) override;
    bool Handle(const platform::WindowEvent& event) override { return panel_.Handle(event); }
    bool Done() const override { return panel_.answer.has_value(); }
    // Closing the window answers what Return would; the caller ends the game after.
    void WindowClosed() override;

    platform::DialogAnswer answer() const { return panel_.answer.value_or(platform::DialogAnswer::No); }

private:
    QuestionPanel panel_;
};

struct QuestionResult {
    platform::DialogAnswer answer = platform::DialogAnswer::No;
    bool closed = false;  // the window was asked to close: the answer is the default
};

// Asks in the game's own box on the screens' window. `overFrozen`: the back buffer holds the last
// picture, which stays behind the box; otherwise the box stands on black.
QuestionResult AskInGameBox(HeldScreen& screens, const platform::DialogRequest& request, bool overFrozen);
