// The manager's hall monitor over plans and markers of a scratch information base, driven by a
// scripted user through the headless window system, and opened through Zaly's "Монитор".
#include <gtest/gtest.h>

#include <cstdint>

#include "core/state.h"
#include "halls/markers.h"
#include "halls/monitor.h"
#include "halls/table_drawing.h"
#include "platform/files.h"
#include "res/monitor_dialogs.h"
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
using ui::UserAction;

class HallMonitors : public AddInFixture {
  protected:
    void SetUp() override {
        Start("x", {}, base_.HostPath());
        ib_ = core::State().ibDirectory;
    }

    // Tables 1..n, 100 x 60 pixels side by side.
    void SavePlanOf(PlanKind kind, int number, int tables, std::string picture = {}) {
        Plan plan;
        plan.header->pictureName = std::move(picture);
        for (int n = 1; n <= tables; ++n) {
            TableItem t;
            t.record = NewTableRecord(n, 0x00A000, Shape::Rectangle, {n * 110 - 100, 10, n * 110, 70});
            t.record.name = "T";
            plan.tables.push_back(t);
        }
        ASSERT_TRUE(SavePlan(ib_, kind, number, plan));
    }
    void Touch(const std::string& folder, const std::string& name) {
        platform::Files().MakeDirectory(ib_ + "\\" + Cp("ДАННЫЕ"_cp));
        platform::Files().MakeDirectory(folder);
        ASSERT_TRUE(platform::Files().WriteAll(folder + "\\" + name, ""));
    }
    // An order marker as the configuration writes it; fields 5 to 8 and 11 are its own.
    static std::string Order(int kind, int number, int status, int table, std::int32_t sum, int guests,
                             char field12 = '0') {
        OrderMarkerValues v;
        v.kind = kind;
        v.number = number;
        v.status = status;
        v.table = table;
        v.field5 = "w";
        v.sum = sum;
        v.guests = guests;
        v.field12 = field12;
        return FormatOrderMarker(v);
    }
    void Open(const std::string& name) { Touch(OpenOrdersFolder(ib_), name); }
    void Closed(const std::string& name) { Touch(ClosedOrdersFolder(ib_), name); }

    std::string Run(HallMonitor& monitor, std::vector<UserAction> script) {
        ui_.windowing.Queue(std::move(script));
        monitor.Run();
        return monitor.result();
    }
    const ui::DialogRecord& Last() const { return ui_.windowing.history().back(); }

    // The twelve figures in the order of the blocks: plan active, plan closed, all active, all closed;
    // each count, sum, guests.
    static std::vector<std::string> Figures(const ui::HeadlessDialog& d) {
        std::vector<std::string> out;
        for (int id :
             {res::kMonitorPlanActiveCount, res::kMonitorPlanActiveSum, res::kMonitorPlanActiveGuests,
              res::kMonitorPlanClosedCount, res::kMonitorPlanClosedSum, res::kMonitorPlanClosedGuests,
              res::kMonitorAllActiveCount, res::kMonitorAllActiveSum, res::kMonitorAllActiveGuests,
              res::kMonitorAllClosedCount, res::kMonitorAllClosedSum, res::kMonitorAllClosedGuests})
            out.push_back(d.ControlText(id));
        return out;
    }

    ScratchFolder base_{"klt-monitor-"};
    std::string ib_;
    ui::ScopedHeadlessWindowing ui_;
};

std::vector<std::string> Tabs(const ui::HeadlessDialog& d) {
    return d.Find(res::kMonitorTabs)->tabs;
}

TEST_F(HallMonitors, TabsFollowThePlanFilesNamedByTheConfiguration) {
    SavePlanOf(PlanKind::Bar, 5, 1);
    SavePlanOf(PlanKind::Hall, 2, 2);
    SavePlanOf(PlanKind::Hall, 10, 3);
    // A copy of a plan names the same plan again; other files are no plans.
    ASSERT_TRUE(platform::Files().WriteAll(PlanFolder(ib_) + "\\fileZal2.bak", ""));
    ASSERT_TRUE(platform::Files().WriteAll(PlanFolder(ib_) + "\\hall.bmp", ""));
    std::vector<std::string> asked;
    host().GlobalModule().AddFunction(Cp("ПолЗал"_cp), [&](std::vector<host::Value*>& args) {
        asked.push_back(args.at(0)->GetString() + "," + args.at(1)->GetString());
        return host::Value(Cp("Веранда "_cp) + args.at(0)->GetString());
    });

    HallMonitor named(0, 0, 1);
    Run(named, {UserAction::Look([](ui::HeadlessDialog& d) {
            EXPECT_EQ(Tabs(d), (std::vector<std::string>{Cp("ЗАЛ: Веранда 10"_cp), Cp("ЗАЛ: Веранда 2"_cp),
                                                         Cp("БАР: Веранда 5"_cp)}));
            EXPECT_EQ(d.SelectedTab(res::kMonitorTabs), 1);
            EXPECT_EQ(d.Caption(), Cp("МОНИТОР АКТИВНОСТИ"_cp));
        })});
    EXPECT_EQ(asked, (std::vector<std::string>{"10,1", "2,1", "5,1"}));
    EXPECT_EQ(named.plan().tables.size(), 2u) << "the second tab: hall 2";

    // A configuration without the function: the number stands for the name. A first tab that
    // does not exist shows the first.
    host::Module& without = host().AddModule();
    host().SetGlobalModule(&without);
    HallMonitor numbered(0, 0, 7);
    Run(numbered, {UserAction::Look([](ui::HeadlessDialog& d) {
            EXPECT_EQ(Tabs(d),
                      (std::vector<std::string>{Cp("ЗАЛ: 10"_cp), Cp("ЗАЛ: 2"_cp), Cp("БАР: 5"_cp)}));
            EXPECT_EQ(d.SelectedTab(res::kMonitorTabs), 0);
        })});
    host().SetGlobalModule(nullptr);
    EXPECT_EQ(numbered.plan().tables.size(), 3u);
    EXPECT_TRUE(host().TakeErrors().empty());
}

// Hall 5 and bar counter 5 side by side: each tab counts its own orders, the all-plans block all
// of them but kind 03 and the closed ones whose field 12 is not 0.
TEST_F(HallMonitors, StatisticsOfTheSelectedPlanAndOfAllPlans) {
    SavePlanOf(PlanKind::Hall, 5, 2);
    SavePlanOf(PlanKind::Bar, 5, 2);
    Open(Order(2, 5, 1, 1, 1000, 2));
    Open(Order(2, 5, 1, 1, 249, 1));
    Open(Order(1, 5, 1, 2, 700, 3));
    Open(Order(3, 5, 0, 1, 9999, 9));           // never counted
    Open("02_12_1_02_05_1_000001_x_50_1_y_0");  // hall 12, though its name reads "02_05_1" inside
    Open("0garbage");                           // counted, for nothing
    Closed(Order(2, 5, 0, 1, 500, 2));
    Closed(Order(1, 5, 0, 2, 300, 1, 'x'));  // field 12 not a number: read as 0
    Closed(Order(2, 5, 0, 1, 7777, 7, '1'));
    Closed(Order(3, 5, 0, 1, 7777, 7));

    HallMonitor monitor(0, 0, 0);
    std::vector<std::string> hall, bar;
    std::vector<TableState> hallStates;
    ui::RecordingCanvas painted;
    Run(monitor, {UserAction::Look([&](ui::HeadlessDialog& d) {
                      hall = Figures(d);
                      for (const TableItem& t : monitor.plan().tables) hallStates.push_back(t.state);
                      painted = d.Paint(0);
                      EXPECT_EQ(d.ControlFont(res::kMonitorAllClosedGuests).face, "Times New Roman");
                      EXPECT_EQ(d.ControlFont(res::kMonitorPlanActiveSum).weight, 700);
                  }),
                  UserAction::ChooseTab(res::kMonitorTabs, 1),
                  UserAction::Look([&](ui::HeadlessDialog& d) { bar = Figures(d); })});
    EXPECT_EQ(hall, (std::vector<std::string>{"2", "12.49", "3", "1", "5.00", "2", "5", "19.99", "7", "2",
                                              "8.00", "3"}));
    EXPECT_EQ(bar, (std::vector<std::string>{"1", "7.00", "3", "1", "3.00", "1", "5", "19.99", "7", "2",
                                             "8.00", "3"}));
    EXPECT_EQ(hallStates, (std::vector<TableState>{TableState::Occupied, TableState::Free}));
    ASSERT_EQ(monitor.plan().tables.size(), 2u) << "the tab change loaded the bar's plan";
    EXPECT_EQ(monitor.plan().tables[1].sum, 700);
    // The occupied table shows its sum alone; names are not drawn.
    std::vector<std::string> texts;
    for (const ui::CanvasOp& op : painted.Of(ui::CanvasOp::Kind::Text)) texts.push_back(op.text);
    EXPECT_EQ(texts, std::vector<std::string>{"12.49"});
    EXPECT_EQ(painted.Of(ui::CanvasOp::Kind::Text)[0].format & ui::text_format::kCentre,
              ui::text_format::kCentre);

    HallMonitor whole(0, 1, 0);
    Run(whole, {UserAction::Look([&](ui::HeadlessDialog& d) { hall = Figures(d); })});
    EXPECT_EQ(hall[1], "12");
    EXPECT_EQ(whole.plan().header->wholeNumberSums, 1);
}

TEST_F(HallMonitors, AnyNoticeRecomputesTheFigures) {
    SavePlanOf(PlanKind::Hall, 1, 1);
    HallMonitor monitor(0, 0, 0);
    std::vector<std::string> counts;
    auto note = UserAction::Look([&](ui::HeadlessDialog& d) {
        counts.push_back(d.ControlText(res::kMonitorPlanActiveCount) + "/" +
                         d.ControlText(res::kMonitorAllActiveCount));
    });
    std::vector<UserAction> script = {
        note, UserAction::Look([&](ui::HeadlessDialog&) { Open(Order(2, 1, 1, 1, 100, 1)); }), note,
        UserAction::Look([&](ui::HeadlessDialog&) { monitor.OnNotice(); }), note};
#ifndef _WIN32
    // An empty datagram on the monitor's port, to this machine's loopback: never a broadcast.
    script.push_back(UserAction::Look([&](ui::HeadlessDialog&) {
        Open(Order(1, 3, 1, 1, 100, 1));
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(monitor.listeningPort());
        ::sendto(fd, "", 0, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        ::close(fd);
    }));
    script.push_back(UserAction::Wait(10));
    script.push_back(note);
#endif
    Run(monitor, std::move(script));
    std::vector<std::string> expected = {"0/0", "0/0", "1/1"};
#ifndef _WIN32
    expected.push_back("1/2");
#endif
    EXPECT_EQ(counts, expected);
    EXPECT_EQ(monitor.plan().tables[0].state, TableState::Occupied);
    EXPECT_EQ(monitor.listeningPort(), 0) << "the socket closes with the window";
}

TEST_F(HallMonitors, OnlyAnOccupiedTableIsChosenWithTheTabItWasOn) {
    SavePlanOf(PlanKind::Hall, 5, 2);
    SavePlanOf(PlanKind::Bar, 5, 2);
    Open(Order(2, 5, 1, 1, 100, 1));
    Open(Order(1, 5, 1, 2, 100, 1));
    auto stillOpen = UserAction::Look([](ui::HeadlessDialog& d) { EXPECT_FALSE(d.closed()); });

    HallMonitor hall(0, 0, 0);
    EXPECT_EQ(Run(hall, {UserAction::ClickPlan({170, 40}), stillOpen, UserAction::Key(ui::kKeyReturn),
                         stillOpen, UserAction::Look([&](ui::HeadlessDialog& d) {
                             // The finger's margin: a pixel past the right edge still takes it.
                             const ui::Rect r = TableArea(hall.plan().tables[0]);
                             d.Click({r.right + 1, r.top});
                         })}),
              Cp("Выбор стола_5_1_Заказ_ИзЗала_0"_cp));
    EXPECT_EQ(Last().closeCode, ui::kIdOk);

    HallMonitor bar(0, 0, 0);
    EXPECT_EQ(Run(bar, {UserAction::ChooseTab(res::kMonitorTabs, 1), UserAction::ClickPlan({60, 40}),
                        stillOpen, UserAction::ClickPlan({170, 40})}),
              Cp("Выбор стола_5_2_Чек_ИзБара_1"_cp));

    for (auto action : {UserAction::Press(res::kMonitorClose), UserAction::Key(ui::kKeyEscape)}) {
        HallMonitor closed(0, 0, 0);
        EXPECT_EQ(Run(closed, {action}), "");
        EXPECT_FALSE(Last().abandoned);
    }
}

TEST_F(HallMonitors, MissingAndDamagedFilesLeaveAnEmptyPlanAndTheFiguresStand) {
    // Sums beyond 32 bits in total, and names no configuration writes.
    Open(Order(2, 1, 1, 1, INT32_MAX, 1));
    Open("02_01_1_01_w_x_000001_y_99999999999999_2_z_0");
    Open("0_____________________");
    HallMonitor none(0, 0, 0);
    std::vector<std::string> figures;
    Run(none, {UserAction::Look([&](ui::HeadlessDialog& d) {
            figures = Figures(d);
            EXPECT_TRUE(Tabs(d).empty());
            EXPECT_EQ(d.SelectedTab(res::kMonitorTabs), -1);
            d.Click(d.ControlRect(res::kMonitorPlanArea).Centre());
            EXPECT_FALSE(d.closed());
        })});
    EXPECT_TRUE(none.plan().tables.empty());
    EXPECT_EQ(figures, (std::vector<std::string>{"0", "0.00", "0", "0", "0.00", "0", "3", "42949672.94", "3",
                                                 "0", "0.00", "0"}));

    // A plan that is no plan, and one whose picture is smaller than the plan.
    SavePlanOf(PlanKind::Hall, 2, 1, "small.bmp");
    ASSERT_TRUE(platform::Files().WriteAll(PlanPath(ib_, PlanKind::Hall, 1), "garbage"));
    ASSERT_TRUE(platform::Files().WriteAll(PicturePath(ib_, "small.bmp"), Bmp(400, 200)));
    HallMonitor damaged(0, 0, 0);
    Run(damaged, {UserAction::Look([&](ui::HeadlessDialog& d) {
                      EXPECT_EQ(Figures(d)[0], "2") << "hall 1's orders count with no table to show them";
                      EXPECT_TRUE(damaged.plan().tables.empty());
                  }),
                  UserAction::ChooseTab(res::kMonitorTabs, 1), UserAction::Look([&](ui::HeadlessDialog& d) {
                      const ui::Rect a = d.ControlRect(res::kMonitorPlanArea);
                      const ui::RecordingCanvas c = d.Paint(0);
                      ASSERT_GE(c.ops().size(), 2u);
                      EXPECT_EQ(c.ops()[1].kind, ui::CanvasOp::Kind::Clip);
                      EXPECT_EQ(c.ops()[1].rect, a);
                      EXPECT_TRUE(c.BuffersBalanced());
                      const std::vector<ui::CanvasOp> drawn = c.Of(ui::CanvasOp::Kind::Bitmap);
                      ASSERT_EQ(drawn.size(), 1u);
                      EXPECT_EQ(drawn[0].source, (ui::Rect{0, 0, 400, 200}));
                      EXPECT_EQ(drawn[0].rect, (ui::Rect{a.left, a.top, a.left + a.Width() * 400 / 795,
                                                         a.top + a.Height() * 200 / 485}));
                  })});
    EXPECT_EQ(damaged.plan().tables.size(), 1u);
}

TEST_F(HallMonitors, ZalyMonitorAnswersTheChoiceAndIsNoProcedure) {
    SavePlanOf(PlanKind::Hall, 3, 1);
    Open(Order(2, 3, 1, 1, 100, 1));
    host::Value zaly = host().CreateObject("Zaly");
    ASSERT_NE(zaly.GetContext(), nullptr);
    ui_.windowing.Queue({UserAction::ClickPlan({60, 40})});
    host::Value result;
    ASSERT_TRUE(host().CallMethod(*zaly.GetContext(), Cp("Монитор"_cp),
                                  {host::Value(0), host::Value(0), host::Value(0)}, &result));
    EXPECT_EQ(result.kind(), host::ValueKind::String);
    EXPECT_EQ(result.GetString(), Cp("Выбор стола_3_1_Заказ_ИзЗала_0"_cp));
    EXPECT_EQ(Last().templateId, res::kMonitorDialog);

    const std::size_t windows = ui_.windowing.history().size();
    EXPECT_EQ(zaly.GetContext()->CallAsProc(0, nullptr), 1);
    EXPECT_EQ(ui_.windowing.history().size(), windows);
    EXPECT_TRUE(host().TakeErrors().empty());
}

}  // namespace
}  // namespace klt::test
