// The options screen's rows and what the player's input does to them.
#include "graphics/options_menu.hpp"
#include "platform/i18n/language.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace platform;

namespace {

constexpr int kWidth = 940;
constexpr int kLabelWidth = 380;
constexpr int kCellWidth = 250;
constexpr int kCellGap = 20;
constexpr int kGap = 10;  // above the buttons at the foot
constexpr int kPercentStep = 10;
constexpr double kFactorStep = 0.1;

// The rows of settings in order, before the controls' rows: a new setting is one more Row, one
// line here, and its case in Label, Value and Adjust.
constexpr OptionsMenu::Row kRows[] = {
    OptionsMenu::Row::Music,        OptionsMenu::Row::Effects,    OptionsMenu::Row::Sensitivity,
    OptionsMenu::Row::Invert,       OptionsMenu::Row::GamepadSpeed, OptionsMenu::Row::FullScreen,
    OptionsMenu::Row::RenderScale,  OptionsMenu::Row::FrameSkip,  OptionsMenu::Row::PauseOnFocusLoss,
};

// The render scales the row steps through; "auto" first.
constexpr double kScales[] = {0.0, 1.0, 0.75, 0.5};
constexpr int kScaleCount = 4;

int ScaleIndex(const std::optional<double>& scale) {
    for (int i = 1; i < kScaleCount; ++i)
        if (scale && *scale == kScales[i]) return i;
    return 0;  // auto, or a scale written by hand that the row does not list
}

std::string Percent(int value) { return std::to_string(value) + " %"; }

std::string Factor(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string Names(const InputNames& names) {
    if (names.empty()) return "-";
    std::string text;
    for (const std::string& n : names) text += (text.empty() ? "" : ", ") + n;
    return text;
}

double StepFactor(double value, int step) {
    const double stepped = std::round(value / kFactorStep + step) * kFactorStep;
    return std::clamp(stepped, Settings::kMinFactor, Settings::kMaxFactor);
}

bool Inside(const RectI& r, Point p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

}  // namespace

OptionsMenu::OptionsMenu(const Settings& settings, int pictureWidth, int pictureHeight) : settings_(settings) {
    auto add = [this](Row row, Control control) {
        Item item;
        item.row = row;
        item.control = control;
        items_.push_back(item);
    };
    for (Row row : kRows) add(row, Control::Count);
    for (size_t c = 0; c < kControlCount; ++c) add(Row::Binding, static_cast<Control>(c));
    add(Row::Defaults, Control::Count);
    add(Row::Done, Control::Count);
    // The controls' rows stand under their two column heads, a row's height lower.
    const int height = kCaptionHeight + 16 + int(items_.size() + 1) * kRowHeight + kGap + 16;
    const int x = (pictureWidth - kWidth) / 2, y = std::max(0, (pictureHeight - height) / 2);
    box = {x, y, x + kWidth, y + height};
    int top = y + kCaptionHeight + 16;
    for (Item& item : items_) {
        if (item.row == Row::Binding && item.control == Control::SlideLeft) top += kRowHeight;
        if (item.row == Row::Defaults) top += kGap;
        item.rect = {x + 16, top, x + kWidth - 16, top + kRowHeight};
        const int cell = x + 16 + kLabelWidth;
        item.cells[0] = {cell, top + 2, cell + kCellWidth, top + kRowHeight - 2};
        item.cells[1] = {cell + kCellWidth + kCellGap, top + 2, cell + 2 * kCellWidth + kCellGap, top + kRowHeight - 2};
        top += kRowHeight;
    }
}

std::string OptionsMenu::Label(const Item& item) {
    switch (item.row) {
        case Row::Music: return Tr("Music");
        case Row::Effects: return Tr("Effects");
        case Row::Sensitivity: return Tr("Mouse sensitivity");
        case Row::Invert: return Tr("Invert vertical look");
        case Row::GamepadSpeed: return Tr("Gamepad look speed");
        case Row::FullScreen: return Tr("Full screen at start");
        case Row::RenderScale: return Tr("Render scale");
        case Row::FrameSkip: return Tr("Keep real time (skip frames)");
        case Row::PauseOnFocusLoss: return Tr("Pause when unfocused");
        case Row::Binding: {
            const char* const kNames[] = {Tr("Slide left"), Tr("Slide right"), Tr("Fire"), Tr("Start"), Tr("Back"), Tr("Pause")};
            return kNames[static_cast<size_t>(item.control)];
        }
        case Row::Defaults: return Tr("Default keys and buttons");
        case Row::Done: return Tr("Done");
    }
    return "";
}

std::string OptionsMenu::Value(const Item& item, int cell) const {
    const Settings& s = settings_;
    switch (item.row) {
        case Row::Music: return Percent(s.music);
        case Row::Effects: return Percent(s.effects);
        case Row::Sensitivity: return Factor(s.mouseSensitivity);
        case Row::Invert: return s.invertVertical ? Tr("on") : Tr("off");
        case Row::GamepadSpeed: return Factor(s.gamepadSpeed);
        case Row::FullScreen: {
            const char* const kWords[] = {Tr("ask"), Tr("yes"), Tr("no")};
            return kWords[static_cast<size_t>(s.fullScreen)];
        }
        case Row::RenderScale: {
            if (!s.renderScale) return Tr("auto");
            char text[16];
            std::snprintf(text, sizeof text, "%g", *s.renderScale);
            return text;
        }
        case Row::FrameSkip: return s.frameSkip ? Tr("on") : Tr("off");
        case Row::PauseOnFocusLoss: return s.pauseOnFocusLoss ? Tr("on") : Tr("off");
        case Row::Binding: {
            const size_t c = static_cast<size_t>(item.control);
            return Names(cell == 0 ? s.keys[c] : s.buttons[c]);
        }
        case Row::Defaults:
        case Row::Done: break;
    }
    return "";
}

OptionsMenu::Outcome OptionsMenu::Adjust(int step) {
    Settings& s = settings_;
    switch (items_[focus_].row) {
        case Row::Music: s.music = std::clamp(s.music + step * kPercentStep, 0, Settings::kMaxPercent); return Outcome::VolumeChanged;
        case Row::Effects: s.effects = std::clamp(s.effects + step * kPercentStep, 0, Settings::kMaxPercent); return Outcome::VolumeChanged;
        case Row::Sensitivity: s.mouseSensitivity = StepFactor(s.mouseSensitivity, step); return Outcome::Changed;
        case Row::GamepadSpeed: s.gamepadSpeed = StepFactor(s.gamepadSpeed, step); return Outcome::Changed;
        case Row::Invert: s.invertVertical = !s.invertVertical; return Outcome::Changed;
        case Row::PauseOnFocusLoss: s.pauseOnFocusLoss = !s.pauseOnFocusLoss; return Outcome::Changed;
        case Row::FrameSkip: s.frameSkip = !s.frameSkip; return Outcome::Changed;
        case Row::RenderScale: {
            const int i = (ScaleIndex(s.renderScale) + step + kScaleCount) % kScaleCount;
            s.renderScale = i == 0 ? std::nullopt : std::optional<double>(kScales[i]);
            return Outcome::Changed;
        }
        case Row::FullScreen: {
            const int n = static_cast<int>(FullScreenAtStart::No) + 1;
            s.fullScreen = static_cast<FullScreenAtStart>((static_cast<int>(s.fullScreen) + step + n) % n);
            return Outcome::Changed;
        }
        case Row::Binding: {
            const int before = column_;
            column_ = std::clamp(column_ + step, 0, 1);
            return column_ != before ? Outcome::Moved : Outcome::Nothing;
        }
        case Row::Defaults:
        case Row::Done: break;
    }
    return Outcome::Nothing;
}

OptionsMenu::Outcome OptionsMenu::Accept() {
    switch (items_[focus_].row) {
        case Row::Binding: waiting_ = true; return Outcome::Moved;
        case Row::Defaults:
            settings_.keys = Settings::DefaultKeys();
            settings_.buttons = Settings::DefaultButtons();
            return Outcome::Changed;
        case Row::Done: return Outcome::Leave;
        default: return Adjust(1);  // a switch turns over, a value steps up
    }
}

// The pressed key (or button) becomes the waiting cell's control's only one, and leaves every
// other control that had it.
OptionsMenu::Outcome OptionsMenu::Bind(const std::string& name, bool onPad) {
    waiting_ = false;
    const Control control = items_[focus_].control;
    Bindings& bindings = onPad ? settings_.buttons : settings_.keys;
    for (size_t c = 0; c < kControlCount; ++c) {
        if (MayShareKeys(control, static_cast<Control>(c))) continue;
        InputNames& names = bindings[c];
        names.erase(std::remove(names.begin(), names.end(), name), names.end());
    }
    bindings[static_cast<size_t>(control)] = {name};
    return Outcome::Changed;
}

bool OptionsMenu::Hit(Point p, size_t* row, int* cell) const {
    for (size_t i = 0; i < items_.size(); ++i) {
        if (!Inside(items_[i].rect, p)) continue;
        *row = i;
        *cell = items_[i].row == Row::Binding && Inside(items_[i].cells[1], p) ? 1 : 0;
        return true;
    }
    return false;
}

OptionsMenu::Outcome OptionsMenu::Handle(const WindowEvent& e) {
    using Type = WindowEvent::Type;
    using Move = WindowEvent::Move;
    if (waiting_) {
        // The cell takes the first key or mouse button (keyboard cell) or gamepad button (gamepad
        // cell); a press on the other kind of device gives up waiting.
        if (e.pressed.empty()) return Outcome::Nothing;
        if (e.pressedOnPad != (column_ == 1)) {
            waiting_ = false;
            return Outcome::Moved;
        }
        pointerDown_ = false;  // the click that bound a mouse button opens nothing on release
        return Bind(e.pressed, e.pressedOnPad);
    }
    const size_t before = focus_;
    const int columnBefore = column_;
    const size_t count = items_.size();
    switch (e.type) {
        case Type::Navigate:
            switch (e.move) {
                case Move::Up:
                case Move::Previous: focus_ = (focus_ + count - 1) % count; break;
                case Move::Down:
                case Move::Next: focus_ = (focus_ + 1) % count; break;
                case Move::Left: return Adjust(-1);
                case Move::Right: return Adjust(1);
                case Move::Accept: return Accept();
                case Move::Cancel: return Outcome::Leave;
                case Move::Yes: break;  // Y answers questions; here it is only a letter
            }
            break;
        case Type::Wheel:
            if (e.wheelDelta != 0) return Adjust(e.wheelDelta > 0 ? 1 : -1);
            break;
        case Type::PointerMove:
        case Type::PointerPress: {
            // The pointer shown where it rested (or put back in the middle) moves no focus: only
            // a move from where it was first seen does.
            const bool rests = e.type == Type::PointerMove && (!pointerSeen_ || e.pointer == lastPointer_);
            pointerSeen_ = true;
            lastPointer_ = e.pointer;
            if (rests) break;
            size_t row = 0;
            int cell = 0;
            const bool hit = Hit(e.pointer, &row, &cell);
            if (e.type == Type::PointerPress) pointerDown_ = hit;
            if (hit) {
                focus_ = row;
                column_ = cell;
            }
            break;
        }
        case Type::PointerRelease: {
            size_t row = 0;
            int cell = 0;
            const bool clicked = pointerDown_ && Hit(e.pointer, &row, &cell) && row == focus_;
            pointerDown_ = false;
            if (!clicked) break;
            column_ = cell;
            // A click on a value steps it up; with the right side of a volume or speed it goes up,
            // with its left side down.
            const Item& item = items_[focus_];
            const bool stepped = item.row == Row::Music || item.row == Row::Effects || item.row == Row::Sensitivity ||
                                 item.row == Row::GamepadSpeed;
            if (stepped && Inside(item.cells[0], e.pointer))
                return Adjust(e.pointer.x < (item.cells[0].left + item.cells[0].right) / 2 ? -1 : 1);
            return Accept();
        }
        default: break;
    }
    if (items_[focus_].row != Row::Binding) column_ = 0;
    return focus_ != before || column_ != columnBefore ? Outcome::Moved : Outcome::Nothing;
}
