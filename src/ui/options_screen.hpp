// The options screen as a held screen: the rows of OptionsMenu in a box of the question box's
// style over the held picture, the keyboard's and the gamepad's columns of the controls under
// their heads, and a hint of the keys in the caption (or of what a waiting cell takes).
#pragma once

#include <functional>

#include "ui/options_menu.hpp"
#include "ui/screen.hpp"

class OptionsScreen final : public Screen {
public:
    // Called after every change with the settings as they now stand and the group the change
    // touched; the screen's own copy is what it shows.
    using Changed = std::function<void(const platform::Settings& settings, platform::SettingGroup group)>;

    OptionsScreen(const platform::Settings& settings, int pictureWidth, int pictureHeight, Changed changed)
        : menu_(settings, pictureWidth, pictureHeight), changed_(std::move(changed)) {}

    platform::Color Veil() const override { return 0xC0000000; }
    void Draw(ScreenPainter& painter) override;
    bool Handle(const platform::WindowEvent& event) override;
    bool Done() const override { return done_; }
    void WindowClosed() override { done_ = true; }

    const OptionsMenu& menu() const { return menu_; }

private:
    OptionsMenu menu_;
    Changed changed_;
    bool done_ = false;
};
