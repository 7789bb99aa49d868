// WaveFile: walks the RIFF chunks itself, checking every size against the bytes that exist.
#include "sound/wave_file.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/files/bounded_file.hpp"

namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

constexpr uint64_t kFormStart = 12;  // first byte after "RIFF", its size and "WAVE"

}  // namespace

const char* WaveFormatTagName(uint16_t formatTag) {
    switch (formatTag) {
        case kWaveFormatPcm: return "PCM";
        case 0x0002: return "MS ADPCM";
        case kWaveFormatIeeeFloat: return "IEEE float";
        case 0x0006: return "A-law";
        case 0x0007: return "mu-law";
        case 0x0011: return "IMA ADPCM";
        case 0x0055: return "MPEG layer 3";
        case kWaveFormatExtensible: return "extensible";
        default: return "unknown";
    }
}

bool WaveFile::Open(const char* path) {
    Close();
    error_.clear();
    // A folder would open as a file does, and a device or a pipe has no end to seek to.
    std::string why;
    const int fd = platform::OpenRegularFile(path, &why);
    if (fd < 0) return Fail(why);
    std::FILE* f = fdopen(fd, "rb");
    if (f == nullptr) {
        why = std::string("cannot open: ") + std::strerror(errno);
        ::close(fd);
        return Fail(why);
    }
    file_.reset(f);
    if (fseeko(f, 0, SEEK_END) != 0) return Fail(std::string("cannot seek: ") + std::strerror(errno));
    const off_t end = ftello(f);
    if (end < 0) return Fail(std::string("cannot tell its size: ") + std::strerror(errno));
    size_ = static_cast<uint64_t>(end);
    return Parse();
}

bool WaveFile::OpenMemory(std::span<const uint8_t> bytes) {
    Close();
    error_.clear();
    memory_ = bytes;
    size_ = bytes.size();
    return Parse();
}

void WaveFile::Close() {
    file_.reset();
    memory_ = {};
    size_ = 0;
    isOpen_ = false;
    format_ = WaveFormat{};
    dataOffset_ = 0;
    dataSize_ = declaredDataSize_ = remaining_ = 0;
}

bool WaveFile::Fail(std::string message) {
    Close();
    error_ = std::move(message);
    return false;
}

bool WaveFile::ReadAt(uint64_t offset, void* dest, size_t count) {
    if (count == 0) return true;
    if (offset > size_ || count > size_ - offset) return false;
    if (file_) {
        if (fseeko(file_.get(), static_cast<off_t>(offset), SEEK_SET) != 0) return false;
        return std::fread(dest, 1, count, file_.get()) == count;
    }
    std::memcpy(dest, memory_.data() + offset, count);
    return true;
}

bool WaveFile::Parse() {
    uint8_t header[12];
    if (size_ < sizeof header) return Fail("too short for a RIFF header");
    if (!ReadAt(0, header, sizeof header)) return Fail("cannot read the RIFF header");
    if (std::memcmp(header, "RIFF", 4) != 0) return Fail("not a RIFF file");
    if (std::memcmp(header + 8, "WAVE", 4) != 0) return Fail("RIFF form is not WAVE");
    // The walk stays inside the form; a form that claims more than the file is cut to the file.
    const uint64_t formEnd = std::min<uint64_t>(size_, 8 + uint64_t{Le32(header + 4)});

    // Finds a chunk by its id from the first byte after the form type, stepping over the pad
    // byte after odd sizes. A chunk that runs past the end ends the walk.
    auto findChunk = [&](const char* id, uint64_t* body, uint32_t* declared) {
        uint64_t pos = kFormStart;
        while (pos + 8 <= formEnd) {
            uint8_t ck[8];
            if (!ReadAt(pos, ck, sizeof ck)) return false;
            const uint32_t ckSize = Le32(ck + 4);
            if (std::memcmp(ck, id, 4) == 0) {
                *body = pos + 8;
                *declared = ckSize;
                return true;
            }
            pos += 8 + uint64_t{ckSize} + (ckSize & 1u);
        }
        return false;
    };

    uint64_t fmtBody = 0;
    uint32_t fmtSize = 0;
    if (!findChunk("fmt ", &fmtBody, &fmtSize)) return Fail("no \"fmt \" chunk");
    if (fmtSize < 16) return Fail("\"fmt \" chunk is " + std::to_string(fmtSize) + " bytes, needs 16");
    const uint64_t fmtAvailable = std::min<uint64_t>(fmtSize, size_ - fmtBody);
    uint8_t pcm[16];
    if (fmtAvailable < sizeof pcm || !ReadAt(fmtBody, pcm, sizeof pcm))
        return Fail("file ends inside the \"fmt \" chunk");

    WaveFormat fmt;
    fmt.formatTag = Le16(pcm);
    fmt.channels = Le16(pcm + 2);
    fmt.samplesPerSec = Le32(pcm + 4);
    fmt.avgBytesPerSec = Le32(pcm + 8);
    fmt.blockAlign = Le16(pcm + 12);
    fmt.bitsPerSample = Le16(pcm + 14);
    // Any format but PCM keeps its cbSize and the bytes after it. A 16-byte chunk has no room
    // for cbSize (plain float files are written that way), so it means no extra bytes rather
    // than reading the next chunk's header as a size.
    if (fmt.formatTag != kWaveFormatPcm && fmtSize >= 18) {
        uint8_t cb[2];
        if (fmtAvailable < 18 || !ReadAt(fmtBody + 16, cb, sizeof cb))
            return Fail("file ends inside the \"fmt \" chunk");
        fmt.cbSize = Le16(cb);
        if (18u + fmt.cbSize > fmtSize)
            return Fail("\"fmt \" extra size " + std::to_string(fmt.cbSize) + " runs past its chunk");
        if (18u + fmt.cbSize > fmtAvailable) return Fail("file ends inside the \"fmt \" extra bytes");
        fmt.extra.resize(fmt.cbSize);
        if (!ReadAt(fmtBody + 18, fmt.extra.data(), fmt.extra.size()))
            return Fail("cannot read the \"fmt \" extra bytes");
    }
    if (fmt.channels == 0) return Fail("zero channels");
    if (fmt.samplesPerSec == 0) return Fail("zero sample rate");
    if (fmt.blockAlign == 0) return Fail("zero block align");

    uint64_t dataBody = 0;
    uint32_t dataSize = 0;
    if (!findChunk("data", &dataBody, &dataSize)) return Fail("no \"data\" chunk");

    format_ = std::move(fmt);
    dataOffset_ = dataBody;
    declaredDataSize_ = dataSize;
    dataSize_ = static_cast<uint32_t>(std::min<uint64_t>(dataSize, size_ - dataBody));
    remaining_ = dataSize_;
    isOpen_ = true;
    return true;
}

bool WaveFile::Read(size_t count, void* dest, size_t* bytesRead) {
    if (bytesRead != nullptr) *bytesRead = 0;
    if (!isOpen_) return false;
    const size_t n = std::min<size_t>(count, remaining_);
    if (!ReadAt(dataOffset_ + (dataSize_ - remaining_), dest, n)) {
        error_ = "cannot read the sample bytes";
        return false;
    }
    remaining_ -= static_cast<uint32_t>(n);
    if (bytesRead != nullptr) *bytesRead = n;
    return true;
}
