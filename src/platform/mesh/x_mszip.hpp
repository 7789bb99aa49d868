// The compressed .x forms (tzip, bzip): MSZIP blocks inflated with zlib.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// `file` is the whole file, header included. After the 16-byte header comes the declared size
// of the inflated file (header included), then blocks of: inflated size (16 bits, at most
// 32768), compressed size (16 bits, counting the "CK" that follows), "CK", and one raw deflate
// stream that may refer back to the bytes inflated before it. Returns the inflated body (what
// follows the header). Every block is checked against its declared size and the running total
// against the declared total before it is inflated; throws XFileError with the file offset.
std::string InflateMszip(std::string_view file);

}  // namespace platform
