// The course's best runs, read and written for the scenes.
#include "scene/best_runs.hpp"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "platform/files/user_data_folder.hpp"
#include "platform/i18n/language.hpp"
#include "scene/game_options.hpp"
#include "ui/save_failure.hpp"

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

KeptRun KeepRun(BestRun run) {
    namespace fs = std::filesystem;
    const GameOptions& options = CurrentGameOptions();
    if (options.scoresFile.empty()) return {};
    ScoresFile file(options.scoresFile);
    const std::string course = CourseKey();
    run.date = Now("%Y-%m-%dT%H:%M:%SZ");
    const fs::path folder = fs::path(options.scoresFile).parent_path();
    // Two games may finish the same second with the same score: the process names its own.
    const std::string name =
        "run-" + Now("%Y%m%d-%H%M%S") + "-" + std::to_string(run.score) + "-" + std::to_string(::getpid()) + ".txt";
    std::vector<BestRun> dropped;
    KeptRun kept;
    bool enters = false;
    platform::SaveError error;
    const bool saved = file.Update(
        [&](BestScores& scores) {
            BestScores tried = scores;
            enters = tried.Add(course, run) > 0;
            if (!enters) return false;
            platform::SaveError why;
            if (options.keepRecording && run.recording.empty() && options.keepRecording((folder / name).string(), &why))
                run.recording = name;
            dropped.clear();
            kept.place = scores.Add(course, run, &dropped);
            return true;
        },
        &error);
    std::error_code ec;
    if (saved) {
        // A run pushed out of the ten takes its recording with it.
        for (const BestRun& gone : dropped)
            if (!gone.recording.empty()) fs::remove(folder / gone.recording, ec);
        return kept;
    }
    std::fprintf(stderr, platform::Tr("korvelin: the best runs were not kept: %s\n"), error.message.c_str());
    kept = {};
    if (!enters) {
        // The lock or the folder failed before the list was read: whether the run would have
        // entered is read from the file as it is.
        BestScores now = ScoresFile(options.scoresFile).Load();
        if (now.Add(course, run) == 0) return kept;
    }
    kept.failed = true;
    kept.reason = SaveFailureText(options.scoresFile, error);
    // The run can still be found: its recording goes to the state folder.
    const std::string state = platform::UserStateFolder();
    if (!state.empty() && options.keepRecording) {
        const fs::path unsaved = fs::path(state) / "unsaved-runs";
        fs::create_directories(unsaved, ec);
        platform::SaveError why;
        if (options.keepRecording((unsaved / name).string(), &why)) {
            kept.keptAt = (unsaved / name).string();
            fs::remove(folder / name, ec);
            std::fprintf(stderr, platform::Tr("korvelin: the run's recording is kept as %s\n"), kept.keptAt.c_str());
        } else {
            std::fprintf(stderr, "korvelin: %s\n", why.message.c_str());
        }
    }
    return kept;
}
