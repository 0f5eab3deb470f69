#pragma once
// A picture of the module's resources, drawn by our own code: palette indices over a small palette
// (the key pictures use the 16 colours of the standard VGA palette).
#include <cstdint>
#include <vector>

#include "ui/types.h"

namespace klt::ui {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Colour> palette;
    std::vector<std::uint8_t> pixels;  // row-major, top row first, one palette index each

    Colour At(int x, int y) const { return palette[pixels[static_cast<std::size_t>(y * width + x)]]; }
};

// The picture with that resource number, or null. Drawn once, kept while the module is loaded.
const Image* FindPicture(int number);

}  // namespace klt::ui
