// Reading and writing input scripts, independent of the locale.
#include "platform/input/input_script.hpp"

#include <algorithm>
#include <charconv>
#include <initializer_list>

#include "platform/files/bounded_file.hpp"
#include "platform/files/message_text.hpp"

namespace platform {

namespace {

constexpr Key kScriptKeys[] = {Key::A, Key::D,     Key::E,      Key::F,          Key::Q,          Key::R, Key::S,
                               Key::W, Key::Z,     Key::Space,  Key::Escape,     Key::LeftButton, Key::RightButton};
constexpr const char* kKeyList = "A D E F Q R S W Z Space Escape LeftButton RightButton";

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates, nothing
// above U+10FFFF.
bool IsUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        uint32_t code = 0, least = 0;
        if ((c & 0xE0) == 0xC0) more = 1, code = c & 0x1F, least = 0x80;
        else if ((c & 0xF0) == 0xE0) more = 2, code = c & 0x0F, least = 0x800;
        else if ((c & 0xF8) == 0xF0) more = 3, code = c & 0x07, least = 0x10000;
        else return false;
        if (s.size() - i <= size_t(more)) return false;
        for (int k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += more + 1;
    }
    return true;
}

std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        const size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > start) words.push_back(s.substr(start, i - start));
    }
    return words;
}


// Quotes a word of the line for a message, cut short so a long one does not flood the terminal.
std::string Quoted(std::string_view word) {
    constexpr size_t kShown = 40;
    if (word.size() <= kShown) return Cat({"'", word, "'"});
    size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(word[cut]) & 0xC0) == 0x80) --cut;  // whole characters
    return Cat({"'", word.substr(0, cut), "...'"});
}

bool ParseCoordinate(std::string_view word, int* out) {
    int value = 0;
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, value);
    if (ec != std::errc() || ptr != end || value < -kMaxCursorOffset || value > kMaxCursorOffset) return false;
    *out = value;
    return true;
}

// The seed a first line "# seed N" carries. False with a reason when the comment starts with
// the word "seed" but no proper number follows; other comments carry nothing.
bool ReadSeedComment(std::string_view line, std::optional<uint64_t>* seed, std::string* reason) {
    if (line.empty() || line[0] != '#') return true;
    const std::vector<std::string_view> words = Words(line.substr(1));
    if (words.empty() || words[0] != "seed") return true;
    uint64_t value = 0;
    if (words.size() != 2 || !ParseWholeNumber(words[1], &value)) {
        *reason = "'# seed' needs one whole number from 0 to 18446744073709551615";
        return false;
    }
    *seed = value;
    return true;
}

// One event line without its comment. False with a reason when it does not parse.
bool ParseEvent(const std::vector<std::string_view>& w, InputEvent* e, std::string* reason) {
    uint64_t frame = 0;
    const bool digits = std::all_of(w[0].begin(), w[0].end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) {
        *reason = Cat({"expected a frame number, found ", Quoted(w[0])});
        return false;
    }
    if (!ParseWholeNumber(w[0], &frame) || frame > uint64_t(INT64_MAX)) {
        *reason = Cat({"frame number ", Quoted(w[0]), " is too large"});
        return false;
    }
    e->frame = int64_t(frame);
    if (w.size() < 2) {
        *reason = "expected down, up, cursor, answer or quit after the frame number";
        return false;
    }
    const std::string_view what = w[1];
    size_t used = 2;
    if (what == "down" || what == "up") {
        e->type = what == "down" ? InputEvent::Type::Down : InputEvent::Type::Up;
        if (w.size() < 3) {
            *reason = Cat({"'", what, "' needs a key: ", kKeyList});
            return false;
        }
        const auto* key = std::find_if(std::begin(kScriptKeys), std::end(kScriptKeys),
                                       [&](Key k) { return w[2] == ScriptKeyName(k); });
        if (key == std::end(kScriptKeys)) {
            *reason = Cat({"unknown key ", Quoted(w[2]), " (keys: ", kKeyList, ")"});
            return false;
        }
        e->key = *key;
        used = 3;
    } else if (what == "cursor") {
        e->type = InputEvent::Type::Cursor;
        if (w.size() < 4 || !ParseCoordinate(w[2], &e->cursor.x) || !ParseCoordinate(w[3], &e->cursor.y)) {
            const std::string limit = std::to_string(kMaxCursorOffset);
            *reason = Cat({"'cursor' needs X and Y, whole client pixels from -", limit, " to ", limit});
            return false;
        }
        used = 4;
    } else if (what == "answer") {
        e->type = InputEvent::Type::Answer;
        if (w.size() < 3 || (w[2] != "yes" && w[2] != "no")) {
            *reason = "'answer' needs yes or no";
            return false;
        }
        e->yes = w[2] == "yes";
        used = 3;
    } else if (what == "quit") {
        e->type = InputEvent::Type::Quit;
    } else {
        *reason = Cat({"unknown event ", Quoted(what), " (expected down, up, cursor, answer or quit)"});
        return false;
    }
    if (w.size() > used) {
        *reason = Cat({"unexpected ", Quoted(w[used]), " after the event"});
        return false;
    }
    return true;
}

}  // namespace

bool ParseWholeNumber(std::string_view text, uint64_t* out) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;  // no sign
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, *out);
    return ec == std::errc() && ptr == end;
}

const char* ScriptKeyName(Key key) {
    switch (key) {
        case Key::A: return "A";
        case Key::D: return "D";
        case Key::E: return "E";
        case Key::F: return "F";
        case Key::Q: return "Q";
        case Key::R: return "R";
        case Key::S: return "S";
        case Key::W: return "W";
        case Key::Z: return "Z";
        case Key::Space: return "Space";
        case Key::Escape: return "Escape";
        case Key::LeftButton: return "LeftButton";
        case Key::RightButton: return "RightButton";
        default: return nullptr;
    }
}

bool ParseInputScript(std::string_view text, const std::string& name, InputScript* out, std::string* error) {
    *out = InputScript{};
    if (text.size() > kMaxScriptBytes) {
        *error = Cat({name, ": the script is larger than ", std::to_string(kMaxScriptBytes >> 20), " MiB"});
        return false;
    }
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a byte-order mark some editors write
    size_t lineNo = 0;
    while (!text.empty()) {
        ++lineNo;
        const size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);

        std::string reason;
        if (line.size() > kMaxScriptLineBytes)
            reason = Cat({"the line is longer than ", std::to_string(kMaxScriptLineBytes), " bytes"});
        else if (line.find('\0') != std::string_view::npos)
            reason = "the line holds a NUL byte";
        else if (!IsUtf8(line))
            reason = "the line is not valid UTF-8";
        else if (lineNo == 1)
            ReadSeedComment(line, &out->seed, &reason);
        if (reason.empty()) {
            const std::vector<std::string_view> words = Words(line.substr(0, line.find('#')));
            InputEvent event;
            if (!words.empty() && ParseEvent(words, &event, &reason)) out->events.push_back(event);
        }
        if (!reason.empty()) {
            *error = Cat({name, ":", std::to_string(lineNo), ": ", reason});
            *out = InputScript{};
            return false;
        }
    }
    std::stable_sort(out->events.begin(), out->events.end(),
                     [](const InputEvent& a, const InputEvent& b) { return a.frame < b.frame; });
    return true;
}

bool LoadInputScript(const std::string& path, const std::string& name, InputScript* out, std::string* error) {
    std::string text, why;
    if (!ReadBoundedFile(path, kMaxScriptBytes, "the most a script may hold", &text, &why)) {
        *error = Cat({name, ": ", why});
        return false;
    }
    return ParseInputScript(text, name, out, error);
}

std::string FormatInputEvent(const InputEvent& e) {
    std::string line = std::to_string(e.frame);
    switch (e.type) {
        case InputEvent::Type::Down:
        case InputEvent::Type::Up: {
            const char* key = ScriptKeyName(e.key);
            if (!key) return {};  // not a key scripts can press
            line += e.type == InputEvent::Type::Down ? " down " : " up ";
            line += key;
            break;
        }
        case InputEvent::Type::Cursor:
            line += Cat({" cursor ", std::to_string(e.cursor.x), " ", std::to_string(e.cursor.y)});
            break;
        case InputEvent::Type::Answer: line += e.yes ? " answer yes" : " answer no"; break;
        case InputEvent::Type::Quit: line += " quit"; break;
    }
    return line;
}

std::string FormatInputScript(const InputScript& script) {
    std::string text;
    if (script.seed) text = Cat({"# seed ", std::to_string(*script.seed), "\n"});
    for (const InputEvent& e : script.events) {
        const std::string line = FormatInputEvent(e);
        if (line.empty()) continue;
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace platform
