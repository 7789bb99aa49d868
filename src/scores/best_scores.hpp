// The best runs the player has flown: the ten best of every course, kept in scores.json in the
// user's data folder. A course is known by its file's name and a hash of its content, so a
// course changed by the editor starts a list of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/safe_file.hpp"

struct BestRun {
    int64_t score = 0;      // the result's total: the points and the bonus for the lives left
    int livesLeft = 0;      // 0 ... 3
    bool goal = false;      // reached the goal; false: destroyed
    std::string date;       // when the run ended, UTC, "2026-12-09T07:30:00Z"
    uint64_t seed = 0;      // the enemy units' seed
    std::string recording;  // the run's input script, a file name beside scores.json; may be empty

    bool operator==(const BestRun&) const = default;
};

class BestScores {
public:
    static constexpr int64_t kFormat = 1;  // the file's "version" this game writes
    static constexpr size_t kKept = 10;
    // Larger files are not read: no list of ten runs per course comes near it.
    static constexpr size_t kMaxFileSize = size_t(4) << 20;

    // "NAME#HASH": the course file's name and a 64-bit FNV-1a hash of its bytes, in hex.
    static std::string CourseKey(std::string_view name, std::string_view content);

    // Reads the text of a scores file of any version from 1: an older one is upgraded step by
    // step, a newer one read for the runs this game knows. False with the reason in *error
    // (nothing is kept then).
    bool Parse(std::string_view text, std::string* error);
    std::string Serialize() const;

    // The course's runs, best first (empty for a course never finished).
    const std::vector<BestRun>& Runs(const std::string& course) const;
    // Enters a run: its place in the list (1 for the best), or 0 when ten better runs are kept.
    // A run equal in score to a kept one goes after it. A run pushed out is returned in *dropped
    // (its recording can go).
    int Add(const std::string& course, const BestRun& run, std::vector<BestRun>* dropped = nullptr);

    std::map<std::string, std::vector<BestRun>> courses;
    int64_t version = kFormat;  // of the text Parse read
};

// The scores file on disk, which every game of the player's gathers its runs into. Load never
// loses a file it cannot read: it is renamed to FILE.broken (numbered when taken), named on
// standard error, and a new list starts.
class ScoresFile {
public:
    explicit ScoresFile(std::string path) : path_(std::move(path)) {}

    // A missing file is an empty list. A damaged one is moved aside (see above); when even that
    // fails, the list is empty and Save refuses, so the damaged file stays as it is.
    BestScores Load();
    // Under the file's lock (platform::FileLock): reads the file as it is now, with the runs
    // other games kept meanwhile, lets `change` enter its own, and writes the list back unless
    // `change` says there is nothing to write (false). A newer game's file is first kept beside
    // as FILE.newer, never lost. False with the reason in *error; the file is then as it was.
    bool Update(const std::function<bool(BestScores&)>& change, platform::SaveError* error);
    // Writes through a temporary file and a rename, without the lock. False with the reason.
    bool Save(const BestScores& scores, platform::SaveError* error) const;
    bool Save(const BestScores& scores, std::string* error) const;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    bool blocked_ = false;  // a damaged file could not be moved aside
};
