// The hall editor's plan arithmetic and its mouse on the plan area, without a window.
#include <gtest/gtest.h>

#include <initializer_list>

#include "halls/plan_edit.h"
#include "halls_support.h"
#include "platform/files.h"
#include "text/literal.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

namespace klt::test {
namespace {

using namespace klt::text::literals;
using namespace klt::halls;

Plan PlanOf(std::initializer_list<Rect> rects) {
    Plan plan;
    for (const Rect& r : rects)
        plan.tables.push_back(NewTable(plan, Shape::Rectangle, r, kInitialTableColour));
    return plan;
}

Rect At(const Plan& plan, std::size_t i) {
    return plan.tables[i].record.rect;
}

TEST(PlanEdit, NewTablesAndTheEditorsHeaderStartAsTheEditorDraws) {
    Plan plan = PlanOf({{0, 0, 10, 10}, {0, 0, 10, 10}});
    plan.tables[1].record.number = 3;
    const TableItem t = NewTable(plan, Shape::Ellipse, NewTableRect({10, 20, 110, 220}), 0x00123456);
    EXPECT_EQ(t.record.rect, (Rect{15, 50, 105, 215}));
    EXPECT_EQ(t.record.number, 2);
    EXPECT_EQ(t.record.name, "№ 2"_cp);
    EXPECT_EQ(t.record.shape, 3);
    EXPECT_EQ(t.record.freeFill, 0x00123456u);
    EXPECT_EQ(t.record.thickness, 2);
    EXPECT_EQ(t.record.nameHAlign, 2);
    EXPECT_EQ(t.record.nameVAlign, 2);
    EXPECT_EQ(t.record.sumFont, SystemFontLogFont());
    EXPECT_EQ(t.record.nameFont, SystemFontLogFont());
    EXPECT_TRUE(t.editMode && t.shown && !t.sample);
    EXPECT_EQ(t.header, plan.header);

    Plan full;
    for (int n = 1; n <= 1000; ++n) {
        full.tables.emplace_back();
        full.tables.back().record.number = n;
    }
    EXPECT_EQ(NewTable(full, Shape::Rectangle, {}, 0).record.number, 0);
    EXPECT_EQ(NewTable(full, Shape::Rectangle, {}, 0).record.name, "№ 0"_cp);

    const HallHeader h = EditorHeader(7);
    EXPECT_EQ(h.formatCopy, 7);
    EXPECT_EQ(h.occupiedFill, 0x000080FFu);
    EXPECT_EQ(h.reservedFill, 0x00C0C0C0u);
    EXPECT_EQ(h.occupiedSumText | h.occupiedNameText | h.reservedTimeText | h.reservedNameText, 0u);
    EXPECT_TRUE(h.showSums == 1 && h.showNames == 1 && h.usePicture == 1);
    EXPECT_TRUE(h.pictureName.empty());
    EXPECT_EQ(h.wholeNumberSums, 0);
}

TEST(PlanEdit, CopiesKeepTheLookTakeNewNumbersAndStayInsideTheArea) {
    Plan plan = PlanOf({{10, 10, 50, 40}, {770, 470, 790, 480}});
    TableRecord& styled = plan.tables[1].record;
    styled.shape = 3;
    styled.rounding = 7;
    styled.outline = 0x11;
    styled.freeNameText = 0x22;
    styled.thickness = 9;
    styled.sumHAlign = 1;
    styled.nameVAlign = 0;
    styled.sumFont.height = 30;
    styled.nameOffsetX = -5;
    styled.nameOffsetInUse = 1;
    styled.severalOrders = 1;
    styled.showSum = 0;
    Selection sel{1, 0};
    ASSERT_TRUE(ApplyCommand(plan, sel, EditCommand::Copy));
    ASSERT_EQ(plan.tables.size(), 4u);
    EXPECT_EQ(sel, (Selection{2, 3}));
    TableRecord expected = plan.tables[1].record;
    expected.number = 3;
    expected.name = "№ 3"_cp;
    expected.rect = {775, 475, 795, 485};  // 15 on, then pulled back to the corner
    EXPECT_EQ(plan.tables[2].record, expected);
    EXPECT_EQ(plan.tables[3].record.number, 4);
    EXPECT_EQ(At(plan, 3), (Rect{25, 25, 65, 55}));
    EXPECT_TRUE(plan.tables[2].editMode && plan.tables[2].shown && !plan.tables[2].reserved);

    sel = {3, 0};
    ASSERT_TRUE(ApplyCommand(plan, sel, EditCommand::Delete));
    EXPECT_TRUE(sel.empty());
    ASSERT_EQ(plan.tables.size(), 2u);
    EXPECT_EQ(plan.tables[0].record.number, 2);
    EXPECT_EQ(plan.tables[1].record.number, 3);
}

TEST(PlanEdit, AlignAndSizeFollowThePrimaryTable) {
    const Plan start = PlanOf({{10, 20, 40, 60}, {100, 200, 150, 210}, {300, 100, 320, 180}});
    auto run = [&](EditCommand c) {
        Plan p = start;
        Selection sel{0, 2, 1};  // the primary is table 1, selected last
        ApplyCommand(p, sel, c);
        return p;
    };
    Plan p = run(EditCommand::AlignLeft);
    EXPECT_EQ(At(p, 0), (Rect{100, 20, 130, 60}));
    EXPECT_EQ(At(p, 2), (Rect{100, 100, 120, 180}));
    p = run(EditCommand::AlignBottom);
    EXPECT_EQ(At(p, 0), (Rect{10, 170, 40, 210}));
    EXPECT_EQ(At(p, 1), (Rect{100, 200, 150, 210}));
    p = run(EditCommand::AlignRight);
    EXPECT_EQ(At(p, 2), (Rect{130, 100, 150, 180}));
    p = run(EditCommand::AlignTop);
    EXPECT_EQ(At(p, 0), (Rect{10, 200, 40, 240}));
    p = run(EditCommand::SameHeight);
    EXPECT_EQ(At(p, 0), (Rect{10, 20, 40, 30}));
    p = run(EditCommand::SameWidth);
    EXPECT_EQ(At(p, 2), (Rect{300, 100, 350, 180}));
    p = run(EditCommand::SameSize);
    EXPECT_EQ(At(p, 2), (Rect{300, 100, 350, 110}));
}

TEST(PlanEdit, CentringMovesTheSelectionsBoxEvenBeyondTheLeftEdge) {
    Plan plan = PlanOf({{100, 50, 200, 100}, {300, 60, 400, 120}});
    Selection sel{0, 1};
    ApplyCommand(plan, sel, EditCommand::Centre);
    EXPECT_EQ(At(plan, 0), (Rect{250, 208, 350, 258}));  // (800-300)/2, (487-70)/2
    EXPECT_EQ(At(plan, 1), (Rect{450, 218, 550, 278}));
    ApplyCommand(plan, sel, EditCommand::CentreVertically);
    EXPECT_EQ(At(plan, 0).left, 250);

    Plan wide = PlanOf({{0, 5, 1001, 10}});
    sel = {0};
    ApplyCommand(wide, sel, EditCommand::CentreHorizontally);
    EXPECT_EQ(At(wide, 0), (Rect{-100, 5, 901, 10}));  // -201 / 2 rounds toward zero
}

TEST(PlanEdit, DistributingKeepsTheIntegerGapsAndTieRules) {
    // The two last-starting tables tie: the width left out is the later one's (10, not 30), and
    // of the two the later one is placed first, so table 1 stays where it is.
    Plan plan = PlanOf({{0, 0, 10, 5}, {100, 0, 130, 5}, {100, 0, 110, 5}, {20, 0, 21, 5}});
    Selection sel{0, 3, 1, 2};
    ApplyCommand(plan, sel, EditCommand::DistributeHorizontally);
    // L 0, R 100, S - w = 41, gap (100 - 41) / 3 = 19.
    EXPECT_EQ(At(plan, 0), (Rect{0, 0, 10, 5}));
    EXPECT_EQ(At(plan, 3), (Rect{29, 0, 30, 5}));
    EXPECT_EQ(At(plan, 2), (Rect{49, 0, 59, 5}));
    EXPECT_EQ(At(plan, 1), (Rect{100, 0, 130, 5}));

    Plan column = PlanOf({{0, 0, 5, 10}, {0, 300, 5, 310}, {0, 20, 5, 40}});
    sel = {0, 1, 2};
    ApplyCommand(column, sel, EditCommand::DistributeVertically);
    EXPECT_EQ(At(column, 2), (Rect{0, 145, 5, 165}));  // gap (300 - 30) / 2

    for (const Plan& still :
         {PlanOf({{0, 0, 10, 5}, {300, 0, 320, 5}}), PlanOf({{0, 0, 10, 5}, {5, 0, 15, 5}, {8, 0, 18, 5}})}) {
        Plan p = still;
        sel = p.tables.size() == 2 ? Selection{1, 0} : Selection{0, 1, 2};
        ApplyCommand(p, sel, EditCommand::DistributeHorizontally);
        for (std::size_t i = 0; i < p.tables.size(); ++i) EXPECT_EQ(At(p, i), At(still, i)) << i;
    }
}

TEST(PlanEdit, PressesSelectBandAndToggle) {
    Plan plan = PlanOf({{100, 100, 200, 150}, {150, 120, 250, 180}, {400, 300, 450, 350}});
    PlanEditSession s(plan);
    EXPECT_EQ(TableAt(plan, {98, 125}), 0u);  // two pixels outside still hit
    EXPECT_FALSE(TableAt(plan, {97, 125}));
    EXPECT_EQ(TableAt(plan, {175, 130}), 0u);  // overlapping: the first in the list

    // A band drawn up and to the left takes every table it meets, in list order.
    s.Press({500, 400}, false);
    s.Move({300, 200});
    EXPECT_EQ(s.Band(), (ui::Rect{300, 200, 500, 400}));
    s.Release({240, 170});
    EXPECT_EQ(s.selected(), (Selection{1, 2}));
    EXPECT_EQ(SelectionFrame(plan, s.selected()), (ui::Rect{148, 118, 452, 352}));

    // Shift on a selected table drops it; outside the frame, Shift adds without clearing.
    s.Press({420, 320}, true);
    s.Release({420, 320});
    EXPECT_EQ(s.selected(), (Selection{1}));
    s.Press({420, 320}, true);
    s.Release({420, 320});
    EXPECT_EQ(s.selected(), (Selection{1, 2}));
    // A band cancelled adds nothing; a bare click off every table clears.
    s.Press({0, 0}, true);
    s.Move({120, 120});
    s.Cancel();
    EXPECT_EQ(s.selected(), (Selection{1, 2}));
    s.Press({600, 50}, false);
    s.Release({600, 50});
    EXPECT_TRUE(s.selected().empty());
}

TEST(PlanEdit, DragsStopAtTheBorderAndCancelPutsBack) {
    Plan plan = PlanOf({{100, 100, 200, 150}, {300, 300, 350, 350}});
    PlanEditSession s(plan);
    s.Press({150, 125}, false);
    EXPECT_TRUE(s.Dragging());
    s.Move({2000, 2000});
    EXPECT_EQ(At(plan, 0), (Rect{695, 435, 795, 485}));
    s.Release({-2000, 130});
    EXPECT_EQ(At(plan, 0), (Rect{0, 105, 100, 155}));

    // A corner handle moves that corner only, and within the area.
    s.Press({2, 153}, false);  // the bottom-left handle of the table now at 0,105
    s.Move({-50, 600});
    EXPECT_EQ(At(plan, 0), (Rect{0, 105, 100, 485}));
    s.Cancel();
    EXPECT_EQ(At(plan, 0), (Rect{0, 105, 100, 155}));
    // Pulled across the opposite corner, the table ends the right way round.
    s.Press({1, 106}, false);
    s.Release({150, 200});
    EXPECT_EQ(At(plan, 0), (Rect{100, 155, 149, 199}));

    // A group drag moves the selection together; the right button puts it all back.
    s.Press({320, 320}, true);
    s.Release({340, 340});  // a table added to others is not dragged
    ASSERT_EQ(s.selected(), (Selection{0, 1}));
    s.Press({200, 250}, false);  // inside the frame, on no table
    s.Move({700, 260});
    EXPECT_EQ(At(plan, 1), (Rect{745, 310, 795, 360}));
    EXPECT_EQ(At(plan, 0), (Rect{545, 165, 594, 209}));  // stopped with the group
    EXPECT_EQ(s.RightPress({700, 260}), MenuKind::None);
    EXPECT_EQ(At(plan, 1), (Rect{300, 300, 350, 350}));
    EXPECT_FALSE(s.Tracking());
}

TEST(PlanEdit, TheRightButtonChoosesTheMenu) {
    Plan plan = PlanOf({{100, 100, 200, 150}, {300, 300, 350, 350}, {600, 10, 650, 60}});
    PlanEditSession s(plan);
    EXPECT_EQ(s.RightPress({10, 400}), MenuKind::None);
    EXPECT_EQ(s.RightPress({320, 320}), MenuKind::Single);
    EXPECT_EQ(s.selected(), (Selection{1}));
    EXPECT_EQ(s.MenuTable(), 1u);
    s.Press({150, 120}, true);
    s.Release({150, 120});
    EXPECT_EQ(s.RightPress({250, 200}), MenuKind::Multi);  // inside the frame of two
    EXPECT_EQ(s.RightPress({620, 30}), MenuKind::Single);  // outside it, on a table
    EXPECT_EQ(s.selected(), (Selection{2}));
    EXPECT_EQ(s.RightPress({10, 400}), MenuKind::None);
    EXPECT_EQ(s.selected(), (Selection{2}));
}

TEST(PlanEdit, SavingReplacesTheOldPlanOnlyWhenTheNewOneIsWhole) {
    ScratchFolder base("klt-planedit-");
    const std::string ib = base.HostPath();
    const std::string path = PlanPath(ib, PlanKind::Hall, 1);
    ASSERT_TRUE(SavePlan(ib, PlanKind::Hall, 1, PlanOf({{1, 2, 3, 4}})));
    const Plan big = PlanOf({{}, {}, {}, {}, {}, {}, {}, {}, {}, {}});

#ifndef _WIN32
    std::string before, after;
    ASSERT_TRUE(platform::Files().ReadAll(path, before, 1 << 20));
    // The disk fills up part of the way through the new plan.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit cap = old;
    cap.rlim_cur = 1000;
    const auto handler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &cap), 0);
    const bool saved = SavePlan(ib, PlanKind::Hall, 1, big);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, handler);
    EXPECT_FALSE(saved);
    ASSERT_TRUE(platform::Files().ReadAll(path, after, 1 << 20));
    EXPECT_TRUE(after == before) << "the old plan stays whole";
    EXPECT_EQ(platform::Files().List(PlanFolder(ib), "*", 10), std::vector<std::string>{"fileZal1.ini"});
#endif

    ASSERT_TRUE(SavePlan(ib, PlanKind::Hall, 1, big));
    EXPECT_EQ(LoadPlan(ib, PlanKind::Hall, 1)->tables.size(), 10u);
    EXPECT_EQ(platform::Files().List(PlanFolder(ib), "*", 10), std::vector<std::string>{"fileZal1.ini"});
    // An information base folder that is really a file.
    EXPECT_FALSE(SavePlan(path, PlanKind::Hall, 1, big));
}

}  // namespace
}  // namespace klt::test
