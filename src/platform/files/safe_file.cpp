// Writing a file through a synced temporary file and a rename.
#include "platform/files/safe_file.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace platform {

namespace {

bool WriteAll(int fd, const std::string& text) {
    const char* p = text.data();
    size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool WriteFileSafely(const std::string& path, const std::string& text, std::string* error) {
    const std::string temp = path + ".saving";
    auto fail = [&](const char* what, const std::string& file) {
        if (error) *error = std::string(what) + " '" + file + "': " + std::strerror(errno);
        return false;
    };
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return fail("cannot create", temp);
    if (!WriteAll(fd, text) || ::fsync(fd) != 0) {
        const int saved = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        errno = saved;
        return fail("cannot write", temp);
    }
    if (::close(fd) != 0) {
        const int saved = errno;
        ::unlink(temp.c_str());
        errno = saved;
        return fail("cannot write", temp);
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const int saved = errno;
        ::unlink(temp.c_str());
        errno = saved;
        return fail("cannot replace", path);
    }
    return true;
}

std::string FreeNameBeside(const std::string& path, const std::string& suffix) {
    std::error_code ec;
    for (int n = 1; n < 1000; ++n) {
        const std::string name = path + suffix + (n == 1 ? "" : "-" + std::to_string(n));
        if (!std::filesystem::exists(std::filesystem::symlink_status(name, ec))) return name;
    }
    return {};
}

}  // namespace platform
