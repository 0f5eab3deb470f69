// Hall 2's background: a plank floor, a tiled patch before the bar, walls with windows and a door,
// and the bar counter's outline, in quiet colours so the tables drawn over it stand out.
#include <array>
#include <cstdint>
#include <vector>

#include "halls/plan.h"
#include "tools/sample_base/sample_base.h"

namespace klt::sample {

namespace {

constexpr int kWidth = halls::kPlanWidth;
constexpr int kHeight = halls::kPlanHeight;
constexpr int kWall = 12;  // thickness of the walls along the picture's edges

struct Rgb {
    std::uint8_t r, g, b;
};

// Palette indices.
enum Ink : std::uint8_t {
    kWallInk,
    kWallEdge,
    kPlankA,
    kPlankB,
    kPlankC,
    kGrain,
    kSeam,
    kTileLight,
    kTileDark,
    kGrout,
    kCounterFront,
    kCounterEdge,
    kCounterTop,
    kGlass,
    kFrame,
    kDoor,
    kInks
};
constexpr std::array<Rgb, kInks> kPalette{{
    {205, 198, 184},
    {150, 142, 128},
    {225, 205, 172},
    {217, 196, 162},
    {230, 213, 184},
    {208, 186, 150},
    {182, 160, 126},
    {236, 233, 226},
    {220, 216, 206},
    {196, 192, 184},
    {176, 136, 100},
    {112, 82, 58},
    {196, 160, 124},
    {196, 218, 232},
    {245, 245, 242},
    {186, 170, 150},
}};

struct Box {
    int left, top, right, bottom;  // right and bottom exclusive
    bool Has(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The bar counter along the top right corner, an L whose short leg runs down the right wall.
constexpr Box kCounterTopRun{540, kWall, kWidth - kWall, 72};
constexpr Box kCounterLeg{725, 72, kWidth - kWall, 190};
constexpr Box kTiles{520, kWall, kWidth - kWall, 260};
constexpr Box kFloor{kWall, kWall, kWidth - kWall, kHeight - kWall};
constexpr Box kDoorway{590, kHeight - kWall, 670, kHeight};

std::uint32_t Mix(std::uint32_t a, std::uint32_t b) {
    std::uint32_t h = a * 73856093u ^ b * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

bool InCounter(int x, int y) {
    return kCounterTopRun.Has(x, y) || kCounterLeg.Has(x, y);
}

// Distance, up to `limit`, from a counter pixel to the floor in front of it (0 when farther).
int CounterDepth(int x, int y, int limit) {
    for (int d = 1; d <= limit; ++d) {
        const int around[4][2] = {{x - d, y}, {x + d, y}, {x, y - d}, {x, y + d}};
        for (const auto& p : around)
            if (kFloor.Has(p[0], p[1]) && !InCounter(p[0], p[1])) return d;
    }
    return 0;
}

Ink Plank(int x, int y) {
    constexpr int kRow = 24, kLength = 160;
    const int row = y / kRow;
    const int shifted = x + (row * 53) % kLength;  // joints staggered from row to row
    const std::uint32_t h =
        Mix(static_cast<std::uint32_t>(row), static_cast<std::uint32_t>(shifted / kLength));
    const int inRow = y % kRow;
    if (inRow == kRow - 1 || shifted % kLength == 0) return kSeam;
    const int grainA = 5 + static_cast<int>(h % 6), grainB = 13 + static_cast<int>((h / 7) % 6);
    if ((inRow == grainA || inRow == grainB) && ((shifted + static_cast<int>(h % 11)) / 11) % 3 != 0)
        return kGrain;
    static constexpr Ink kTones[3] = {kPlankA, kPlankB, kPlankC};
    return kTones[h % 3];
}

Ink Tile(int x, int y) {
    constexpr int kSide = 32;
    const int u = x - kTiles.left, v = y - kTiles.top;
    if (u % kSide == 0 || v % kSide == 0) return kGrout;
    return (u / kSide + v / kSide) % 2 == 0 ? kTileLight : kTileDark;
}

// Windows: glass in the wall band with a frame at each end and a bar in the middle.
Ink Window(int along, int from, int to) {
    if (along == from || along == to - 1 || along == (from + to) / 2) return kFrame;
    return kGlass;
}

Ink Wall(int x, int y) {
    constexpr int kLeftWindows[3][2] = {{50, 130}, {180, 260}, {330, 410}};
    constexpr int kTopWindows[3][2] = {{60, 160}, {210, 310}, {360, 460}};
    if (kDoorway.Has(x, y)) return (x == kDoorway.left || x == kDoorway.right - 1) ? kWallEdge : kDoor;
    // The wall's inner face: two pixels of shadow along the floor.
    const bool inner =
        (x >= kWall - 2 && x < kWall && y >= kWall - 2 && y < kHeight - kWall + 2) ||
        (x >= kWidth - kWall && x < kWidth - kWall + 2 && y >= kWall - 2 && y < kHeight - kWall + 2) ||
        (y >= kWall - 2 && y < kWall && x >= kWall - 2 && x < kWidth - kWall + 2) ||
        (y >= kHeight - kWall && y < kHeight - kWall + 2 && x >= kWall - 2 && x < kWidth - kWall + 2);
    if (inner) return kWallEdge;
    if (x >= 2 && x < kWall - 2)
        for (const auto& w : kLeftWindows)
            if (y >= w[0] && y < w[1]) return Window(y, w[0], w[1]);
    if (y >= 2 && y < kWall - 2)
        for (const auto& w : kTopWindows)
            if (x >= w[0] && x < w[1]) return Window(x, w[0], w[1]);
    return kWallInk;
}

Ink PixelAt(int x, int y) {
    if (!kFloor.Has(x, y)) return Wall(x, y);
    if (InCounter(x, y)) {
        const int depth = CounterDepth(x, y, 12);
        if (depth >= 1 && depth <= 3) return kCounterEdge;
        return depth >= 1 ? kCounterFront : kCounterTop;
    }
    return kTiles.Has(x, y) ? Tile(x, y) : Plank(x, y);
}

void Put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

std::string HallTwoPicture() {
    constexpr std::uint32_t kInfoHeader = 40, kFileHeader = 14;
    constexpr std::uint32_t kStride = (kWidth + 3) / 4 * 4;  // rows are padded to four bytes
    constexpr std::uint32_t kPixelsAt = kFileHeader + kInfoHeader + 4 * kInks;
    constexpr std::uint32_t kImage = kStride * kHeight;
    std::string out;
    out.reserve(kPixelsAt + kImage);
    out += "BM";
    Put32(out, kPixelsAt + kImage);
    Put32(out, 0);
    Put32(out, kPixelsAt);
    Put32(out, kInfoHeader);
    Put32(out, kWidth);
    Put32(out, kHeight);  // positive: bottom row first
    Put16(out, 1);        // planes
    Put16(out, 8);        // bits a pixel
    Put32(out, 0);        // uncompressed
    Put32(out, kImage);
    Put32(out, 2835);  // 72 dots an inch
    Put32(out, 2835);
    Put32(out, kInks);  // colours used
    Put32(out, kInks);  // colours important
    for (const Rgb& c : kPalette) {
        out += static_cast<char>(c.b);
        out += static_cast<char>(c.g);
        out += static_cast<char>(c.r);
        out += '\0';
    }
    for (int y = kHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kWidth; ++x) out += static_cast<char>(PixelAt(x, y));
        out.append(kStride - kWidth, '\0');
    }
    return out;
}

}  // namespace klt::sample
