// The module's pictures, drawn here pixel by pixel in the 16 colours of the standard VGA palette:
// key tiles with block digits, a tall green confirm key with a tick, a red cancel key with a cross.
#include "res/pictures.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "ui/picture.h"

namespace klt::res {
namespace {

enum Index : std::uint8_t {
    kBlack = 0,
    kMaroon = 1,
    kGreen = 2,
    kOlive = 3,
    kNavy = 4,
    kPurple = 5,
    kTeal = 6,
    kSilver = 7,
    kGrey = 8,
    kRed = 9,
    kLime = 10,
    kYellow = 11,
    kBlue = 12,
    kFuchsia = 13,
    kAqua = 14,
    kWhite = 15,
};

std::vector<ui::Colour> VgaPalette() {
    return {ui::Rgb(0, 0, 0),       ui::Rgb(128, 0, 0),   ui::Rgb(0, 128, 0),   ui::Rgb(128, 128, 0),
            ui::Rgb(0, 0, 128),     ui::Rgb(128, 0, 128), ui::Rgb(0, 128, 128), ui::Rgb(192, 192, 192),
            ui::Rgb(128, 128, 128), ui::Rgb(255, 0, 0),   ui::Rgb(0, 255, 0),   ui::Rgb(255, 255, 0),
            ui::Rgb(0, 0, 255),     ui::Rgb(255, 0, 255), ui::Rgb(0, 255, 255), ui::Rgb(255, 255, 255)};
}

class Painter {
  public:
    Painter(int width, int height, std::uint8_t background) {
        image_.width = width;
        image_.height = height;
        image_.palette = VgaPalette();
        image_.pixels.assign(static_cast<std::size_t>(width * height), background);
    }

    void Set(int x, int y, std::uint8_t c) {
        if (x >= 0 && y >= 0 && x < image_.width && y < image_.height)
            image_.pixels[static_cast<std::size_t>(y * image_.width + x)] = c;
    }

    void Rect(int x0, int y0, int x1, int y1, std::uint8_t c) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) Set(x, y, c);
    }

    // A rectangle with quarter-circle corners of radius r.
    void RoundRect(int x0, int y0, int x1, int y1, int r, std::uint8_t c) {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const int cx = x < x0 + r ? x0 + r : x >= x1 - r ? x1 - r - 1 : x;
                const int cy = y < y0 + r ? y0 + r : y >= y1 - r ? y1 - r - 1 : y;
                const int dx = x - cx, dy = y - cy;
                if (dx * dx + dy * dy <= r * r) Set(x, y, c);
            }
        }
    }

    // Even-odd fill, sampled at pixel centres.
    void Polygon(const std::vector<std::pair<double, double>>& p, std::uint8_t c) {
        for (int y = 0; y < image_.height; ++y) {
            const double sy = y + 0.5;
            std::vector<double> xs;
            for (std::size_t i = 0; i < p.size(); ++i) {
                const auto [ax, ay] = p[i];
                const auto [bx, by] = p[(i + 1) % p.size()];
                if ((ay <= sy) == (by <= sy)) continue;
                xs.push_back(ax + (sy - ay) * (bx - ax) / (by - ay));
            }
            std::sort(xs.begin(), xs.end());
            for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
                for (int x = static_cast<int>(std::ceil(xs[i] - 0.5)); x + 0.5 < xs[i + 1]; ++x) Set(x, y, c);
        }
    }

    // A thick straight stroke from (ax, ay) to (bx, by).
    void Stroke(double ax, double ay, double bx, double by, double width, std::uint8_t c) {
        const double len = std::hypot(bx - ax, by - ay);
        const double nx = -(by - ay) / len * width / 2, ny = (bx - ax) / len * width / 2;
        Polygon({{ax + nx, ay + ny}, {bx + nx, by + ny}, {bx - nx, by - ny}, {ax - nx, ay - ny}}, c);
    }

    void Disc(double cx, double cy, double r, std::uint8_t c) {
        for (int y = 0; y < image_.height; ++y)
            for (int x = 0; x < image_.width; ++x)
                if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= r) Set(x, y, c);
    }

    ui::Image Take() { return std::move(image_); }

  private:
    ui::Image image_;
};

// Block glyphs on a 5 × 7 grid, one row a string.
const char* const* Glyph(char ch) {
    static const char* const kDigits[10][7] = {
        {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."},
        {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
        {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
        {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."},
        {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
        {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
        {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
        {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
        {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
        {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},
    };
    static const char* const kClear[7] = {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."};
    if (ch >= '0' && ch <= '9') return kDigits[ch - '0'];
    return kClear;
}

void DrawGlyph(Painter& p, char ch, int x, int y, int sx, int sy, std::uint8_t c) {
    const char* const* rows = Glyph(ch);
    for (int r = 0; r < 7; ++r)
        for (int col = 0; col < 5; ++col)
            if (rows[r][col] == '#')
                p.Rect(x + col * sx, y + r * sy, x + (col + 1) * sx, y + (r + 1) * sy, c);
}

// A raised white key face with a grey rim on the button's silver, as big as the tile allows.
Painter KeyTile(int width, int height, std::uint8_t face) {
    Painter p(width, height, kSilver);
    p.RoundRect(1, 1, width - 1, height - 1, 7, kGrey);
    p.RoundRect(3, 3, width - 3, height - 3, 5, face);
    return p;
}

ui::Image KeyPicture(const char* symbols, std::uint8_t ink) {
    Painter p = KeyTile(48, 48, kWhite);
    const int n = static_cast<int>(std::char_traits<char>::length(symbols));
    // One symbol at 5 × 5 pixels a cell (25 × 35); two side by side narrower, 3 × 5 a cell.
    const int sx = n == 1 ? 5 : 3, sy = 5, gap = 4;
    const int width = n * 5 * sx + (n - 1) * gap;
    int x = (48 - width) / 2;
    for (int i = 0; i < n; ++i, x += 5 * sx + gap)
        DrawGlyph(p, symbols[i], x, (48 - 7 * sy) / 2, sx, sy, ink);
    return p.Take();
}

ui::Image PointPicture() {
    Painter p = KeyTile(48, 48, kWhite);
    p.Disc(24, 31, 6, kBlack);
    return p.Take();
}

ui::Image ConfirmPicture() {
    Painter p = KeyTile(64, 122, kGreen);
    // A tick: short arm down to the corner, long arm up to the right.
    p.Stroke(14, 64, 27, 80, 9, kWhite);
    p.Stroke(27, 80, 51, 40, 9, kWhite);
    p.Disc(27, 80, 4.5, kWhite);
    return p.Take();
}

ui::Image CancelPicture() {
    Painter p = KeyTile(45, 45, kRed);
    p.Stroke(13, 13, 32, 32, 6, kWhite);
    p.Stroke(32, 13, 13, 32, 6, kWhite);
    return p.Take();
}

std::map<int, ui::Image> DrawAll() {
    std::map<int, ui::Image> m;
    const struct {
        int number;
        const char* symbols;
    } keys[] = {{kPictureKey1, "1"}, {kPictureKey2, "2"}, {kPictureKey3, "3"},  {kPictureKey4, "4"},
                {kPictureKey5, "5"}, {kPictureKey6, "6"}, {kPictureKey7, "7"},  {kPictureKey8, "8"},
                {kPictureKey9, "9"}, {kPictureKey0, "0"}, {kPictureKey00, "00"}};
    for (const auto& k : keys) m[k.number] = KeyPicture(k.symbols, kNavy);
    m[kPictureKeyClear] = KeyPicture("C", kRed);
    m[kPictureKeyPoint] = PointPicture();
    m[kPictureConfirm] = ConfirmPicture();
    m[kPictureCancel] = CancelPicture();
    return m;
}

}  // namespace
}  // namespace klt::res

namespace klt::ui {

const Image* FindPicture(int number) {
    static const std::map<int, Image> pictures = res::DrawAll();
    auto it = pictures.find(number);
    return it == pictures.end() ? nullptr : &it->second;
}

}  // namespace klt::ui
