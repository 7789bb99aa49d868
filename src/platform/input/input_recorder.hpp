// Writes a run's input as an input script while it is played: the seed first, then every event
// the game takes, line by line, so even a run that ends abruptly leaves what it had so far.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/files/safe_file.hpp"
#include "platform/input/input_script.hpp"

namespace platform {

class InputRecorder {
public:
    // Creates the file and writes "# seed N". False with "FILE: reason" when it cannot.
    bool Open(const std::string& path, uint64_t seed, std::string* error);
    bool open() const { return file_ != nullptr; }
    void Write(const InputEvent& event);
    // Hands what was written so far to the system (once a frame).
    void Flush();
    // The file's descriptor (-1 when none is open), for a last line written where no stream
    // may be used: see SetLastWordsOnSignal.
    int fd() const { return file_ ? fileno(file_.get()) : -1; }
    // What was recorded so far, copied to `to` and closed there with "F quit", so the copy plays
    // frames 0 ... F - 1; written whole or not at all (WriteFileSafely). False with the reason.
    bool CopyTo(const std::string& to, int64_t frame, SaveError* error);
    const std::string& path() const { return path_; }
    // "F quit": the run ends before frame F. Closes the file; false with the reason when any of
    // it could not be written.
    bool Finish(int64_t frame, std::string* error);

private:
    std::string path_;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, &std::fclose};
};

}  // namespace platform
