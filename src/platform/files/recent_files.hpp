// The files a person opened or saved last, newest first, remembered between sessions in a small
// file of the game's own (one absolute path per line).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The version of the list's text this game writes. Its first line says it
// ("# KORVELIN's recent files, version 1"); a text without it is of version 0, from before
// versions, and reads the same.
constexpr int kRecentFilesVersion = 1;

// The list a file's text holds; none when the text is no such list (a line that is not an
// absolute path or holds a control character, more than kMaxBytes). A line may end in "\r\n";
// blank lines and lines beginning with '#' are skipped; at most kMax are kept. A newer game's
// text is read for its paths: lines this game does not know are passed over. *version, when
// given, is the text's version.
std::optional<std::vector<std::string>> ParseRecentFiles(std::string_view text, int* version = nullptr);
// The text ParseRecentFiles reads back: the version line, then one path per line, each ended by a
// line break.
std::string FormatRecentFiles(const std::vector<std::string>& paths);

class RecentFiles {
public:
    static constexpr size_t kMax = 8;
    static constexpr size_t kMaxBytes = 64 * 1024;

    // `file` keeps the list; empty: the list lives only as long as this object.
    explicit RecentFiles(std::string file) : file_(std::move(file)) {}

    // Reads the list again (another game may have written it meanwhile). A missing file is an
    // empty list. A file that is not a list is moved aside to "<file>.unreadable" (or "-2", "-3"
    // ...) and named in message(); one that cannot be read or moved is left alone and never
    // written over.
    void Load();
    // Under the file's lock (FileLock), reads the list as it is now (with the courses another
    // game added meanwhile), puts `path` first (once) and writes the list safely; a newer game's
    // file is first kept beside as "<file>.newer". False, with message() saying why, when the
    // list could not be kept (the list in memory has the path all the same) or the path holds a
    // control character (then it is not added at all).
    bool Add(const std::string& path);

    const std::vector<std::string>& paths() const { return paths_; }
    const std::string& file() const { return file_; }
    // What went wrong with the list's file the last time, in one line; empty when nothing did.
    const std::string& message() const { return message_; }

private:
    std::string file_;
    std::vector<std::string> paths_;
    std::string message_;
    bool keepOff_ = false;  // the file is there but unreadable and still in place: never write it
    int version_ = kRecentFilesVersion;  // of the file as last read
};

}  // namespace platform
