// The recent files' list and its file.
#include "platform/files/recent_files.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/files/safe_file.hpp"

namespace platform {

namespace {

// A line break or another control character would not read back as the same path.
bool HasControl(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return true;
    return false;
}

}  // namespace

namespace {

constexpr std::string_view kVersionLine = "# KORVELIN's recent files, version ";

// The version a first line gives; 0 for a text without one.
int VersionOf(std::string_view line) {
    if (!line.starts_with(kVersionLine)) return 0;
    int version = 0;
    for (const char c : line.substr(kVersionLine.size())) {
        if (c < '0' || c > '9' || version > 100000) return 0;
        version = version * 10 + (c - '0');
    }
    return version;
}

}  // namespace

std::optional<std::vector<std::string>> ParseRecentFiles(std::string_view text, int* version) {
    if (text.size() > RecentFiles::kMaxBytes || text.find('\0') != std::string_view::npos) return std::nullopt;
    std::vector<std::string> paths;
    int format = -1;  // unknown until the first line
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (format < 0) format = VersionOf(line);
        if (line.empty() || line[0] == '#') continue;
        if (line[0] != '/' || HasControl(line)) {
            if (format > kRecentFilesVersion) continue;  // the newer game's own
            return std::nullopt;
        }
        if (paths.size() < RecentFiles::kMax) paths.emplace_back(line);
    }
    if (version) *version = std::max(format, 0);
    return paths;
}

std::string FormatRecentFiles(const std::vector<std::string>& paths) {
    std::string text = std::string(kVersionLine) + std::to_string(kRecentFilesVersion) + "\n";
    for (const std::string& path : paths) text += path + '\n';
    return text;
}

void RecentFiles::Load() {
    namespace fs = std::filesystem;
    if (file_.empty()) return;
    message_.clear();
    keepOff_ = false;
    std::error_code ec;
    if (!fs::exists(file_, ec) && !ec) {
        paths_.clear();
        return;
    }
    if (!fs::is_regular_file(file_, ec)) {
        message_ = file_ + " is not a file; it is left as it is and the recent courses are not kept";
        keepOff_ = true;
        return;
    }
    std::ifstream in(file_, std::ios::binary);
    std::string text;
    if (in) {
        // One byte past the limit is enough to know the file is too long.
        text.resize(kMaxBytes + 1);
        in.read(text.data(), std::streamsize(text.size()));
        text.resize(size_t(in.gcount()));
    }
    if (!in && !in.eof()) {
        message_ = "cannot read the recent courses in " + file_ + ": " + std::strerror(errno) + "; it is left as it is";
        keepOff_ = true;
        return;
    }
    if (std::optional<std::vector<std::string>> read = ParseRecentFiles(text, &version_)) {
        paths_ = std::move(*read);
        return;
    }
    // Not a list: kept under a name of its own, never overwritten, and the list starts afresh.
    const std::string aside = FreeNameBeside(file_, ".unreadable");
    if (!aside.empty()) {
        fs::rename(file_, aside, ec);
        if (!ec) {
            message_ = file_ + " is not a list of recent courses; it was kept as " + aside;
            paths_.clear();
            return;
        }
    }
    message_ = file_ + " is not a list of recent courses and cannot be moved aside" +
               (ec ? ": " + ec.message() : std::string()) + "; it is left as it is";
    keepOff_ = true;
}

bool RecentFiles::Add(const std::string& path) {
    namespace fs = std::filesystem;
    if (HasControl(path)) {
        message_ = "a name with a control character in it is not kept among the recent courses";
        return false;
    }
    const auto putFirst = [&] {
        std::erase(paths_, path);
        paths_.insert(paths_.begin(), path);
        if (paths_.size() > kMax) paths_.resize(kMax);
    };
    if (file_.empty()) {
        putFirst();
        return true;
    }
    std::error_code ec;
    fs::create_directories(fs::path(file_).parent_path(), ec);
    SaveError error;
    FileLock lock;
    if (ec) {
        error.message = "cannot create " + fs::path(file_).parent_path().string() + ": " + ec.message();
    } else if (lock.Take(file_, &error)) {
        Load();
        putFirst();
        if (keepOff_) return false;
        if (version_ > kRecentFilesVersion) {
            const std::string aside = FreeNameBeside(file_, ".newer");
            fs::copy_file(file_, aside, ec);
            if (aside.empty() || ec) {
                message_ = "the recent courses are not kept: the newer game's " + file_ + " cannot be kept beside";
                return false;
            }
            message_ = file_ + " was written by a newer version of the game; it is kept as " + aside;
        }
        if (WriteFileSafely(file_, FormatRecentFiles(paths_), &error)) {
            version_ = kRecentFilesVersion;
            return true;
        }
    }
    if (!lock.held()) putFirst();  // the list in memory has it all the same
    message_ = "the recent courses are not kept: " + error.message;
    return false;
}
}  // namespace platform
