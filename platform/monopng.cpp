#include "monopng.h"

#include <cstring>
#include <zlib.h>

namespace platform {

namespace {

// The repeated rows are runs of zeros that the fast levels find; the slower ones save a
// few bytes of a file of a few hundred at several times the time. A symbol is a few
// kilobytes of rows: a small hash table does, and is cleared for every file.
constexpr int kLevel = 3;
constexpr int kWindowBits = 15;
constexpr int kMemoryLevel = 2;

constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Row filters: the row as it is, or its difference from the row above.
constexpr std::uint8_t kFilterNone = 0, kFilterUp = 2;

void PutBig(std::uint8_t* at, std::uint32_t value)
{
    at[0] = std::uint8_t(value >> 24);
    at[1] = std::uint8_t(value >> 16);
    at[2] = std::uint8_t(value >> 8);
    at[3] = std::uint8_t(value);
}

}  // namespace

MonoPng::MonoPng() : stream_(new z_stream{})
{
    if (deflateInit2(stream_, kLevel, Z_DEFLATED, kWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY) != Z_OK) {
        delete stream_;
        stream_ = nullptr;
    }
}

MonoPng::~MonoPng()
{
    if (stream_) deflateEnd(stream_);
    delete stream_;
}

void MonoPng::Chunk(const char type[4], const std::uint8_t* data, std::size_t size)
{
    const std::size_t at = file_.size();
    file_.resize(at + 12 + size);
    std::uint8_t* chunk = file_.data() + at;
    PutBig(chunk, std::uint32_t(size));
    std::memcpy(chunk + 4, type, 4);
    if (size > 0) std::memcpy(chunk + 8, data, size);
    PutBig(chunk + 8 + size, std::uint32_t(crc32(0, chunk + 4, uInt(4 + size))));
}

std::string_view MonoPng::Encode(const std::uint8_t* rows, std::size_t stride, int width, int height, int dotsPerMetre)
{
    if (!stream_ || width <= 0 || height <= 0) return {};
    const std::size_t rowBytes = (std::size_t(width) + 7) / 8;
    filtered_.resize((rowBytes + 1) * std::size_t(height));
    std::uint8_t* out = filtered_.data();
    for (int y = 0; y < height; ++y, out += rowBytes + 1) {
        const std::uint8_t* row = rows + std::size_t(y) * stride;
        if (y > 0 && std::memcmp(row, row - stride, rowBytes) == 0) {
            out[0] = kFilterUp;
            std::memset(out + 1, 0, rowBytes);
        } else {
            out[0] = kFilterNone;
            std::memcpy(out + 1, row, rowBytes);
        }
    }
    if (deflateReset(stream_) != Z_OK) return {};
    compressed_.resize(deflateBound(stream_, uLong(filtered_.size())));
    stream_->next_in = filtered_.data();
    stream_->avail_in = uInt(filtered_.size());
    stream_->next_out = compressed_.data();
    stream_->avail_out = uInt(compressed_.size());
    if (deflate(stream_, Z_FINISH) != Z_STREAM_END) return {};
    const std::size_t compressedSize = compressed_.size() - stream_->avail_out;

    file_.assign(std::begin(kSignature), std::end(kSignature));
    std::uint8_t header[13];
    PutBig(header, std::uint32_t(width));
    PutBig(header + 4, std::uint32_t(height));
    header[8] = 1;    // bits per pixel
    header[9] = 3;    // palette colours
    header[10] = 0;   // deflate
    header[11] = 0;   // adaptive filters
    header[12] = 0;   // not interlaced
    Chunk("IHDR", header, sizeof header);
    const std::uint8_t palette[] = {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00};
    Chunk("PLTE", palette, sizeof palette);
    if (dotsPerMetre > 0) {
        std::uint8_t physical[9];
        PutBig(physical, std::uint32_t(dotsPerMetre));
        PutBig(physical + 4, std::uint32_t(dotsPerMetre));
        physical[8] = 1;  // metres
        Chunk("pHYs", physical, sizeof physical);
    }
    Chunk("IDAT", compressed_.data(), compressedSize);
    Chunk("IEND", nullptr, 0);
    return {reinterpret_cast<const char*>(file_.data()), file_.size()};
}

}  // namespace platform
