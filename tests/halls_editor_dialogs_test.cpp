// The hall editor's table properties and colour scheme dialogs, driven by a scripted user.
#include <gtest/gtest.h>

#include "halls/editor_dialogs.h"
#include "halls/table_drawing.h"
#include "res/editor_dialogs.h"
#include "test_support.h"
#include "text/literal.h"
#include "ui/headless.h"
#include "ui/svg.h"

namespace klt::test {
namespace {

using namespace klt::text::literals;
using halls::Plan;
using halls::PlanKind;
using ui::CanvasOp;
using ui::HeadlessDialog;
using ui::UserAction;

UserAction Type(int id, const std::string& text) {
    return UserAction::Type(id, text);
}
UserAction Look(std::function<void(HeadlessDialog&)> look) {
    return UserAction::Look(std::move(look));
}
// A click in the middle of a colour swatch.
UserAction ClickOn(int id) {
    return Look([id](HeadlessDialog& d) { EXPECT_TRUE(d.Click(d.ControlRect(id).Centre())); });
}

class EditorDialogsTest : public ::testing::Test {
  protected:
    EditorDialogsTest() {
        for (int number : {5, 7, 9})
            plan_.tables.push_back(Table(halls::NewTableRecord(number, 0x00FFFF00, halls::Shape::Ellipse,
                                                               {10 * number, 20, 10 * number + 120, 100})));
    }
    halls::TableItem Table(const halls::TableRecord& record) {
        halls::TableItem t;
        t.record = record;
        t.header = plan_.header;
        t.editMode = true;
        t.shown = true;
        return t;
    }
    bool Run(std::vector<UserAction> script, std::size_t table = 0, PlanKind kind = PlanKind::Hall) {
        ui_.windowing.Queue(std::move(script));
        return halls::RunTableProperties(plan_, table, kind);
    }
    static bool Shown(const HeadlessDialog& d, int id) { return d.Find(id) && d.Find(id)->visible; }

    TestPlatform platform_;
    ui::ScopedHeadlessWindowing ui_;
    Plan plan_;
};

TEST_F(EditorDialogsTest, PropertiesApplyEveryFieldWithinItsLimitsButTheRectangle) {
    ui::Font arial;
    arial.face = "Arial";
    arial.height = -20;
    arial.weight = 700;
    ui_.windowing.QueueColour(0x00112233);
    ui_.windowing.QueueFont(ui::HeadlessWindowing::FontAnswer{arial, 0x00445566});
    ASSERT_TRUE(Run({Type(res::kPropNumber, "300"), Type(res::kPropName, std::string(25, 'N')),
                     Type(res::kPropThickness, "99"), Type(res::kPropRounding, "-5"),
                     Type(res::kPropSumX, "150"), UserAction::Press(res::kPropShapeRectangle),
                     UserAction::Press(res::kPropSumCentre), UserAction::Press(res::kPropNameTop),
                     UserAction::Press(res::kPropSeveralOrders), UserAction::Press(res::kPropNameOffset),
                     Look([](HeadlessDialog& d) { EXPECT_TRUE(d.Spin(res::kPropNameYSpin, -3)); }),
                     ClickOn(res::kPropOutlineColour), UserAction::Press(res::kPropNameFont),
                     UserAction::Press(res::kPropApply)}));
    const halls::TableRecord& r = plan_.tables[0].record;
    EXPECT_EQ(r.number, 200);
    EXPECT_EQ(r.name, std::string(20, 'N'));
    EXPECT_EQ(r.thickness, 50);
    EXPECT_EQ(r.rounding, 0);
    EXPECT_EQ(r.sumOffsetX, 100);
    EXPECT_EQ(r.nameOffsetY, -3);
    EXPECT_EQ(r.nameOffsetInUse, 1);
    EXPECT_EQ(r.shape, 1);
    EXPECT_EQ(r.sumHAlign, 1);
    EXPECT_EQ(r.nameVAlign, 0);
    EXPECT_EQ(r.severalOrders, 1);
    EXPECT_EQ(r.outline, 0x00112233u);
    EXPECT_EQ(r.freeNameText, 0x00445566u);
    EXPECT_EQ(halls::ToFont(r.nameFont).face, "Arial");
    EXPECT_EQ(r.nameFont.height, -20);
    EXPECT_EQ(r.sumFont, halls::SystemFontLogFont());
    EXPECT_EQ(r.rect, (halls::Rect{50, 20, 170, 100}));
    EXPECT_TRUE(plan_.tables[0].editMode);
}

TEST_F(EditorDialogsTest, PreviewIsTheSampleCentredLeftOfTheFields) {
    EXPECT_FALSE(
        Run({Type(res::kPropSumY, "7"), UserAction::Press(res::kPropSumOffset), Look([](HeadlessDialog& d) {
                 const ui::RecordingCanvas canvas = d.Paint(0);
                 const auto shapes = canvas.Of(CanvasOp::Kind::Ellipse);
                 ASSERT_EQ(shapes.size(), 1u);
                 const int x = (d.ClientRect().Width() - 120 - 300) / 2;
                 EXPECT_EQ(shapes[0].rect, (ui::Rect{x, 100, x + 120, 180}));
                 const auto texts = canvas.Of(CanvasOp::Kind::Text);
                 ASSERT_EQ(texts.size(), 2u);
                 EXPECT_EQ(texts[0].text, "100.00");
                 EXPECT_EQ(texts[0].rect.top, 107);
                 EXPECT_EQ(texts[1].text, "№ 5"_cp);
                 // The window's picture marks the chosen radio buttons (the shape and four
                 // alignments) and the three check boxes set.
                 const std::string svg = ui::DialogSvg(d);
                 std::size_t dots = 0, ticks = 0;
                 for (std::size_t at = 0; (at = svg.find("r=\"2.5\"", at)) != std::string::npos; ++at) ++dots;
                 for (std::size_t at = 0; (at = svg.find("<polyline", at)) != std::string::npos; ++at)
                     ++ticks;
                 EXPECT_EQ(dots, 5u);
                 EXPECT_EQ(ticks, 3u);
             })}));
}

TEST_F(EditorDialogsTest, ControlsShowAsThePlanAndTheTableAllow) {
    plan_.header->showSums = 0;
    plan_.tables[1].record.showName = 0;
    Run({Look([](HeadlessDialog& d) {
             EXPECT_FALSE(Shown(d, res::kPropShowSum));
             EXPECT_FALSE(Shown(d, res::kPropSumFont));
             EXPECT_TRUE(Shown(d, res::kPropShowName));
             EXPECT_FALSE(Shown(d, res::kPropNameFont));
             EXPECT_FALSE(Shown(d, res::kPropRounding));  // an ellipse has no corners
             EXPECT_FALSE(Shown(d, res::kPropSeveralOrders));
         }),
         UserAction::Press(res::kPropShowName), UserAction::Press(res::kPropShapeRectangle),
         Look([](HeadlessDialog& d) {
             EXPECT_TRUE(Shown(d, res::kPropNameFont));
             EXPECT_TRUE(Shown(d, res::kPropNameYSpin));
             EXPECT_TRUE(Shown(d, res::kPropRounding));
             EXPECT_TRUE(d.IsChecked(res::kPropShapeRectangle));
             EXPECT_FALSE(d.IsChecked(res::kPropShapeEllipse));
         })},
        1, PlanKind::Bar);
    plan_.header->showSums = 1;
    Run({Look([](HeadlessDialog& d) {
        EXPECT_TRUE(Shown(d, res::kPropSumFont));
        EXPECT_TRUE(Shown(d, res::kPropSeveralOrders));
    })});
}

TEST_F(EditorDialogsTest, AnotherTablesNumberIsRefusedAndTheTablesOwnAccepted) {
    ASSERT_TRUE(Run({Type(res::kPropNumber, "7"), UserAction::Press(res::kPropApply),
                     Look([](HeadlessDialog& d) { EXPECT_FALSE(d.closed()); }), Type(res::kPropNumber, "5"),
                     Type(res::kPropName, "A"), UserAction::Press(res::kPropApply)}));
    ASSERT_EQ(platform_.desktop.MessageBoxes().size(), 1u);
    EXPECT_EQ(platform_.desktop.MessageBoxes()[0].text, "Данный номер стола уже присутствует!"_cp);
    EXPECT_EQ(plan_.tables[0].record.number, 5);
    EXPECT_EQ(plan_.tables[0].record.name, "A");
}

TEST_F(EditorDialogsTest, CancelOrACancelledColourLeavesThePlanAsItWas) {
    const halls::TableRecord before = plan_.tables[2].record;
    ui_.windowing.QueueColour(std::nullopt);
    ASSERT_TRUE(Run({ClickOn(res::kPropFreeColour), UserAction::Press(res::kPropApply)}, 2));
    EXPECT_EQ(plan_.tables[2].record, before);
    ui_.windowing.QueueColour(0x00010203);
    EXPECT_FALSE(Run({Type(res::kPropNumber, "12"), ClickOn(res::kPropFreeColour),
                      UserAction::Press(res::kPropShowSum), UserAction::Press(res::kPropCancel)},
                     2));
    EXPECT_EQ(plan_.tables[2].record, before);
}

TEST_F(EditorDialogsTest, ColourSchemeAppliesItsSixColoursOrNone) {
    halls::HallHeader header;
    const int swatches[] = {res::kSchemeOccupiedFill, res::kSchemeReservedFill, res::kSchemeOccupiedSum,
                            res::kSchemeOccupiedName, res::kSchemeReservedTime, res::kSchemeReservedName};
    std::vector<UserAction> script;
    for (int i = 0; i < 6; ++i) {
        ui_.windowing.QueueColour(0x00100000u + static_cast<unsigned>(i));
        script.push_back(ClickOn(swatches[i]));
    }
    script.push_back(UserAction::Press(res::kSchemeShowReserved));
    script.push_back(Look([](HeadlessDialog& d) {
        const ui::RecordingCanvas canvas = d.Paint(0);
        const auto texts = canvas.Of(CanvasOp::Kind::Text);
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts[0].text, "БРОНЬ\n00:00"_cp);
        EXPECT_EQ(texts[0].textColour, 0x00100004u);
        EXPECT_EQ(canvas.Of(CanvasOp::Kind::RoundRect).at(0).brushColour, 0x00100001u);
    }));
    script.push_back(UserAction::Press(res::kSchemeApply));
    ui_.windowing.Queue(script);
    halls::HallHeader expected = header;
    ASSERT_TRUE(halls::RunColourScheme(header));
    expected.occupiedFill = 0x00100000, expected.reservedFill = 0x00100001,
    expected.occupiedSumText = 0x00100002;
    expected.occupiedNameText = 0x00100003, expected.reservedTimeText = 0x00100004;
    expected.reservedNameText = 0x00100005;
    EXPECT_EQ(header, expected);

    ui_.windowing.QueueColour(0);
    ui_.windowing.Queue({ClickOn(res::kSchemeOccupiedFill), UserAction::Press(res::kSchemeCancel)});
    EXPECT_FALSE(halls::RunColourScheme(header));
    EXPECT_EQ(header, expected);
}

}  // namespace
}  // namespace klt::test
