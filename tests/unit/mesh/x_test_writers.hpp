// Binary .x files and MSZIP compression, written by the tests and the benchmark.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// Builds a binary .x file token by token.
class XBinaryWriter {
public:
    explicit XBinaryWriter(bool doubles = false) : bytes_(doubles ? "xof 0303bin 0064" : "xof 0303bin 0032"),
                                                    doubles_(doubles) {}

    XBinaryWriter& Name(std::string_view name) { return Token(1).Dword(uint32_t(name.size())).Raw(name); }
    // A string ends with a separator token; `terminator` 0 leaves it out.
    XBinaryWriter& String(std::string_view s, uint16_t terminator = 0x14) {
        Token(2).Dword(uint32_t(s.size())).Raw(s);
        return terminator ? Token(terminator) : *this;
    }
    XBinaryWriter& Open() { return Token(0x0a); }
    XBinaryWriter& Close() { return Token(0x0b); }
    XBinaryWriter& Ints(const std::vector<uint32_t>& values) {
        Token(6).Dword(uint32_t(values.size()));
        for (uint32_t v : values) Dword(v);
        return *this;
    }
    XBinaryWriter& Floats(const std::vector<double>& values) {
        Token(7).Dword(uint32_t(values.size()));
        for (double v : values) {
            if (doubles_) {
                Raw(std::string_view(reinterpret_cast<const char*>(&v), 8));
            } else {
                const float f = static_cast<float>(v);
                Raw(std::string_view(reinterpret_cast<const char*>(&f), 4));
            }
        }
        return *this;
    }
    XBinaryWriter& Token(uint16_t t) { return Raw(std::string_view(reinterpret_cast<const char*>(&t), 2)); }
    XBinaryWriter& Dword(uint32_t v) { return Raw(std::string_view(reinterpret_cast<const char*>(&v), 4)); }
    XBinaryWriter& Raw(std::string_view s) {
        bytes_ += s;
        return *this;
    }
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
    bool doubles_;
};

inline void AppendLe(std::string& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}

// The compressed form of a whole .x file ("txt " becomes "tzip", "bin " becomes "bzip"): blocks of
// `blockSize` bytes, each deflated with the one before it as history, as MSZIP writes them.
inline std::string MszipCompress(std::string_view file, size_t blockSize = 32768) {
    std::string out(file.substr(0, 16));
    out.replace(8, 4, out.compare(8, 4, "txt ") == 0 ? "tzip" : "bzip");
    AppendLe(out, uint32_t(file.size()), 4);
    z_stream zs{};
    deflateInit2(&zs, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string_view body = file.substr(16);
    std::string_view previous;
    for (size_t at = 0; at < body.size(); at += blockSize) {
        const std::string_view block = body.substr(at, blockSize);
        deflateReset(&zs);
        if (!previous.empty())
            deflateSetDictionary(&zs, reinterpret_cast<const Bytef*>(previous.data()), uInt(previous.size()));
        std::string packed(deflateBound(&zs, uLong(block.size())) + 16, '\0');
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(block.data()));
        zs.avail_in = uInt(block.size());
        zs.next_out = reinterpret_cast<Bytef*>(packed.data());
        zs.avail_out = uInt(packed.size());
        deflate(&zs, Z_FINISH);
        packed.resize(packed.size() - zs.avail_out);
        AppendLe(out, uint32_t(block.size()), 2);
        AppendLe(out, uint32_t(packed.size() + 2), 2);
        out += "CK";
        out += packed;
        previous = block;
    }
    deflateEnd(&zs);
    return out;
}
