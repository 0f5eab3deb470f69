// The hall monitor's figures over a day's folders: 2,000 open and 20,000 closed orders of ten halls
// and ten bar counters, beside the bare listing of the same two folders that they cannot avoid.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "assembly/assembly.h"
#include "core/state.h"
#include "halls/markers.h"
#include "halls/monitor.h"
#include "halls/plan.h"
#include "halls/table_states.h"
#include "platform/files.h"
#include "text/literal.h"

using namespace klt;
using namespace klt::halls;
using namespace klt::text::literals;

namespace {

constexpr int kTables = 200;
constexpr int kOpen = 2000;
constexpr int kClosed = 20000;
constexpr int kHall = 3;

struct World {
    World() {
        const auto dir = std::filesystem::temp_directory_path() /
                         ("klt-monitor-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir);
        root = dir.string();
        ib = root + "\\";  // a host path: the file layer turns it into a native one
        platform::FileSystem& files = platform::Files();
        files.MakeDirectory(ib + std::string("ДАННЫЕ"_cp));
        files.MakeDirectory(OpenOrdersFolder(ib));
        files.MakeDirectory(ClosedOrdersFolder(ib));
        // Every tenth order is of the other kind; a closed order in twenty is not yet settled.
        auto marker = [](int i, int status, char field12) {
            OrderMarkerValues v;
            v.kind = i % 10 == 9 ? 3 : 1 + i % 2;
            v.number = 1 + i / 2 % 10;
            v.status = status;
            v.table = 1 + i % kTables;
            v.field5 = "user";
            v.field6 = "020627";
            v.field7 = i;
            v.field8 = "x";
            v.sum = 100 + i;
            v.guests = 1 + i % 4;
            v.field11 = "y";
            v.field12 = field12;
            return FormatOrderMarker(v);
        };
        for (int i = 0; i < kOpen; ++i) files.WriteAll(OpenOrdersFolder(ib) + "\\" + marker(i, 1, '0'), "");
        for (int i = 0; i < kClosed; ++i)
            files.WriteAll(ClosedOrdersFolder(ib) + "\\" + marker(i, 0, i % 20 == 0 ? '1' : '0'), "");

        for (int n = 1; n <= kTables; ++n) {
            TableItem t;
            t.record = NewTableRecord(n, 0x00FFFF00, Shape::Rectangle, {n, n, n + 30, n + 30});
            plan.tables.push_back(t);
        }
        core::State().ibDirectory = ib;
    }
    ~World() {
        assembly::ResetProcessState();
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    std::string root, ib;
    Plan plan;
};

World& TheWorld() {
    static World world;
    return world;
}

void BM_BareListingOfOrderFolders(benchmark::State& state) {
    World& w = TheWorld();
    platform::FileSystem& files = platform::Files();
    for (auto _ : state) {
        auto open = files.List(OpenOrdersFolder(w.ib), "0*", kMaxMarkers);
        auto closed = files.List(ClosedOrdersFolder(w.ib), "0*", kMaxMarkers);
        if (open.size() != kOpen || closed.size() != kClosed) state.SkipWithError("bad folders");
        benchmark::DoNotOptimize(closed.data());
    }
}
BENCHMARK(BM_BareListingOfOrderFolders)->Unit(benchmark::kMillisecond);

void BM_MonitorStatistics(benchmark::State& state) {
    World& w = TheWorld();
    const std::optional<std::pair<PlanKind, int>> selected{{PlanKind::Hall, kHall}};
    MonitorStatistics s;
    for (auto _ : state) {
        s = ComputeMonitorStatistics(selected, w.plan);
        benchmark::DoNotOptimize(s);
    }
    if (s.allActive.count != kOpen - kOpen / 10 || s.planActive.count == 0 || s.allClosed.count == 0)
        state.SkipWithError("figures not derived");
}
BENCHMARK(BM_MonitorStatistics)->Unit(benchmark::kMillisecond);

}  // namespace
