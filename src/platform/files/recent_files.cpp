// The recent files' list and its file.
#include "platform/files/recent_files.hpp"

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

std::optional<std::vector<std::string>> ParseRecentFiles(std::string_view text) {
    if (text.size() > RecentFiles::kMaxBytes || text.find('\0') != std::string_view::npos) return std::nullopt;
    std::vector<std::string> paths;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (line[0] != '/' || HasControl(line)) return std::nullopt;
        if (paths.size() < RecentFiles::kMax) paths.emplace_back(line);
    }
    return paths;
}

std::string FormatRecentFiles(const std::vector<std::string>& paths) {
    std::string text;
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
    if (std::optional<std::vector<std::string>> read = ParseRecentFiles(text)) {
        paths_ = std::move(*read);
        return;
    }
    // Not a list: kept under a name of its own, never overwritten, and the list starts afresh.
    for (int n = 1; n < 100; ++n) {
        const std::string aside = file_ + ".unreadable" + (n > 1 ? "-" + std::to_string(n) : "");
        if (fs::exists(aside, ec)) continue;
        fs::rename(file_, aside, ec);
        if (ec) break;
        message_ = file_ + " is not a list of recent courses; it was kept as " + aside;
        paths_.clear();
        return;
    }
    message_ = file_ + " is not a list of recent courses and cannot be moved aside" +
               (ec ? ": " + ec.message() : std::string()) + "; it is left as it is";
    keepOff_ = true;
}

bool RecentFiles::Add(const std::string& path) {
    namespace fs = std::filesystem;
    Load();
    if (HasControl(path)) {
        message_ = "a name with a control character in it is not kept among the recent courses";
        return false;
    }
    std::erase(paths_, path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMax) paths_.resize(kMax);
    if (file_.empty() || keepOff_) return file_.empty();
    std::error_code ec;
    fs::create_directories(fs::path(file_).parent_path(), ec);
    std::string error;
    if (ec) {
        error = "cannot create " + fs::path(file_).parent_path().string() + ": " + ec.message();
    } else if (WriteFileSafely(file_, FormatRecentFiles(paths_), &error)) {
        return true;
    }
    message_ = "the recent courses are not kept: " + error;
    return false;
}

}  // namespace platform
