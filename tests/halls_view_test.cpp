// How tables are drawn, and the hall views driven through the headless window system as a waiter
// would drive them, over plans and markers in a temporary information base.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>

#include "core/state.h"
#include "halls/hall_view.h"
#include "halls/markers.h"
#include "halls/plan.h"
#include "halls/table_drawing.h"
#include "platform/files.h"
#include "res/hall_dialogs.h"
#include "halls_support.h"
#include "test_support.h"
#include "ui/headless.h"

#ifndef _WIN32
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace klt::test {
namespace {

using namespace klt::halls;
using Kind = ui::CanvasOp::Kind;
using ui::UserAction;

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

// ---- the views ----

class HallViews : public AddInFixture {
  protected:
    void SetUp() override {
        Start(Cp("РабочееМесто"_cp), {}, base_.HostPath());
        ib_ = core::State().ibDirectory;
        SetLocal(19, 0);
    }

    void SetLocal(int hour, int minute) {
        platform::DateTime t;
        t.year = 2027;
        t.month = 2;
        t.day = 6;
        t.hour = hour;
        t.minute = minute;
        platform_.clock.Set(t, t);
    }

    // A plan of tables 100 x 60 pixels, seven to a row, numbered from 1.
    void SavePlanOf(PlanKind kind, int number, int tables, std::string picture = {}, int several = 0) {
        Plan plan;
        plan.header->pictureName = std::move(picture);
        for (int i = 0; i < tables; ++i) {
            TableItem t;
            const int x = 10 + (i % 7) * 110, y = 10 + (i / 7) % 7 * 70;
            t.record = NewTableRecord(i + 1, 0x00A000, Shape::Rectangle, {x, y, x + 100, y + 60});
            t.record.severalOrders = several;
            plan.tables.push_back(t);
        }
        ASSERT_TRUE(SavePlan(ib_, kind, number, plan));
    }
    void Touch(const std::string& folder, const std::string& name) {
        platform::Files().MakeDirectory(ib_ + "\\" + Cp("ДАННЫЕ"_cp));
        platform::Files().MakeDirectory(folder);
        ASSERT_TRUE(platform::Files().WriteAll(folder + "\\" + name, ""));
    }

    HallViewParams Params(PlanKind kind, int number, std::string rights = Rights({})) {
        HallViewParams p;
        p.kind = kind;
        p.number = number;
        p.rights = std::move(rights);
        p.leadMinutes = 60;
        p.holdMinutes = 30;
        p.visibilityList = Cp("|З3С1||З3С2||З3С3|"_cp);
        // The user's own orders are those whose field 5 is "me".
        p.permission = [](const std::string& name) { return OrderMarker::Parse(name).Field(5) == "me"; };
        return p;
    }

    // Runs a view with the script; answers its result.
    std::string Run(HallView& view, std::vector<UserAction> script) {
        ui_.windowing.Queue(std::move(script));
        view.Run();
        return view.result();
    }
    std::string Run(const HallViewParams& p, std::vector<UserAction> script, bool compact = false) {
        HallView view(p, compact);
        return Run(view, std::move(script));
    }

    const ui::DialogRecord& Last() const { return ui_.windowing.history().back(); }

    ScratchFolder base_{"klt-views-"};
    std::string ib_;
    ui::ScopedHeadlessWindowing ui_;
};

TEST_F(HallViews, AReservedTableIsChosenOnlyWithAnOrderOfTheUsers) {
    SavePlanOf(PlanKind::Hall, 3, 4);  // table 4 is not in the visibility list
    Touch(ReservationsFolder(ib_), FormatReservationMarker(3, 6, 2, 27, 19, 30, 1));
    Touch(ReservationsFolder(ib_), FormatReservationMarker(3, 6, 2, 27, 19, 30, 2));
    Touch(ReservationsFolder(ib_), FormatReservationMarker(3, 6, 2, 27, 20, 30, 3));
    Touch(OpenOrdersFolder(ib_), "02_03_1_02_me_a_000001_b_1500_2_c_0");
    HallView view(Params(PlanKind::Hall, 3), false);
    std::vector<bool> reserved3;
    auto note = [&](ui::HeadlessDialog& d) {
        reserved3.push_back(view.plan().tables[2].reserved);
        EXPECT_FALSE(d.closed());
        EXPECT_GT(d.dialogInvalidations(), 0u) << "without a picture the whole window is repainted";
    };
    EXPECT_EQ(
        Run(view, {UserAction::ClickPlan({60, 40}), UserAction::ClickPlan({390, 40}), UserAction::Look(note),
                   UserAction::Wait(31 * 60000), UserAction::Look(note), UserAction::ClickPlan({170, 40})}),
        Cp("Выбор стола_3_2_0_Заказ_ИзЗала"_cp));
    EXPECT_EQ(reserved3, (std::vector<bool>{false, true})) << "the minute timer brings the next reservation";

    SavePlanOf(PlanKind::Bar, 4, 1, {}, 1);
    Touch(OpenOrdersFolder(ib_), "01_04_1_01_me_a_000001_b_1500_2_c_0");
    EXPECT_EQ(Run(Params(PlanKind::Bar, 4), {UserAction::ClickPlan({60, 40})}),
              Cp("Выбор стола_4_1_1_Чек_ИзБара"_cp));
}

TEST_F(HallViews, CommandsAreOfferedByRightsAndAnswerAsListed) {
    SavePlanOf(PlanKind::Bar, 4, 2);
    const std::vector<int> commands = {res::kHallReserve,      res::kHallMerge,  res::kHallReturn,
                                       res::kHallSummary,      res::kHallToBar,  res::kHallToHall,
                                       res::kHallBatchPayment, res::kHallService};
    std::vector<int> shown;
    ui::RecordingCanvas painted;
    auto look = [&](ui::HeadlessDialog& d) {
        shown.clear();
        for (int id : commands)
            if (d.Find(id)->visible) shown.push_back(id);
        EXPECT_TRUE(d.Find(res::kHallClose)->visible);
        painted = d.Paint(0);
    };
    Run(Params(PlanKind::Hall, 3, ""), {UserAction::Look(look)});
    EXPECT_TRUE(shown.empty());
    Run(Params(PlanKind::Bar, 4, ""), {UserAction::Look(look)});
    EXPECT_TRUE(painted.Of(Kind::RoundRect).empty()) << "no right 65: no bar tables";
    Run(Params(PlanKind::Bar, 4, std::string(100, '1')), {UserAction::Look(look)});
    EXPECT_EQ(shown, (std::vector<int>{res::kHallMerge, res::kHallSummary, res::kHallToBar, res::kHallToHall,
                                       res::kHallBatchPayment, res::kHallService}))
        << "no reservations at a bar counter, and no returns anywhere";
    EXPECT_EQ(painted.Of(Kind::RoundRect).size(), 2u);

    struct Case {
        int id, right;
        std::string result;
    };
    const Case cases[] = {
        {res::kHallReserve, 14, Cp("Бронь_3_ИзЗала"_cp)},
        {res::kHallMerge, 19, Cp("Объединить_3_ИзЗала"_cp)},
        {res::kHallToBar, 99, Cp("Смена зала_3_Бар_ИзЗала"_cp)},
        {res::kHallToHall, 100, Cp("Смена зала_3_Зал_ИзЗала"_cp)},
        {res::kHallBatchPayment, 13, Cp("Пакетная оплата_3_ИзЗала"_cp)},
        {res::kHallService, 6, Cp("Сервис_3_ИзЗала"_cp)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(Run(Params(PlanKind::Hall, 3, Rights({c.right})), {UserAction::Press(c.id)}), c.result);
        EXPECT_EQ(Last().closeCode, ui::kIdOk);
    }
    EXPECT_EQ(Run(Params(PlanKind::Bar, 4, Rights({19})), {UserAction::Press(res::kHallMerge)}),
              Cp("Объединить_4_ИзБара"_cp));
    EXPECT_EQ(Run(Params(PlanKind::Hall, 3, Rights({19})), {UserAction::Press(res::kCompactMerge)}, true),
              Cp("Объединить_3_ИзЗала"_cp));
    EXPECT_EQ(Run(Params(PlanKind::Hall, 3, ""), {UserAction::Press(res::kCompactMerge)}, true), "");
    for (auto action : {UserAction::Press(res::kHallClose), UserAction::Key(ui::kKeyEscape)}) {
        EXPECT_EQ(
            Run(Params(PlanKind::Hall, 3, std::string(100, '1')), {UserAction::Key(ui::kKeyReturn), action}),
            "");
        EXPECT_FALSE(Last().abandoned);
    }
}

TEST_F(HallViews, TheTwoPixelMarginAroundATableIsPartOfIt) {
    SavePlanOf(PlanKind::Hall, 3, 1);
    struct Case {
        int dx, dy;
        bool chosen;
    };
    for (const Case c : {Case{-2, 0, true}, Case{-3, 0, false}, Case{1, 0, true}, Case{2, 0, false},
                         Case{0, -2, true}, Case{0, 2, false}}) {
        HallView view(Params(PlanKind::Hall, 3), false);
        Run(view, {UserAction::Look([&](ui::HeadlessDialog& d) {
                const ui::Rect r = TableArea(view.plan().tables[0]);
                const int x = c.dx < 0 ? r.left : c.dx > 0 ? r.right : r.Centre().x;
                const int y = c.dy < 0 ? r.top : c.dy > 0 ? r.bottom : r.Centre().y;
                d.Click({x + c.dx, y + c.dy});
            })});
        EXPECT_EQ(view.result().empty(), !c.chosen) << c.dx << "," << c.dy;
    }
}

TEST_F(HallViews, TheUpdateFlagRaisesTheEventAtEveryTickAndStays) {
    const std::string flag = ib_ + "\\flag.fl";
    const std::vector<emu::RecordedEvent>& events = host().Events();
    for (bool compact : {false, true}) {
        SCOPED_TRACE(compact);
        ASSERT_TRUE(platform::Files().WriteAll(flag, ""));
        const std::size_t before = events.size();
        HallViewParams p = Params(PlanKind::Bar, 4);
        p.flagPeriodMs = 5000;
        p.flagFolder = ib_;
        std::size_t whileThere = 0;
        bool kept = false;
        Run(p,
            {UserAction::Wait(15000), UserAction::Look([&](ui::HeadlessDialog&) {
                 whileThere = events.size() - before;
                 kept = platform::Files().Exists(flag);
                 platform::Files().Remove(flag);  // the configuration has taken the update
             }),
             UserAction::Wait(15000)},
            compact);
        EXPECT_EQ(whileThere, 3u);
        EXPECT_TRUE(kept) << "the view never deletes the flag";
        EXPECT_EQ(events.size() - before, 3u) << "nothing once the flag is gone";
        EXPECT_EQ(events.back(), (emu::RecordedEvent{Cp("Обновление"_cp), "", ""}));
    }
    ASSERT_TRUE(platform::Files().WriteAll(flag, ""));
    const std::size_t before = events.size();
    Run(Params(PlanKind::Bar, 4), {UserAction::Wait(15000)});
    EXPECT_EQ(events.size(), before) << "no period: no look for the flag";
}

TEST_F(HallViews, OnlyTheViewsOwnNoticeRefreshesItsOrders) {
    SavePlanOf(PlanKind::Hall, 3, 1);
    HallView view(Params(PlanKind::Hall, 3), false);
    std::vector<bool> occupied;
    auto note = [&](ui::HeadlessDialog&) {
        occupied.push_back(view.plan().tables[0].state == TableState::Occupied);
    };
    auto notice = [&](const std::string& text) {
        return UserAction::Look([&view, text](ui::HeadlessDialog&) { view.OnNotice(text); });
    };
    std::vector<UserAction> script = {UserAction::Look([&](ui::HeadlessDialog&) {
                                          Touch(OpenOrdersFolder(ib_), "02_03_1_01_me_a_1_b_100_1_c_0");
                                      }),
                                      notice(Cp("ИзЗала_13"_cp)),
                                      notice(Cp("ИзБара_3"_cp)),
                                      notice(Cp("ИзЗала_03"_cp)),
                                      UserAction::Look(note),
                                      notice(Cp("ИзЗала_3"_cp)),
                                      UserAction::Look(note)};
#ifndef _WIN32
    // The same through the socket: one datagram to this machine's loopback, never a broadcast.
    script.push_back(UserAction::Look([&](ui::HeadlessDialog&) {
        platform::Files().Remove(OpenOrdersFolder(ib_) + "\\02_03_1_01_me_a_1_b_100_1_c_0");
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(view.listeningPort());
        const std::string text = Cp("ИзЗала_3"_cp);
        ::sendto(fd, text.data(), text.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        ::close(fd);
    }));
    script.push_back(UserAction::Wait(10));
    script.push_back(UserAction::Look(note));
#endif
    Run(view, std::move(script));
    std::vector<bool> expected = {false, true};
#ifndef _WIN32
    expected.push_back(false);
#endif
    EXPECT_EQ(occupied, expected);
    EXPECT_EQ(view.listeningPort(), 0) << "the socket closes with the window";
}

TEST_F(HallViews, SummaryCountsTheUsersOpenOrdersAndLeavesTheViewOpen) {
    Touch(OpenOrdersFolder(ib_), "02_03_1_01_me_a_1_b_1500_2_c_0");
    Touch(OpenOrdersFolder(ib_), "02_03_1_02_me_a_1_b_249_1_c_0");
    Touch(OpenOrdersFolder(ib_), "02_03_1_02_other_a_1_b_999_5_c_0");
    Touch(OpenOrdersFolder(ib_), "02_13_1_02_me_a_1_b_999_5_c_0");
    for (int mode : {0, 1}) {
        HallViewParams p = Params(PlanKind::Hall, 3, Rights({5}));
        p.sumDisplayMode = mode;
        std::vector<std::string> seen;
        bool open = false;
        ui_.windowing.Queue({UserAction::Press(res::kHallSummary),
                             UserAction::Look([&](ui::HeadlessDialog& d) { open = !d.closed(); })});
        ui_.windowing.Queue({UserAction::Look([&](ui::HeadlessDialog& d) {
                                 seen = {d.Caption(), d.ControlText(res::kSummaryCount),
                                         d.ControlText(res::kSummarySum), d.ControlText(res::kSummaryGuests)};
                             }),
                             UserAction::Press(res::kSummaryCancel)});
        HallView(p, false).Run();
        EXPECT_EQ(seen, (std::vector<std::string>{Cp("СОСТОЯНИЕ ЗАЛА"_cp), "2", mode ? "17" : "17.49", "3"}));
        EXPECT_TRUE(open);
        EXPECT_EQ(ui_.windowing.history().at(ui_.windowing.history().size() - 2).templateId,
                  res::kOrdersSummaryDialog);
    }
}

TEST_F(HallViews, PlacedOverTheMainWindowWithTheBarBelowThePlan) {
    HallViewParams p = Params(PlanKind::Hall, 3);
    p.caption226 = "upper";
    p.caption227 = "lower";
    p.caption228 = "right";
    // The headless main window is a 1024 x 768 screen with 18-pixel captions.
    for (const auto& [mode, placed] :
         {std::pair{1, ui::Rect{115, 106, 908, 680}}, std::pair{2, ui::Rect{3, 22, 1020, 764}}}) {
        SCOPED_TRACE(mode);
        core::State().screenMode = mode;
        SetLocal(19, 0);
        HallView view(p, false);
        Run(view, {UserAction::Look([&](ui::HeadlessDialog& d) {
                       EXPECT_EQ(d.WindowRect(), placed);
                       const ui::Rect client = d.ClientRect();
                       const int planBottom = view.PlanToClient({0, kPlanHeight})->y;
                       for (const ui::HeadlessControl& c : d.controls()) {
                           EXPECT_GE(c.rect.top, planBottom) << c.id;
                           EXPECT_LE(c.rect.bottom, client.bottom) << c.id;
                           EXPECT_LE(c.rect.right, client.right) << c.id;
                       }
                       EXPECT_EQ(d.ControlText(res::kHallClock), "06.02.27  19:00");
                       EXPECT_EQ(d.ControlFont(res::kHallClock).face, "Times New Roman");
                       EXPECT_EQ(d.ControlFont(res::kHallCaptionUpper).weight, 700);
                       EXPECT_EQ(d.ControlText(res::kHallCaptionUpper), "upper");
                       EXPECT_EQ(d.ControlText(res::kHallCaptionLower), "lower");
                       EXPECT_EQ(d.ControlText(res::kHallCaptionRight), "right");
                   }),
                   UserAction::Wait(60000), UserAction::Look([](ui::HeadlessDialog& d) {
                       EXPECT_EQ(d.ControlText(res::kHallClock), "06.02.27  19:01");
                   })});
    }
    Run(p, {UserAction::Look([](ui::HeadlessDialog& d) {
            EXPECT_EQ(d.WindowRect(), (ui::Rect{394, 251, 630, 517}));
            EXPECT_EQ(d.ControlFont(res::kCompactMerge).height, 11);
        })},
        true);
}

TEST_F(HallViews, TheBackgroundPictureLiesUnderThePlanItWasDrawnFor) {
    SavePlanOf(PlanKind::Hall, 3, 1, "hall.bmp");
    ASSERT_TRUE(platform::Files().WriteAll(PicturePath(ib_, "hall.bmp"), Bmp(100, 50)));
    for (bool compact : {false, true}) {
        SCOPED_TRACE(compact);
        HallView view(Params(PlanKind::Hall, 3), compact);
        ui::RecordingCanvas painted;
        Run(view, {UserAction::Look([&](ui::HeadlessDialog& d) {
                painted = d.Paint(0);
                // Over a picture a refresh repaints the tables alone.
                EXPECT_FALSE(d.invalidatedAreas().empty());
                EXPECT_EQ(d.dialogInvalidations(), 0u);
            })});
        ASSERT_EQ(painted.Of(Kind::Bitmap).size(), 1u);
        const ui::CanvasOp bitmap = painted.Of(Kind::Bitmap)[0];
        // The picture's corners come where the plan's points of the same pixels do.
        const ui::Point origin = *view.PlanToClient({0, 0}), corner = *view.PlanToClient({100, 50});
        EXPECT_EQ(bitmap.rect, (ui::Rect{std::min(origin.x, corner.x), std::min(origin.y, corner.y),
                                         std::max(origin.x, corner.x), std::max(origin.y, corner.y)}));
        EXPECT_EQ(bitmap.source, (compact ? ui::Rect{0, 0, 50, 100} : ui::Rect{0, 0, 100, 50}));
        EXPECT_EQ(view.picture()->width, compact ? 50 : 100);
    }
    // A picture wider than the plan: only the part under the plan, wherever it lies once turned.
    ASSERT_TRUE(platform::Files().WriteAll(PicturePath(ib_, "hall.bmp"), Bmp(900, 20)));
    HallView turned(Params(PlanKind::Hall, 3), true);
    ui::RecordingCanvas painted;
    Run(turned, {UserAction::Look([&](ui::HeadlessDialog& d) { painted = d.Paint(0); })});
    ASSERT_EQ(painted.Of(Kind::Bitmap).size(), 1u);
    EXPECT_EQ(painted.Of(Kind::Bitmap)[0].source, (ui::Rect{0, 900 - kPlanWidth, 20, 900}));
    EXPECT_EQ(painted.Of(Kind::Bitmap)[0].rect.top, 0);
}

TEST_F(HallViews, DamagedPlansAndMissingPicturesNeitherStopTheViewNorChangeAFile) {
    // Not a plan at all: the view shows its buttons and clock over nothing.
    platform::Files().MakeDirectory(PlanFolder(ib_));
    ASSERT_TRUE(platform::Files().WriteAll(PlanPath(ib_, PlanKind::Bar, 5), std::string(300, '\x7F')));
    HallView empty(Params(PlanKind::Bar, 5, Rights({65})), false);
    Run(empty, {UserAction::Look([](ui::HeadlessDialog& d) {
            EXPECT_TRUE(d.Find(res::kHallClose)->visible);
            EXPECT_FALSE(d.ControlText(res::kHallClock).empty());
            EXPECT_TRUE(d.Paint(0).Of(Kind::RoundRect).empty());
        })});
    EXPECT_TRUE(empty.plan().tables.empty());

    // A thousand tables, then records no editor writes, and a picture that is not there.
    Plan plan;
    plan.header->pictureName = "missing.bmp";
    for (int i = 0; i < 1000; ++i) {
        TableItem t;
        const int x = (i % 40) * 19, y = (i / 40) * 19;
        t.record = NewTableRecord(i + 1, 0x00A000, Shape::Ellipse, {x, y, x + 18, y + 18});
        plan.tables.push_back(t);
    }
    for (const Rect r : {Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, Rect{700, 400, -5000, 90000}}) {
        TableItem t;
        t.record = NewTableRecord(2000, 0x00A000, Shape::Rhombus, r);
        t.record.shape = -1;
        t.record.thickness = INT32_MIN;
        t.record.nameHAlign = 99;
        t.record.nameFont.height = INT32_MIN;
        t.record.nameFont.faceName.fill('\xFF');
        plan.tables.push_back(t);
    }
    ASSERT_TRUE(SavePlan(ib_, PlanKind::Bar, 6, plan));
    std::string before, after;
    ASSERT_TRUE(platform::Files().ReadAll(PlanPath(ib_, PlanKind::Bar, 6), before, 1 << 20));

    HallView view(Params(PlanKind::Bar, 6, Rights({65})), false);
    ui::RecordingCanvas painted;
    ui::Rect client;
    EXPECT_EQ(Run(view, {UserAction::Look([&](ui::HeadlessDialog& d) {
                             painted = d.Paint(0);
                             client = d.ClientRect();
                         }),
                         UserAction::ClickPlan(ui::Point{999 % 40 * 19 + 9, 999 / 40 * 19 + 9})}),
              Cp("Выбор стола_6_1000_0_Чек_ИзБара"_cp));
    EXPECT_FALSE(view.picture().has_value());
    EXPECT_TRUE(painted.Of(Kind::Bitmap).empty());
    EXPECT_EQ(painted.Of(Kind::Ellipse).size(), 1000u);
    EXPECT_EQ(painted.Of(Kind::Rectangle).size(), 2u);
    // Everything is drawn off screen and inside the window.
    EXPECT_TRUE(painted.BuffersBalanced());
    ASSERT_GE(painted.ops().size(), 3u);
    EXPECT_EQ(painted.ops()[1].kind, Kind::Clip);
    EXPECT_EQ(painted.ops()[1].rect, client);
    EXPECT_EQ(painted.ops()[painted.ops().size() - 2].kind, Kind::ClearClip);

    ASSERT_TRUE(platform::Files().ReadAll(PlanPath(ib_, PlanKind::Bar, 6), after, 1 << 20));
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace klt::test
