// The table of every setting. Each row is made by the maker of its kind (a percent, a factor, a
// switch, a choice, a list of keys), which knows how such a value reads, writes, shows and steps.
#include "platform/settings/settings_table.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "platform/files/message_text.hpp"
#include "platform/i18n/language.hpp"
#include "platform/settings/settings_text.hpp"

namespace platform {

std::optional<double> SettingValue::Number() const {
    if (type == Type::Integer) return double(integer);
    if (type == Type::Float) return number;
    return std::nullopt;
}

namespace {

constexpr int kPercentStep = 10;
constexpr double kFactorStep = 0.1;

using Read = decltype(Setting::read);

Setting Row(const char* table, const char* key, const char* comment, const char* label, SettingKind kind,
            SettingGroup group) {
    Setting s;
    s.table = table;
    s.key = key;
    s.comment = comment;
    s.label = label;
    s.kind = kind;
    s.group = group;
    return s;
}

// Loudness in percent, 0 to 100, stepped by ten.
Setting Percent(const char* table, const char* key, int Settings::*field, SettingGroup group, const char* label,
                const char* comment) {
    Setting s = Row(table, key, comment, label, SettingKind::Slider, group);
    s.read = [field](const SettingValue& v, Settings& out, const InputNaming&, std::string* why) {
        if (v.type != SettingValue::Type::Integer || v.integer < 0 || v.integer > Settings::kMaxPercent) {
            *why = Cat({"expected a whole number from 0 to 100, found ", Found(v)});
            return false;
        }
        out.*field = int(v.integer);
        return true;
    };
    s.write = [field](const Settings& in) { return std::to_string(in.*field); };
    s.show = [field](const Settings& in) { return std::to_string(in.*field) + " %"; };
    s.step = [field](Settings& in, int step) {
        in.*field = std::clamp(in.*field + step * kPercentStep, 0, Settings::kMaxPercent);
    };
    return s;
}

// A factor from 0.1 to 10, stepped by a tenth.
Setting Factor(const char* table, const char* key, double Settings::*field, SettingGroup group, const char* label,
               const char* comment) {
    Setting s = Row(table, key, comment, label, SettingKind::Slider, group);
    s.read = [field](const SettingValue& v, Settings& out, const InputNaming&, std::string* why) {
        const std::optional<double> n = v.Number();
        if (!n || !(*n >= Settings::kMinFactor && *n <= Settings::kMaxFactor)) {
            *why = Cat({"expected a number from ", FloatText(Settings::kMinFactor), " to ",
                        FloatText(Settings::kMaxFactor), ", found ", Found(v)});
            return false;
        }
        out.*field = *n;
        return true;
    };
    s.write = [field](const Settings& in) { return FloatText(in.*field); };
    s.show = [field](const Settings& in) {
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", in.*field);
        return std::string(text);
    };
    s.step = [field](Settings& in, int step) {
        const double stepped = std::round(in.*field / kFactorStep + step) * kFactorStep;
        in.*field = std::clamp(stepped, Settings::kMinFactor, Settings::kMaxFactor);
    };
    return s;
}

Setting Switch(const char* table, const char* key, bool Settings::*field, SettingGroup group, const char* label,
               const char* comment) {
    Setting s = Row(table, key, comment, label, SettingKind::Toggle, group);
    s.read = [field](const SettingValue& v, Settings& out, const InputNaming&, std::string* why) {
        if (v.type != SettingValue::Type::Boolean) {
            *why = Cat({"expected true or false, found ", Found(v)});
            return false;
        }
        out.*field = v.flag;
        return true;
    };
    s.write = [field](const Settings& in) { return std::string(in.*field ? "true" : "false"); };
    s.show = [field](const Settings& in) { return std::string(in.*field ? Tr("on") : Tr("off")); };
    s.step = [field](Settings& in, int) { in.*field = !(in.*field); };
    return s;
}

// The full-screen answer at start: one of three words.
Setting FullScreen(const char* table, const char* key, const char* label, const char* comment) {
    static constexpr const char* kWords[] = {"ask", "yes", "no"};
    constexpr int kCount = int(std::size(kWords));
    Setting s = Row(table, key, comment, label, SettingKind::Choice, SettingGroup::Display);
    s.read = [](const SettingValue& v, Settings& out, const InputNaming&, std::string* why) {
        const auto* word = v.type == SettingValue::Type::String ? std::find(std::begin(kWords), std::end(kWords), v.text)
                                                                : std::end(kWords);
        if (word == std::end(kWords)) {
            *why = Cat({"expected \"ask\", \"yes\" or \"no\", found ", Found(v)});
            return false;
        }
        out.fullScreen = static_cast<FullScreenAtStart>(word - std::begin(kWords));
        return true;
    };
    s.write = [](const Settings& in) { return StringText(kWords[static_cast<size_t>(in.fullScreen)]); };
    s.show = [](const Settings& in) {
        const char* const kShown[] = {Tr("ask"), Tr("yes"), Tr("no")};
        return std::string(kShown[static_cast<size_t>(in.fullScreen)]);
    };
    s.step = [](Settings& in, int step) {
        in.fullScreen = static_cast<FullScreenAtStart>((static_cast<int>(in.fullScreen) + step + kCount) % kCount);
    };
    return s;
}

// "auto" or a scale of the 3D picture: a fraction of the window, never more than all of it. The
// options screen steps through auto, 1, 0.75 and 0.5; a scale written by hand that it does not
// list shows as it is and steps from auto.
Setting RenderScale(const char* table, const char* key, const char* label, const char* comment) {
    static constexpr double kMin = 0.25, kMax = 1.0;
    static constexpr double kSteps[] = {0.0, 1.0, 0.75, 0.5};  // 0: auto
    constexpr int kCount = int(std::size(kSteps));
    Setting s = Row(table, key, comment, label, SettingKind::Choice, SettingGroup::Display);
    s.read = [](const SettingValue& v, Settings& out, const InputNaming&, std::string* why) {
        if (v.type == SettingValue::Type::String && v.text == "auto") {
            out.renderScale.reset();
            return true;
        }
        const std::optional<double> n = v.Number();
        if (!n || !(*n >= kMin && *n <= kMax)) {
            *why = Cat({"expected \"auto\" or a number from ", FloatText(kMin), " to ", FloatText(kMax), ", found ",
                        Found(v)});
            return false;
        }
        out.renderScale = *n;
        return true;
    };
    s.write = [](const Settings& in) { return in.renderScale ? FloatText(*in.renderScale) : StringText("auto"); };
    s.show = [](const Settings& in) {
        if (!in.renderScale) return std::string(Tr("auto"));
        char text[16];
        std::snprintf(text, sizeof text, "%g", *in.renderScale);
        return std::string(text);
    };
    s.step = [](Settings& in, int step) {
        int index = 0;
        for (int i = 1; i < kCount; ++i)
            if (in.renderScale && *in.renderScale == kSteps[i]) index = i;
        index = (index + step + kCount) % kCount;
        in.renderScale = index == 0 ? std::nullopt : std::optional<double>(kSteps[index]);
    };
    return s;
}

// "auto" or a language tag ("ja", "en_GB"); the file's only, read when the game starts.
Setting LanguageTag(const char* table, const char* key, const char* comment) {
    Setting s = Row(table, key, comment, nullptr, SettingKind::Text, SettingGroup::Display);
    s.read = [](const SettingValue& v, Settings& out, const InputNaming&, std::string* why) {
        const bool tag = v.type == SettingValue::Type::String && !v.text.empty() && v.text.size() <= 35 &&
                         std::all_of(v.text.begin(), v.text.end(), [](char c) {
                             return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                                    c == '_' || c == '-' || c == '.' || c == '@';
                         });
        if (!tag) {
            *why = Cat({"expected \"auto\" or a language such as \"ja\" or \"en\", found ", Found(v)});
            return false;
        }
        out.language = v.text;
        return true;
    };
    s.write = [](const Settings& in) { return StringText(in.language); };
    s.show = [](const Settings& in) { return in.language; };
    return s;
}

// One control's list of names, for the keyboard and mouse or for the gamepad.
Setting Names(const char* table, Control control, bool gamepad, const char* label, const char* comment) {
    const size_t index = static_cast<size_t>(control);
    Bindings Settings::*field = gamepad ? &Settings::buttons : &Settings::keys;
    Setting s = Row(table, ControlSettingKey(control), comment, label, SettingKind::Binding, SettingGroup::Controls);
    s.control = control;
    s.gamepad = gamepad;
    s.read = [=](const SettingValue& v, Settings& out, const InputNaming& naming, std::string* why) {
        InputNames names;
        auto take = [&](const SettingValue& item) {
            std::optional<std::string> name;
            if (item.type == SettingValue::Type::String)
                name = gamepad ? naming.ButtonName(item.text) : naming.KeyName(item.text);
            if (!name) {
                *why = Cat({Found(item), gamepad ? " is no gamepad button" : " is no key or mouse button"});
                return false;
            }
            if (std::find(names.begin(), names.end(), *name) == names.end()) names.push_back(*name);
            return true;
        };
        if (v.type == SettingValue::Type::List) {
            if (v.items.size() > kMaxNamesPerControl) {
                *why = Cat({"expected at most ", std::to_string(kMaxNamesPerControl), " names, found ",
                            std::to_string(v.items.size())});
                return false;
            }
            for (const SettingValue& item : v.items)
                if (!take(item)) return false;
        } else if (v.type != SettingValue::Type::String || !take(v)) {
            if (why->empty()) *why = Cat({"expected a list of names, found ", Found(v)});
            return false;
        }
        (out.*field)[index] = std::move(names);
        return true;
    };
    s.write = [=](const Settings& in) {
        std::string text = "[";
        for (const std::string& name : (in.*field)[index]) text += Cat({text.size() > 1 ? ", " : "", StringText(name)});
        return text + "]";
    };
    s.show = [=](const Settings& in) {
        const InputNames& names = (in.*field)[index];
        if (names.empty()) return std::string("-");
        std::string text;
        for (const std::string& n : names) text += (text.empty() ? "" : ", ") + n;
        return text;
    };
    return s;
}

}  // namespace

const std::vector<Setting>& SettingsTable() {
    using C = Control;
    using G = SettingGroup;
    static const std::vector<Setting> table = {
        Percent("audio", "music", &Settings::music, G::Audio, TrLater("Music"),
                "Loudness of the music and of the shots, in percent (0 to 100)."),
        Percent("audio", "effects", &Settings::effects, G::Audio, TrLater("Effects"), nullptr),
        Factor("look", "mouse_sensitivity", &Settings::mouseSensitivity, G::Look, TrLater("Mouse sensitivity"),
               "How far the camera turns for the same move of the mouse (0.1 to 10; 1 as the game\n"
               "# always turned)."),
        Switch("look", "invert_vertical", &Settings::invertVertical, G::Look, TrLater("Invert vertical look"),
               "true: the mouse pushed up turns the view down."),
        Factor("look", "gamepad_speed", &Settings::gamepadSpeed, G::Look, TrLater("Gamepad look speed"),
               "How fast the gamepad's right stick turns the camera (0.1 to 10)."),
        Names("keys", C::SlideLeft, false, TrLater("Slide left"),
              "The keys and mouse buttons of each control: SDL's key names, letters by their place\n"
              "# on a QWERTY keyboard (\"A\", \"Left\", \"Return\", \"Space\", \"Left Shift\"), and\n"
              "# \"MouseLeft\", \"MouseRight\", \"MouseMiddle\". [] leaves a control without a key."),
        Names("keys", C::SlideRight, false, TrLater("Slide right"), nullptr),
        Names("keys", C::Fire, false, TrLater("Fire"), nullptr),
        Names("keys", C::Start, false, TrLater("Start"), nullptr),
        Names("keys", C::Back, false, TrLater("Back"), nullptr),
        Names("keys", C::Pause, false, TrLater("Pause"), nullptr),
        Names("gamepad", C::SlideLeft, true, TrLater("Slide left"),
              "The gamepad's buttons of each control: \"a\", \"b\", \"x\", \"y\", \"back\", \"start\",\n"
              "# \"leftshoulder\", \"rightshoulder\", \"leftstick\", \"rightstick\", \"dpup\", \"dpdown\",\n"
              "# \"dpleft\", \"dpright\", a stick pushed one way (\"leftx-\", \"leftx+\", \"lefty-\",\n"
              "# \"lefty+\") and the triggers (\"lefttrigger\", \"righttrigger\")."),
        Names("gamepad", C::SlideRight, true, TrLater("Slide right"), nullptr),
        Names("gamepad", C::Fire, true, TrLater("Fire"), nullptr),
        Names("gamepad", C::Start, true, TrLater("Start"), nullptr),
        Names("gamepad", C::Back, true, TrLater("Back"), nullptr),
        Names("gamepad", C::Pause, true, TrLater("Pause"), nullptr),
        FullScreen("display", "fullscreen", TrLater("Full screen at start"),
                   "\"ask\": the question at every start; \"yes\": full screen; \"no\": a window."),
        RenderScale("display", "render_scale", TrLater("Render scale"),
                    "The 3D picture drawn at this fraction of the window (1, 0.75, 0.5) and scaled up;\n"
                    "# \"auto\": 1 on a graphics card, the largest that keeps up on a software renderer."),
        Switch("display", "frame_skip", &Settings::frameSkip, G::Display, TrLater("Keep real time (skip frames)"),
               "true: the game keeps real time on a slow machine, drawing fewer frames; false: one\n"
               "# update per drawn frame."),
        LanguageTag("display", "language",
                 "The game's words: \"auto\" follows the desktop (LANGUAGE, LC_ALL, LC_MESSAGES, LANG);\n"
                 "# \"en\" English, \"ja\" Japanese."),
        Switch("play", "pause_on_focus_loss", &Settings::pauseOnFocusLoss, G::Play, TrLater("Pause when unfocused"),
               "Pause the run when the window loses the focus."),
    };
    return table;
}

std::string SettingsTableNames() {
    std::string names;
    const char* last = "";
    for (const Setting& s : SettingsTable()) {
        if (std::string_view(s.table) == last) continue;
        last = s.table;
        names += Cat({names.empty() ? "" : ", ", s.table});
    }
    return names;
}

bool IsSettingsTable(std::string_view name) {
    const auto& table = SettingsTable();
    return std::any_of(table.begin(), table.end(), [&](const Setting& s) { return name == s.table; });
}

SettingChanges ChangesBetween(const Settings& a, const Settings& b) {
    SettingChanges changes;
    for (const Setting& s : SettingsTable())
        if (!changes.Has(s.group) && s.write(a) != s.write(b)) changes.Add(s.group);
    return changes;
}

}  // namespace platform
