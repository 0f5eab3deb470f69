// The module's pictures: every number the keypad, course and hall windows use exists, at its size,
// in 16 colours, and shows something that tells the keys and commands apart.
#include <gtest/gtest.h>

#include <set>

#include "res/pictures.h"
#include "ui/picture.h"

namespace klt::test {
namespace {

struct Expected {
    int number, width, height;
};

// Keys, confirm and cancel; then the commands of the hall views and of the zone-change window.
constexpr Expected kPictures[] = {
    {294, 48, 48}, {295, 48, 48}, {296, 48, 48}, {297, 48, 48}, {298, 48, 48}, {299, 48, 48}, {300, 48, 48},
    {301, 48, 48}, {302, 48, 48}, {303, 48, 48}, {304, 48, 48}, {305, 48, 48}, {306, 48, 48}, {307, 64, 122},
    {313, 45, 45}, {252, 64, 64}, {253, 64, 64}, {254, 64, 64}, {255, 64, 64}, {256, 64, 64}, {257, 64, 64},
    {258, 64, 64}, {259, 64, 64}, {260, 64, 64}, {289, 64, 64}, {290, 64, 64}, {312, 64, 64},
};

TEST(UiPictures, EachPictureHasItsSizeAndSixteenColours) {
    std::set<std::vector<std::uint8_t>> seen;
    for (const Expected& e : kPictures) {
        SCOPED_TRACE(e.number);
        const ui::Image* image = ui::FindPicture(e.number);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, e.width);
        EXPECT_EQ(image->height, e.height);
        EXPECT_EQ(image->palette.size(), 16u);
        ASSERT_EQ(image->pixels.size(), static_cast<std::size_t>(e.width * e.height));
        std::set<std::uint8_t> used(image->pixels.begin(), image->pixels.end());
        EXPECT_GE(used.size(), 3u);  // button face, rim, symbol at least
        EXPECT_LT(*used.rbegin(), 16u);
        EXPECT_TRUE(seen.insert(image->pixels).second) << "looks like another picture";
    }
    EXPECT_EQ(ui::FindPicture(0), nullptr);
    EXPECT_EQ(ui::FindPicture(308), nullptr);
    // Drawn once and kept.
    EXPECT_EQ(ui::FindPicture(294), ui::FindPicture(294));
}

TEST(UiPictures, KeysAreToldApartAndTheirSymbolsSitInTheMiddle) {
    std::set<std::vector<std::uint8_t>> seen;
    for (int number = 294; number <= 306; ++number) {
        const ui::Image* image = ui::FindPicture(number);
        ASSERT_NE(image, nullptr);
        EXPECT_TRUE(seen.insert(image->pixels).second) << number << " looks like another key";
        // The corners are the button's own face, so the picture sits on it without a seam.
        EXPECT_EQ(image->At(0, 0), image->At(47, 47)) << number;
        // Ink of the symbol inside the face, in a colour the face does not have, and none on the rim.
        int ink = 0;
        for (int y = 8; y < 40; ++y)
            for (int x = 8; x < 40; ++x) ink += image->At(x, y) != image->At(24, 5);
        EXPECT_GT(ink, 60) << number;
        EXPECT_EQ(image->At(24, 2), ui::Rgb(128, 128, 128)) << number;
    }
    const ui::Image* confirm = ui::FindPicture(res::kPictureConfirm);
    const ui::Image* cancel = ui::FindPicture(res::kPictureCancel);
    EXPECT_EQ(confirm->At(32, 30), ui::Rgb(0, 128, 0));     // green key
    EXPECT_EQ(cancel->At(22, 6), ui::Rgb(255, 0, 0));       // red key
    EXPECT_EQ(cancel->At(22, 22), ui::Rgb(255, 255, 255));  // the cross's middle
}

}  // namespace
}  // namespace klt::test
