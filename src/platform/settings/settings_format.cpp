// Reading and writing the settings text. Every setting is one entry of kEntries: its table, its
// key, how it is read and how it is written; adding a setting is one more line there.
#include "platform/settings/settings_format.hpp"

#include <toml++/toml.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <initializer_list>

#include "platform/files/message_text.hpp"

namespace platform {

namespace {

// A text of the file for a one-line message: control characters as '?', cut short at a whole
// character.
std::string Quoted(std::string_view text) {
    constexpr size_t kShown = 40;
    std::string s;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i >= kShown && (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return Cat({"\"", s, "...\""});
        const char c = text[i];
        s += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    }
    return Cat({"\"", s, "\""});
}

// A number as TOML writes a float: the shortest text that reads back, with a point.
std::string FloatText(double value) {
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    std::string s(buf, ec == std::errc() ? end : buf);
    if (s.find_first_of(".e") == std::string::npos) s += ".0";
    return s;
}

// A string as TOML writes it, between double quotes.
std::string StringText(std::string_view text) {
    std::string s = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            s += '\\';
            s += c;
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(static_cast<unsigned char>(c)));
            s += buf;
        } else {
            s += c;
        }
    }
    return s + "\"";
}

// What the file holds where a setting was expected, for the message.
std::string Found(const toml::node& node) {
    if (const auto* s = node.as_string()) return Quoted(s->get());
    if (const auto* i = node.as_integer()) return std::to_string(i->get());
    if (const auto* f = node.as_floating_point()) return FloatText(f->get());
    if (const auto* b = node.as_boolean()) return b->get() ? "true" : "false";
    if (node.is_array()) return "a list";
    if (node.is_table()) return "a table";
    return "a date or time";
}

std::optional<double> Number(const toml::node& node) {
    if (const auto* i = node.as_integer()) return double(i->get());
    if (const auto* f = node.as_floating_point()) return f->get();
    return std::nullopt;
}

struct Entry {
    const char* table;
    const char* key;
    const char* comment;  // written above the setting in the file; null for none
    // Reads the node into the settings; false with what is wrong (nothing is changed then).
    std::function<bool(const toml::node&, Settings&, const InputNaming&, std::string*)> read;
    // The setting's value as TOML text.
    std::function<std::string(const Settings&)> write;
};

Entry Percent(const char* table, const char* key, int Settings::*field, const char* comment) {
    auto read = [field](const toml::node& node, Settings& s, const InputNaming&, std::string* why) {
        const auto* i = node.as_integer();
        if (!i || i->get() < 0 || i->get() > Settings::kMaxPercent) {
            *why = Cat({"expected a whole number from 0 to 100, found ", Found(node)});
            return false;
        }
        s.*field = int(i->get());
        return true;
    };
    return {table, key, comment, read, [field](const Settings& s) { return std::to_string(s.*field); }};
}

Entry Factor(const char* table, const char* key, double Settings::*field, const char* comment) {
    auto read = [field](const toml::node& node, Settings& s, const InputNaming&, std::string* why) {
        const std::optional<double> v = Number(node);
        if (!v || !(*v >= Settings::kMinFactor && *v <= Settings::kMaxFactor)) {
            *why = Cat({"expected a number from ", FloatText(Settings::kMinFactor), " to ",
                        FloatText(Settings::kMaxFactor), ", found ", Found(node)});
            return false;
        }
        s.*field = *v;
        return true;
    };
    return {table, key, comment, read, [field](const Settings& s) { return FloatText(s.*field); }};
}

Entry Flag(const char* table, const char* key, bool Settings::*field, const char* comment) {
    auto read = [field](const toml::node& node, Settings& s, const InputNaming&, std::string* why) {
        const auto* b = node.as_boolean();
        if (!b) {
            *why = Cat({"expected true or false, found ", Found(node)});
            return false;
        }
        s.*field = b->get();
        return true;
    };
    return {table, key, comment, read, [field](const Settings& s) { return std::string(s.*field ? "true" : "false"); }};
}

// The full-screen answer at start.
Entry FullScreen(const char* table, const char* key, const char* comment) {
    static constexpr const char* kWords[] = {"ask", "yes", "no"};
    auto read = [](const toml::node& node, Settings& s, const InputNaming&, std::string* why) {
        const auto* text = node.as_string();
        const auto* word = text ? std::find(std::begin(kWords), std::end(kWords), text->get()) : std::end(kWords);
        if (word == std::end(kWords)) {
            *why = Cat({"expected \"ask\", \"yes\" or \"no\", found ", Found(node)});
            return false;
        }
        s.fullScreen = static_cast<FullScreenAtStart>(word - std::begin(kWords));
        return true;
    };
    return {table, key, comment, read,
            [](const Settings& s) { return StringText(kWords[static_cast<size_t>(s.fullScreen)]); }};
}

// "auto" or a scale of the 3D picture: a fraction of the window, never more than all of it.
Entry RenderScale(const char* table, const char* key, const char* comment) {
    static constexpr double kMin = 0.25, kMax = 1.0;
    auto read = [](const toml::node& node, Settings& s, const InputNaming&, std::string* why) {
        const auto* text = node.as_string();
        const std::optional<double> v = Number(node);
        if (text && text->get() == "auto") {
            s.renderScale.reset();
            return true;
        }
        if (!v || !(*v >= kMin && *v <= kMax)) {
            *why = Cat({"expected \"auto\" or a number from ", FloatText(kMin), " to ", FloatText(kMax), ", found ",
                        Found(node)});
            return false;
        }
        s.renderScale = *v;
        return true;
    };
    return {table, key, comment, read,
            [](const Settings& s) { return s.renderScale ? FloatText(*s.renderScale) : StringText("auto"); }};
}

// "auto" or a language tag ("ja", "en_GB").
Entry Language(const char* table, const char* key, const char* comment) {
    auto read = [](const toml::node& node, Settings& s, const InputNaming&, std::string* why) {
        const auto* text = node.as_string();
        const bool tag = text && !text->get().empty() && text->get().size() <= 35 &&
                         std::all_of(text->get().begin(), text->get().end(), [](char c) {
                             return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                                    c == '_' || c == '-' || c == '.' || c == '@';
                         });
        if (!tag) {
            *why = Cat({"expected \"auto\" or a language such as \"ja\" or \"en\", found ", Found(node)});
            return false;
        }
        s.language = text->get();
        return true;
    };
    return {table, key, comment, read, [](const Settings& s) { return StringText(s.language); }};
}

// One control's list of names, for the keyboard and mouse or for the gamepad.
Entry Names(const char* table, Control control, Bindings Settings::*field, bool gamepad, const char* comment) {
    const size_t index = static_cast<size_t>(control);
    auto read = [=](const toml::node& node, Settings& s, const InputNaming& naming, std::string* why) {
        InputNames names;
        auto take = [&](const toml::node& item) {
            const auto* text = item.as_string();
            std::optional<std::string> name;
            if (text) name = gamepad ? naming.ButtonName(text->get()) : naming.KeyName(text->get());
            if (!name) {
                *why = Cat({Found(item), gamepad ? " is no gamepad button" : " is no key or mouse button"});
                return false;
            }
            if (std::find(names.begin(), names.end(), *name) == names.end()) names.push_back(*name);
            return true;
        };
        if (const auto* list = node.as_array()) {
            if (list->size() > kMaxNamesPerControl) {
                *why = Cat({"expected at most ", std::to_string(kMaxNamesPerControl), " names, found ",
                            std::to_string(list->size())});
                return false;
            }
            for (const toml::node& item : *list)
                if (!take(item)) return false;
        } else if (!node.is_string() || !take(node)) {
            if (why->empty()) *why = Cat({"expected a list of names, found ", Found(node)});
            return false;
        }
        (s.*field)[index] = std::move(names);
        return true;
    };
    auto write = [=](const Settings& s) {
        std::string text = "[";
        for (const std::string& name : (s.*field)[index]) text += Cat({text.size() > 1 ? ", " : "", StringText(name)});
        return text + "]";
    };
    return {table, ControlSettingKey(control), comment, read, write};
}

const std::vector<Entry>& Entries() {
    using C = Control;
    static const std::vector<Entry> entries = {
        Percent("audio", "music", &Settings::music, "Loudness of the music and of the shots, in percent (0 to 100)."),
        Percent("audio", "effects", &Settings::effects, nullptr),
        Factor("look", "mouse_sensitivity", &Settings::mouseSensitivity,
               "How far the camera turns for the same move of the mouse (0.1 to 10; 1 as the game\n"
               "# always turned)."),
        Flag("look", "invert_vertical", &Settings::invertVertical, "true: the mouse pushed up turns the view down."),
        Factor("look", "gamepad_speed", &Settings::gamepadSpeed, "How fast the gamepad's right stick turns the camera (0.1 to 10)."),
        Names("keys", C::SlideLeft, &Settings::keys, false,
              "The keys and mouse buttons of each control: SDL's key names, letters by their place\n"
              "# on a QWERTY keyboard (\"A\", \"Left\", \"Return\", \"Space\", \"Left Shift\"), and\n"
              "# \"MouseLeft\", \"MouseRight\", \"MouseMiddle\". [] leaves a control without a key."),
        Names("keys", C::SlideRight, &Settings::keys, false, nullptr),
        Names("keys", C::Fire, &Settings::keys, false, nullptr),
        Names("keys", C::Start, &Settings::keys, false, nullptr),
        Names("keys", C::Back, &Settings::keys, false, nullptr),
        Names("keys", C::Pause, &Settings::keys, false, nullptr),
        Names("gamepad", C::SlideLeft, &Settings::buttons, true,
              "The gamepad's buttons of each control: \"a\", \"b\", \"x\", \"y\", \"back\", \"start\",\n"
              "# \"leftshoulder\", \"rightshoulder\", \"leftstick\", \"rightstick\", \"dpup\", \"dpdown\",\n"
              "# \"dpleft\", \"dpright\", a stick pushed one way (\"leftx-\", \"leftx+\", \"lefty-\",\n"
              "# \"lefty+\") and the triggers (\"lefttrigger\", \"righttrigger\")."),
        Names("gamepad", C::SlideRight, &Settings::buttons, true, nullptr),
        Names("gamepad", C::Fire, &Settings::buttons, true, nullptr),
        Names("gamepad", C::Start, &Settings::buttons, true, nullptr),
        Names("gamepad", C::Back, &Settings::buttons, true, nullptr),
        Names("gamepad", C::Pause, &Settings::buttons, true, nullptr),
        FullScreen("display", "fullscreen",
                   "\"ask\": the question at every start; \"yes\": full screen; \"no\": a window."),
        RenderScale("display", "render_scale",
                    "The 3D picture drawn at this fraction of the window (1, 0.75, 0.5) and scaled up;\n"
                    "# \"auto\": 1 on a graphics card, the largest that keeps up on a software renderer."),
        Flag("display", "frame_skip", &Settings::frameSkip,
             "true: the game keeps real time on a slow machine, drawing fewer frames; false: one\n"
             "# update per drawn frame."),
        Language("display", "language",
                 "The game's words: \"auto\" follows the desktop (LANGUAGE, LC_ALL, LC_MESSAGES, LANG);\n"
                 "# \"en\" English, \"ja\" Japanese."),
        Flag("play", "pause_on_focus_loss", &Settings::pauseOnFocusLoss,
             "Pause the run when the window loses the focus."),
    };
    return entries;
}

bool IsTable(std::string_view name) {
    const auto& entries = Entries();
    return std::any_of(entries.begin(), entries.end(), [&](const Entry& e) { return name == e.table; });
}

std::string LineOf(const std::string& name, const toml::source_region& where) {
    return Cat({name, ":", std::to_string(where.begin.line), ": "});
}

}  // namespace

SettingsReading ReadSettings(std::string_view text, const std::string& name, const InputNaming& naming) {
    SettingsReading out;
    if (text.size() > kMaxSettingsBytes) {
        out.problems.push_back(Cat({name, ": larger than ", std::to_string(kMaxSettingsBytes / 1024),
                                    " KiB, so no settings file; the default settings are used"}));
        out.unreadable = true;
        return out;
    }
    toml::table root;
    try {
        root = toml::parse(text, name);
    } catch (const toml::parse_error& e) {
        std::string why(e.description());
        std::replace_if(why.begin(), why.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
        out.problems.push_back(Cat({LineOf(name, e.source()), why, "; the default settings are used"}));
        out.unreadable = true;
        return out;
    }
    const Settings defaults;
    for (const auto& [tableKey, tableNode] : root) {
        const std::string_view table = tableKey.str();
        const toml::table* settings = tableNode.as_table();
        if (!IsTable(table) || !settings) {
            if (IsTable(table))
                out.problems.push_back(Cat({LineOf(name, tableKey.source()), Quoted(table), ": should be the table [",
                                            table, "]; its settings keep their defaults"}));
            else
                out.problems.push_back(Cat({LineOf(name, tableKey.source()), Quoted(table),
                                            ": no such table (the tables are audio, look, keys, gamepad, display, "
                                            "play); ignored"}));
            continue;
        }
        for (const auto& [key, node] : *settings) {
            const auto& entries = Entries();
            const std::string_view setting = key.str();  // a lambda may not name a structured binding
            const auto entry = std::find_if(entries.begin(), entries.end(),
                                            [&](const Entry& e) { return table == e.table && setting == e.key; });
            const std::string where = Cat({"[", table, "] ", Quoted(key.str()), ": "});
            if (entry == entries.end()) {
                out.problems.push_back(Cat({LineOf(name, key.source()), where, "no such setting; ignored"}));
                continue;
            }
            std::string why;
            if (!entry->read(node, out.settings, naming, &why))
                out.problems.push_back(Cat({LineOf(name, node.source()), "[", table, "] ", entry->key, ": ", why,
                                            "; the default, ", entry->write(defaults), ", stands"}));
        }
    }
    return out;
}

std::string FormatSettings(const Settings& settings) {
    std::string text =
        "# KORVELIN's settings. The game writes this file when you leave its options screen; edit it\n"
        "# while the game is not running. A setting left out keeps its default.\n";
    const char* table = "";
    for (const Entry& e : Entries()) {
        if (std::string_view(table) != e.table) {
            table = e.table;
            text += Cat({"\n[", table, "]\n"});
        }
        if (e.comment) text += Cat({"# ", e.comment, "\n"});
        text += Cat({e.key, " = ", e.write(settings), "\n"});
    }
    return text;
}

}  // namespace platform
