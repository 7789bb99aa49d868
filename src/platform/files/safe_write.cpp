// The whole-file write through a temporary file.
#include "platform/files/safe_write.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

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

}  // namespace

bool WriteFileSafely(const std::string& path, const std::string& text, std::string* error) {
    const std::string temp = path + ".saving";
    auto fail = [&](const char* what) {
        if (error) *error = std::string(what) + " '" + temp + "': " + std::strerror(errno);
        return false;
    };
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return fail("cannot create");
    if (!WriteAll(fd, text) || ::fsync(fd) != 0) {
        const int saved = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        errno = saved;
        return fail("cannot write");
    }
    if (::close(fd) != 0) {
        ::unlink(temp.c_str());
        return fail("cannot write");
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const int saved = errno;
        ::unlink(temp.c_str());
        errno = saved;
        if (error) *error = "cannot replace '" + path + "': " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace platform
