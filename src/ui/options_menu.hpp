// The options screen's workings, apart from its drawing: its rows (one for every setting of the
// table that has a label, then one for each control's keys and buttons, "Default keys and
// buttons" and "Done"), where they lie on the picture, the focus, and what each key, gamepad
// button or pointer event does to the settings. Up and down (the d-pad, Tab) move between rows;
// left and right change a value (a step of the setting), or on a control's row choose its
// keyboard or gamepad cell; Return (the south button, a click) turns a switch over, steps a value
// up, or makes a cell wait for the key or button that becomes the control's; Escape (the east
// button) or "Done" leaves. A key or button that another control had leaves it (the start and
// pause controls may share one). "Defaults" puts back the game's keys and buttons.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/render/sprite_batch.hpp"
#include "platform/settings/settings_table.hpp"
#include "platform/window/window.hpp"

class OptionsMenu {
public:
    struct Item {
        enum class Kind { Setting, Binding, Defaults, Done };
        Kind kind = Kind::Done;
        // Setting: its row of the table; Binding: the keyboard's (cell 0) and the gamepad's (cell 1).
        const platform::Setting* settings[2] = {nullptr, nullptr};
        // The setting's key ("music", "slide_left"), or "defaults", "done": what tests find a row by.
        std::string name;
        platform::RectI rect;      // the whole row
        platform::RectI cells[2];  // Binding: the keyboard's and the gamepad's; else the value
    };
    // What an event did. Changed: the settings differ (or a value was stepped against its end).
    enum class Outcome { Nothing, Moved, Changed, Leave };

    static constexpr int kRowHeight = 32;
    static constexpr int kCaptionHeight = 44;

    OptionsMenu(const platform::Settings& settings, int pictureWidth, int pictureHeight);

    Outcome Handle(const platform::WindowEvent& event);

    const std::vector<Item>& items() const { return items_; }
    const platform::Settings& settings() const { return settings_; }
    // Who hears of the last change: the group of the setting it touched.
    platform::SettingGroup changedGroup() const { return changed_; }
    // The row named `name`, or items().size().
    size_t RowOf(std::string_view name) const;
    // The focused row and, on a Binding row, its cell (0 keyboard, 1 gamepad).
    size_t focus() const { return focus_; }
    int column() const { return column_; }
    // A cell waits for its key or button.
    bool waiting() const { return waiting_; }
    // The row's name and a cell's value as shown, in the player's language.
    static std::string Label(const Item& item);
    std::string Value(const Item& item, int cell = 0) const;
    platform::RectI box;

private:
    Outcome Adjust(int step);
    Outcome Accept();
    Outcome Bind(const std::string& name, bool onPad);
    Outcome Changed(platform::SettingGroup group);
    bool Hit(platform::Point p, size_t* row, int* cell) const;

    platform::Settings settings_;
    std::vector<Item> items_;
    size_t focus_ = 0;
    int column_ = 0;
    bool waiting_ = false;
    bool pointerDown_ = false;
    bool pointerSeen_ = false;
    platform::Point lastPointer_;
    platform::SettingGroup changed_ = platform::SettingGroup::Play;
};
