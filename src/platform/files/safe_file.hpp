// Writing a file so that a failure never leaves it half written, and two games writing it at
// once never leave it a mix of both or drop what the other added.
#pragma once

#include <chrono>
#include <string>

namespace platform {

// Why a save failed: one line for standard error (naming the file and the reason), and the
// system's error number for the player's own words (ENOSPC: the disk is full; EWOULDBLOCK:
// another game holds the file's lock).
struct SaveError {
    std::string message;
    int code = 0;
};

// Writes `text` to `path` whole or not at all: into a temporary name of this process's own
// beside it ("<path>.saving-<pid>-<n>"), flushed to the disk, renamed over `path`, and then the
// folder flushed, so the new name survives a power cut. On failure the old file is left as it
// was, the temporary is removed, and *error (when given) names the file and the reason. Two
// processes writing the same path at once each rename a whole file: the last one stands.
bool WriteFileSafely(const std::string& path, const std::string& text, SaveError* error = nullptr);
bool WriteFileSafely(const std::string& path, const std::string& text, std::string* error);

// A name beside PATH that nothing uses yet, for a file kept aside: PATH + suffix, else
// PATH + suffix + "-2", "-3" ... Empty when every one up to 999 is taken.
std::string FreeNameBeside(const std::string& path, const std::string& suffix);

// The lock of a file that more than one game gathers into (the best runs, the recent courses):
// an advisory lock (flock) on "<path>.lock" beside it, held from reading the file to renaming its
// new text over it, so another game's additions are read and kept, never dropped. The system
// lets go of it when its process ends, so a game that died never blocks the next.
class FileLock {
public:
    // How long Take waits for another game to let go, twice over.
    static constexpr std::chrono::milliseconds kWait{1000};

    FileLock() = default;
    ~FileLock() { Release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock of `path` (its folder must exist). Another game holding it is waited for up
    // to kWait, and once more; then false, with EWOULDBLOCK in *error.
    bool Take(const std::string& path, SaveError* error);
    void Release();
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace platform
