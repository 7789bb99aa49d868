// Crash reports: an uncaught exception leaves a report with what it was, where the game stood,
// its last input and its settings, and ends the game as an abort does; a start names only a
// report no start has named, and keeps no more than the newest ones.
#include "platform/crash/crash_report.hpp"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(CrashReport, AnUncaughtExceptionLeavesAReportAndEndsAsAnAbort) {
    const fs::path folder = fs::path(testing::TempDir()) / "korvelin-crash";
    fs::remove_all(folder);
    const pid_t child = ::fork();
    if (child == 0) {
        platform::InstallCrashReports(folder.string(), "9.9.9");
        platform::SetCrashState("game", 1234);
        for (int i = 0; i < 40; ++i) platform::NoteCrashInput(std::to_string(i) + " down Space");
        platform::SetCrashSettings("audio.music = 70\n");
        ::dup2(::open("/dev/null", O_WRONLY), STDERR_FILENO);
        // Out of the test's own reach: gtest would catch it in the test body.
        std::thread([] { throw std::runtime_error("the gate list ran out"); }).join();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT) << status;
    std::vector<fs::path> reports;
    for (const auto& entry : fs::directory_iterator(folder)) reports.push_back(entry.path());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].filename().string().starts_with("crash-")) << reports[0];
    const std::string text = Slurp(reports[0]);
    for (const char* part : {"version: 9.9.9", "what: an uncaught exception: the gate list ran out", "scene: game",
                             "frame: 1234", "backtrace", "  39 down Space", "audio.music = 70"})
        EXPECT_NE(text.find(part), std::string::npos) << part << " in:\n" << text;
    EXPECT_EQ(text.find("  7 down Space\n"), std::string::npos) << "only the last 32 input events";
    EXPECT_NE(text.find("  8 down Space\n"), std::string::npos);

    // The first start after it names it, the next does not; of many, the newest nine stay.
    EXPECT_EQ(platform::TakeNewCrashReport(folder.string()), reports[0].string());
    EXPECT_EQ(platform::TakeNewCrashReport(folder.string()), "");
    for (int i = 10; i < 25; ++i) std::ofstream(folder / ("crash-20260101-0000" + std::to_string(i) + ".txt")) << i;
    EXPECT_EQ(platform::TakeNewCrashReport(folder.string()), "") << "older ones are not news";
    EXPECT_TRUE(fs::exists(reports[0])) << "the newest stays";
    int kept = 0;
    for (const auto& entry : fs::directory_iterator(folder)) kept += entry.path().filename().string().ends_with(".txt");
    EXPECT_EQ(kept, 9);
    fs::remove_all(folder);
}

}  // namespace
