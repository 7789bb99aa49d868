// The safe write, and the lock of a file that games gather into.
#include "platform/files/safe_file.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

namespace platform {

namespace {

bool WriteAll(int fd, const std::string& text) {
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// A temporary name no other process and no other save of this one uses.
std::string TemporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".saving-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

// The folder's entry for the renamed file, flushed; a folder that cannot be opened for it (some
// file systems) is no failure of the save.
void FlushFolder(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty()) folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool Fail(SaveError* error, std::string message, int code) {
    if (error) {
        error->message = std::move(message);
        error->code = code;
    }
    return false;
}

}  // namespace

bool WriteFileSafely(const std::string& path, const std::string& text, SaveError* error) {
    const std::string temp = TemporaryName(path);
    auto failWith = [&](const char* what) {
        const int code = errno;
        ::unlink(temp.c_str());
        return Fail(error, std::string(what) + " '" + temp + "': " + std::strerror(code), code);
    };
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return Fail(error, std::string("cannot create '") + temp + "': " + std::strerror(errno), errno);
    if (!WriteAll(fd, text) || ::fsync(fd) != 0) {
        const int code = errno;
        ::close(fd);
        errno = code;
        return failWith("cannot write");
    }
    if (::close(fd) != 0) return failWith("cannot write");
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        return Fail(error, "cannot replace '" + path + "': " + std::strerror(code), code);
    }
    FlushFolder(path);
    return true;
}

bool WriteFileSafely(const std::string& path, const std::string& text, std::string* error) {
    SaveError why;
    if (WriteFileSafely(path, text, &why)) return true;
    if (error) *error = why.message;
    return false;
}

std::string FreeNameBeside(const std::string& path, const std::string& suffix) {
    std::error_code ec;
    for (int n = 1; n < 1000; ++n) {
        std::string name = path + suffix;
        if (n > 1) name.append("-").append(std::to_string(n));
        if (!std::filesystem::exists(std::filesystem::symlink_status(name, ec))) return name;
    }
    return {};
}

bool FileLock::Take(const std::string& path, SaveError* error) {
    Release();
    const std::string name = path + ".lock";
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return Fail(error, "cannot open the lock '" + name + "': " + std::strerror(errno), errno);
    constexpr auto kStep = std::chrono::milliseconds(10);
    // Another game saving holds it for a few milliseconds; one stuck in a save (a slow disk)
    // gets a second wait before this save gives up.
    for (int wait = 0; wait < 2; ++wait) {
        const auto until = std::chrono::steady_clock::now() + kWait;
        do {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                fd_ = fd;
                return true;
            }
            if (errno != EWOULDBLOCK && errno != EINTR) {
                const int code = errno;
                ::close(fd);
                return Fail(error, "cannot lock '" + name + "': " + std::strerror(code), code);
            }
            std::this_thread::sleep_for(kStep);
        } while (std::chrono::steady_clock::now() < until);
    }
    ::close(fd);
    return Fail(error, "'" + path + "' is being saved by another game (its lock '" + name + "' is held)", EWOULDBLOCK);
}

void FileLock::Release() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace platform
