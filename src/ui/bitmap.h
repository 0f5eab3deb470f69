#pragma once
// Pictures read from files (the halls' background pictures): uncompressed Windows bitmaps turned
// into 32-bit pixels once, so every paint just stretches them.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "ui/types.h"

namespace klt::ui {

struct Bitmap {
    int width = 0;
    int height = 0;
    // Top row first, each pixel 0x00RRGGBB: the order a 32-bit top-down DIB holds, so GDI takes
    // the buffer as it is.
    std::vector<std::uint32_t> pixels;

    Colour At(int x, int y) const {
        const std::uint32_t p = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                       static_cast<std::size_t>(x)];
        return Rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

// Pictures larger than this are refused: a hall background is a screen, not a poster. The area
// is bounded too, so a small file of one-bit rows cannot ask a 32-bit process for a quarter of a
// gigabyte of pixels.
inline constexpr int kMaxBitmapSide = 8192;
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t{4096} * 4096;

// A ".bmp" file's bytes: 1, 4, 8, 24 and 32 bits a pixel, uncompressed (and bit-field 16/32),
// bottom-up or top-down. Nothing for anything else or for a damaged file.
std::optional<Bitmap> DecodeBmp(std::string_view bytes);

// The part of `source` that lies inside the picture, and where it lands when all of `source` is
// stretched over `dest`; nothing when no pixel of it would show.
struct BitmapPart {
    Rect source;
    Rect dest;
};
std::optional<BitmapPart> VisiblePart(const Bitmap& bitmap, const Rect& source, const Rect& dest);

// The picture turned a quarter: the point (x, y) goes to (y, width - 1 - x).
Bitmap TurnQuarter(const Bitmap& bitmap);

}  // namespace klt::ui
