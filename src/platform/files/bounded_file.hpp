// Reading files of outside data with a limit on their size: every reader of files a player or a
// tool names goes through here, so a folder, a device or a file too large for its purpose is
// refused with a reason instead of an exception, a wait or a read without end.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Reads the file at `path` into *bytes. Regular files and pipes are read; a folder, a device
// (/dev/zero, a terminal) or a socket is refused, as is anything holding more than `maxBytes`
// (only maxBytes + 1 bytes are ever read). Opening never waits for a pipe's writer. False with
// the reason in *why, without the file's name, for the caller to put after it: "is a folder,
// not a file", "cannot open: No such file or directory", "holds more than 1 MiB, <limitName>".
bool ReadBoundedFile(const std::string& path, std::size_t maxBytes, const char* limitName, std::string* bytes,
                     std::string* why);

// Opens a regular file for reading, for readers that seek in it rather than read it whole:
// a descriptor, or -1 with the reason (as above) for a missing file, a folder, a pipe, a device
// or a socket.
int OpenRegularFile(const std::string& path, std::string* why);

// "16 MiB", "64 KiB" or "100 bytes": a size limit as messages name it.
std::string SizeText(std::size_t bytes);

}  // namespace platform
