// Keeping, reading and writing the best runs.
#include "scores/best_scores.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "platform/files/safe_file.hpp"
#include "platform/i18n/language.hpp"

using json = nlohmann::json;

namespace {

constexpr int64_t kFormat = BestScores::kFormat;

// A step from one version of the file to the next, on the document as read; the first from
// version 1. Version 1 is the first there is, so none is needed yet.
using Upgrade = std::function<void(json& document)>;
const std::vector<Upgrade>& Upgrades() {
    static const std::vector<Upgrade> steps;
    return steps;
}

// One run of the file, or false when a field is missing or of the wrong type or range.
bool ReadRun(const json& j, BestRun* run, std::string* error) {
    auto fail = [&](const char* why) {
        *error = why;
        return false;
    };
    if (!j.is_object()) return fail("a run is not an object");
    const auto score = j.find("score"), lives = j.find("livesLeft"), goal = j.find("goal"), date = j.find("date"),
               seed = j.find("seed"), recording = j.find("recording");
    if (score == j.end() || !score->is_number_integer()) return fail("a run's \"score\" is not a whole number");
    if (lives == j.end() || !lives->is_number_integer()) return fail("a run's \"livesLeft\" is not a whole number");
    if (goal == j.end() || !goal->is_boolean()) return fail("a run's \"goal\" is not true or false");
    if (date == j.end() || !date->is_string()) return fail("a run's \"date\" is not text");
    if (seed == j.end() || !seed->is_number_unsigned()) return fail("a run's \"seed\" is not a whole number");
    if (recording != j.end() && !recording->is_string()) return fail("a run's \"recording\" is not text");
    run->score = score->get<int64_t>();
    run->livesLeft = lives->get<int>();
    if (run->score < 0 || run->livesLeft < 0 || run->livesLeft > 3) return fail("a run's score or lives are out of range");
    run->goal = goal->get<bool>();
    run->date = date->get<std::string>();
    run->seed = seed->get<uint64_t>();
    run->recording = recording != j.end() ? recording->get<std::string>() : std::string();
    // A recording is a name beside the list, never a path elsewhere.
    if (run->recording.find('/') != std::string::npos || run->recording == ".." || run->recording == ".")
        return fail("a run's \"recording\" is not a file name");
    return true;
}

}  // namespace

std::string BestScores::CourseKey(std::string_view name, std::string_view content) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : content) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return std::string(name) + "#" + hex;
}

bool BestScores::Parse(std::string_view text, std::string* error) {
    courses.clear();
    const json doc = json::parse(text, nullptr, false);
    auto fail = [&](const std::string& why) {
        courses.clear();
        *error = why;
        return false;
    };
    if (doc.is_discarded()) return fail("not JSON");
    if (!doc.is_object()) return fail("not a JSON object");
    const auto found = doc.find("version");
    if (found == doc.end() || !found->is_number_integer() || found->get<int64_t>() < 1)
        return fail("no \"version\" from 1 on");
    version = found->get<int64_t>();
    json upgraded;
    const json* read = &doc;
    if (version < kFormat) {
        upgraded = doc;
        for (int64_t v = version; v < kFormat && size_t(v - 1) < Upgrades().size(); ++v) Upgrades()[size_t(v - 1)](upgraded);
        read = &upgraded;
    }
    const auto list = read->find("courses");
    if (list == read->end() || !list->is_object()) return fail("no \"courses\" object");
    for (const auto& [key, runs] : list->items()) {
        if (!runs.is_array()) return fail("course \"" + key + "\" holds no list of runs");
        if (runs.size() > kKept) return fail("course \"" + key + "\" holds more than ten runs");
        std::vector<BestRun>& kept = courses[key];
        for (const json& j : runs) {
            BestRun run;
            std::string why;
            if (!ReadRun(j, &run, &why)) return fail("course \"" + key + "\": " + why);
            kept.push_back(std::move(run));
        }
        std::stable_sort(kept.begin(), kept.end(), [](const BestRun& a, const BestRun& b) { return a.score > b.score; });
    }
    return true;
}

std::string BestScores::Serialize() const {
    json list = json::object();
    for (const auto& [key, runs] : courses) {
        json out = json::array();
        for (const BestRun& r : runs) {
            json j = {{"score", r.score}, {"livesLeft", r.livesLeft}, {"goal", r.goal},
                      {"date", r.date},   {"seed", r.seed},           {"recording", r.recording}};
            out.push_back(std::move(j));
        }
        list[key] = std::move(out);
    }
    return json{{"version", kFormat}, {"courses", std::move(list)}}.dump(2) + "\n";
}

const std::vector<BestRun>& BestScores::Runs(const std::string& course) const {
    static const std::vector<BestRun> none;
    const auto it = courses.find(course);
    return it == courses.end() ? none : it->second;
}

int BestScores::Add(const std::string& course, const BestRun& run, std::vector<BestRun>* dropped) {
    std::vector<BestRun>& runs = courses[course];
    const auto at = std::upper_bound(runs.begin(), runs.end(), run.score,
                                     [](int64_t score, const BestRun& kept) { return score > kept.score; });
    const int place = int(at - runs.begin()) + 1;
    if (size_t(place) > kKept) {
        if (runs.empty()) courses.erase(course);
        return 0;
    }
    runs.insert(at, run);
    while (runs.size() > kKept) {
        if (dropped) dropped->push_back(runs.back());
        runs.pop_back();
    }
    return place;
}

BestScores ScoresFile::Load() {
    BestScores scores;
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec)) return scores;
    std::string why;
    const uintmax_t size = std::filesystem::file_size(path_, ec);
    if (ec) {
        why = ec.message();
    } else if (size > BestScores::kMaxFileSize) {
        why = "larger than " + std::to_string(BestScores::kMaxFileSize >> 20) + " MB";
    } else {
        std::ifstream in(path_, std::ios::binary);
        std::string text(size_t(size), '\0');
        if (!in || !in.read(text.data(), std::streamsize(text.size()))) {
            why = std::string("cannot read: ") + std::strerror(errno);
        } else if (scores.Parse(text, &why)) {
            return scores;
        }
    }
    // Kept aside, never overwritten: the player may want what was in it.
    const std::string aside = platform::FreeNameBeside(path_, ".broken");
    if (aside.empty())
        ec = std::make_error_code(std::errc::file_exists);
    else
        std::filesystem::rename(path_, aside, ec);
    blocked_ = bool(ec);
    if (ec)
        std::fprintf(stderr, platform::Tr("korvelin: %s: %s; it could not be moved aside (%s), so no scores are kept this time\n"),
                     path_.c_str(), why.c_str(), ec.message().c_str());
    else
        std::fprintf(stderr, platform::Tr("korvelin: %s: %s; kept as %s, a new list is started\n"), path_.c_str(), why.c_str(),
                     aside.c_str());
    return scores;
}

bool ScoresFile::Save(const BestScores& scores, platform::SaveError* error) const {
    if (blocked_) {
        if (error) *error = {path_ + " could not be read nor moved aside; it is left as it is", EEXIST};
        return false;
    }
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    return platform::WriteFileSafely(path_, scores.Serialize(), error);
}

bool ScoresFile::Save(const BestScores& scores, std::string* error) const {
    platform::SaveError why;
    if (Save(scores, &why)) return true;
    if (error) *error = why.message;
    return false;
}

bool ScoresFile::Update(const std::function<bool(BestScores&)>& change, platform::SaveError* error) {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            if (error) *error = {"cannot make the folder '" + folder.string() + "': " + ec.message(), ec.value()};
            return false;
        }
    }
    platform::FileLock lock;
    if (!lock.Take(path_, error)) return false;
    BestScores scores = Load();
    if (!change(scores)) return true;
    if (scores.version > kFormat) {
        // What a newer game keeps beyond this one's runs stays in the copy beside.
        const std::string aside = platform::FreeNameBeside(path_, ".newer");
        std::filesystem::copy_file(path_, aside, ec);
        if (aside.empty() || ec) {
            if (error)
                *error = {"cannot keep the newer game's '" + path_ + "' beside before writing over it" +
                              (ec ? ": " + ec.message() : std::string()),
                          ec ? ec.value() : EEXIST};
            return false;
        }
        std::fprintf(stderr, platform::Tr("korvelin: %s was written by a newer version of the game; it is kept as %s\n"),
                     path_.c_str(), aside.c_str());
    }
    scores.version = kFormat;
    return Save(scores, error);
}
