// The course's best runs, read and written for the scenes.
#include "scene/best_runs.hpp"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/i18n/language.hpp"
#include "scene/game_options.hpp"

namespace {

// The course file's name and a hash of its bytes: an edited course starts a list of its own.
std::string CourseKey() {
    const std::string& path = CurrentGameOptions().courseFile;
    std::ifstream in(path, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return BestScores::CourseKey(std::filesystem::path(path).filename().string(), content);
}

std::string Now(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, format, &utc);
    return text;
}

}  // namespace

std::optional<int64_t> BestScoreOfCourse() {
    const GameOptions& options = CurrentGameOptions();
    if (options.scoresFile.empty()) return std::nullopt;
    ScoresFile file(options.scoresFile);
    const BestScores scores = file.Load();
    const std::vector<BestRun>& runs = scores.Runs(CourseKey());
    if (runs.empty()) return std::nullopt;
    return runs.front().score;
}

int KeepRun(BestRun run) {
    const GameOptions& options = CurrentGameOptions();
    if (options.scoresFile.empty()) return 0;
    ScoresFile file(options.scoresFile);
    BestScores scores = file.Load();
    const std::string course = CourseKey();
    run.date = Now("%Y-%m-%dT%H:%M:%SZ");
    BestScores tried = scores;
    if (tried.Add(course, run) == 0) return 0;
    const std::filesystem::path folder = std::filesystem::path(options.scoresFile).parent_path();
    if (options.keepRecording) {
        const std::string name = "run-" + Now("%Y%m%d-%H%M%S") + "-" + std::to_string(run.score) + ".txt";
        if (options.keepRecording((folder / name).string())) run.recording = name;
    }
    std::vector<BestRun> dropped;
    const int place = scores.Add(course, run, &dropped);
    std::string error;
    if (!file.Save(scores, &error)) {
        std::fprintf(stderr, platform::Tr("korvelin: the best runs were not kept: %s\n"), error.c_str());
        return 0;
    }
    // A run pushed out of the ten takes its recording with it.
    for (const BestRun& gone : dropped) {
        std::error_code ec;
        if (!gone.recording.empty()) std::filesystem::remove(folder / gone.recording, ec);
    }
    return place;
}
