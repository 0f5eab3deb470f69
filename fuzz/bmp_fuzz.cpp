// Any bytes as a hall's background picture: decoding must not crash, must stay within the size it
// promises, and a picture it gives must turn four quarters back into itself.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "ui/bitmap.h"

using namespace klt::ui;

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<Bitmap> b = DecodeBmp(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!b) return 0;
    Check(b->width > 0 && b->height > 0 && b->width <= kMaxBitmapSide && b->height <= kMaxBitmapSide);
    Check(static_cast<std::int64_t>(b->width) * b->height <= kMaxBitmapPixels);
    Check(b->pixels.size() == static_cast<std::size_t>(b->width) * static_cast<std::size_t>(b->height));
    for (std::uint32_t p : b->pixels) Check(p <= 0x00FFFFFF);
    if (b->pixels.size() <= 4096) {
        const Bitmap back = TurnQuarter(TurnQuarter(TurnQuarter(TurnQuarter(*b))));
        Check(back.width == b->width && back.height == b->height && back.pixels == b->pixels);
    }
    return 0;
}
