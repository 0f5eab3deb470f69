// SVG pictures of headless windows: what the window paints, with texts that cannot break the
// document, parts of pictures where they land, and only the controls that show.
#include <gtest/gtest.h>

#include "ui/headless.h"
#include "ui/svg.h"

namespace klt::test {
namespace {

constexpr int kShown = 10, kHidden = 11;
constexpr ui::ControlTemplate kControls[] = {
    {kShown, ui::ControlKind::Static, "Shown", 4, 4, 40, 10, ui::style::kStaticCentre, 0, 0},
    {kHidden, ui::ControlKind::Button, "Hidden", 4, 20, 40, 14, 0, 0, 0},
};
constexpr ui::DialogTemplate kDialog{700, "", 120, 60, 0, 8, "MS Sans Serif", kControls};

class Painter final : public ui::DialogController {
  public:
    void OnOpen(ui::DialogView& view) override { view.ShowControl(kHidden, false); }
    void OnPaint(ui::DialogView&, ui::Canvas& canvas) override {
        canvas.Clip({0, 0, 50, 50});
        canvas.SetTextColour(ui::Rgb(0, 0, 255));
        canvas.DrawText("a <b> & \"c\"\r\n\x01\xC2\xF2\xEE\xF0\xE0\xFF", {0, 0, 100, 40}, 0);
        canvas.ClearClip();
        canvas.Clip({0, 0, 60, 60});
        // Half of the part asked for lies outside the picture.
        canvas.DrawBitmap(picture, {2, 0, 6, 4}, {100, 0, 140, 40});
    }
    ui::Bitmap picture{4, 4, std::vector<std::uint32_t>(16, 0x123456)};
};

std::size_t Count(const std::string& s, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
}

TEST(UiSvg, ShowsWhatIsPaintedAndNothingThatCouldBreakTheDocument) {
    Painter painter;
    ui::HeadlessDialog dialog(kDialog, painter);
    dialog.Open();
    const std::string svg = ui::DialogSvg(dialog);
    EXPECT_NE(svg.find("<tspan>a &lt;b&gt; &amp; &quot;c&quot;</tspan>"), std::string::npos) << svg;
    EXPECT_NE(svg.find(">Вторая</tspan>"), std::string::npos);  // the second line, control left out
    EXPECT_NE(svg.find("fill=\"#0000ff\""), std::string::npos);
    EXPECT_NE(svg.find("<image x=\"100\" y=\"0\" width=\"20\" height=\"40\""), std::string::npos);
    EXPECT_NE(svg.find(">Shown</tspan>"), std::string::npos);
    EXPECT_EQ(svg.find("Hidden"), std::string::npos);
    EXPECT_EQ(Count(svg, "<g"), Count(svg, "</g>"));
    EXPECT_EQ(Count(svg, "clip-path=\"url(#clip"), 2u);
}

}  // namespace
}  // namespace klt::test
