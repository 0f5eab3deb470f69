// The module's pictures, drawn here pixel by pixel in the 16 colours of the standard VGA palette:
// key tiles with block digits, a tall green confirm key with a tick, a red cancel key with a cross,
// and the hall views' command tiles: a symbol over a short word in block Cyrillic letters.
#include "res/pictures.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>

#include "text/literal.h"
#include "ui/picture.h"

namespace klt::res {
namespace {

using namespace klt::text::literals;

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
const char* const* DigitGlyph(char ch) {
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

// The capitals the command tiles' words are written in, by their CP1251 byte.
struct Letter {
    std::string_view cp1251;
    const char* rows[7];
};

const char* const* LetterGlyph(char ch) {
    static const Letter kLetters[] = {
        {"А"_cp, {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
        {"Б"_cp, {"#####", "#....", "#....", "####.", "#...#", "#...#", "####."}},
        {"В"_cp, {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
        {"Г"_cp, {"#####", "#....", "#....", "#....", "#....", "#....", "#...."}},
        {"Д"_cp, {".###.", ".#.#.", ".#.#.", ".#.#.", ".#.#.", "#####", "#...#"}},
        {"Е"_cp, {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
        {"З"_cp, {".###.", "#...#", "....#", "..##.", "....#", "#...#", ".###."}},
        {"И"_cp, {"#...#", "#...#", "#..##", "#.#.#", "##..#", "#...#", "#...#"}},
        {"Л"_cp, {"..###", ".#..#", ".#..#", ".#..#", ".#..#", ".#..#", "#...#"}},
        {"М"_cp, {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
        {"Н"_cp, {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
        {"О"_cp, {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {"П"_cp, {"#####", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#"}},
        {"Р"_cp, {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
        {"С"_cp, {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
        {"Т"_cp, {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
        {"Х"_cp, {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
        {"Ы"_cp, {"#...#", "#...#", "#...#", "##..#", "#.#.#", "#.#.#", "##..#"}},
        {"Ь"_cp, {"#....", "#....", "#....", "####.", "#...#", "#...#", "####."}},
    };
    for (const Letter& l : kLetters)
        if (l.cp1251[0] == ch) return l.rows;
    return nullptr;  // a space, or a letter no word uses
}

void DrawGlyph(Painter& p, const char* const* rows, int x, int y, int sx, int sy, int bold, std::uint8_t c) {
    for (int r = 0; r < 7; ++r)
        for (int col = 0; col < 5; ++col)
            if (rows[r][col] == '#')
                p.Rect(x + col * sx, y + r * sy, x + (col + 1) * sx + bold, y + (r + 1) * sy, c);
}

void DrawGlyph(Painter& p, char ch, int x, int y, int sx, int sy, std::uint8_t c) {
    DrawGlyph(p, DigitGlyph(ch), x, y, sx, sy, 0, c);
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

// ---- the hall views' command tiles ----

constexpr int kTile = 64;

// A word across the bottom of a command tile, centred: up to four letters twice as big as the
// grid, longer ones in tall letters one pixel wide a cell, thickened by a pixel so they read from
// arm's length.
void DrawWord(Painter& p, std::string_view cp1251, std::uint8_t ink) {
    const int n = static_cast<int>(cp1251.size());
    const bool big = n <= 4;
    const int sx = big ? 2 : 1, sy = 2, bold = big ? 0 : 1, gap = big ? 2 : 1;
    const int pitch = 5 * sx + bold + gap;
    int x = (kTile - (n * pitch - gap)) / 2;
    for (char ch : cp1251) {
        if (const char* const* rows = LetterGlyph(ch)) DrawGlyph(p, rows, x, 45, sx, sy, bold, ink);
        x += pitch;
    }
}

// Arrow heads as triangles: the tip and the middle of the base.
void Head(Painter& p, double tipX, double tipY, double baseX, double baseY, double half, std::uint8_t c) {
    const double len = std::hypot(tipX - baseX, tipY - baseY);
    const double nx = -(tipY - baseY) / len * half, ny = (tipX - baseX) / len * half;
    p.Polygon({{tipX, tipY}, {baseX + nx, baseY + ny}, {baseX - nx, baseY - ny}}, c);
}

// A round table seen from above, with chairs above and below it, and on both sides when asked.
void Table(Painter& p, int cx, int cy, bool fourChairs) {
    p.RoundRect(cx - 6, cy - 17, cx + 7, cy - 12, 2, kMaroon);
    p.RoundRect(cx - 6, cy + 13, cx + 7, cy + 18, 2, kMaroon);
    if (fourChairs) {
        p.RoundRect(cx - 17, cy - 6, cx - 12, cy + 7, 2, kMaroon);
        p.RoundRect(cx + 13, cy - 6, cx + 18, cy + 7, 2, kMaroon);
    }
    p.Disc(cx + 0.5, cy + 0.5, 10, kOlive);
}

ui::Image LeaveHallPicture() {
    Painter p = KeyTile(kTile, kTile, kWhite);
    p.Rect(12, 7, 31, 41, kMaroon);  // the door, ajar
    p.Rect(15, 10, 28, 41, kOlive);
    p.Disc(25.5, 26.5, 2, kYellow);
    p.Stroke(30, 24, 46, 24, 6, kRed);
    Head(p, 56, 24, 44, 24, 9, kRed);
    DrawWord(p, "ВЫХОД"_cp, kNavy);
    return p.Take();
}

ui::Image ReservePicture() {
    Painter p = KeyTile(kTile, kTile, kWhite);
    p.Disc(32, 24, 17, kNavy);  // a clock: the time the table is held for
    p.Disc(32, 24, 14, kYellow);
    p.Stroke(32, 24, 32, 13, 3, kNavy);
    p.Stroke(32, 24, 41, 29, 3, kNavy);
    p.Disc(32, 24, 2.5, kRed);
    DrawWord(p, "БРОНЬ"_cp, kNavy);
    return p.Take();
}

ui::Image MergePicture() {
    Painter p = KeyTile(kTile, kTile, kWhite);
    p.Disc(16, 14, 7, kOlive);  // two tables' orders, drawn into one
    p.Disc(48, 14, 7, kOlive);
    p.Stroke(20, 19, 32, 30, 5, kTeal);
    p.Stroke(44, 19, 32, 30, 5, kTeal);
    Head(p, 32, 42, 32, 29, 8, kTeal);
    DrawWord(p, "СЛИТЬ"_cp, kNavy);
    return p.Take();
}

ui::Image ReturnPicture() {
    Painter p = KeyTile(kTile, kTile, kWhite);
    // A U-turn: up on the right, over the top, down to the arrow head on the left.
    p.Disc(32, 22, 15, kPurple);
    p.Disc(32, 22, 8, kWhite);
    p.Rect(10, 22, 54, 42, kWhite);
    p.Rect(40, 21, 47, 38, kPurple);
    Head(p, 20.5, 40, 20.5, 25, 9, kPurple);
    DrawWord(p, "ВОЗВРАТ"_cp, kNavy);
    return p.Take();
}

ui::Image SummaryPicture() {
    Painter p = KeyTile(kTile, kTile, kWhite);
    p.Rect(18, 7, 46, 12, kNavy);  // a sum sign
    p.Rect(18, 36, 46, 41, kNavy);
    p.Stroke(20, 9, 34, 24, 5, kNavy);
    p.Stroke(34, 24, 20, 39, 5, kNavy);
    p.Rect(43, 12, 46, 16, kNavy);
    p.Rect(43, 32, 46, 36, kNavy);
    DrawWord(p, "ИТОГ"_cp, kNavy);
    return p.Take();
}

ui::Image ToHallPicture() {
    Painter p = KeyTile(kTile, kTile, kWhite);
    Table(p, 32, 24, true);
    DrawWord(p, "ЗАЛ"_cp, kNavy);
    return p.Take();
}

ui::Image ToBarPicture() {
    Painter p = KeyTile(kTile, kTile, kWhite);
    p.Polygon({{15, 7}, {49, 7}, {32, 27}}, kNavy);  // a cocktail glass
    p.Polygon({{20, 10}, {44, 10}, {32, 24}}, kAqua);
    p.Disc(39, 13, 3, kRed);
    p.Rect(30, 26, 34, 38, kNavy);
    p.Rect(22, 37, 42, 41, kNavy);
    DrawWord(p, "БАР"_cp, kNavy);
    return p.Take();
}

ui::Image BatchPaymentPicture() {
    Painter p = KeyTile(kTile, kTile, kWhite);
    // Banknotes, one over the other: several orders paid at once.
    p.Rect(20, 16, 56, 40, kGreen);
    p.Rect(22, 18, 54, 38, kLime);
    p.Rect(8, 7, 44, 31, kGreen);
    p.Rect(10, 9, 42, 29, kLime);
    p.Disc(26, 19, 6, kGreen);
    p.Disc(26, 19, 3, kLime);
    DrawWord(p, "ОПЛАТА"_cp, kNavy);
    return p.Take();
}

ui::Image ServicePicture() {
    Painter p = KeyTile(kTile, kTile, kWhite);
    for (int i = 0; i < 8; ++i) {  // a gear
        const double a = i * 3.14159265358979 / 4;
        p.Stroke(32, 24, 32 + 17 * std::cos(a), 24 + 17 * std::sin(a), 6, kNavy);
    }
    p.Disc(32, 24, 12, kNavy);
    p.Disc(32, 24, 5, kWhite);
    DrawWord(p, "СЕРВИС"_cp, kNavy);
    return p.Take();
}

ui::Image ZoneChangePicture() {
    Painter p = KeyTile(kTile, kTile, kWhite);
    p.Stroke(10, 15, 44, 15, 6, kBlue);  // over there and back
    Head(p, 55, 15, 43, 15, 8, kBlue);
    p.Stroke(20, 33, 54, 33, 6, kBlue);
    Head(p, 9, 33, 21, 33, 8, kBlue);
    DrawWord(p, "ЗАЛ"_cp, kNavy);
    return p.Take();
}

ui::Image UserChangePicture() {
    Painter p = KeyTile(kTile, kTile, kWhite);
    p.Disc(27, 14, 7, kNavy);  // a person, and the one who comes next
    p.RoundRect(14, 24, 41, 42, 8, kNavy);
    p.Stroke(42, 18, 52, 18, 4, kRed);
    Head(p, 57, 18, 50, 18, 6, kRed);
    p.Stroke(47, 30, 57, 30, 4, kRed);
    Head(p, 42, 30, 49, 30, 6, kRed);
    DrawWord(p, "СМЕНА"_cp, kNavy);
    return p.Take();
}

ui::Image MoveToHallPicture() {
    Painter p = KeyTile(kTile, kTile, kWhite);
    p.Stroke(7, 24, 20, 24, 6, kRed);  // the order goes to a table of the hall
    Head(p, 29, 24, 18, 24, 9, kRed);
    Table(p, 44, 24, false);
    DrawWord(p, "В ЗАЛ"_cp, kNavy);
    return p.Take();
}

// 13 × 13 icons on the white of a tree view.
constexpr int kIcon = 13;

ui::Image NetworkIcon() {
    Painter p(kIcon, kIcon, kWhite);
    p.RoundRect(0, 0, 13, 13, 6, kNavy);
    p.RoundRect(1, 1, 12, 12, 5, kAqua);
    p.Rect(1, 6, 12, 7, kNavy);  // the equator and the meridian
    p.Rect(6, 1, 7, 12, kNavy);
    p.Rect(3, 3, 5, 5, kGreen);  // land
    p.Rect(8, 8, 10, 10, kGreen);
    return p.Take();
}

// A small computer: a screen at (x, y), 6 wide and 5 high, on a stand.
void SmallComputer(Painter& p, int x, int y) {
    p.Rect(x, y, x + 6, y + 5, kBlack);
    p.Rect(x + 1, y + 1, x + 5, y + 4, kTeal);
    p.Rect(x + 2, y + 5, x + 4, y + 6, kGrey);
}

ui::Image DomainIcon() {
    Painter p(kIcon, kIcon, kWhite);
    SmallComputer(p, 0, 0);
    SmallComputer(p, 7, 0);
    p.Rect(3, 7, 4, 9, kBlack);  // both wired to the line below
    p.Rect(10, 7, 11, 9, kBlack);
    p.Rect(0, 9, 13, 10, kBlack);
    SmallComputer(p, 3, 8);
    return p.Take();
}

ui::Image ComputerIcon() {
    Painter p(kIcon, kIcon, kWhite);
    p.Rect(1, 0, 12, 9, kBlack);
    p.Rect(2, 1, 11, 8, kTeal);
    p.Rect(3, 2, 6, 3, kWhite);  // a glint on the screen
    p.Rect(5, 9, 8, 11, kGrey);
    p.Rect(2, 11, 11, 13, kSilver);
    p.Rect(2, 12, 11, 13, kGrey);
    return p.Take();
}

// The add buttons' shapes, filled as a new table is.
ui::Image AddShapePicture(int shape) {
    Painter p(16, 16, kSilver);
    if (shape == 1) {
        p.Rect(1, 3, 15, 13, kBlack);
        p.Rect(2, 4, 14, 12, kAqua);
    } else if (shape == 2) {
        p.Polygon({{8, 0}, {16, 8}, {8, 16}, {0, 8}}, kBlack);
        p.Polygon({{8, 2}, {14, 8}, {8, 14}, {2, 8}}, kAqua);
    } else {
        p.Disc(8, 8, 7.5, kBlack);
        p.Disc(8, 8, 6, kAqua);
    }
    return p.Take();
}

// The context menu's commands: blocks for tables, a red bar for the line they are set against.
ui::Image EditCommandPicture(int command) {
    Painter p(kIcon, kIcon, kWhite);
    switch (command) {
        case 1:  // properties: a sheet with lines
            p.Rect(2, 0, 11, 13, kBlack);
            p.Rect(3, 1, 10, 12, kWhite);
            for (int y = 3; y < 11; y += 3) p.Rect(4, y, 9, y + 1, kNavy);
            break;
        case 2:  // copy: two tables, one over the other
            p.Rect(0, 0, 8, 8, kNavy);
            p.Rect(5, 5, 13, 13, kBlack);
            p.Rect(6, 6, 12, 12, kAqua);
            break;
        case 3:  // delete: a cross
            p.Stroke(1, 1, 12, 12, 2.5, kRed);
            p.Stroke(12, 1, 1, 12, 2.5, kRed);
            break;
        case 4:  // align left, right, top, bottom
        case 5:
        case 6:
        case 7: {
            const bool across = command <= 5;
            const bool low = command == 4 || command == 6;
            const int line = low ? 0 : 12;
            if (across) {
                p.Rect(line, 0, line + 1, 13, kRed);
                p.Rect(low ? 2 : 4, 2, low ? 9 : 11, 5, kNavy);
                p.Rect(low ? 2 : 7, 8, low ? 6 : 11, 11, kNavy);
            } else {
                p.Rect(0, line, 13, line + 1, kRed);
                p.Rect(2, low ? 2 : 4, 5, low ? 9 : 11, kNavy);
                p.Rect(8, low ? 2 : 7, 11, low ? 6 : 11, kNavy);
            }
            break;
        }
        case 8:  // same height, width, size: two equal blocks
            p.Rect(1, 2, 5, 11, kNavy);
            p.Rect(8, 2, 12, 11, kNavy);
            break;
        case 9:
            p.Rect(2, 1, 11, 5, kNavy);
            p.Rect(2, 8, 11, 12, kNavy);
            break;
        case 10:
            p.Rect(1, 1, 6, 6, kNavy);
            p.Rect(7, 7, 12, 12, kNavy);
            break;
        case 11:  // centring: a block on the middle line
        case 12:
        case 13:
            if (command != 12) p.Rect(6, 0, 7, 13, kRed);
            if (command != 11) p.Rect(0, 6, 13, 7, kRed);
            p.Rect(3, 3, 10, 10, kNavy);
            if (command != 12) p.Rect(6, 3, 7, 10, kRed);
            if (command != 11) p.Rect(3, 6, 10, 7, kRed);
            break;
        case 14:  // distributing: three blocks at equal gaps
            for (int x = 0; x < 13; x += 5) p.Rect(x, 3, x + 3, 10, kNavy);
            break;
        default:
            for (int y = 0; y < 13; y += 5) p.Rect(3, y, 10, y + 3, kNavy);
            break;
    }
    return p.Take();
}

// A folder: its tab, then its body.
ui::Image SubmenuPicture() {
    Painter p(48, 48, kSilver);
    p.RoundRect(5, 9, 21, 17, 2, kOlive);
    p.RoundRect(4, 13, 44, 40, 3, kOlive);
    p.RoundRect(6, 16, 42, 38, 2, kYellow);
    p.Rect(6, 16, 42, 18, kWhite);
    return p.Take();
}

// A dish under its cover on a plate.
ui::Image ArticlePicture() {
    Painter p(48, 48, kSilver);
    p.Disc(24, 30, 13, kGrey);
    p.Rect(4, 30, 44, 48, kSilver);
    p.Disc(24, 30, 12, kWhite);
    p.Rect(5, 30, 43, 48, kSilver);
    p.Disc(24, 14, 2.5, kGrey);
    p.RoundRect(4, 30, 44, 35, 2, kGrey);
    p.Rect(6, 31, 42, 33, kWhite);
    return p.Take();
}

// An arrow pointing left: the level above.
ui::Image BackPicture() {
    Painter p(48, 48, kSilver);
    p.Polygon({{5, 24}, {22, 8}, {22, 17}, {42, 17}, {42, 31}, {22, 31}, {22, 40}}, kNavy);
    p.Polygon({{10, 24}, {20, 14}, {20, 19}, {40, 19}, {40, 22}, {20, 22}}, kBlue);
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
    m[kPictureHallClose] = LeaveHallPicture();
    m[kPictureReserve] = ReservePicture();
    m[kPictureMerge] = MergePicture();
    m[kPictureReturn] = ReturnPicture();
    m[kPictureSummary] = SummaryPicture();
    m[kPictureToHall] = ToHallPicture();
    m[kPictureToBar] = ToBarPicture();
    m[kPictureBatchPayment] = BatchPaymentPicture();
    m[kPictureService] = ServicePicture();
    m[kPictureZoneChange] = ZoneChangePicture();
    m[kPictureUserChange] = UserChangePicture();
    m[kPictureMoveToHall] = MoveToHallPicture();
    m[kPictureMenuSubmenu] = SubmenuPicture();
    m[kPictureMenuArticle] = ArticlePicture();
    m[kPictureMenuBack] = BackPicture();
    m[kIconNetwork] = NetworkIcon();
    m[kIconDomain] = DomainIcon();
    m[kIconComputer] = ComputerIcon();
    m[kPictureAddRectangle] = AddShapePicture(1);
    m[kPictureAddRhombus] = AddShapePicture(2);
    m[kPictureAddEllipse] = AddShapePicture(3);
    for (int command = 1; command <= kEditCommandPictures; ++command)
        m[kPictureEditCommandBase + command] = EditCommandPicture(command);
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
