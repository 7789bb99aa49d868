// The trace reader of the course picture: each line parsed on its own, so one bad line is
// named by its number and nothing after it is guessed at.
#include "run_trace.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <optional>
#include <sstream>

#include "platform/files/bounded_file.hpp"

using nlohmann::json;

namespace {

struct BadField {
    std::string what;
};

// Reads one line of at most kMaxTraceLine bytes without its line break. False at the end of
// the stream; *tooLong when the line did not fit (the rest of it is not read).
bool ReadLine(std::istream& in, std::string& line, bool* tooLong) {
    line.clear();
    *tooLong = false;
    std::streambuf* buf = in.rdbuf();
    if (!buf) return false;
    for (;;) {
        const int c = buf->sbumpc();
        if (c == std::char_traits<char>::eof()) return !line.empty();
        if (c == '\n') return true;
        if (line.size() == kMaxTraceLine) {
            *tooLong = true;
            return true;
        }
        line.push_back(static_cast<char>(c));
    }
}

bool Blank(const std::string& line) { return line.find_first_not_of(" \t\r") == std::string::npos; }

const json* Field(const json& object, const char* key) {
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

// A flag the game writes as true/false (older traces: 0/1).
std::optional<bool> Flag(const json& object, const char* key, const char* path) {
    const json* v = Field(object, key);
    if (!v || v->is_null()) return std::nullopt;
    if (v->is_boolean()) return v->get<bool>();
    if (v->is_number()) return v->get<double>() != 0;
    throw BadField{std::string("\"") + path + "\" is not true or false"};
}

std::optional<double> Number(const json& object, const char* key) {
    const json* v = Field(object, key);
    if (!v || v->is_null()) return std::nullopt;
    if (!v->is_number()) throw BadField{std::string("\"") + key + "\" is not a number"};
    return v->get<double>();
}

// The player's position; none when the frame has no player (a course that could not be
// played) or a coordinate was written as null (not a number in the game).
std::optional<Vec3> PlayerPos(const json& frame) {
    const json* player = Field(frame, "player");
    if (!player || player->is_null()) return std::nullopt;
    if (!player->is_object()) throw BadField{"\"player\" is not an object"};
    const json* pos = Field(*player, "pos");
    if (!pos || !pos->is_array() || pos->size() != 3) throw BadField{"\"player.pos\" is not three numbers"};
    float xyz[3];
    for (int i = 0; i < 3; ++i) {
        const json& v = (*pos)[i];
        if (v.is_null()) return std::nullopt;
        if (!v.is_number()) throw BadField{"\"player.pos\" is not three numbers"};
        xyz[i] = static_cast<float>(v.get<double>());
        if (!std::isfinite(xyz[i])) return std::nullopt;
    }
    return Vec3{xyz[0], xyz[1], xyz[2]};
}

// Follows one run at a time; a title frame between game frames ends the run.
class TraceRun {
public:
    explicit TraceRun(RunTrace& out) : out_(out) {}

    void Leave() { inRun_ = false; }

    void Frame(const json& frame) {
        if (!inRun_) Start();
        ++out_.gameFrames;
        const std::optional<Vec3> pos = PlayerPos(frame);
        const json* f = Field(frame, "frame");
        TracePoint at{f && f->is_number_integer() ? f->get<int64_t>() : -1, pos.value_or(Vec3{})};
        if (pos) {
            out_.paths.back().push_back(at);
        } else if (!out_.paths.back().empty()) {
            at.pos = out_.paths.back().back().pos;  // events of this frame stand where it was last seen
        }
        const bool placed = pos || !out_.paths.back().empty();

        if (const json* enemies = Field(frame, "enemies"); enemies && !enemies->is_null()) {
            if (!enemies->is_array()) throw BadField{"\"enemies\" is not an array"};
            if (released_.size() < enemies->size()) released_.resize(enemies->size(), false);
            for (size_t k = 0; k < enemies->size(); ++k) {
                const json& e = (*enemies)[k];
                if (!e.is_object()) throw BadField{"\"enemies\" holds something other than objects"};
                const bool now = Flag(e, "released", "enemies[].released").value_or(false);
                if (now && !released_[k] && placed) out_.releases.push_back({at, static_cast<int>(k + 1), false});
                released_[k] = now;
            }
        }
        const std::optional<double> hits = Number(frame, "hitsLeft");
        if (hits && hitsLeft_ && *hits < *hitsLeft_ && placed) out_.hits.push_back({at, 0, false});
        if (hits) hitsLeft_ = hits;
        if (Flag(frame, "runOver", "runOver").value_or(false) && !ended_ && placed) {
            out_.ends.push_back({at, 0, hitsLeft_ && *hitsLeft_ < 0});
            ended_ = true;
        }
    }

private:
    void Start() {
        inRun_ = true;
        ended_ = false;
        hitsLeft_.reset();
        released_.clear();
        out_.paths.emplace_back();
    }

    RunTrace& out_;
    bool inRun_ = false;
    bool ended_ = false;
    std::optional<double> hitsLeft_;
    std::vector<bool> released_;
};

// Reads line after line; what a stream may throw is caught by the caller.
bool ReadLines(std::istream& in, const std::string& name, RunTrace& out, std::string* error) {
    out = RunTrace{};
    TraceRun run(out);
    std::string line;
    bool tooLong = false;
    auto fail = [&](size_t number, const std::string& why) {
        if (error) *error = name + ":" + std::to_string(number) + ": " + why;
        return false;
    };
    for (size_t number = 1; ReadLine(in, line, &tooLong); ++number) {
        if (tooLong) return fail(number, "line longer than " + std::to_string(kMaxTraceLine) + " bytes");
        if (Blank(line)) continue;
        const json frame = json::parse(line, nullptr, false);
        if (frame.is_discarded()) return fail(number, "not a line of JSON");
        if (!frame.is_object()) return fail(number, "not a JSON object");
        const json* scene = Field(frame, "scene");
        if (!scene || !scene->is_string()) return fail(number, "no \"scene\" (is this a trace of korvelin --headless?)");
        if (scene->get_ref<const std::string&>() != "game") {
            run.Leave();
            continue;
        }
        try {
            run.Frame(frame);
        } catch (const BadField& bad) {
            return fail(number, bad.what);
        }
    }
    if (in.bad()) {
        if (error) *error = name + ": read error";
        return false;
    }
    return true;
}

}  // namespace

bool ReadRunTrace(std::istream& in, const std::string& name, RunTrace& out, std::string* error) {
    try {
        return ReadLines(in, name, out, error);
    } catch (const std::exception& e) {
        // A stream's buffer throws on a failed read; memory may run out on a huge trace.
        if (error) *error = name + ": read error (" + e.what() + ")";
        return false;
    }
}

bool LoadRunTrace(const std::string& path, RunTrace& out, std::string* error) {
    out = RunTrace{};
    std::string text, why;
    if (!platform::ReadBoundedFile(path, kMaxTraceBytes, "the most a trace may hold", &text, &why)) {
        if (error) *error = path + ": " + why;
        return false;
    }
    std::istringstream in(std::move(text));
    return ReadRunTrace(in, path, out, error);
}
