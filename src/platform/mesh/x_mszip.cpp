// MSZIP inflation for compressed .x files, bounded by the sizes the file declares.
#include "platform/mesh/x_mszip.hpp"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/mesh/x_file_error.hpp"

namespace platform {

namespace {

constexpr size_t kHeaderBytes = 16;
constexpr size_t kMaxBlock = 32768;  // also the deflate window each block may look back into

[[noreturn]] void Fail(size_t offset, const std::string& what) {
    throw XFileError("offset " + std::to_string(offset) + ": " + what);
}

uint32_t Read16(std::string_view s, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(s[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8;
}

// One raw inflate stream, reset for every block.
struct Inflater {
    z_stream zs{};
    bool ready = false;
    Inflater() { ready = inflateInit2(&zs, -MAX_WBITS) == Z_OK; }
    ~Inflater() {
        if (ready) inflateEnd(&zs);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
};

}  // namespace

std::string InflateMszip(std::string_view file) {
    if (file.size() < kHeaderBytes + 4) Fail(kHeaderBytes, "the file ends before its inflated size");
    const uint32_t declared = Read16(file, kHeaderBytes) | Read16(file, kHeaderBytes + 2) << 16;
    if (declared < kHeaderBytes) Fail(kHeaderBytes, "an inflated size of " + std::to_string(declared) + " bytes");
    const size_t wanted = declared - kHeaderBytes;
    if (wanted > kXMaxFileBytes)
        Fail(kHeaderBytes, "an inflated size of " + std::to_string(declared) + " bytes, more than the " +
                               std::to_string(kXMaxFileBytes) + " this reader accepts");

    Inflater inflater;
    if (!inflater.ready) Fail(kHeaderBytes, "zlib could not start");
    std::string out;
    out.reserve(std::min(wanted, size_t{1} << 20));
    size_t p = kHeaderBytes + 4;
    while (p < file.size()) {
        if (file.size() - p < 6) Fail(p, "a block header cut off by the end of the file");
        const size_t inflated = Read16(file, p);
        const size_t compressed = Read16(file, p + 2);
        if (file.compare(p + 4, 2, "CK") != 0) Fail(p + 4, "a block without its \"CK\" signature");
        if (inflated == 0 || inflated > kMaxBlock)
            Fail(p, "a block of " + std::to_string(inflated) + " inflated bytes (1 to 32768 allowed)");
        if (compressed < 2 || compressed - 2 > file.size() - (p + 6))
            Fail(p + 2, "a block of " + std::to_string(compressed) + " compressed bytes, but only " +
                            std::to_string(file.size() - (p + 4)) + " are left");
        if (inflated > wanted - out.size())
            Fail(p, "the blocks inflate to more than the declared " + std::to_string(declared) + " bytes");

        z_stream& zs = inflater.zs;
        inflateReset(&zs);
        const size_t history = std::min(out.size(), kMaxBlock);
        if (history != 0 &&
            inflateSetDictionary(&zs, reinterpret_cast<const Bytef*>(out.data() + out.size() - history),
                                 static_cast<uInt>(history)) != Z_OK)
            Fail(p, "zlib refused the block's history");
        // One byte more than declared, so a block that inflates past its size is caught.
        const size_t start = out.size();
        out.resize(start + inflated + 1);
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(file.data() + p + 6));
        zs.avail_in = static_cast<uInt>(compressed - 2);
        zs.next_out = reinterpret_cast<Bytef*>(out.data() + start);
        zs.avail_out = static_cast<uInt>(inflated + 1);
        const int result = inflate(&zs, Z_FINISH);
        const size_t produced = inflated + 1 - zs.avail_out;
        if (produced > inflated)
            Fail(p, "a block that inflates past its declared " + std::to_string(inflated) + " bytes");
        if (result != Z_STREAM_END) {
            if (result == Z_DATA_ERROR)
                Fail(p + 6, std::string("a block that is not deflate data (") + (zs.msg ? zs.msg : "zlib") + ")");
            Fail(p + 6, "a block whose deflate data is cut off");
        }
        if (produced != inflated)
            Fail(p, "a block that inflates to " + std::to_string(produced) + " bytes, not the declared " +
                        std::to_string(inflated));
        out.resize(start + inflated);
        p += 4 + compressed;
    }
    if (out.size() != wanted)
        Fail(file.size(), "the blocks inflate to " + std::to_string(out.size() + kHeaderBytes) +
                              " bytes, not the declared " + std::to_string(declared));
    return out;
}

}  // namespace platform
