// How tables are drawn, and the hall views driven through the headless window system as a waiter
// would drive them, over plans and markers in a temporary information base.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "halls/plan.h"
#include "halls/table_drawing.h"
#include "test_support.h"
#include "ui/headless.h"

namespace klt::test {
namespace {

using namespace klt::halls;
using Kind = ui::CanvasOp::Kind;

std::shared_ptr<HallHeader> ColouredHeader() {
    auto h = std::make_shared<HallHeader>();
    h->occupiedFill = 0x0000A0;
    h->reservedFill = 0x0000B0;
    h->occupiedSumText = 0x0000C0;
    h->occupiedNameText = 0x0000D0;
    h->reservedTimeText = 0x0000E0;
    h->reservedNameText = 0x0000F0;
    return h;
}

TableItem Table(int shape, std::shared_ptr<HallHeader> header = ColouredHeader()) {
    TableItem t;
    t.record = NewTableRecord(5, 0x00A000, static_cast<Shape>(shape), {10, 20, 110, 80});
    t.record.outline = 0x123456;
    t.record.thickness = 4;
    t.record.freeNameText = 0x00B000;
    t.record.name = "T5";
    t.header = std::move(header);
    t.shown = true;
    return t;
}

ui::RecordingCanvas Draw(const TableItem& t) {
    ui::RecordingCanvas c;
    DrawTable(c, t);
    return c;
}

std::vector<std::string> Texts(const ui::RecordingCanvas& c) {
    std::vector<std::string> out;
    for (const ui::CanvasOp& op : c.Of(Kind::Text)) out.push_back(op.text);
    return out;
}

TEST(TableDrawing, ShapeOutlineAndFillByState) {
    struct ShapeCase {
        int shape;
        Kind op;
    };
    for (const ShapeCase s :
         {ShapeCase{1, Kind::RoundRect}, ShapeCase{2, Kind::Polygon}, ShapeCase{3, Kind::Ellipse},
          ShapeCase{0, Kind::Rectangle}, ShapeCase{9, Kind::Rectangle}}) {
        SCOPED_TRACE(s.shape);
        TableItem t = Table(s.shape);
        t.record.rounding = 12;
        const ui::RecordingCanvas c = Draw(t);
        ASSERT_EQ(c.Of(s.op).size(), 1u);
        const ui::CanvasOp shape = c.Of(s.op)[0];
        EXPECT_TRUE(shape.penInsideFrame);
        EXPECT_EQ(shape.penColour, 0x123456u);
        EXPECT_EQ(shape.penWidth, 4);
        EXPECT_EQ(shape.brushColour, 0x00A000u) << "free: the table's own colour";
        if (s.op == Kind::Polygon) {
            EXPECT_EQ(shape.points, (std::vector<ui::Point>{{10, 50}, {60, 20}, {110, 50}, {60, 80}}));
        } else {
            EXPECT_EQ(shape.rect, (ui::Rect{10, 20, 110, 80}));
        }
        if (s.op == Kind::RoundRect) {
            EXPECT_EQ(shape.corner, (ui::Size{12, 12}));
        }
    }

    struct StateCase {
        bool occupied, reserved;
        ui::Colour fill;
        std::vector<std::string> texts;
        std::vector<ui::Colour> colours;
    };
    const StateCase states[] = {
        {false, false, 0x00A000, {"T5"}, {0x00B000}},
        {true, false, 0x0000A0, {"17.49", "T5"}, {0x0000C0, 0x0000D0}},
        {false, true, 0x0000B0, {Cp("БРОНЬ\n19:30"_cp), "T5"}, {0x0000E0, 0x0000F0}},
        {true, true, 0x0000A0, {"17.49", "T5"}, {0x0000C0, 0x0000D0}},
    };
    for (const StateCase& s : states) {
        SCOPED_TRACE(testing::Message() << s.occupied << s.reserved);
        TableItem t = Table(3);
        t.state = s.occupied ? TableState::Occupied : TableState::Free;
        t.reserved = s.reserved;
        t.reservationText = "19:30";
        t.sum = 1749;
        const ui::RecordingCanvas c = Draw(t);
        EXPECT_EQ(c.Of(Kind::Ellipse).at(0).brushColour, s.fill);
        EXPECT_EQ(Texts(c), s.texts);
        for (std::size_t i = 0; i < s.colours.size() && i < c.Of(Kind::Text).size(); ++i) {
            EXPECT_EQ(c.Of(Kind::Text)[i].textColour, s.colours[i]);
            EXPECT_TRUE(c.Of(Kind::Text)[i].transparentText);
        }
    }
}

TEST(TableDrawing, TextsFollowTheRecordAndTheHeader) {
    TableItem t = Table(1);
    t.state = TableState::Occupied;
    t.sum = 1749;
    t.record.sumHAlign = 2;
    t.record.sumVAlign = 1;
    t.record.nameHAlign = 1;
    t.record.nameVAlign = 7;  // read as bottom
    t.record.sumOffsetInUse = 1;
    t.record.sumOffsetX = -5;
    t.record.sumOffsetY = 300;  // beyond the editor's range: held to 100
    t.record.nameOffsetX = 9;   // not in use
    t.record.sumFont.height = 1 << 30;
    std::memcpy(t.record.sumFont.faceName.data(), "Arial\0junk", 10);
    t.record.nameFont.faceName.fill('x');  // no NUL in the field
    t.header->wholeNumberSums = 1;
    ui::RecordingCanvas c = Draw(t);
    ASSERT_EQ(c.Of(Kind::Text).size(), 2u);
    const ui::CanvasOp sum = c.Of(Kind::Text)[0], name = c.Of(Kind::Text)[1];
    namespace tf = ui::text_format;
    EXPECT_EQ(sum.text, "17");
    EXPECT_EQ(sum.rect, (ui::Rect{5, 120, 105, 180}));
    EXPECT_EQ(sum.format, tf::kSingleLine | tf::kNoPrefix | tf::kRight | tf::kVCentre);
    EXPECT_EQ(sum.font.face, "Arial");
    EXPECT_EQ(sum.font.height, 1000);
    EXPECT_EQ(name.rect, (ui::Rect{10, 20, 110, 80}));
    EXPECT_EQ(name.format, tf::kSingleLine | tf::kNoPrefix | tf::kCentre | tf::kBottom);
    EXPECT_EQ(name.font.face, std::string(31, 'x'));
    EXPECT_EQ(TableDrawnArea(t), (ui::Rect{5, 20, 110, 180}));

    t.header->showSums = 0;
    EXPECT_EQ(Texts(Draw(t)), std::vector<std::string>{"T5"});
    t.header->showSums = 1;
    t.record.showName = 0;
    EXPECT_EQ(Texts(Draw(t)), std::vector<std::string>{"17"});

    t.state = TableState::Free;
    EXPECT_TRUE(Texts(Draw(t)).empty()) << "a free table shows no sum";
    t.sample = true;
    EXPECT_EQ(Texts(Draw(t)), std::vector<std::string>{"17"}) << "the editor's sample does";

    t.editMode = true;
    c = Draw(t);
    ASSERT_EQ(Texts(c), std::vector<std::string>{"5"});
    EXPECT_EQ(c.Of(Kind::Text)[0].format, tf::kSingleLine | tf::kNoPrefix | tf::kCentre | tf::kVCentre);

    t.shown = false;
    EXPECT_TRUE(Draw(t).ops().empty());
}

TEST(TableDrawing, DamagedRecordsStayWithinBounds) {
    TableItem t = Table(1);
    t.record.rect = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    t.record.thickness = 9999;
    t.record.rounding = -4;
    t.header = nullptr;  // a table without its plan draws with the defaults
    const ui::RecordingCanvas c = Draw(t);
    ASSERT_EQ(c.Of(Kind::RoundRect).size(), 1u);
    const ui::CanvasOp shape = c.Of(Kind::RoundRect)[0];
    EXPECT_EQ(shape.penWidth, 50);
    EXPECT_EQ(shape.corner, (ui::Size{0, 0}));
    EXPECT_LT(shape.rect.left, 0);
    EXPECT_GT(shape.rect.Width(), 0);
    EXPECT_LE(shape.rect.Width(), 1 << 25);
    t.record.shape = 2;
    EXPECT_EQ(Draw(t).Of(Kind::Polygon).at(0).points[1].x, 0) << "the midpoint does not overflow";
}

}  // namespace
}  // namespace klt::test
