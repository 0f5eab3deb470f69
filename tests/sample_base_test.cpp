// The sample information base under examples/base/: the facts the examples and the main job rely
// on, and that the files in the tree are what the sample's generator writes now.
#include <gtest/gtest.h>

#if defined(KLT_EXAMPLES_DIR)
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "halls/hall_view.h"
#include "halls/markers.h"
#include "halls/plan.h"
#include "halls/table_states.h"
#include "halls/zone_change.h"
#include "res/hall_dialogs.h"
#include "platform/files.h"
#include "test_support.h"
#include "tools/sample_base/sample_base.h"
#include "ui/bitmap.h"
#include "ui/headless.h"
#include "ui/svg.h"

namespace klt::test {
namespace {

using namespace klt::halls;
namespace fs = std::filesystem;

const std::string kSample = KLT_EXAMPLES_DIR "/base";

std::string SampleIb() {
    return text::Utf8ToCp1251(kSample);
}

const Plan& Load(PlanKind kind, int number) {
    static std::map<std::pair<PlanKind, int>, Plan> plans;
    auto [at, added] = plans.try_emplace({kind, number});
    if (added) at->second = LoadPlan(SampleIb(), kind, number).value_or(Plan{});
    return at->second;
}

const TableRecord* Find(const Plan& plan, int number) {
    for (const TableItem& t : plan.tables)
        if (t.record.number == number) return &t.record;
    return nullptr;
}

TEST(SampleBase, TwoHallsAndABarWithEveryLookInsideThePlan) {
    std::set<std::string> looks;
    for (const auto& [kind, number] :
         {std::pair{PlanKind::Hall, 1}, {PlanKind::Hall, 2}, {PlanKind::Bar, 1}}) {
        SCOPED_TRACE(PlanPath(SampleIb(), kind, number));
        const Plan& plan = Load(kind, number);
        ASSERT_GE(plan.tables.size(), 8u);
        std::set<int> numbers;
        for (const TableItem& t : plan.tables) {
            const TableRecord& r = t.record;
            EXPECT_TRUE(numbers.insert(r.number).second) << "table " << r.number << " twice";
            EXPECT_TRUE(r.rect.left >= 0 && r.rect.left < r.rect.right && r.rect.right <= kPlanWidth &&
                        r.rect.top >= 0 && r.rect.top < r.rect.bottom && r.rect.bottom <= kPlanHeight)
                << "table " << r.number;
            for (const LogFont* f : {&r.sumFont, &r.nameFont}) {
                const std::string face = f->faceName.data();
                EXPECT_TRUE(face == "Arial" || face == "Times New Roman") << face;
                EXPECT_TRUE(f->height <= -16 && f->height >= -20) << f->height;
            }
            looks.insert(r.shape == 3     ? "ellipse"
                         : r.shape == 2   ? "rhombus"
                         : r.rounding > 0 ? "rounded"
                                          : "plain");
        }
    }
    EXPECT_EQ(looks.size(), 4u);

    // The main job chooses table 5 of hall 2 ("Выбор стола_2_5_0_...") and reserves its table 3.
    const Plan& two = Load(PlanKind::Hall, 2);
    ASSERT_NE(Find(two, 5), nullptr);
    EXPECT_EQ(Find(two, 5)->severalOrders, 0);
    EXPECT_NE(Find(two, 3), nullptr);

    EXPECT_EQ(Load(PlanKind::Hall, 1).header->usePicture, 0);
    ASSERT_EQ(two.header->usePicture, 1);
    ASSERT_EQ(two.header->pictureName, "zal2.bmp");
    std::string bytes;
    ASSERT_TRUE(platform::Files().ReadAll(PicturePath(SampleIb(), two.header->pictureName), bytes, 4u << 20));
    const std::optional<ui::Bitmap> picture = ui::DecodeBmp(bytes);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, kPlanWidth);
    EXPECT_EQ(picture->height, kPlanHeight);
}

// Occupied tables and their sums as each waiter's hall view derives them, for the open orders;
// closed orders count in the monitor and name tables that exist.
TEST(SampleBase, OrdersOccupyTheDocumentedTables) {
    TestPlatform platform;
    core::State().ibDirectory = SampleIb();
    using Sums = std::map<int, std::int32_t>;
    const auto occupied = [](const std::string& waiter, PlanKind kind, int number) {
        Plan plan = Load(kind, number);
        TableStates states;
        states.permission = [&](const std::string& name) {
            return OrderMarker::Parse(name).Field(5) == waiter;
        };
        states.RefreshOrderStates(plan, {kind, number, "", "", 0, 0});
        Sums sums;
        for (const TableItem& t : plan.tables)
            if (t.state == TableState::Occupied) sums[t.record.number] = t.sum;
        return sums;
    };
    const std::string ivanov(Cp("Иванов"_cp)), petrova(Cp("Петрова"_cp));
    EXPECT_EQ(occupied(ivanov, PlanKind::Hall, 1), (Sums{{2, 125050}, {4, 48000}, {6, 15000}}));
    EXPECT_EQ(occupied(ivanov, PlanKind::Hall, 2), (Sums{{7, 230000}}));
    EXPECT_EQ(occupied(ivanov, PlanKind::Bar, 1), (Sums{{5, 32000}}));
    EXPECT_EQ(occupied(petrova, PlanKind::Hall, 1), (Sums{{6, 35000}, {8, 612000}}));
    EXPECT_EQ(occupied(petrova, PlanKind::Hall, 2), (Sums{{1, 87500}, {9, 97000}}));
    EXPECT_EQ(occupied(petrova, PlanKind::Bar, 1), (Sums{{2, 45000}}));

    const std::vector<std::string> closed = platform::Files().List(ClosedOrdersFolder(SampleIb()), "0*", 100);
    EXPECT_EQ(closed.size(), 2u);
    for (const std::string& name : closed) {
        const OrderMarker m = OrderMarker::Parse(name);
        EXPECT_EQ(m.Status(), 0) << name;
        EXPECT_TRUE(m.CountedAsClosed()) << name;
        EXPECT_NE(Find(Load(m.Kind() == 1 ? PlanKind::Bar : PlanKind::Hall, m.HallNumber()), m.Table()),
                  nullptr)
            << name;
    }
}

// The generated files of a base; its forms (Forms/) are written by hand.
std::map<std::string, std::string> Tree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(root)) {
        if (!e.is_regular_file() || *fs::relative(e.path(), root).begin() == "Forms") continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        files[fs::relative(e.path(), root).string()] = bytes.str();
    }
    return files;
}

TEST(SampleBase, TreeIsWhatTheGeneratorWritesNow) {
    char scratch[] = "/tmp/klt-sample-XXXXXX";
    ASSERT_NE(mkdtemp(scratch), nullptr);
    const bool written = sample::WriteSampleBase(scratch);
    const std::map<std::string, std::string> want = Tree(scratch), have = Tree(kSample);
    fs::remove_all(scratch);
    ASSERT_TRUE(written);
    for (const auto& [name, bytes] : want) {
        const auto at = have.find(name);
        EXPECT_TRUE(at != have.end() && at->second == bytes)
            << name << " is missing or out of date: cmake --build --preset native --target sample_base";
    }
    for (const auto& [name, bytes] : have) EXPECT_TRUE(want.count(name)) << name << " is not the generator's";
}

// Every hall window over the sample as waiter Иванов sees it, kept as an SVG picture beside the
// build (artifacts/) for reviewers: the picture must show what the sample says is there.
TEST(SampleBase, HallWindowsShowTheSample) {
    TestPlatform platform;
    core::State().ibDirectory = SampleIb();
    ui::ScopedHeadlessWindowing ui;
    const Permission ivanov = [](const std::string& name) {
        return OrderMarker::Parse(name).Field(5) == "Иванов"_cp;
    };
    std::string hallTables;
    for (int t = 1; t <= 12; ++t) hallTables += "|З2С"_cp.data() + std::to_string(t) + "|";
    const std::string rights(100, '1');
    std::map<std::string, std::string> svgs;
    const auto snapshot = [&](const std::string& name) {
        return ui::UserAction::Look([&svgs, name](ui::HeadlessDialog& d) { svgs[name] = ui::DialogSvg(d); });
    };

    HallViewParams params;
    params.number = 2;
    params.rights = rights;
    params.caption228 = "Иванов"_cp.data();
    params.visibilityList = hallTables;
    params.permission = ivanov;
    ui.windowing.Queue({snapshot("hall"), ui::UserAction::Press(res::kHallSummary)});
    ui.windowing.Queue({snapshot("summary")});
    HallView(params, false).Run();
    params.kind = PlanKind::Bar;
    params.number = 1;
    ui.windowing.Queue({snapshot("compact_bar")});
    HallView(params, true).Run();
    ui.windowing.Queue({snapshot("zone_change")});
    ZoneChangeParams zone;
    zone.number = 2;
    zone.name = "Зал 2"_cp.data();
    zone.rights = rights;
    zone.visibilityList = hallTables;
    ZoneChange(zone).Run();
    ui.windowing.Queue({snapshot("plan_display")});
    CompactPlanDisplay(PlanKind::Hall, 1, 0).Run();

    const fs::path artifacts = KLT_ARTIFACTS_DIR;
    fs::create_directories(artifacts);
    for (const auto& [name, svg] : svgs) std::ofstream(artifacts / ("sample_" + name + ".svg")) << svg;
    ASSERT_EQ(svgs.size(), 5u);
    // His order on table 7 with its sum, the banquet table that takes several orders, the picture
    // under them; not Петрова's table 1.
    EXPECT_NE(svgs["hall"].find("2300.00"), std::string::npos);
    EXPECT_NE(svgs["hall"].find("Банкет"), std::string::npos);
    EXPECT_EQ(svgs["hall"].find("875.00"), std::string::npos);
    EXPECT_NE(svgs["hall"].find("data:image/png"), std::string::npos);
    EXPECT_NE(svgs["summary"].find("2300.00"), std::string::npos);
    EXPECT_NE(svgs["compact_bar"].find("320.00"), std::string::npos);
    EXPECT_NE(svgs["zone_change"].find("ЗАЛ:    Зал 2"), std::string::npos);
    // The plan display reads no orders: Иванов's table 2 in hall 1 shows no sum there.
    EXPECT_EQ(svgs["plan_display"].find("1250.50"), std::string::npos);
}

}  // namespace
}  // namespace klt::test
#endif
