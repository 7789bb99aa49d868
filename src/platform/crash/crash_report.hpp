// Crash reports: when the game ends on a fatal signal (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT)
// or an uncaught exception, it writes crash-<date>-<time>.txt into the state folder: the version,
// the signal, a backtrace of the thread with the game's own function names, the scene and the
// frame, the last input events and the settings in effect, and nothing else of the player's.
// It names the report on standard error and ends as the signal ends a program. Everything a
// report needs is set before the crash, in buffers of fixed size; the handler itself only
// formats into them and writes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Installs the handlers; reports go to `folder` (made here; none made when empty: the
// handlers then say the crash on standard error only). `version` must outlive the process.
void InstallCrashReports(const std::string& folder, const char* version);

// Where the game stands, kept up to date by the frame loop: `scene` a name of static storage.
void SetCrashState(const char* scene, int64_t frame);
// One input event as an input script writes it ("12 down Space"); the last 32 are kept.
void NoteCrashInput(std::string_view line);
// The settings in effect, one "table.key = value" a line (cut short at 4 KiB).
void SetCrashSettings(std::string_view text);

// At a start: the newest report an earlier run left that no start has named yet (empty when
// none), now marked as named. Older reports beyond the newest nine are removed, so a crash to
// come makes at most ten.
std::string TakeNewCrashReport(const std::string& folder);

// The report the handlers would write, into `fd`, for tests of its contents.
void WriteCrashReport(int fd, int signal, const char* what);

}  // namespace platform
