// Reading the command line.
#include "app/launch_options.hpp"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "platform/i18n/language.hpp"
#include "platform/input/input_script.hpp"

using platform::Tr;

namespace {

enum class Where { Both, Headless, Window };

struct Option {
    const char* name;
    bool takesValue;
    Where where;
};

constexpr Option kOptions[] = {
    {"--help", false, Where::Both},       {"-h", false, Where::Both},          {"--dev", false, Where::Both},
    {"--version", false, Where::Both},
    {"--headless", false, Where::Both},   {"--course", true, Where::Both},     {"--seed", true, Where::Both},
    {"--trace", true, Where::Both},       {"--frames", true, Where::Headless}, {"--start", true, Where::Headless},
    {"--input", true, Where::Headless},   {"--fullscreen", false, Where::Window},
    {"--windowed", false, Where::Window}, {"--record", true, Where::Window},   {"--replay", true, Where::Window},
    {"--settings", true, Where::Both},
    {"--no-frame-skip", false, Where::Window}, {"--render-scale", true, Where::Window},
    {"--autopilot", false, Where::Both},  {"--scores", true, Where::Headless},
    {"--draw-log", true, Where::Headless},
};

// Pairs that cannot be given together.
constexpr const char* kExclusive[][2] = {{"--fullscreen", "--windowed"}, {"--record", "--replay"}};

// Stores one option's value; false with the reason.
bool Apply(std::string_view name, std::string_view value, LaunchOptions* out, std::string* error) {
    if (name == "--help" || name == "-h") out->help = true;
    else if (name == "--version") out->version = true;
    else if (name == "--dev") out->dev = true;
    else if (name == "--headless") out->headless = true;
    else if (name == "--autopilot") out->autopilot = true;
    else if (name == "--course") out->courseFile = value;
    else if (name == "--input") out->inputFile = value;
    else if (name == "--scores") out->scoresFile = value;
    else if (name == "--trace") out->traceFile = value;
    else if (name == "--draw-log") out->drawLogFile = value;
    else if (name == "--fullscreen") out->overrides.fullScreen = platform::FullScreenAtStart::Yes;
    else if (name == "--windowed") out->overrides.fullScreen = platform::FullScreenAtStart::No;
    else if (name == "--record") out->recordFile = value;
    else if (name == "--replay") out->replayFile = value;
    else if (name == "--settings") out->settingsFile = value;
    else if (name == "--no-frame-skip") out->overrides.frameSkip = false;
    else if (name == "--render-scale") {
        std::optional<double>& scale = out->overrides.renderScale.emplace();
        if (value == "auto") scale.reset();
        else if (value == "1" || value == "1.0") scale = 1.0;
        else if (value == "0.75") scale = 0.75;
        else if (value == "0.5") scale = 0.5;
        else {
            *error = "--render-scale takes auto, 1, 0.75 or 0.5, not '" + std::string(value) + "'";
            return false;
        }
    }
    else if (name == "--start") {
        if (value != "title" && value != "game") {
            *error = "--start takes title or game, not '" + std::string(value) + "'";
            return false;
        }
        out->start = value == "game" ? kSceneGame : kSceneTitle;
    } else if (name == "--seed") {
        uint64_t seed = 0;
        if (!platform::ParseWholeNumber(value, &seed)) {
            *error = "--seed takes a whole number from 0 to 18446744073709551615, not '" + std::string(value) + "'";
            return false;
        }
        out->seed = seed;
    } else if (name == "--frames") {
        uint64_t frames = 0;
        if (!platform::ParseWholeNumber(value, &frames) || frames > uint64_t(INT64_MAX)) {
            *error = "--frames takes a whole number of frames, not '" + std::string(value) + "'";
            return false;
        }
        out->frames = int64_t(frames);
    }
    return true;
}

size_t IndexOf(std::string_view name) {
    size_t index = 0;
    while (index < std::size(kOptions) && name != kOptions[index].name) ++index;
    return index;
}

}  // namespace

bool ParseLaunchOptions(int argc, const char* const* argv, LaunchOptions* out, std::string* error) {
    *out = LaunchOptions{};
    bool seen[std::size(kOptions)] = {};
    const Option* headlessOnly = nullptr;
    const Option* windowOnly = nullptr;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        std::string_view value;
        bool inlineValue = false;
        if (const size_t equals = arg.find('='); arg.starts_with("--") && equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
            inlineValue = true;
        }
        const size_t index = IndexOf(arg);
        if (index == std::size(kOptions)) {
            *error = "unknown option '" + std::string(argv[i]) + "'";
            return false;
        }
        const Option& option = kOptions[index];
        if (!option.takesValue && inlineValue) {
            *error = std::string(option.name) + " takes no value";
            return false;
        }
        if (option.takesValue && !inlineValue) {
            if (i + 1 >= argc) {
                *error = std::string(option.name) + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (option.takesValue && value.empty()) {
            *error = std::string(option.name) + " needs a value";
            return false;
        }
        if (seen[index]) {
            *error = std::string(option.name) + " is given twice";
            return false;
        }
        seen[index] = true;
        if (option.where == Where::Headless && !headlessOnly) headlessOnly = &option;
        if (option.where == Where::Window && !windowOnly) windowOnly = &option;
        if (!Apply(option.name, value, out, error)) return false;
    }
    if (out->help || out->version) return true;
    for (const auto& pair : kExclusive) {
        if (seen[IndexOf(pair[0])] && seen[IndexOf(pair[1])]) {
            *error = std::string(pair[0]) + " and " + pair[1] + " cannot be given together";
            return false;
        }
    }
    if (headlessOnly && !out->headless) {
        *error = std::string(headlessOnly->name) + " works only with --headless";
        return false;
    }
    if (windowOnly && out->headless) {
        *error = std::string(windowOnly->name) + " works only in the window, not with --headless";
        return false;
    }
    return true;
}

std::string LaunchUsage() {
    struct Line {
        const char* option;
        const char* what;  // in the player's language; a new line goes on under the last
    };
    const Line lines[] = {
        {"--fullscreen", Tr("start in full screen without asking")},
        {"--windowed", Tr("start in a window without asking")},
        {"--record FILE", Tr("write the run's input (keys, cursor, gamepad, answers) to FILE as an\n"
                             "input script, with the seed on its first line")},
        {"--replay FILE", Tr("play an input script (a recorded run) in the window")},
        {"--render-scale S", Tr("draw the 3D picture and its glow at S times the window's resolution\n"
                                "(auto, 1, 0.75 or 0.5) and scale it up; the HUD stays sharp. auto: 1\n"
                                "on a graphics card, the largest that keeps up on a software renderer")},
        {"--no-frame-skip", Tr("one game update per drawn frame: a slow machine plays slower instead\n"
                               "of drawing fewer frames (the game otherwise keeps real time)")},
        {"--dev", Tr("show the developer overlay")},
        {"--course FILE", Tr("play this course file instead of data/data/cpdata.dat")},
        {"--seed N", Tr("shape the enemy units from seed N (a whole number): the same seed\n"
                        "gives the same units in every run")},
        {"--trace FILE", Tr("write one JSON line per game update to FILE; in the window, print a\n"
                            "summary line (updates and drawn frames per second) at the end")},
        {"--settings FILE", Tr("read and save the settings in FILE instead of\n"
                               "~/.config/korvelin/settings.toml (headless runs use the defaults\n"
                               "unless given one)")},
        {"--autopilot", Tr("the pilot starts and flies every run with the player's controls;\n"
                           "Escape still asks to leave. Headless without --frames, the program\n"
                           "ends when the pilot's run has returned to the title")},
        {"--scores FILE", Tr("headless: keep the best runs in FILE (a window run keeps them in\n"
                             "scores.json in the user's data folder, with their recordings)")},
        {"--headless", Tr("run without a window, sound or frame pacing, on the null device;\n"
                          "prints a summary line at the end")},
        {"--frames N", Tr("headless: stop after N frames (default: when the game ends)")},
        {"--start SCENE", Tr("headless: begin on the title (default) or in the game")},
        {"--input FILE", Tr("headless: play the keys, cursor and answers of an input script")},
        {"--draw-log FILE", Tr("headless: write one line per frame to FILE with the number of draws\n"
                               "and a digest of everything they would show")},
        {"--help, -h", Tr("show this text")},
        {"--version", Tr("show the version")},
    };
    std::string text = Tr("usage:");
    text += " korvelin [--fullscreen | --windowed] [--record FILE | --replay FILE] [--trace FILE]\n"
            "                [--course FILE] [--seed N] [--settings FILE] [--render-scale auto|1|0.75|0.5]\n"
            "                [--no-frame-skip] [--autopilot] [--dev]\n"
            "       korvelin --headless [--frames N] [--start title|game] [--input FILE] [--trace FILE]\n"
            "                [--course FILE] [--seed N] [--settings FILE] [--autopilot] [--scores FILE]\n"
            "                [--draw-log FILE] [--dev]\n\n";
    constexpr size_t kColumn = 19;  // where the descriptions begin
    for (const Line& line : lines) {
        text += "  ";
        text += line.option;
        text.append(kColumn - 2 - std::min(kColumn - 3, std::string_view(line.option).size()), ' ');
        for (const char* c = line.what; *c; ++c) {
            text += *c;
            if (*c == '\n') text.append(kColumn, ' ');
        }
        text += '\n';
    }
    text += "\n";
    text += Tr("Alt+Enter or F11 switches between the window and full screen at any time; O (or the\n"
               "gamepad's Y) on the title opens the options; P (or Start) pauses a run.\n"
               "Options take their value as the next word or after '=' (--frames=600).\n");
    return text;
}
