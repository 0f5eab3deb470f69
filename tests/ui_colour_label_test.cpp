// The colour label: gradient bands, painting through the off-screen buffer, flashing on its own
// window timer, 3D and rotated text, and link clicks.
#include <gtest/gtest.h>

#include "frontdesk/colour_label.h"
#include "test_support.h"
#include "ui/headless.h"

namespace klt::test {
namespace {

using frontdesk::ColourLabel;
using frontdesk::GradientBands;
using ui::CanvasOp;
using ui::Rgb;

constexpr int kLabel = 20, kWide = 21;
// 50 × 16 and 150 × 16 pixels at 6 × 13 pixels a character cell.
constexpr ui::ControlTemplate kControls[] = {
    {kLabel, ui::ControlKind::Label, "Hello", 4, 8, 33, 10, 0, 0, 0},
    {kWide, ui::ControlKind::Label, "", 4, 24, 100, 10, 0, 0, 0},
};
constexpr ui::DialogTemplate kDialog{501, "Label", 120, 60, 0, 8, "MS Sans Serif", kControls};

class Parent : public ui::DialogController {
  public:
    void OnOpen(ui::DialogView&) override {}
    void OnNotify(ui::DialogView&, int id, unsigned code) override { notified.emplace_back(id, code); }
    std::vector<std::pair<int, unsigned>> notified;
};

class ColourLabelTest : public ::testing::Test {
  protected:
    ColourLabelTest() : dialog_(kDialog, parent_) {
        dialog_.Open();
        label_.Attach(dialog_, kLabel);
    }
    ~ColourLabelTest() override { label_.Detach(); }
    ui::RecordingCanvas Paint() { return dialog_.Paint(kLabel); }
    std::vector<CanvasOp> Texts() { return Paint().Of(CanvasOp::Kind::Text); }

    TestPlatform platform_;
    ui::ScopedHeadlessWindowing ui_;
    Parent parent_;
    ui::HeadlessDialog dialog_;
    ColourLabel label_;
};

TEST(GradientBandsTest, FiftyPixelsGiveFiftyOnePixelBandsSteppedInFixedPoint) {
    const auto bands = GradientBands({10, 0, 60, 16}, Rgb(255, 0, 0), Rgb(0, 0, 255));
    ASSERT_EQ(bands.size(), 50u);
    for (int i = 0; i < 49; ++i) {
        EXPECT_EQ(bands[i].rect.left, 10 + i);
        EXPECT_EQ(bands[i].rect.right, 12 + i);  // one pixel over the next band's start
        EXPECT_EQ(bands[i].rect.top, 0);
        EXPECT_EQ(bands[i].rect.bottom, 16);
    }
    EXPECT_EQ(bands[49].rect.left, 59);
    EXPECT_EQ(bands[49].rect.right, 60);
    // Steps of 255 × 256 / 50 = 1305 (red falling, blue rising) in 8.8 fixed point.
    EXPECT_EQ(bands[0].colour, Rgb(255, 0, 0));
    EXPECT_EQ(bands[1].colour, Rgb(249, 0, 5));   // (65280 - 1305) >> 8, 1305 >> 8
    EXPECT_EQ(bands[49].colour, Rgb(5, 0, 249));  // (65280 - 63945) >> 8, 63945 >> 8
}

TEST(GradientBandsTest, WideRectanglesGetAHundredBandsSpreadOverTheWidth) {
    const auto bands = GradientBands({0, 0, 150, 4}, Rgb(0, 0, 0), Rgb(0, 200, 0));
    ASSERT_EQ(bands.size(), 100u);
    EXPECT_EQ(bands.front().rect.left, 0);
    EXPECT_EQ(bands.back().rect.right, 150);
    for (std::size_t i = 1; i < bands.size(); ++i) {
        EXPECT_LE(bands[i].rect.left, bands[i - 1].rect.right) << "gap before band " << i;
        EXPECT_LE(bands[i].rect.Width(), 3) << i;  // no flat stripe at the end
        EXPECT_GE(ui::Green(bands[i].colour), ui::Green(bands[i - 1].colour));
    }
    EXPECT_EQ(bands.back().colour, Rgb(0, 198, 0));  // 99 × (200 × 256 / 100) >> 8
}

TEST(GradientBandsTest, TinyAndEmptyRectangles) {
    EXPECT_TRUE(GradientBands({5, 5, 5, 9}, 0, 0xFFFFFF).empty());
    EXPECT_TRUE(GradientBands({5, 5, 9, 5}, 0, 0xFFFFFF).empty());
    const auto one = GradientBands({5, 5, 6, 9}, Rgb(10, 20, 30), Rgb(40, 50, 60));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].rect, (ui::Rect{5, 5, 6, 9}));
    EXPECT_EQ(one[0].colour, Rgb(10, 20, 30));
}

TEST(LabelTextFormatTest, StyleChoosesAlignmentAndWrapping) {
    namespace tf = ui::text_format;
    using namespace ui::style;
    EXPECT_EQ(frontdesk::LabelTextFormat(kStaticCentre, "a"), tf::kCentre | tf::kWordBreak);
    EXPECT_EQ(frontdesk::LabelTextFormat(kStaticRight, "a"), tf::kRight | tf::kWordBreak);
    EXPECT_EQ(frontdesk::LabelTextFormat(kStaticLeftNoWordWrap, "a"), tf::kLeft);
    EXPECT_EQ(frontdesk::LabelTextFormat(kStaticLeft | kStaticNotify, "a"), tf::kLeft | tf::kWordBreak);
    EXPECT_EQ(frontdesk::LabelTextFormat(kStaticCentreImage, "a"),
              tf::kCentre | tf::kVCentre | tf::kSingleLine);
    EXPECT_EQ(frontdesk::LabelTextFormat(kStaticCentreImage | kStaticRight, "a\r\nb"),
              tf::kCentre | tf::kWordBreak);
}

TEST_F(ColourLabelTest, PaintsThroughTheBufferOnTheFaceColourByDefault) {
    const ui::RecordingCanvas c = Paint();
    ASSERT_GE(c.ops().size(), 3u);
    EXPECT_EQ(c.ops().front().kind, CanvasOp::Kind::BeginBuffer);
    EXPECT_EQ(c.ops().front().rect, (ui::Rect{0, 0, 50, 16}));
    EXPECT_EQ(c.ops().back().kind, CanvasOp::Kind::EndBuffer);
    const auto fills = c.Of(CanvasOp::Kind::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].fill, ui_.windowing.SystemColourOf(ui::SystemColour::ButtonFace));
    const auto texts = c.Of(CanvasOp::Kind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Hello");
    EXPECT_EQ(texts[0].textColour, ui_.windowing.SystemColourOf(ui::SystemColour::WindowText));
    EXPECT_TRUE(texts[0].transparentText);
}

TEST_F(ColourLabelTest, BackgroundSolidOrGradient) {
    label_.SetBackground(Rgb(0, 0, 128), 0, false);
    auto fills = Paint().Of(CanvasOp::Kind::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].fill, Rgb(0, 0, 128));

    label_.SetBackground(Rgb(255, 0, 0), Rgb(0, 0, 255), true);
    fills = Paint().Of(CanvasOp::Kind::FillRect);
    ASSERT_EQ(fills.size(), 50u);
    EXPECT_EQ(fills.front().fill, Rgb(255, 0, 0));
    EXPECT_EQ(fills.back().fill, Rgb(5, 0, 249));

    // Gradient off again brings the solid colour back.
    label_.SetBackground(Rgb(1, 2, 3), 0, false);
    fills = Paint().Of(CanvasOp::Kind::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].fill, Rgb(1, 2, 3));
}

TEST_F(ColourLabelTest, TransparentLabelsDrawNoBackgroundAndNoBuffer) {
    label_.SetTransparent(true);
    EXPECT_NE(dialog_.ControlExStyle(kLabel) & ui::style::kExTransparent, 0u);
    const ui::RecordingCanvas c = Paint();
    EXPECT_TRUE(c.Of(CanvasOp::Kind::FillRect).empty());
    EXPECT_TRUE(c.Of(CanvasOp::Kind::BeginBuffer).empty());
    EXPECT_EQ(c.Of(CanvasOp::Kind::Text).size(), 1u);
    label_.SetTransparent(false);
    EXPECT_EQ(dialog_.ControlExStyle(kLabel) & ui::style::kExTransparent, 0u);
}

TEST_F(ColourLabelTest, FontOperationsRebuildTheFont) {
    label_.SetBold(true);
    label_.SetItalic(true);
    label_.SetUnderline(true);
    label_.SetFaceName("Arial", 204);
    label_.SetSize(12);
    ui::Font f = dialog_.ControlFont(kLabel);
    EXPECT_EQ(f.weight, 700);
    EXPECT_TRUE(f.italic);
    EXPECT_TRUE(f.underline);
    EXPECT_EQ(f.face, "Arial");
    EXPECT_EQ(f.charset, 204);
    EXPECT_EQ(f.height, -16);
    EXPECT_EQ(Texts().at(0).font, f);
    label_.SetBold(false);
    EXPECT_EQ(dialog_.ControlFont(kLabel).weight, 400);
}

TEST_F(ColourLabelTest, OperationsRedrawTheParentUnderTheLabelExceptFrameStyles) {
    const int before = dialog_.Find(kLabel)->parentInvalidations;
    label_.SetTextColour(Rgb(0, 128, 0));
    label_.SetText("New");
    EXPECT_EQ(dialog_.Find(kLabel)->parentInvalidations, before + 2);
    EXPECT_EQ(dialog_.ControlText(kLabel), "New");
    label_.SetSunken(true);
    label_.SetBorder(true);
    EXPECT_EQ(dialog_.Find(kLabel)->parentInvalidations, before + 2);
    EXPECT_NE(dialog_.ControlExStyle(kLabel) & ui::style::kExStaticEdge, 0u);
    EXPECT_NE(dialog_.ControlStyle(kLabel) & ui::style::kBorder, 0u);
    label_.SetSunken(false);
    label_.SetBorder(false);
    EXPECT_EQ(dialog_.ControlExStyle(kLabel) & ui::style::kExStaticEdge, 0u);
    EXPECT_EQ(dialog_.ControlStyle(kLabel) & ui::style::kBorder, 0u);
}

TEST_F(ColourLabelTest, FlashingTextHidesEveryOtherHalfSecond) {
    label_.FlashText(true);
    EXPECT_EQ(dialog_.RunningTimers(), (std::vector<std::pair<int, int>>{{kLabel, 1}}));
    EXPECT_EQ(Texts().size(), 1u);
    platform_.loop.RunUntil([] { return false; }, 499);
    EXPECT_EQ(Texts().size(), 1u);
    platform_.loop.RunUntil([] { return false; }, 1);
    EXPECT_TRUE(Texts().empty());
    platform_.loop.RunUntil([] { return false; }, 500);
    EXPECT_EQ(Texts().size(), 1u);
    platform_.loop.RunUntil([] { return false; }, 500);
    EXPECT_TRUE(Texts().empty());
    // Stopped while hidden, the text comes back.
    label_.FlashText(false);
    EXPECT_TRUE(dialog_.RunningTimers().empty());
    EXPECT_EQ(Texts().size(), 1u);
    EXPECT_FALSE(label_.flashPhase());
}

TEST_F(ColourLabelTest, FlashingBackgroundTogglesThePhaseOnly) {
    label_.FlashBackground(true);
    const auto before = Paint().ops().size();
    platform_.loop.RunUntil([] { return false; }, 500);
    EXPECT_TRUE(label_.flashPhase());
    EXPECT_EQ(Paint().ops().size(), before);
    // Starting the text flash replaces the background one, from the visible phase.
    label_.FlashText(true);
    EXPECT_EQ(label_.flash(), frontdesk::FlashMode::Text);
    EXPECT_FALSE(label_.flashPhase());
    EXPECT_EQ(platform_.loop.ActiveTimers(), 1u);
    label_.Detach();
    EXPECT_EQ(platform_.loop.ActiveTimers(), 0u);
}

TEST_F(ColourLabelTest, ThreeDimensionalTextIsACopyInTheHighlightOffByOnePixel) {
    label_.SetTextColour(Rgb(0, 0, 0));
    label_.Set3DText(true, false);
    auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].rect, (ui::Rect{0, 0, 50, 16}));
    EXPECT_EQ(texts[0].textColour, Rgb(0, 0, 0));
    EXPECT_EQ(texts[1].rect, (ui::Rect{-1, -1, 49, 15}));
    EXPECT_EQ(texts[1].textColour, Rgb(255, 255, 255));
    label_.Set3DText(true, true);
    label_.SetHighlightColour(Rgb(200, 200, 0));
    texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].rect, (ui::Rect{1, 1, 51, 17}));
    EXPECT_EQ(texts[1].textColour, Rgb(200, 200, 0));
}

TEST_F(ColourLabelTest, RotatedTextTurnsAroundTheCentre) {
    label_.SetRotation(90, true);
    EXPECT_EQ(dialog_.ControlFont(kLabel).escapement, 900);
    EXPECT_EQ(dialog_.ControlFont(kLabel).orientation, 900);
    const ui::RecordingCanvas c = Paint();
    EXPECT_TRUE(c.Of(CanvasOp::Kind::Text).empty());
    const auto at = c.Of(CanvasOp::Kind::TextAt);
    ASSERT_EQ(at.size(), 1u);
    EXPECT_EQ(at[0].points.at(0), (ui::Point{25, 8}));
    EXPECT_EQ(at[0].anchor, ui::TextAnchor::BaselineCentre);
    EXPECT_EQ(at[0].font.escapement, 900);
    label_.SetRotation(90, false);
    EXPECT_EQ(dialog_.ControlFont(kLabel).escapement, 0);
    EXPECT_EQ(Texts().size(), 1u);
}

TEST_F(ColourLabelTest, LinkClicksNotifyTheParentOrOpenTheText) {
    const ui::Point centre = dialog_.ControlRect(kLabel).Centre();
    dialog_.Click(centre);  // not a link: the click is the dialog's
    EXPECT_TRUE(parent_.notified.empty());

    label_.SetLink(true, true);
    label_.SetLinkCursor(ui::Cursor::Hand);
    EXPECT_EQ(dialog_.Find(kLabel)->cursor, ui::Cursor::Hand);
    dialog_.Click(centre);
    EXPECT_EQ(parent_.notified, (std::vector<std::pair<int, unsigned>>{{kLabel, 0x8200u}}));
    EXPECT_TRUE(ui_.windowing.shellOpened().empty());

    label_.SetText("http://example.invalid/menu");
    label_.SetLink(true, false);
    dialog_.Click(centre);
    EXPECT_EQ(ui_.windowing.shellOpened(), std::vector<std::string>{"http://example.invalid/menu"});
    EXPECT_EQ(parent_.notified.size(), 1u);

    label_.SetLink(false, true);
    EXPECT_EQ(dialog_.ControlStyle(kLabel) & ui::style::kStaticNotify, 0u);
    dialog_.Click(centre);
    EXPECT_EQ(parent_.notified.size(), 1u);
    EXPECT_EQ(ui_.windowing.shellOpened().size(), 1u);
}

TEST(ColourLabelLifetime, ALabelOutlivingItsWindowLetsGoOfIt) {
    TestPlatform platform;
    ui::ScopedHeadlessWindowing scoped;
    Parent parent;
    ColourLabel label;
    {
        ui::HeadlessDialog dialog(kDialog, parent);
        dialog.Open();
        label.Attach(dialog, kLabel);
        label.FlashText(true);
        EXPECT_TRUE(label.attached());
        EXPECT_EQ(platform.loop.ActiveTimers(), 1u);
    }
    EXPECT_FALSE(label.attached());
    EXPECT_EQ(platform.loop.ActiveTimers(), 0u);
    EXPECT_EQ(label.flash(), frontdesk::FlashMode::None);
    // Nothing left to reach: these change only the label's own state.
    label.SetText("gone");
    label.FlashText(true);
    label.SetBold(true);
    EXPECT_EQ(label.font().weight, 700);
    EXPECT_EQ(label.flash(), frontdesk::FlashMode::None);
}

TEST_F(ColourLabelTest, SystemColourChangeRefreshesTheFace) {
    class Dark : public ui::Windowing {
      public:
        int RunModal(const ui::DialogTemplate&, ui::DialogController&) override { return ui::kRunFailed; }
        ui::Colour SystemColourOf(ui::SystemColour) override { return Rgb(20, 20, 20); }
        int LogPixelsY() override { return 96; }
        void ShellOpen(const std::string&) override {}
        ui::Rect ScreenRectOf(platform::WindowHandle) override { return {}; }
        int CaptionHeight() override { return 0; }
    } dark;
    ui::Windowing* previous = ui::ReplaceWindowing(&dark);
    label_.OnSystemColoursChanged();
    ui::ReplaceWindowing(previous);
    const auto fills = Paint().Of(CanvasOp::Kind::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].fill, Rgb(20, 20, 20));
}

}  // namespace
}  // namespace klt::test
