// The crash handlers and their reports.
#include "platform/crash/crash_report.hpp"

#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/files/safe_file.hpp"

namespace platform {

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr size_t kInputLines = 32, kInputLineBytes = 96, kSettingsBytes = 4096, kFolderBytes = 3072;
constexpr size_t kKeptReports = 9;  // before the next crash adds the tenth

// The state a report tells, written by the game and read only by the handler.
struct State {
    char folder[kFolderBytes] = {};
    const char* version = "";
    std::atomic<const char*> scene{"none"};
    std::atomic<int64_t> frame{-1};
    char input[kInputLines][kInputLineBytes] = {};
    std::atomic<size_t> inputCount{0};
    char settings[kSettingsBytes] = {};
    char* demangled = nullptr;  // malloc'ed before any crash, for __cxa_demangle
    size_t demangledSize = 0;
    std::atomic<bool> reporting{false};
};
State gState;
alignas(16) char gAltStack[64 * 1024];  // the handler's own stack: a stack overflow is a crash too

// Writing without the C library's streams, which a crash may have left locked.
void Put(int fd, const char* text) {
    size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t n = ::write(fd, text, left);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            return;
        }
        text += n;
        left -= size_t(n);
    }
}

// A whole number as text into buf (at least 24 bytes), zero-padded to `width`.
const char* Digits(char* buf, uint64_t value, int width = 1) {
    char tmp[24];
    int n = 0;
    do {
        tmp[n++] = char('0' + value % 10);
        value /= 10;
    } while (value && n < 23);
    while (n < width && n < 23) tmp[n++] = '0';
    for (int i = 0; i < n; ++i) buf[i] = tmp[n - 1 - i];
    buf[n] = '\0';
    return buf;
}

const char* Hex(char* buf, uintptr_t value) {
    static const char kHex[] = "0123456789abcdef";
    char tmp[20];
    int n = 0;
    do {
        tmp[n++] = kHex[value & 15];
        value >>= 4;
    } while (value && n < 19);
    buf[0] = '0';
    buf[1] = 'x';
    for (int i = 0; i < n; ++i) buf[2 + i] = tmp[n - 1 - i];
    buf[2 + n] = '\0';
    return buf;
}

const char* SignalName(int signal) {
    switch (signal) {
        case SIGSEGV: return "SIGSEGV (a bad memory access)";
        case SIGBUS: return "SIGBUS (a bad memory access)";
        case SIGFPE: return "SIGFPE (an arithmetic fault)";
        case SIGILL: return "SIGILL (an illegal instruction)";
        case SIGABRT: return "SIGABRT (the program aborted)";
        default: return "a fatal signal";
    }
}

// "crash-20261209-211502" from the clock: the civil date from the days since 1970, without the
// C library's time functions, which are not for signal handlers.
void ReportName(char* out, size_t size, const char* suffix) {
    const int64_t now = int64_t(::time(nullptr));
    int64_t days = now / 86400, secs = now % 86400;
    days += 719468;
    const int64_t era = days / 146097, doe = days - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
    const int64_t day = doy - (153 * mp + 2) / 5 + 1, month = mp < 10 ? mp + 3 : mp - 9;
    const int64_t year = yoe + era * 400 + (month <= 2);
    char num[24];
    out[0] = '\0';
    auto add = [&](const char* piece) { std::strncat(out, piece, size - std::strlen(out) - 1); };
    add(gState.folder);
    add("/crash-");
    add(Digits(num, uint64_t(year), 4));
    add(Digits(num, uint64_t(month), 2));
    add(Digits(num, uint64_t(day), 2));
    add("-");
    add(Digits(num, uint64_t(secs / 3600), 2));
    add(Digits(num, uint64_t(secs / 60 % 60), 2));
    add(Digits(num, uint64_t(secs % 60), 2));
    add(suffix);
    add(".txt");
}

void Backtrace(int fd) {
    void* frames[64];
    const int n = ::backtrace(frames, 64);
    Put(fd, "\nbacktrace (innermost first):\n");
    ::backtrace_symbols_fd(frames, n, fd);
    // The same frames with the game's functions by their names as written in the code.
    // The same frames with the game's functions by their names as written in the code, from the
    // one the crash stopped in (the handler's own are left out).
    int first = 0;
    for (int i = 0; i < n; ++i) {
        Dl_info info{};
        if (::dladdr(frames[i], &info) && info.dli_sname &&
            (std::strcmp(info.dli_sname, "KorvelinOnFatalSignal") == 0 || std::strcmp(info.dli_sname, "KorvelinOnTerminate") == 0))
            first = i + 1;
    }
    Put(fd, "\nfunctions:\n");
    char num[24];
    for (int i = first; i < n; ++i) {
        Dl_info info{};
        Put(fd, "  ");
        Put(fd, Digits(num, uint64_t(i), 2));
        Put(fd, "  ");
        if (::dladdr(frames[i], &info) && info.dli_sname) {
            int status = -1;
            size_t size = gState.demangledSize;
            char* name = gState.demangled && std::strlen(info.dli_sname) < 2048
                             ? abi::__cxa_demangle(info.dli_sname, gState.demangled, &size, &status)
                             : nullptr;
            if (status == 0 && name) {
                gState.demangled = name;
                gState.demangledSize = std::max(size, gState.demangledSize);
            }
            Put(fd, status == 0 && name ? name : info.dli_sname);
        } else {
            Put(fd, "?");
        }
        Put(fd, "  ");
        Put(fd, Hex(num, reinterpret_cast<uintptr_t>(frames[i])));
        Put(fd, "\n");
    }
}

}  // namespace

void WriteCrashReport(int fd, int signal, const char* what) {
    char num[24];
    Put(fd, "KORVELIN crash report\nversion: ");
    Put(fd, gState.version);
    Put(fd, "\nwhat: ");
    Put(fd, what ? what : SignalName(signal));
    Put(fd, "\nscene: ");
    Put(fd, gState.scene.load());
    Put(fd, "\nframe: ");
    const int64_t frame = gState.frame.load();
    Put(fd, frame < 0 ? "none" : Digits(num, uint64_t(frame)));
    Put(fd, "\n");
    Backtrace(fd);
    Put(fd, "\nlast input events (oldest first):\n");
    const size_t count = gState.inputCount.load();
    for (size_t i = count > kInputLines ? count - kInputLines : 0; i < count; ++i) {
        Put(fd, "  ");
        Put(fd, gState.input[i % kInputLines]);
        Put(fd, "\n");
    }
    Put(fd, "\nsettings in effect:\n");
    Put(fd, gState.settings);
    Put(fd, "\n");
}

namespace {

// Writes the report, names it, and gives the signal back to its default way of ending.
void Report(int signal, const char* what) {
    if (gState.reporting.exchange(true)) return;
    char path[kFolderBytes + 64];
    int fd = -1;
    if (gState.folder[0]) {
        ReportName(path, sizeof path, "");
        fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            // Two crashes in one second: the second takes its process's number.
            char num[24];
            ReportName(path, sizeof path, "-");
            path[std::strlen(path) - 4] = '\0';
            std::strncat(path, Digits(num, uint64_t(::getpid())), sizeof path - std::strlen(path) - 1);
            std::strncat(path, ".txt", sizeof path - std::strlen(path) - 1);
            fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        }
    }
    Put(STDERR_FILENO, "korvelin: the game crashed: ");
    Put(STDERR_FILENO, what ? what : SignalName(signal));
    if (fd >= 0) {
        WriteCrashReport(fd, signal, what);
        ::fsync(fd);
        ::close(fd);
        Put(STDERR_FILENO, "; a report is in ");
        Put(STDERR_FILENO, path);
    }
    Put(STDERR_FILENO, "\n");
}

}  // namespace

// Named, so a report's backtrace can leave the handler's own frames out.
extern "C" void KorvelinOnFatalSignal(int signal, siginfo_t*, void*) {
    Report(signal, nullptr);
    // SA_RESETHAND put the default back: raised again, the signal ends the game as it ends any
    // program (and leaves a core where the system keeps them).
    ::raise(signal);
}

extern "C" [[noreturn]] void KorvelinOnTerminate() {
    std::string what = "an uncaught exception";
    if (const std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& e) {
            what += std::string(": ") + e.what();
        } catch (...) {
        }
    }
    Report(SIGABRT, what.c_str());
    std::signal(SIGABRT, SIG_DFL);
    std::abort();
}

void InstallCrashReports(const std::string& folder, const char* version) {
    std::error_code ec;
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    const size_t n = folder.size() < kFolderBytes ? folder.size() : 0;  // a folder too long for the buffer: none
    std::memcpy(gState.folder, folder.data(), n);
    gState.folder[n] = '\0';
    gState.version = version;
    if (!gState.demangled) {
        gState.demangledSize = 16 * 1024;
        gState.demangled = static_cast<char*>(std::malloc(gState.demangledSize));
    }
    // The first backtrace loads what it needs (and allocates): not in the handler.
    void* warm[4];
    ::backtrace(warm, 4);
    stack_t alt{};
    alt.ss_sp = gAltStack;
    alt.ss_size = sizeof gAltStack;
    ::sigaltstack(&alt, nullptr);
    struct sigaction action {};
    action.sa_sigaction = KorvelinOnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_RESETHAND | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
    std::set_terminate(KorvelinOnTerminate);
}

void SetCrashState(const char* scene, int64_t frame) {
    gState.scene.store(scene ? scene : "none");
    gState.frame.store(frame);
}

void NoteCrashInput(std::string_view line) {
    const size_t index = gState.inputCount.load() % kInputLines;
    const size_t n = std::min(line.size(), kInputLineBytes - 1);
    std::memcpy(gState.input[index], line.data(), n);
    gState.input[index][n] = '\0';
    gState.inputCount.fetch_add(1);
}

void SetCrashSettings(std::string_view text) {
    const size_t n = std::min(text.size(), kSettingsBytes - 1);
    std::memcpy(gState.settings, text.data(), n);
    gState.settings[n] = '\0';
}

std::string TakeNewCrashReport(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::vector<fs::path> reports;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("crash-") && name.ends_with(".txt") && entry.is_regular_file(ec)) reports.push_back(entry.path());
    }
    // The names hold the date and time, so they sort in the order the crashes came.
    std::sort(reports.begin(), reports.end());
    while (reports.size() > kKeptReports) {
        fs::remove(reports.front(), ec);
        reports.erase(reports.begin());
    }
    if (reports.empty()) return {};
    const fs::path told = fs::path(folder) / "crash-told";
    std::ifstream in(told);
    std::string last;
    std::getline(in, last);
    const std::string newest = reports.back().filename().string();
    if (last == newest) return {};
    WriteFileSafely(told.string(), newest + "\n", static_cast<SaveError*>(nullptr));
    return reports.back().string();
}

}  // namespace platform
