// Input scripts: the keys, cursor positions and question answers of a run, one event a line, by
// frame, and where a recorded run was closed. Read from text (UTF-8, '#' comments), written back
// in the same form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input/input.hpp"

namespace platform {

struct InputEvent {
    enum class Type { Down, Up, Cursor, Answer, Quit };
    int64_t frame = 0;  // takes effect before the update of this frame, counted from 0
    Type type = Type::Down;
    Key key = Key::Space;   // Down, Up
    Point cursor;           // Cursor: client pixels
    bool yes = false;       // Answer
                            // Quit: the window was closed; the run ends before this frame
    bool operator==(const InputEvent&) const = default;
};

struct InputScript {
    // By frame; events of one frame keep the order of their lines.
    std::vector<InputEvent> events;
    // From a first line "# seed N".
    std::optional<uint64_t> seed;
};

// Limits that keep a script from costing more than a person could mean.
constexpr size_t kMaxScriptBytes = 16u << 20;
constexpr size_t kMaxScriptLineBytes = 1024;
constexpr int kMaxCursorOffset = 100000;  // client pixels either way

// Reads a whole script. On a line that does not parse: false, and *error is
// "NAME:LINE: reason" (LINE counted from 1). Lines may come in any order of frames.
bool ParseInputScript(std::string_view text, const std::string& name, InputScript* out, std::string* error);
// Reads a script file; an unreadable file gives "NAME: reason".
bool LoadInputScript(const std::string& path, const std::string& name, InputScript* out, std::string* error);
// The script as text that reads back to the same script.
std::string FormatInputScript(const InputScript& script);
// One event as its line, without the newline; empty for a key scripts cannot press.
std::string FormatInputEvent(const InputEvent& event);

// A whole decimal number without sign, as scripts and the command line write them.
bool ParseWholeNumber(std::string_view text, uint64_t* out);
// The names scripts use for keys ("Space", "LeftButton"); null for a key scripts cannot press.
const char* ScriptKeyName(Key key);

}  // namespace platform
