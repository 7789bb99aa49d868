// Whole-file reads with a size limit, on POSIX calls: no stream can throw, and nothing but the
// limit decides how much is read.
#include "platform/files/bounded_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

std::string Errno(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// Opens `path` without waiting for a pipe's writer and refuses what is not a file; on success
// the descriptor reads blocking again (a pipe with a writer gives what it writes, one without
// ends at once) and *st describes it.
int OpenFile(const std::string& path, bool pipes, struct stat* st, std::string* why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        *why = Errno("cannot open");
        return -1;
    }
    const char* refusal = nullptr;
    if (::fstat(fd, st) != 0)
        *why = Errno("cannot read");
    else if (S_ISDIR(st->st_mode))
        refusal = "is a folder, not a file";
    else if (S_ISFIFO(st->st_mode) && !pipes)
        refusal = "is a pipe, not a file";
    else if (!S_ISREG(st->st_mode) && !S_ISFIFO(st->st_mode))
        refusal = "is not a file (a device or a socket)";
    else if (const int flags = ::fcntl(fd, F_GETFL); flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        *why = Errno("cannot read");
    else
        return fd;
    if (refusal) *why = refusal;
    ::close(fd);
    return -1;
}

}  // namespace

std::string SizeText(std::size_t bytes) {
    constexpr std::size_t kKiB = 1024, kMiB = kKiB * 1024;
    if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
    if (bytes >= kKiB && bytes % kKiB == 0) return std::to_string(bytes / kKiB) + " KiB";
    return std::to_string(bytes) + " bytes";
}

int OpenRegularFile(const std::string& path, std::string* why) {
    struct stat st {};
    return OpenFile(path, false, &st, why);
}

bool ReadBoundedFile(const std::string& path, std::size_t maxBytes, const char* limitName, std::string* bytes,
                     std::string* why) {
    bytes->clear();
    const std::string tooLarge = "holds more than " + SizeText(maxBytes) + ", " + limitName;
    struct stat st {};
    const int fd = OpenFile(path, true, &st, why);
    if (fd < 0) return false;
    bool ok = true;
    if (S_ISREG(st.st_mode) && static_cast<unsigned long long>(st.st_size) > maxBytes) {
        *why = tooLarge;
        ok = false;
    }
    if (ok && S_ISREG(st.st_mode)) bytes->reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    while (ok) {
        const std::size_t room = maxBytes + 1 - bytes->size();
        const ssize_t n = ::read(fd, buffer, room < sizeof buffer ? room : sizeof buffer);
        if (n == 0) break;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            *why = Errno("cannot read");
            ok = false;
        } else if (bytes->append(buffer, static_cast<std::size_t>(n)); bytes->size() > maxBytes) {
            *why = tooLarge;
            ok = false;
        }
    }
    ::close(fd);
    if (!ok) bytes->clear();
    return ok;
}

}  // namespace platform
