// Recording a run's input.
#include "platform/input/input_recorder.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace platform {

bool InputRecorder::Open(const std::string& path, uint64_t seed, std::string* error) {
    file_.reset(std::fopen(path.c_str(), "wb"));
    if (!file_) {
        *error = path + ": cannot write the recording: " + std::strerror(errno);
        return false;
    }
    path_ = path;
    std::fprintf(file_.get(), "# seed %llu\n", static_cast<unsigned long long>(seed));
    return true;
}

void InputRecorder::Write(const InputEvent& event) {
    if (!file_) return;
    const std::string line = FormatInputEvent(event);
    if (line.empty()) return;
    std::fputs(line.c_str(), file_.get());
    std::fputc('\n', file_.get());
}

void InputRecorder::Flush() {
    if (file_) std::fflush(file_.get());
}

bool InputRecorder::CopyTo(const std::string& to, int64_t frame, SaveError* error) {
    Flush();
    std::ifstream in(path_, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        if (error) *error = {path_ + ": cannot read the recording: " + std::strerror(errno), errno};
        return false;
    }
    InputEvent quit;
    quit.frame = frame;
    quit.type = InputEvent::Type::Quit;
    text += FormatInputEvent(quit) + "\n";
    return WriteFileSafely(to, text, error);
}

bool InputRecorder::Finish(int64_t frame, std::string* error) {
    if (!file_) return true;
    InputEvent quit;
    quit.frame = frame;
    quit.type = InputEvent::Type::Quit;
    Write(quit);
    const bool failed = std::ferror(file_.get()) != 0;
    if (std::fclose(file_.release()) != 0 || failed) {
        *error = path_ + ": the recording could not be written in full";
        return false;
    }
    return true;
}

}  // namespace platform
