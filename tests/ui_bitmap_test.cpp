// Pictures read from ".bmp" files: row order and padding, palettes of every depth, bit fields, and
// refusal of whatever is damaged, compressed or too big to be a hall's background.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "ui/bitmap.h"

namespace klt::test {
namespace {

using ui::DecodeBmp;
using ui::Rgb;

void Le(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A file with a 40-byte information header; `extra` (palette or bit-field masks) follows it and
// the rows follow that, exactly as given.
struct BmpFile {
    int width = 1, height = 1, bits = 24;
    std::uint32_t compression = 0, colours = 0;
    std::string extra, rows;

    std::string Bytes() const {
        std::string b = "BM";
        const auto offset = static_cast<std::uint32_t>(14 + 40 + extra.size());
        Le(b, offset + static_cast<std::uint32_t>(rows.size()), 4);
        Le(b, 0, 4);
        Le(b, offset, 4);
        Le(b, 40, 4);
        Le(b, static_cast<std::uint32_t>(width), 4);
        Le(b, static_cast<std::uint32_t>(height), 4);
        Le(b, 1, 2);
        Le(b, static_cast<std::uint32_t>(bits), 2);
        Le(b, compression, 4);
        Le(b, 0, 4);
        Le(b, 2835, 4);
        Le(b, 2835, 4);
        Le(b, colours, 4);
        Le(b, 0, 4);
        return b + extra + rows;
    }
};

// 3 × 2 at 24 bits: nine bytes a row, padded to twelve; the bottom row comes first.
BmpFile ThreeByTwo() {
    BmpFile f;
    f.width = 3;
    f.height = 2;
    f.rows = std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\0\0\0", 12) +
             std::string("\x0A\x0B\x0C\x0D\x0E\x0F\x10\x11\x12\0\0\0", 12);
    return f;
}

TEST(UiBitmap, RowsArePaddedAndReadInTheirOrder) {
    const auto up = DecodeBmp(ThreeByTwo().Bytes());
    ASSERT_TRUE(up);
    EXPECT_EQ(up->width, 3);
    EXPECT_EQ(up->height, 2);
    EXPECT_EQ(up->At(0, 1), Rgb(3, 2, 1));  // blue, green, red in the file
    EXPECT_EQ(up->At(2, 1), Rgb(9, 8, 7));
    EXPECT_EQ(up->At(0, 0), Rgb(12, 11, 10));
    EXPECT_EQ(up->At(2, 0), Rgb(18, 17, 16));

    BmpFile topDown = ThreeByTwo();
    topDown.height = -2;
    const auto down = DecodeBmp(topDown.Bytes());
    ASSERT_TRUE(down);
    EXPECT_EQ(down->At(0, 0), Rgb(3, 2, 1));
    EXPECT_EQ(down->At(2, 1), Rgb(18, 17, 16));

    // A quarter turn takes (x, y) to (y, width - 1 - x).
    const ui::Bitmap turned = ui::TurnQuarter(*up);
    EXPECT_EQ(turned.width, 2);
    EXPECT_EQ(turned.height, 3);
    EXPECT_EQ(turned.At(1, 0), up->At(2, 1));
    EXPECT_EQ(turned.At(0, 2), up->At(0, 0));
}

TEST(UiBitmap, PalettesOfEveryDepthAndBitFields) {
    const std::string palette(
        "\x00\x00\xFF\x00"
        "\x00\xFF\x00\x00"
        "\xFF\x00\x00\x00"
        "\xFF\xFF\xFF\x00",
        16);
    BmpFile eight;
    eight.width = 2;
    eight.bits = 8;
    eight.colours = 3;  // index 3 and beyond are not stored: black
    eight.extra = palette.substr(0, 12);
    eight.rows = std::string("\x02\x03\0\0", 4);
    auto b = DecodeBmp(eight.Bytes());
    ASSERT_TRUE(b);
    EXPECT_EQ(b->At(0, 0), Rgb(0, 0, 255));
    EXPECT_EQ(b->At(1, 0), Rgb(0, 0, 0));

    BmpFile four;
    four.width = 3;
    four.bits = 4;
    four.colours = 4;
    four.extra = palette;
    four.rows = std::string("\x10\x20\0\0", 4);
    b = DecodeBmp(four.Bytes());
    ASSERT_TRUE(b);
    EXPECT_EQ(b->At(0, 0), Rgb(0, 255, 0));
    EXPECT_EQ(b->At(1, 0), Rgb(255, 0, 0));
    EXPECT_EQ(b->At(2, 0), Rgb(0, 0, 255));

    BmpFile one;
    one.width = 9;  // two bytes of bits, the first bit of each byte leftmost
    one.bits = 1;
    one.extra = palette.substr(8, 8);
    one.rows = std::string("\x80\x80\0\0", 4);
    b = DecodeBmp(one.Bytes());
    ASSERT_TRUE(b);
    EXPECT_EQ(b->At(0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(b->At(1, 0), Rgb(0, 0, 255));
    EXPECT_EQ(b->At(8, 0), Rgb(255, 255, 255));

    BmpFile fields;  // 5-6-5
    fields.width = 2;
    fields.bits = 16;
    fields.compression = 3;
    fields.extra = std::string(
        "\x00\xF8\0\0"
        "\xE0\x07\0\0"
        "\x1F\0\0\0",
        12);
    fields.rows = std::string("\x00\xF8\xE0\x07", 4);
    b = DecodeBmp(fields.Bytes());
    ASSERT_TRUE(b);
    EXPECT_EQ(b->At(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(b->At(1, 0), Rgb(0, 255, 0));
}

TEST(UiBitmap, DamagedCompressedAndHugeFilesAreRefused) {
    const std::string good = ThreeByTwo().Bytes();
    ASSERT_TRUE(DecodeBmp(good));
    EXPECT_FALSE(DecodeBmp(""));
    EXPECT_FALSE(DecodeBmp("hello, this is not a picture at all"));
    EXPECT_FALSE(DecodeBmp(good.substr(0, 30)));               // inside the header
    EXPECT_FALSE(DecodeBmp(good.substr(0, good.size() - 1)));  // one byte of the rows short

    BmpFile f = ThreeByTwo();
    f.compression = 1;  // run-length coded
    EXPECT_FALSE(DecodeBmp(f.Bytes()));
    f = ThreeByTwo();
    f.bits = 2;
    EXPECT_FALSE(DecodeBmp(f.Bytes()));
    f = ThreeByTwo();
    f.width = 0;
    EXPECT_FALSE(DecodeBmp(f.Bytes()));
    // Sizes are refused before any row is looked for: these files are a few bytes long.
    f.width = ui::kMaxBitmapSide + 1;
    f.height = 1;
    EXPECT_FALSE(DecodeBmp(f.Bytes()));
    f.width = f.height = ui::kMaxBitmapSide;  // each side allowed, the area not
    f.bits = 1;
    f.rows = std::string(static_cast<std::size_t>(ui::kMaxBitmapSide) * ui::kMaxBitmapSide / 8, '\0');
    EXPECT_FALSE(DecodeBmp(f.Bytes()));

    std::string beyond = good;
    beyond[10] = '\x7F';  // the rows would start past the end
    EXPECT_FALSE(DecodeBmp(beyond));
}

}  // namespace
}  // namespace klt::test
