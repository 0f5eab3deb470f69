// The zone-change window and the compact plan display on plans and markers of a scratch
// information base, driven by a scripted user through the headless window system.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "halls/markers.h"
#include "halls/zone_change.h"
#include "platform/files.h"
#include "res/zone_dialogs.h"
#include "halls_support.h"
#include "test_support.h"
#include "ui/headless.h"

namespace klt::test {
namespace {

using namespace klt::halls;
using ui::UserAction;

class ZoneWindows : public AddInFixture {
  protected:
    void SetUp() override {
        Start("x", {}, base_.HostPath());
        ib_ = core::State().ibDirectory;
        // Tables 1..6 side by side; 3 takes several orders.
        Plan plan;
        for (int n = 1; n <= 6; ++n) {
            TableItem t;
            t.record = NewTableRecord(n, 0x00FFFF00, Shape::Rectangle, {n * 100, 100, n * 100 + 60, 160});
            t.record.severalOrders = n == 3;
            plan.tables.push_back(t);
        }
        ASSERT_TRUE(SavePlan(ib_, PlanKind::Hall, 2, plan));
        ASSERT_TRUE(SavePlan(ib_, PlanKind::Bar, 2, plan));
        const std::string orders = OpenOrdersFolder(ib_);
        ASSERT_TRUE(platform::Files().MakeDirectory(orders.substr(0, orders.rfind('\\'))));
        ASSERT_TRUE(platform::Files().MakeDirectory(orders));
    }

    void Order(int kind, int number, int table) {
        OrderMarkerValues v;
        v.kind = kind;
        v.number = number;
        v.table = table;
        ASSERT_TRUE(platform::Files().WriteAll(OpenOrdersFolder(ib_) + "\\" + FormatOrderMarker(v), ""));
    }

    ZoneChangeParams Params(PlanKind kind, std::string rights = std::string(100, '1')) {
        ZoneChangeParams p;
        p.kind = kind;
        p.number = 2;
        p.name = Cp("Веранда"_cp);
        p.rights = std::move(rights);
        p.caption227 = "lower";
        p.caption226 = "upper";
        p.visibilityList = Cp("|З2С1||З2С2||З2С3||З2С5||З1С6|"_cp);
        return p;
    }

    // Runs the window with the script; answers its result.
    std::string Run(ZoneChange& window, std::vector<UserAction> script) {
        ui_.windowing.Queue(std::move(script));
        window.Run();
        return window.result();
    }
    const ui::DialogRecord& Last() const { return ui_.windowing.history().back(); }
    static ui::Point Centre(int table) { return {table * 100 + 30, 130}; }

    ScratchFolder base_{"klt-zone-"};
    std::string ib_;
    ui::ScopedHeadlessWindowing ui_;
};

std::vector<int> ShownNumbers(const Plan& plan) {
    std::vector<int> shown;
    for (const TableItem& t : plan.tables)
        if (t.shown) shown.push_back(t.record.number);
    return shown;
}

TEST_F(ZoneWindows, TablesShownByTheListsAndHiddenByOrdersThatTakeNoOther) {
    Order(2, 2, 2);  // in both lists: shown again by the window's own list
    Order(2, 2, 3);  // takes several orders
    Order(2, 2, 5);  // hidden
    Order(1, 2, 1);  // a bar order leaves hall table 1 alone
    Order(2, 3, 1);  // so does another hall's
    ZoneChangeParams p = Params(PlanKind::Hall);
    p.extraTables = Cp("|З2С2||З2С4|"_cp);
    ZoneChange hall(p);
    Run(hall, {UserAction::Look([&](ui::HeadlessDialog& d) {
            const ui::RecordingCanvas c = d.Paint(0);
            ASSERT_FALSE(c.ops().empty());
            EXPECT_EQ(c.ops().front().kind, ui::CanvasOp::Kind::Clip);
            EXPECT_EQ(c.ops().front().rect, d.ControlRect(res::kZonePlanArea));
        })});
    EXPECT_EQ(ShownNumbers(hall.plan()), (std::vector<int>{1, 2, 3, 4}));
    for (const TableItem& t : hall.plan().tables) EXPECT_TRUE(t.editMode);

    ZoneChange bar(Params(PlanKind::Bar));
    Run(bar, {});
    EXPECT_EQ(ShownNumbers(bar.plan()), (std::vector<int>{2, 3, 5})) << "the bar's own order hides table 1";
}

TEST_F(ZoneWindows, CaptionsAndButtonsFollowKindAndRights) {
    struct Case {
        PlanKind kind;
        std::string rights;
        bool changeHall, changeUser, moveToHall;
    };
    const Case cases[] = {
        {PlanKind::Hall, Rights({100, 48, 61}), true, true, false},
        {PlanKind::Hall, Rights({100, 62, 69}), false, false, false},
        {PlanKind::Hall, Rights({48}), false, false, false},
        {PlanKind::Bar, std::string(100, '1'), false, true, true},
        {PlanKind::Bar, Rights({61, 100, 48}), false, false, false},
        {PlanKind::Bar, Rights({62}), false, true, false},
        {PlanKind::Bar, "", false, false, false},
    };
    for (const Case& c : cases) {
        ZoneChange window(Params(c.kind, c.rights));
        Run(window, {});
        SCOPED_TRACE(c.rights);
        EXPECT_EQ(Last().Find(res::kZoneChangeHall)->visible, c.changeHall);
        EXPECT_EQ(Last().Find(res::kZoneChangeUser)->visible, c.changeUser);
        EXPECT_EQ(Last().Find(res::kZoneMoveToHall)->visible, c.moveToHall);
        EXPECT_EQ(Last().caption,
                  Cp(c.kind == PlanKind::Hall ? "ЗАЛ:    Веранда"_cp : "БАРНАЯ СТОЙКА:    Веранда"_cp));
    }
    EXPECT_EQ(Last().Find(res::kZoneCaptionLower)->text, "lower");
    EXPECT_EQ(Last().Find(res::kZoneCaptionUpper)->text, "upper");
    EXPECT_EQ(Last().Find(res::kZoneCaptionUpper)->font.face, "Times New Roman");
    EXPECT_EQ(Last().Find(res::kZoneCaptionLower)->font.weight, 700);
}

TEST_F(ZoneWindows, EachWayOutLeavesItsResult) {
    struct Case {
        PlanKind kind;
        UserAction action;
        std::string result;
    };
    const Case cases[] = {
        {PlanKind::Hall, UserAction::Press(res::kZoneChangeHall), Cp("Смена зала_2_ИзСменыЗала"_cp)},
        {PlanKind::Hall, UserAction::Press(res::kZoneChangeUser), Cp("Смена пользователя_2__ИзСменыЗала"_cp)},
        {PlanKind::Bar, UserAction::Press(res::kZoneMoveToHall), Cp("Перевести в ЗАЛ_2"_cp)},
        {PlanKind::Hall, UserAction::Press(res::kZoneCancel), Cp("Отмена_2_ИзСменыЗала"_cp)},
        {PlanKind::Bar, UserAction::Key(ui::kKeyEscape), Cp("Отмена_2_ИзСменыЗала"_cp)},
        {PlanKind::Hall, UserAction::ClickPlan(Centre(3)), Cp("Выбор стола_2_3_ИзЗала"_cp)},
    };
    for (const Case& c : cases) {
        ZoneChange window(Params(c.kind));
        EXPECT_EQ(Run(window, {c.action}), c.result);
        EXPECT_FALSE(Last().abandoned) << c.result;
    }
}

TEST_F(ZoneWindows, OnlyShownTablesAreTaken) {
    ZoneChangeParams p = Params(PlanKind::Hall);
    p.visibilityList = Cp("|З2С2|"_cp);
    ZoneChange window(p);
    auto stillOpen = UserAction::Look([](ui::HeadlessDialog& d) { EXPECT_FALSE(d.closed()); });
    const std::string result =
        Run(window, {UserAction::ClickPlan(Centre(1)), stillOpen, UserAction::Key(ui::kKeyReturn), stillOpen,
                     UserAction::Look([&](ui::HeadlessDialog& d) {
                         // The finger's margin: a pixel past the right edge still takes table 2.
                         const Rect r = window.plan().tables[1].record.rect;
                         d.Click({r.right + 1, r.top});
                     })});
    EXPECT_EQ(result, Cp("Выбор стола_2_2_ИзЗала"_cp));
    EXPECT_FALSE(Last().abandoned);
}

TEST_F(ZoneWindows, MissingOrDamagedPlansDrawNothingOutsideTheArea) {
    ZoneChangeParams p = Params(PlanKind::Hall);
    p.number = 9;  // no file
    ZoneChange missing(p);
    EXPECT_EQ(Run(missing, {UserAction::Press(res::kZoneChangeHall)}), Cp("Смена зала_9_ИзСменыЗала"_cp));
    EXPECT_TRUE(missing.plan().tables.empty());

    // A table spanning everything with values no editor writes, and one far off the plan.
    Plan plan;
    TableItem wild;
    wild.record = NewTableRecord(1, 0, Shape::Ellipse, {INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX});
    wild.record.thickness = 1 << 30;
    wild.record.shape = 77;
    plan.tables.push_back(wild);
    wild.record.number = 2;
    wild.record.rect = {100000, 100000, 100100, 100100};
    plan.tables.push_back(wild);
    ASSERT_TRUE(SavePlan(ib_, PlanKind::Hall, 8, plan));
    p.number = 8;
    p.extraTables = Cp("|З8С1||З8С2|"_cp);
    ZoneChange damaged(p);
    Run(damaged, {UserAction::Look([](ui::HeadlessDialog& d) {
            const ui::Rect area = d.ControlRect(res::kZonePlanArea);
            const ui::RecordingCanvas c = d.Paint(0);
            int shapes = 0;
            for (const ui::CanvasOp& op : c.ops()) {
                if (op.kind == ui::CanvasOp::Kind::Clip || op.kind == ui::CanvasOp::Kind::ClearClip) continue;
                if (op.kind != ui::CanvasOp::Kind::Text) ++shapes;
                EXPECT_GE(op.rect.left, area.left - area.Width());
                EXPECT_LE(op.rect.right, area.right + area.Width());
                EXPECT_GE(op.rect.top, area.top - area.Height());
                EXPECT_LE(op.rect.bottom, area.bottom + area.Height());
            }
            EXPECT_EQ(shapes, 1) << "the table off the plan is not drawn";
            // On the caption line under the area, where only the table's rectangle reaches.
            EXPECT_TRUE(d.Click({area.left + 10, area.bottom + 10}));
            EXPECT_FALSE(d.closed()) << "a click beside the plan area takes no table";
        })});
    EXPECT_EQ(damaged.plan().tables.size(), 2u);

    ASSERT_TRUE(platform::Files().WriteAll(PlanPath(ib_, PlanKind::Hall, 7), "garbage"));
    p.number = 7;
    ZoneChange garbage(p);
    Run(garbage, {});
    EXPECT_TRUE(garbage.plan().tables.empty());
}

TEST_F(ZoneWindows, PictureUnderThePlanIsScaledAndTurnedWithIt) {
    Plan plan;
    plan.header->pictureName = "hall.bmp";
    ASSERT_TRUE(SavePlan(ib_, PlanKind::Hall, 4, plan));
    // Taller than the plan and narrower: its top 489 rows lie under the plan's left part.
    ASSERT_TRUE(
        platform::Files().WriteAll(PicturePath(ib_, "hall.bmp"), Bmp(600, 600, 0, ui::Rgb(255, 0, 0))));

    ZoneChangeParams p = Params(PlanKind::Hall);
    p.number = 4;
    ZoneChange zone(p);
    Run(zone, {UserAction::Look([](ui::HeadlessDialog& d) {
            const ui::Rect a = d.ControlRect(res::kZonePlanArea);
            const std::vector<ui::CanvasOp> drawn = d.Paint(0).Of(ui::CanvasOp::Kind::Bitmap);
            ASSERT_EQ(drawn.size(), 1u);
            EXPECT_EQ(drawn[0].source, (ui::Rect{0, 0, 600, 489}));
            EXPECT_EQ(drawn[0].rect, (ui::Rect{a.left, a.top, a.left + a.Width() * 600 / 797, a.bottom}));
        })});

    CompactPlanDisplay compact(PlanKind::Hall, 4, 0);
    ui_.windowing.Queue({UserAction::Look([](ui::HeadlessDialog& d) {
        const std::vector<ui::CanvasOp> drawn = d.Paint(0).Of(ui::CanvasOp::Kind::Bitmap);
        ASSERT_EQ(drawn.size(), 1u);
        ASSERT_EQ(drawn[0].bitmap->width, 489);
        ASSERT_EQ(drawn[0].bitmap->height, 600);
        EXPECT_EQ(drawn[0].bitmap->At(0, 599), ui::Rgb(255, 0, 0)) << "the plan's left edge at the bottom";
        EXPECT_EQ(drawn[0].rect, (ui::Rect{0, 265 - 265 * 600 / 797, 171, 265}));
    })});
    compact.Run();
}

TEST_F(ZoneWindows, CompactDisplayShowsEveryTableFreeAndChoosesNothing) {
    Order(2, 2, 1);
    CompactPlanDisplay display(PlanKind::Hall, 2, 1);
    ui_.windowing.Queue({UserAction::ClickPlan(Centre(1)),
                         UserAction::Look([](ui::HeadlessDialog& d) { EXPECT_FALSE(d.closed()); }),
                         UserAction::Key(ui::kKeyReturn)});
    EXPECT_EQ(display.Run(), ui::kIdOk);
    EXPECT_TRUE(display.result().empty());
    EXPECT_FALSE(Last().abandoned);
    const Plan& plan = display.plan();
    EXPECT_EQ(plan.header->wholeNumberSums, 1);
    EXPECT_EQ(plan.header->showNames, 0);
    ASSERT_EQ(plan.tables.size(), 6u);
    for (const TableItem& t : plan.tables) {
        EXPECT_TRUE(t.shown);
        EXPECT_EQ(t.state, TableState::Free);
        EXPECT_FALSE(t.editMode);
    }
    EXPECT_EQ(plan.tables[0].record.rect, Conversion::QuarterTurn().Apply({100, 100, 160, 160}));
}

}  // namespace
}  // namespace klt::test
