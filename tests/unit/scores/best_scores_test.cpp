// The best list: places, the ten kept, and a damaged file never lost.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "scores/best_scores.hpp"

namespace fs = std::filesystem;

namespace {

BestRun AnyRun(int64_t score, const char* recording = "") { return {score, 1, true, "2026-12-09T07:00:00Z", 7, recording}; }

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(BestScores, PlacesKeepTenBestFirstAndEqualScoresAfterTheKeptOnes) {
    BestScores s;
    for (int64_t score : {5000, 9000, 1000, 7000, 3000, 8000, 2000, 6000, 4000, 10000}) EXPECT_GT(s.Add("c", AnyRun(score)), 0);
    EXPECT_EQ(s.Add("c", AnyRun(500)), 0);  // worse than all ten
    std::vector<BestRun> dropped;
    EXPECT_EQ(s.Add("c", AnyRun(7000, "new.txt"), &dropped), 5);  // after the kept 7000
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0].score, 1000);
    const std::vector<BestRun>& runs = s.Runs("c");
    ASSERT_EQ(runs.size(), BestScores::kKept);
    EXPECT_EQ(runs[0].score, 10000);
    EXPECT_EQ(runs[4].recording, "new.txt");
    EXPECT_TRUE(s.Runs("other").empty());
    // Written and read again, the same lists.
    BestScores again;
    std::string error;
    ASSERT_TRUE(again.Parse(s.Serialize(), &error)) << error;
    EXPECT_EQ(again.courses, s.courses);
    // A course is its name and its content.
    EXPECT_NE(BestScores::CourseKey("a.dat", "1"), BestScores::CourseKey("a.dat", "2"));
    EXPECT_NE(BestScores::CourseKey("a.dat", "1"), BestScores::CourseKey("b.dat", "1"));
}

TEST(ScoresFile, DamagedFileIsKeptAsideNamedAndANewListStarts) {
    const fs::path dir = fs::path(testing::TempDir()) / "korvelin-scores";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path path = dir / "scores.json";
    BestScores good;
    good.Add("c", AnyRun(1234));
    const std::string whole = good.Serialize();
    struct Case {
        const char* what;
        std::string text;
        const char* said;
    };
    const Case cases[] = {
        {"truncated", whole.substr(0, whole.size() / 2), "not JSON"},
        {"wrong types", R"({"version": 1, "courses": {"c": [{"score": "many", "livesLeft": 1, "goal": true,
                          "date": "", "seed": 1}]}})", "\"score\" is not a whole number"},
        {"a path for a recording", R"({"version": 1, "courses": {"c": [{"score": 1, "livesLeft": 1, "goal": true,
                          "date": "", "seed": 1, "recording": "../../x"}]}})", "not a file name"},
        {"20 MB", std::string(20 << 20, ' '), "larger than 4 MB"},
    };
    for (const Case& c : cases) {
        std::ofstream(path, std::ios::binary) << c.text;
        fs::remove(dir / "scores.json.broken");
        ScoresFile file(path.string());
        testing::internal::CaptureStderr();
        const BestScores loaded = file.Load();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(loaded.courses.empty()) << c.what;
        EXPECT_NE(said.find(path.string()), std::string::npos) << c.what << ": " << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << c.what << ": " << said;
        EXPECT_NE(said.find("scores.json.broken"), std::string::npos) << c.what << ": " << said;
        EXPECT_EQ(Slurp(dir / "scores.json.broken"), c.text) << c.what;
        // The game plays on: the next run starts a new list beside the kept one.
        std::string error;
        ASSERT_TRUE(file.Save(good, &error)) << error;
        EXPECT_EQ(ScoresFile(path.string()).Load().courses, good.courses) << c.what;
    }
    EXPECT_FALSE(fs::exists(dir / "scores.json.saving"));
    fs::remove_all(dir);
}

// A list a newer game wrote (a made-up version 2 with fields of its own): its runs are read,
// and before this game writes its own list over it, the file is kept beside as it was.
TEST(ScoresFile, ANewerGamesListIsReadAndKeptBeside) {
    const fs::path dir = fs::path(testing::TempDir()) / "korvelin-scores-newer";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path path = dir / "scores.json";
    const std::string newer = R"({"version": 2, "ghosts": {"c": "ghost-1.bin"}, "courses": {"c": [
        {"score": 5000, "livesLeft": 2, "goal": true, "date": "2027-01-01T00:00:00Z", "seed": 3, "recording": "",
         "splits": [12.5, 30.1]}]}})";
    std::ofstream(path, std::ios::binary) << newer;
    ScoresFile file(path.string());
    testing::internal::CaptureStderr();
    const BestScores read = file.Load();
    ASSERT_EQ(read.Runs("c").size(), 1u) << testing::internal::GetCapturedStderr();
    EXPECT_EQ(read.Runs("c")[0].score, 5000);
    EXPECT_EQ(read.version, 2);
    platform::SaveError error;
    ASSERT_TRUE(file.Update([](BestScores& s) { return s.Add("c", AnyRun(6000)) > 0; }, &error)) << error.message;
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("scores.json.newer"), std::string::npos) << said;
    EXPECT_EQ(Slurp(dir / "scores.json.newer"), newer);
    const BestScores now = ScoresFile(path.string()).Load();
    EXPECT_EQ(now.version, 1);
    ASSERT_EQ(now.Runs("c").size(), 2u);
    EXPECT_EQ(now.Runs("c")[0].score, 6000);
    // A list that says no version, or version 0, is no scores file of any game.
    std::string why;
    EXPECT_FALSE(BestScores().Parse(R"({"version": 0, "courses": {}})", &why));
    fs::remove_all(dir);
}
