#include "ui/bitmap.h"

#include <algorithm>

namespace klt::ui {

namespace {

std::uint32_t U32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

std::uint16_t U16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}

// A channel of a bit-field pixel scaled to 8 bits.
std::uint32_t Channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) ++shift;
    const std::uint32_t max = mask >> shift;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>((pixel & mask) >> shift) * 255 + max / 2) /
                                      max);
}

constexpr std::uint32_t kRgb = 0, kBitFields = 3;

}  // namespace

std::optional<Bitmap> DecodeBmp(std::string_view b) {
    constexpr std::size_t kFileHeader = 14;
    if (b.size() < kFileHeader + 12 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    const std::uint32_t dataOffset = U32(b, 10);
    const std::uint32_t infoSize = U32(b, 14);
    if (infoSize < 12 || infoSize > b.size() - kFileHeader) return std::nullopt;
    std::int64_t width = 0, height = 0;
    unsigned bits = 0;
    std::uint32_t compression = kRgb, colours = 0;
    std::size_t paletteEntry = 4;
    if (infoSize == 12) {  // the old core header
        width = U16(b, 18);
        height = static_cast<std::int16_t>(U16(b, 20));
        bits = U16(b, 24);
        paletteEntry = 3;
    } else {
        if (infoSize < 40) return std::nullopt;
        width = static_cast<std::int32_t>(U32(b, 18));
        height = static_cast<std::int32_t>(U32(b, 22));
        bits = U16(b, 28);
        compression = U32(b, 30);
        colours = U32(b, 46);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide ||
        width * height > kMaxBitmapPixels)
        return std::nullopt;

    std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    if (compression == kBitFields) {
        if (bits != 16 && bits != 32) return std::nullopt;
        // The masks follow a 40-byte header, or are part of a longer one.
        const std::size_t at = kFileHeader + 40;
        if (b.size() < at + 12) return std::nullopt;
        for (int i = 0; i < 3; ++i) masks[i] = U32(b, at + 4 * static_cast<std::size_t>(i));
    } else if (compression != kRgb) {
        return std::nullopt;
    } else if (bits == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;

    std::vector<std::uint32_t> palette;
    if (bits <= 8) {
        const std::size_t most = std::size_t{1} << bits;
        const std::size_t n = colours == 0 || colours > most ? most : colours;
        std::size_t at = kFileHeader + infoSize + (compression == kBitFields ? 12 : 0);
        for (std::size_t i = 0; i < n; ++i, at += paletteEntry) {
            if (at + 3 > b.size()) return std::nullopt;
            palette.push_back(static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
                              static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
                              static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16);
        }
        palette.resize(most, 0);  // indices beyond the stored palette read as black
    }

    const std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    const std::size_t rows = static_cast<std::size_t>(height);
    if (dataOffset > b.size() || (b.size() - dataOffset) / stride < rows) return std::nullopt;

    Bitmap out;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.pixels.resize(static_cast<std::size_t>(width) * rows);
    for (std::size_t y = 0; y < rows; ++y) {
        const char* row = b.data() + dataOffset + (topDown ? y : rows - 1 - y) * stride;
        std::uint32_t* dst = out.pixels.data() + y * static_cast<std::size_t>(width);
        for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
            std::uint32_t p = 0;
            switch (bits) {
                case 1:
                    p = palette[(static_cast<unsigned char>(row[x / 8]) >> (7 - x % 8)) & 1];
                    break;
                case 4:
                    p = palette[(static_cast<unsigned char>(row[x / 2]) >> (x % 2 ? 0 : 4)) & 0xF];
                    break;
                case 8:
                    p = palette[static_cast<unsigned char>(row[x])];
                    break;
                case 24: {
                    const auto* px = reinterpret_cast<const unsigned char*>(row + 3 * x);
                    p = px[0] | static_cast<std::uint32_t>(px[1]) << 8 |
                        static_cast<std::uint32_t>(px[2]) << 16;
                    break;
                }
                default: {
                    std::uint32_t raw = 0;
                    if (bits == 16) {
                        raw = static_cast<std::uint32_t>(static_cast<unsigned char>(row[2 * x])) |
                              static_cast<std::uint32_t>(static_cast<unsigned char>(row[2 * x + 1])) << 8;
                    } else {
                        raw = U32(std::string_view(row + 4 * x, 4), 0);
                    }
                    p = Channel(raw, masks[0]) << 16 | Channel(raw, masks[1]) << 8 | Channel(raw, masks[2]);
                    break;
                }
            }
            dst[x] = p & 0x00FFFFFF;
        }
    }
    return out;
}

std::optional<BitmapPart> VisiblePart(const Bitmap& bitmap, const Rect& source, const Rect& dest) {
    if (bitmap.width <= 0 || bitmap.height <= 0 || source.Empty() || dest.Empty() ||
        bitmap.pixels.size() !=
            static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height))
        return std::nullopt;
    const Rect inside{std::max(source.left, 0), std::max(source.top, 0), std::min(source.right, bitmap.width),
                      std::min(source.bottom, bitmap.height)};
    if (inside.Empty()) return std::nullopt;
    const auto map = [](int v, int from, int fromSize, int to, int toSize) {
        return to + static_cast<int>(static_cast<std::int64_t>(v - from) * toSize / fromSize);
    };
    const Rect lands{map(inside.left, source.left, source.Width(), dest.left, dest.Width()),
                     map(inside.top, source.top, source.Height(), dest.top, dest.Height()),
                     map(inside.right, source.left, source.Width(), dest.left, dest.Width()),
                     map(inside.bottom, source.top, source.Height(), dest.top, dest.Height())};
    if (lands.Empty()) return std::nullopt;
    return BitmapPart{inside, lands};
}

Bitmap TurnQuarter(const Bitmap& in) {
    Bitmap out;
    out.width = in.height;
    out.height = in.width;
    out.pixels.resize(in.pixels.size());
    for (int y = 0; y < in.height; ++y)
        for (int x = 0; x < in.width; ++x)
            out.pixels[static_cast<std::size_t>(in.width - 1 - x) * static_cast<std::size_t>(out.width) +
                       static_cast<std::size_t>(y)] =
                in.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(in.width) +
                          static_cast<std::size_t>(x)];
    return out;
}

}  // namespace klt::ui
