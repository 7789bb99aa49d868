// Every setting of the game in one table: its place in the file (table, key, the comment above
// it), how it reads from and writes to the file, and its row on the options screen (label, kind,
// how its value shows and steps). Adding a setting is its field in Settings and one row of the
// table (settings_table.cpp); the file's reader and writer, the options screen and the list of
// tables the reader names in its messages all come from here.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings/settings.hpp"

namespace platform {

// Which names stand for a key or a gamepad button. The game answers with SDL's names; tests and
// the fuzz target with a list of their own.
class InputNaming {
public:
    virtual ~InputNaming() = default;
    // The name as the file writes it ("left" -> "Left"), or none when it names no key or mouse
    // button.
    virtual std::optional<std::string> KeyName(std::string_view name) const = 0;
    // The same for the gamepad ("A" -> "a").
    virtual std::optional<std::string> ButtonName(std::string_view name) const = 0;
};

constexpr size_t kMaxNamesPerControl = 8;

// Who hears of a change: the sound, the look, the controls' devices, the display and pacing, the
// run's own rules.
enum class SettingGroup : uint8_t { Audio, Look, Controls, Display, Play };

// A set of groups, for "what changed".
class SettingChanges {
public:
    SettingChanges() = default;
    static SettingChanges All() { return SettingChanges(0x1F); }
    SettingChanges& Add(SettingGroup g) {
        bits_ |= Bit(g);
        return *this;
    }
    bool Has(SettingGroup g) const { return bits_ & Bit(g); }
    bool Empty() const { return bits_ == 0; }
    bool operator==(const SettingChanges&) const = default;

private:
    explicit SettingChanges(uint8_t bits) : bits_(bits) {}
    static uint8_t Bit(SettingGroup g) { return uint8_t(1u << static_cast<unsigned>(g)); }
    uint8_t bits_ = 0;
};

// What the file holds where a setting stands, apart from the file's own syntax.
struct SettingValue {
    enum class Type { Integer, Float, Boolean, String, List, Table, Other } type = Type::Other;
    int64_t integer = 0;
    double number = 0.0;
    bool flag = false;
    std::string text;
    std::vector<SettingValue> items;  // List

    // A whole number or one with a point.
    std::optional<double> Number() const;
};

// How the options screen shows a setting. A slider's row steps by a click on either half of its
// value; a choice cycles; a toggle turns over; a binding's row has a cell for the keyboard's keys
// and one for the gamepad's (one setting each).
enum class SettingKind : uint8_t { Slider, Choice, Toggle, Binding, Text };

struct Setting {
    const char* table = "";
    const char* key = "";
    const char* comment = nullptr;  // written above the setting in the file; null for none
    const char* label = nullptr;    // its row on the options screen (English, shown translated); null: none
    SettingKind kind = SettingKind::Text;
    SettingGroup group = SettingGroup::Play;
    Control control = Control::Count;  // Binding: whose keys
    bool gamepad = false;              // Binding: the gamepad's names, not the keyboard's

    // Reads what the file holds into the settings; false with what is wrong in *why (nothing is
    // changed then).
    std::function<bool(const SettingValue&, Settings&, const InputNaming&, std::string* why)> read;
    // The value as the file writes it.
    std::function<std::string(const Settings&)> write;
    // The value as the options screen shows it, in the player's language.
    std::function<std::string(const Settings&)> show;
    // One step left (-1) or right (+1) on the options screen; null for a setting the screen does
    // not step (a binding, a text).
    std::function<void(Settings&, int step)> step;
};

// In the order the file lists them.
const std::vector<Setting>& SettingsTable();
// The tables the file may hold, in order: "audio, look, ...".
std::string SettingsTableNames();
bool IsSettingsTable(std::string_view name);
// The groups whose settings differ between a and b.
SettingChanges ChangesBetween(const Settings& a, const Settings& b);

}  // namespace platform
