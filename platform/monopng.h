// PNG files of black-and-white pictures made with zlib directly, for writing symbols in
// bulk: one compressor and one set of buffers serve every file, and rows that repeat the
// one above (every row through the bars) are stored as a row of zeros.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

struct z_stream_s;

namespace platform {

class MonoPng {
public:
    MonoPng();
    ~MonoPng();
    MonoPng(const MonoPng&) = delete;
    MonoPng& operator=(const MonoPng&) = delete;

    // The file of a width x height picture whose rows, stride bytes apart from rows,
    // hold one bit per pixel, the leftmost in the top bit, 1 for black; written as Qt
    // writes such a picture: palette white and black, and the physical-size chunk of
    // dotsPerMetre. The bytes stay valid until the next call; empty when zlib fails.
    std::string_view Encode(const std::uint8_t* rows, std::size_t stride, int width, int height, int dotsPerMetre);

private:
    void Chunk(const char type[4], const std::uint8_t* data, std::size_t size);

    z_stream_s* stream_;
    std::vector<std::uint8_t> filtered_, compressed_, file_;
};

}  // namespace platform
