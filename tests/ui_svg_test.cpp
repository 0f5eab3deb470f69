// SVG pictures of headless windows: what the window paints, with texts that cannot break the
// document, parts of pictures where they land, and only the controls that show.
#include <gtest/gtest.h>

#include "text/literal.h"
#include "ui/headless.h"
#include "ui/svg.h"

namespace klt::test {
namespace {

using namespace text::literals;

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

// Tabs over most of the window; the window paints its page green and hears what happens.
constexpr int kTabs = 20;
constexpr ui::ControlTemplate kTabControls[] = {{kTabs, ui::ControlKind::Tab, "", 4, 4, 150, 80, 0, 0, 0}};
constexpr ui::DialogTemplate kTabDialog{701, "", 160, 90, 0, 8, "MS Sans Serif", kTabControls};

class TabbedPainter final : public ui::DialogController {
  public:
    void OnOpen(ui::DialogView& view) override {
        view.SetTabs(kTabs, {std::string("Зал 1"_cp), std::string("Бар <2>"_cp), std::string("Зал 3"_cp)});
    }
    void OnNotify(ui::DialogView&, int, unsigned code) override {
        notices += code == ui::kTabSelectionChanged;
    }
    void OnClick(ui::DialogView&, ui::Point) override { ++clicks; }
    void OnPaint(ui::DialogView& view, ui::Canvas& canvas) override {
        canvas.FillRect(view.ClientRect(), ui::Rgb(0, 160, 0));
    }
    int notices = 0, clicks = 0;
};

// The value of the first `name="..."` after `from`.
std::string Attribute(const std::string& svg, const std::string& from, const std::string& name) {
    const std::size_t at = svg.find(name + "=\"", svg.find(from));
    if (at == std::string::npos) return {};
    const std::size_t start = at + name.size() + 2;
    return svg.substr(start, svg.find('"', start) - start);
}

TEST(UiSvg, TabsAreARowOverAnOpenPageAndTheChosenOneStandsOut) {
    TabbedPainter painter;
    ui::HeadlessDialog dialog(kTabDialog, painter);
    dialog.Open();
    // A click on the third tab chooses it; one on the page is the dialog's.
    const ui::TabLayout before = ui::LayOutTabs(*dialog.Find(kTabs));
    EXPECT_TRUE(dialog.Click(before.tabs[2].Centre()));
    EXPECT_TRUE(dialog.Click(before.page.Centre()));
    EXPECT_EQ(dialog.SelectedTab(kTabs), 2);
    EXPECT_EQ(painter.notices, 1);
    EXPECT_EQ(painter.clicks, 1);

    const std::string svg = ui::DialogSvg(dialog);
    const std::string tabs = svg.substr(svg.find("<g data-control=\"20\">"));
    EXPECT_NE(tabs.find(">Зал 1</tspan>"), std::string::npos) << tabs;
    EXPECT_NE(tabs.find(">Бар &lt;2&gt;</tspan>"), std::string::npos);
    EXPECT_EQ(Count(tabs, "data-tab=\""), 3u);
    EXPECT_EQ(Count(tabs, "data-selected"), 1u);
    // The chosen tab stands above the others; nothing but the tabs is filled, so the dialog's green
    // shows on the page.
    const std::string top = std::to_string(dialog.ControlRect(kTabs).top);
    EXPECT_EQ(Attribute(tabs, "<g data-tab=\"2\" data-selected", "y"), top);
    EXPECT_EQ(Attribute(tabs, "<g data-tab=\"0\"", "y"), std::to_string(std::stoi(top) + 2));
    EXPECT_EQ(Count(tabs, "<rect "), 1u + 3u);  // the clip and the three tabs
    EXPECT_EQ(Count(svg, "<g"), Count(svg, "</g>"));
}

}  // namespace
}  // namespace klt::test
