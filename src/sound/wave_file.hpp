// WaveFile: a bounds-checked reader of RIFF WAVE files, from disk or from memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The "fmt " chunk as the game keeps it: the 16 bytes every WAVE file has, then cbSize and the
// extra bytes that follow it. PCM always gets cbSize 0 and no extra bytes.
struct WaveFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t cbSize = 0;
    std::vector<uint8_t> extra;  // exactly cbSize bytes
};

inline constexpr uint16_t kWaveFormatPcm = 0x0001;
inline constexpr uint16_t kWaveFormatIeeeFloat = 0x0003;
inline constexpr uint16_t kWaveFormatExtensible = 0xFFFE;

// Reads one WAVE file: Open finds "fmt " and "data", Read hands out the sample bytes in order.
// Nothing is trusted: every chunk size is checked against the bytes that really exist, so a
// lying header never makes us allocate or read past the end. A "data" chunk that declares more
// than the file holds is cut to what is there (a recording that was cut short still plays).
class WaveFile {
public:
    WaveFile() = default;
    ~WaveFile() = default;
    WaveFile(const WaveFile&) = delete;
    WaveFile& operator=(const WaveFile&) = delete;
    WaveFile(WaveFile&&) noexcept = default;
    WaveFile& operator=(WaveFile&&) noexcept = default;

    // Opens a file on disk. False (with Error() saying why) when it is missing or malformed.
    bool Open(const char* path);
    // Opens a WAVE image in memory; the bytes must outlive the reader (they are not copied).
    bool OpenMemory(std::span<const uint8_t> bytes);
    // Copies up to count bytes of "data" into dest; bytesRead gets how many. False only when
    // nothing is open or the disk read fails; at the end of "data" it reads 0 bytes and succeeds.
    bool Read(size_t count, void* dest, size_t* bytesRead);
    void Close();

    bool IsOpen() const { return isOpen_; }
    const WaveFormat& Format() const { return format_; }
    // Sample bytes that really exist in the file, and what the "data" header claimed.
    uint32_t DataSize() const { return dataSize_; }
    uint32_t DeclaredDataSize() const { return declaredDataSize_; }
    // Sample bytes not yet handed out by Read.
    uint32_t Remaining() const { return remaining_; }
    const std::string& Error() const { return error_; }

private:
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    bool Parse();
    bool Fail(std::string message);
    bool ReadAt(uint64_t offset, void* dest, size_t count);

    std::unique_ptr<std::FILE, FileCloser> file_;
    std::span<const uint8_t> memory_;
    uint64_t size_ = 0;  // bytes in the file or the memory image

    bool isOpen_ = false;
    WaveFormat format_;
    uint64_t dataOffset_ = 0;
    uint32_t dataSize_ = 0;
    uint32_t declaredDataSize_ = 0;
    uint32_t remaining_ = 0;
    std::string error_;
};

// A short name for a format tag ("PCM", "IEEE float", "extensible", ...), or "unknown".
const char* WaveFormatTagName(uint16_t formatTag);
