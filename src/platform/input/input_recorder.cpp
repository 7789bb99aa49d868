// Recording a run's input.
#include "platform/input/input_recorder.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>

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

bool InputRecorder::CopyTo(const std::string& to, int64_t frame, std::string* error) {
    Flush();
    std::error_code ec;
    std::filesystem::copy_file(path_, to, std::filesystem::copy_options::overwrite_existing, ec);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> copy{ec ? nullptr : std::fopen(to.c_str(), "ab"), &std::fclose};
    if (!copy) {
        *error = to + ": cannot write the recording: " + (ec ? ec.message() : std::strerror(errno));
        return false;
    }
    InputEvent quit;
    quit.frame = frame;
    quit.type = InputEvent::Type::Quit;
    const std::string line = FormatInputEvent(quit) + "\n";
    if (std::fputs(line.c_str(), copy.get()) < 0 || std::fclose(copy.release()) != 0) {
        *error = to + ": the recording could not be written in full";
        return false;
    }
    return true;
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
