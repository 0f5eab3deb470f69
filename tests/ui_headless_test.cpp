// The headless window system: template geometry, the scripted user of modal windows, and timers
// on virtual time.
#include <gtest/gtest.h>

#include "res/dialogs.h"
#include "test_support.h"
#include "ui/headless.h"

namespace klt::test {
namespace {

using ui::UserAction;

constexpr int kButton = 10, kDisabled = 11, kDefault = 12, kLabel = 13;

constexpr ui::ControlTemplate kControls[] = {
    {kButton, ui::ControlKind::Button, "Go", 10, 10, 40, 14, 0, 0, 0},
    {kDisabled, ui::ControlKind::Button, "Off", 60, 10, 40, 14, ui::style::kDisabled, 0, 0},
    {kDefault, ui::ControlKind::Button, "OK", 110, 10, 40, 14, ui::style::kButtonDefault, 0, 0},
    {kLabel, ui::ControlKind::Label, "label", 10, 40, 80, 16, 0, 0, 0},
};
constexpr ui::DialogTemplate kDialog{500, "Test", 160, 80, 0, 8, "MS Sans Serif", kControls};

// Records what the window tells it and closes on the commands it is told to.
class Recorder : public ui::DialogController {
  public:
    void OnOpen(ui::DialogView& view) override {
        ++opened;
        if (timerPeriod) view.StartTimer(7, timerPeriod);
    }
    void OnCommand(ui::DialogView& view, int id) override {
        commands.push_back(id);
        if (id == closeOn) view.Close(100 + id);
        if (nested && id == kButton) {
            Recorder inner;
            inner.closeOn = kButton;
            innerCode = ui::CurrentWindowing().RunModal(kDialog, inner);
            innerCommands = inner.commands;
        }
        ui::DialogController::OnCommand(view, id);
    }
    void OnClick(ui::DialogView&, ui::Point p) override { clicks.push_back(p); }
    bool OnKey(ui::DialogView&, int key) override {
        keys.push_back(key);
        return true;
    }
    void OnTimer(ui::DialogView& view, int id) override {
        ticks.push_back(id);
        if (ticks.size() == 3) view.Close(77);
    }
    void OnClose(ui::DialogView&) override { ++closed; }

    int closeOn = -100;
    unsigned timerPeriod = 0;
    bool nested = false;
    int opened = 0, closed = 0, innerCode = 0;
    std::vector<int> commands, keys, ticks, innerCommands;
    std::vector<ui::Point> clicks;
};

class UiHeadless : public ::testing::Test {
  protected:
    int Run(Recorder& r, std::vector<UserAction> script) {
        ui_.windowing.Queue(std::move(script));
        return ui::CurrentWindowing().RunModal(kDialog, r);
    }
    TestPlatform platform_;
    ui::ScopedHeadlessWindowing ui_;
};

TEST(UiGeometry, DialogUnitsBecomePixelsByTheFontsCell) {
    // 8-point MS Sans Serif: 6 × 13 pixels a character cell, a quarter and an eighth of it a unit.
    EXPECT_EQ(ui::DialogUnitsToPixels(122, 96, 38, 69, {6, 13}), (ui::Rect{183, 156, 240, 268}));
    EXPECT_EQ(ui::DialogUnitsToPixels(1, 1, 1, 1, {6, 13}), (ui::Rect{2, 2, 4, 4}));  // rounded
    EXPECT_EQ(ui::DialogUnitsToPixels(4, 8, 4, 8, {8, 16}), (ui::Rect{8, 16, 16, 32}));

    Recorder r;
    ui::HeadlessDialog d(res::kNumberPadTemplate, r);
    EXPECT_EQ(d.ClientRect(), (ui::Rect{0, 0, 246, 275}));
    EXPECT_EQ(d.ControlRect(res::kPadConfirm), (ui::Rect{183, 156, 240, 268}));
    // Keys of one row share their top and height; columns do not overlap.
    EXPECT_EQ(d.ControlRect(res::kPadKey7).top, d.ControlRect(res::kPadKey9).top);
    EXPECT_LE(d.ControlRect(res::kPadKey7).right, d.ControlRect(res::kPadKey8).left);
    EXPECT_EQ(d.ControlRect(999), ui::Rect{});
}

TEST_F(UiHeadless, ScriptPressesAndTheControllerCloses) {
    Recorder r;
    r.closeOn = kButton;
    EXPECT_EQ(Run(r, {UserAction::Press(kButton), UserAction::Press(kDefault)}), 100 + kButton);
    EXPECT_EQ(r.commands, std::vector<int>{kButton});  // nothing after the close
    EXPECT_EQ(r.opened, 1);
    EXPECT_EQ(r.closed, 1);
    ASSERT_EQ(ui_.windowing.history().size(), 1u);
    EXPECT_FALSE(ui_.windowing.history()[0].abandoned);
    EXPECT_EQ(ui_.windowing.history()[0].closeCode, 100 + kButton);
}

TEST_F(UiHeadless, DisabledHiddenAndMissingControlsTakeNoPress) {
    Recorder r;
    Run(r, {UserAction::Press(kDisabled), UserAction::Press(999), UserAction::Press(kLabel),
            UserAction::Look([](ui::HeadlessDialog& d) {
                d.ShowControl(kButton, false);
                EXPECT_FALSE(d.Press(kButton));
                d.ShowControl(kButton, true);
                d.EnableControl(kDisabled, true);
                EXPECT_TRUE(d.Press(kDisabled));
            })});
    EXPECT_EQ(r.commands, (std::vector<int>{kDisabled, ui::kIdCancel}));
}

TEST_F(UiHeadless, AnAbandonedWindowIsAnsweredAsByEscape) {
    Recorder r;
    EXPECT_EQ(Run(r, {}), ui::kIdCancel);
    EXPECT_EQ(r.commands, std::vector<int>{ui::kIdCancel});
    EXPECT_TRUE(ui_.windowing.history().back().abandoned);
}

TEST_F(UiHeadless, KeysGoThroughTheDialogManager) {
    Recorder r;
    Run(r, {UserAction::Key('A'), UserAction::Key(ui::kKeyReturn), UserAction::Press(kButton),
            UserAction::Key(ui::kKeyReturn), UserAction::Key(ui::kKeyEscape)});
    EXPECT_EQ(r.keys, std::vector<int>{'A'});
    // Enter is the default button's command, even after another button was pressed; Esc is the
    // cancel command, which closes.
    EXPECT_EQ(r.commands, (std::vector<int>{kDefault, kButton, kDefault, ui::kIdCancel}));
    EXPECT_FALSE(ui_.windowing.history().back().abandoned);
}

TEST_F(UiHeadless, ClicksHitButtonsOrReachTheDialog) {
    Recorder r;
    ui::Rect button, label;
    Run(r, {UserAction::Look([&](ui::HeadlessDialog& d) {
            button = d.ControlRect(kButton);
            label = d.ControlRect(kLabel);
        })});
    r = Recorder();
    Run(r, {UserAction::Click(button.Centre()), UserAction::Click({button.right, button.top}),
            UserAction::Click(label.Centre()), UserAction::Click({1, 1})});
    EXPECT_EQ(r.commands, (std::vector<int>{kButton, ui::kIdCancel}));
    // Right edges are outside; a static without the notify style lets the click through.
    EXPECT_EQ(r.clicks, (std::vector<ui::Point>{{button.right, button.top}, label.Centre(), {1, 1}}));

    // With it, the static reports the click as its command.
    r = Recorder();
    Run(r, {UserAction::Look([&](ui::HeadlessDialog& d) {
            d.ModifyControlStyle(kLabel, 0, ui::style::kStaticNotify, false);
            d.Click(label.Centre());
        })});
    EXPECT_EQ(r.commands, (std::vector<int>{kLabel, ui::kIdCancel}));
    EXPECT_TRUE(r.clicks.empty());
}

TEST_F(UiHeadless, EachModalWindowTakesTheNextScript) {
    Recorder outer;
    outer.nested = true;
    outer.closeOn = kDefault;
    ui_.windowing.Queue({UserAction::Press(kButton), UserAction::Press(kDefault)});
    ui_.windowing.Queue({UserAction::Press(kDefault), UserAction::Press(kButton)});
    EXPECT_EQ(ui::CurrentWindowing().RunModal(kDialog, outer), 100 + kDefault);
    EXPECT_EQ(outer.innerCommands, (std::vector<int>{kDefault, kButton}));
    EXPECT_EQ(outer.innerCode, 100 + kButton);
    EXPECT_EQ(outer.commands, (std::vector<int>{kButton, kDefault}));
    EXPECT_EQ(ui_.windowing.QueuedScripts(), 0u);
    EXPECT_EQ(ui_.windowing.history().size(), 2u);
}

TEST_F(UiHeadless, TimersRunOnVirtualTimeAndDieWithTheWindow) {
    Recorder r;
    r.timerPeriod = 200;
    const std::int64_t start = platform_.clock.MonotonicMs();
    EXPECT_EQ(Run(r, {UserAction::Wait(150), UserAction::Look([&](ui::HeadlessDialog& d) {
                          EXPECT_TRUE(r.ticks.empty());
                          EXPECT_EQ(d.RunningTimers().size(), 1u);
                      }),
                      UserAction::Wait(10000)}),
              77);
    EXPECT_EQ(r.ticks, (std::vector<int>{7, 7, 7}));
    // The wait ended when the window closed, at the third tick.
    EXPECT_EQ(platform_.clock.MonotonicMs() - start, 600);
    EXPECT_EQ(platform_.loop.ActiveTimers(), 0u);
}

TEST_F(UiHeadless, AWindowThatIsNotClosedStopsItsTimersWhenItGoes) {
    Recorder r;
    r.timerPeriod = 100;
    {
        ui::HeadlessDialog d(kDialog, r);
        d.Open();
        EXPECT_EQ(platform_.loop.ActiveTimers(), 1u);
    }
    EXPECT_EQ(platform_.loop.ActiveTimers(), 0u);
}

TEST(UiWindowing, ReplacingAndRestoring) {
    ui::Windowing& original = ui::CurrentWindowing();
    {
        ui::ScopedHeadlessWindowing scoped;
        EXPECT_EQ(&ui::CurrentWindowing(), &scoped.windowing);
        {
            ui::ScopedHeadlessWindowing inner;
            EXPECT_EQ(&ui::CurrentWindowing(), &inner.windowing);
        }
        EXPECT_EQ(&ui::CurrentWindowing(), &scoped.windowing);
    }
    EXPECT_EQ(&ui::CurrentWindowing(), &original);
    EXPECT_EQ(ui::PointsToHeight(18, 96), -24);
    EXPECT_EQ(ui::PointsToHeight(8, 120), -13);
}

}  // namespace
}  // namespace klt::test
