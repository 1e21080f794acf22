#include "bitcanvas.h"

#include <QImage>
#include <algorithm>
#include <cstring>

#include "platform/fonts.h"
#include "platform/textcache.h"

namespace platform {

namespace {

// Texts kept from one picture to the next; a batch of commented symbols draws a new
// comment every time, so the store is emptied when full rather than growing.
constexpr std::size_t kKeptTexts = 64;

// Row marks: a painting starts or ends on the row, or a text crosses it.
constexpr std::uint8_t kEdge = 1, kText = 2;

bool BlackOrWhite(engines::Rgb c) { return c == engines::kBlack || c == engines::kWhite; }

// Sets bits [from, to) of a row to black or white.
void FillBits(std::uint8_t* row, int from, int to, bool black)
{
    const int first = from >> 3, last = (to - 1) >> 3;
    std::uint8_t firstMask = std::uint8_t(0xFF >> (from & 7));
    const std::uint8_t lastMask = std::uint8_t(0xFF << (7 - ((to - 1) & 7)));
    if (first == last) firstMask &= lastMask;
    const auto apply = [black](std::uint8_t& byte, std::uint8_t mask) {
        byte = black ? std::uint8_t(byte | mask) : std::uint8_t(byte & ~mask);
    };
    apply(row[first], firstMask);
    if (first == last) return;
    std::memset(row + first + 1, black ? 0xFF : 0x00, std::size_t(last - first - 1));
    apply(row[last], lastMask);
}

// Copies count bits from source, starting at bit from, to row at bit to. The source
// row has a spare byte after its last bit.
void CopyBits(std::uint8_t* row, int to, const std::uint8_t* source, int from, int count)
{
    while (count > 0) {
        const int offset = to & 7, take = std::min(count, 8 - offset);
        const unsigned pair = (unsigned(source[from >> 3]) << 8) | source[(from >> 3) + 1];
        const unsigned bits = (pair >> (16 - (from & 7) - take)) & ((1u << take) - 1);
        const int shift = 8 - offset - take;
        const unsigned mask = ((1u << take) - 1) << shift;
        std::uint8_t& byte = row[to >> 3];
        byte = std::uint8_t((byte & ~mask) | (bits << shift));
        to += take;
        from += take;
        count -= take;
    }
}

}  // namespace

BitCanvas::BitCanvas() : textDpi_(PictureTextDpi()) {}

void BitCanvas::Reset(int width, int height)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    stride_ = (std::size_t(width_) + 7) / 8;
    bits_.resize(stride_ * std::size_t(height_));
    edges_.resize(std::size_t(height_) + 1);
    paints_.clear();
    rendered_ = false;
    brush_ = engines::kWhite;
    font_ = engines::Font{};
    monochrome_ = true;
    if (texts_.size() > kKeptTexts) texts_.clear();
}

void BitCanvas::FillRect(int left, int top, int right, int bottom)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    if (left >= right || top >= bottom) return;
    if (!BlackOrWhite(brush_)) monochrome_ = false;
    paints_.push_back({left, top, right, bottom, brush_ == engines::kBlack, -1, 0, 0});
    rendered_ = false;
}

// The texts of one picture stay in the store until the next Reset, which is when a full
// store is emptied: paintings refer to them by index.
int BitCanvas::DrawnText(const std::string& text)
{
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        const Glyphs& g = texts_[i];
        if (g.text == text && g.box == brush_ && g.font == font_) return int(i);
    }
    const QImage picture = TextDrawn(font_, qRgb(brush_.r, brush_.g, brush_.b), textDpi_, text).picture;
    Glyphs g{font_, brush_, text, picture.width(), picture.height(), (std::size_t(picture.width()) + 7) / 8 + 1, true, {}};
    g.bits.assign(g.stride * std::size_t(g.height), 0);
    for (int y = 0; y < g.height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        std::uint8_t* out = g.bits.data() + std::size_t(y) * g.stride;
        for (int x = 0; x < g.width; ++x) {
            const QRgb pixel = in[x] & 0xFFFFFF;
            if (pixel == 0) out[x >> 3] |= std::uint8_t(0x80 >> (x & 7));
            if (pixel != 0 && pixel != 0xFFFFFF) g.monochrome = false;
        }
    }
    texts_.push_back(std::move(g));
    return int(texts_.size() - 1);
}

bool BitCanvas::TextOut(int x, int y, const std::string& text)
{
    const int index = DrawnText(text);
    const Glyphs& g = texts_[std::size_t(index)];
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = std::min(x + g.width, width_), bottom = std::min(y + g.height, height_);
    if (left >= right || top >= bottom) return true;
    if (!g.monochrome) monochrome_ = false;
    paints_.push_back({left, top, right, bottom, false, index, x, y});
    rendered_ = false;
    return true;
}

const std::uint8_t* BitCanvas::Bits()
{
    if (!rendered_) Render();
    return bits_.data();
}

// Paints row by row in the order of the paintings. A row that no painting starts or
// ends on, and that no text crosses, is a copy of the row above.
void BitCanvas::Render()
{
    rendered_ = true;
    if (height_ == 0) return;
    std::fill(edges_.begin(), edges_.end(), 0);
    edges_[0] = kEdge;
    for (const Paint& p : paints_) {
        edges_[std::size_t(p.top)] |= kEdge;
        edges_[std::size_t(p.bottom)] |= kEdge;
        if (p.glyphs >= 0)
            for (int y = p.top; y < p.bottom; ++y) edges_[std::size_t(y)] |= kText;
    }
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = bits_.data() + std::size_t(y) * stride_;
        const std::uint8_t mark = edges_[std::size_t(y)];
        if (mark & kEdge) {
            active_.clear();
            for (std::size_t i = 0; i < paints_.size(); ++i)
                if (paints_[i].top <= y && y < paints_[i].bottom) active_.push_back(int(i));
        }
        if (mark == 0) {
            std::memcpy(row, row - stride_, stride_);
            continue;
        }
        std::memset(row, 0, stride_);
        PaintRow(y, active_);
    }
}

void BitCanvas::PaintRow(int y, const std::vector<int>& paints)
{
    std::uint8_t* row = bits_.data() + std::size_t(y) * stride_;
    for (const int i : paints) {
        const Paint& p = paints_[std::size_t(i)];
        if (p.glyphs < 0) {
            FillBits(row, p.left, p.right, p.black);
            continue;
        }
        const Glyphs& g = texts_[std::size_t(p.glyphs)];
        CopyBits(row, p.left, g.bits.data() + std::size_t(y - p.y) * g.stride, p.left - p.x, p.right - p.left);
    }
}

}  // namespace platform
