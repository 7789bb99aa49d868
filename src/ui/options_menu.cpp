// The options screen's rows, built from the table of settings, and what the player's input does
// to them.
#include "ui/options_menu.hpp"

#include <algorithm>

#include "platform/i18n/language.hpp"

using namespace platform;

namespace {

constexpr int kWidth = 940;
constexpr int kLabelWidth = 380;
constexpr int kCellWidth = 250;
constexpr int kCellGap = 20;
constexpr int kGap = 10;  // above the buttons at the foot

using Kind = OptionsMenu::Item::Kind;

// The row of a setting: the table's settings with a label first, in the table's order; a
// control's keys and buttons share one row further down.
const Setting* PadSettingOf(Control control) {
    for (const Setting& s : SettingsTable())
        if (s.kind == SettingKind::Binding && s.gamepad && s.control == control) return &s;
    return nullptr;
}

}  // namespace

OptionsMenu::OptionsMenu(const Settings& settings, int pictureWidth, int pictureHeight) : settings_(settings) {
    auto add = [this](Kind kind, std::string name, const Setting* first, const Setting* second) {
        Item item;
        item.kind = kind;
        item.name = std::move(name);
        item.settings[0] = first;
        item.settings[1] = second;
        items_.push_back(std::move(item));
    };
    for (const Setting& s : SettingsTable())
        if (s.label && s.kind != SettingKind::Binding) add(Kind::Setting, s.key, &s, nullptr);
    for (const Setting& s : SettingsTable())
        if (s.kind == SettingKind::Binding && !s.gamepad) add(Kind::Binding, s.key, &s, PadSettingOf(s.control));
    add(Kind::Defaults, "defaults", nullptr, nullptr);
    add(Kind::Done, "done", nullptr, nullptr);
    // The controls' rows stand under their two column heads, a row's height lower.
    const int height = kCaptionHeight + 16 + int(items_.size() + 1) * kRowHeight + kGap + 16;
    const int x = (pictureWidth - kWidth) / 2, y = std::max(0, (pictureHeight - height) / 2);
    box = {x, y, x + kWidth, y + height};
    int top = y + kCaptionHeight + 16;
    bool headed = false;
    for (Item& item : items_) {
        if (item.kind == Kind::Binding && !headed) {
            top += kRowHeight;
            headed = true;
        }
        if (item.kind == Kind::Defaults) top += kGap;
        item.rect = {x + 16, top, x + kWidth - 16, top + kRowHeight};
        const int cell = x + 16 + kLabelWidth;
        item.cells[0] = {cell, top + 2, cell + kCellWidth, top + kRowHeight - 2};
        item.cells[1] = {cell + kCellWidth + kCellGap, top + 2, cell + 2 * kCellWidth + kCellGap, top + kRowHeight - 2};
        top += kRowHeight;
    }
}

size_t OptionsMenu::RowOf(std::string_view name) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].name == name) return i;
    return items_.size();
}

std::string OptionsMenu::Label(const Item& item) {
    if (item.kind == Kind::Defaults) return Tr("Default keys and buttons");
    if (item.kind == Kind::Done) return Tr("Done");
    return Tr(item.settings[0]->label);
}

std::string OptionsMenu::Value(const Item& item, int cell) const {
    const Setting* setting = item.settings[cell == 1 ? 1 : 0];
    return setting ? setting->show(settings_) : std::string();
}

OptionsMenu::Outcome OptionsMenu::Changed(SettingGroup group) {
    changed_ = group;
    return Outcome::Changed;
}

OptionsMenu::Outcome OptionsMenu::Adjust(int step) {
    const Item& item = items_[focus_];
    if (item.kind == Kind::Binding) {
        const int before = column_;
        column_ = std::clamp(column_ + step, 0, 1);
        return column_ != before ? Outcome::Moved : Outcome::Nothing;
    }
    if (item.kind != Kind::Setting || !item.settings[0]->step) return Outcome::Nothing;
    item.settings[0]->step(settings_, step);
    return Changed(item.settings[0]->group);
}

OptionsMenu::Outcome OptionsMenu::Accept() {
    switch (items_[focus_].kind) {
        case Kind::Binding: waiting_ = true; return Outcome::Moved;
        case Kind::Defaults:
            settings_.keys = Settings::DefaultKeys();
            settings_.buttons = Settings::DefaultButtons();
            return Changed(SettingGroup::Controls);
        case Kind::Done: return Outcome::Leave;
        case Kind::Setting: break;
    }
    return Adjust(1);  // a switch turns over, a value steps up
}

// The pressed key (or button) becomes the waiting cell's control's only one, and leaves every
// other control that had it.
OptionsMenu::Outcome OptionsMenu::Bind(const std::string& name, bool onPad) {
    waiting_ = false;
    const Control control = items_[focus_].settings[0]->control;
    Bindings& bindings = onPad ? settings_.buttons : settings_.keys;
    for (size_t c = 0; c < kControlCount; ++c) {
        if (MayShareKeys(control, static_cast<Control>(c))) continue;
        InputNames& names = bindings[c];
        names.erase(std::remove(names.begin(), names.end(), name), names.end());
    }
    bindings[static_cast<size_t>(control)] = {name};
    return Changed(SettingGroup::Controls);
}

bool OptionsMenu::Hit(Point p, size_t* row, int* cell) const {
    for (size_t i = 0; i < items_.size(); ++i) {
        if (!items_[i].rect.Contains(p.x, p.y)) continue;
        *row = i;
        *cell = items_[i].kind == Kind::Binding && items_[i].cells[1].Contains(p.x, p.y) ? 1 : 0;
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
            // A click on a slider's value steps it: its right half up, its left half down.
            const Item& item = items_[focus_];
            const bool slider = item.kind == Kind::Setting && item.settings[0]->kind == SettingKind::Slider;
            if (slider && item.cells[0].Contains(e.pointer.x, e.pointer.y))
                return Adjust(e.pointer.x < (item.cells[0].left + item.cells[0].right) / 2 ? -1 : 1);
            return Accept();
        }
        default: break;
    }
    if (items_[focus_].kind != Kind::Binding) column_ = 0;
    return focus_ != before || column_ != columnBefore ? Outcome::Moved : Outcome::Nothing;
}
