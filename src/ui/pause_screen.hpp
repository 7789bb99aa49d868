// The pause: the run's frozen picture dimmed, "PAUSE" in the game's lettering, a button back to
// the run and one to the options. The pause key, Return, Escape or a click on "Resume" goes on;
// the options key or a click on "Options" opens them.
#pragma once

#include "ui/screen.hpp"

class Texture;

class PauseScreen final : public Screen {
public:
    enum class Choice { Resume, Options, Close };

    // `caption`: the PAUSE picture (none: the word in the screens' face).
    PauseScreen(const Texture* caption, int pictureWidth, int pictureHeight)
        : caption_(caption), width_(pictureWidth), height_(pictureHeight) {}

    platform::Color Veil() const override { return 0xB0000000; }
    void Draw(ScreenPainter& painter) override;
    bool Handle(const platform::WindowEvent& event) override;
    bool Done() const override { return done_; }
    void WindowClosed() override { Choose(Choice::Close); }

    Choice choice() const { return choice_; }

private:
    void Choose(Choice choice) {
        choice_ = choice;
        done_ = true;
    }

    const Texture* caption_;
    int width_, height_;
    int focus_ = 0;     // 0 Resume, 1 Options
    int pressed_ = -1;  // the button the pointer went down on
    Choice choice_ = Choice::Resume;
    bool done_ = false;
};
