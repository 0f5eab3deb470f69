// Costs of a hall window's data work on real files: loading a 200-table plan, and refreshing order
// and reservation states of 200 tables against 2,000 open orders and 500 reservations, each beside
// the bare file-system work it cannot avoid (reading the file, listing the same folders).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "assembly/assembly.h"
#include "core/state.h"
#include "emulator/emulated_host.h"
#include "halls/markers.h"
#include "halls/plan.h"
#include "halls/table_states.h"
#include "bench_support.h"
#include "platform/files.h"
#include "platform/headless.h"
#include "text/literal.h"

using namespace klt;
using namespace klt::halls;
using namespace klt::text::literals;

namespace {

constexpr int kTables = 200;
constexpr int kOrders = 2000;
constexpr int kReservations = 500;
constexpr int kHall = 1;

// One information base in a temporary folder, with the emulated host answering permission calls
// and a clock fixed half an hour before the reservations.
struct World {
    World() {
        platform::FileSystem& files = platform::Files();
        files.MakeDirectory(OpenOrdersFolder(ib));
        files.MakeDirectory(ReservationsFolder(ib));

        Plan plan;
        for (int n = 1; n <= kTables; ++n) {
            TableItem t;
            t.record = NewTableRecord(n, 0x00FFFF00, Shape::Rectangle, {n, n, n + 30, n + 30});
            t.record.severalOrders = n % 2;
            plan.tables.push_back(t);
        }
        SavePlan(ib, PlanKind::Hall, kHall, plan);

        for (int i = 0; i < kOrders; ++i) {
            OrderMarkerValues v;
            v.number = kHall;
            v.table = 1 + i % kTables;
            v.field5 = i % 3 ? "me" : "other";
            v.field7 = i;
            v.sum = 100 + i;
            v.guests = 2;
            files.WriteAll(OpenOrdersFolder(ib) + "\\" + FormatOrderMarker(v), "");
        }
        for (int i = 0; i < kReservations; ++i)
            files.WriteAll(ReservationsFolder(ib) + "\\" +
                               FormatReservationMarker(kHall, 6, 2, 27, 19, 30, 1 + i % kTables) + "_" +
                               std::to_string(i),
                           "");

        emu::HostSettings s;
        s.ibDirectory = ib;
        host = std::make_unique<emu::EmulatedHost>(s);
        host->GlobalModule().AddFunction(
            std::string("глРазрешитьВнестиЗаказ"_cp), [](std::vector<host::Value*>& args) {
                return host::Value(OrderMarker::Parse(args.at(0)->GetString()).Field(5) == "me" ? 1 : 0);
            });
        core::State().host = host.get();
        core::State().ibDirectory = ib;

        platform::DateTime now;
        now.year = 2027;
        now.month = 2;
        now.day = 6;
        now.hour = 19;
        now.minute = 0;
        clock.Set(now, now);
        platform::Services services = platform::Get();
        services.clock = &clock;
        previous = platform::Replace(services);
    }
    ~World() {
        assembly::ResetProcessState();
        platform::Replace(previous);
    }

    bench::ScratchBase base_{"klt-halls-bench-"};
    std::string ib = base_.ib();
    std::unique_ptr<emu::EmulatedHost> host;
    platform::VirtualClock clock;
    platform::Services previous;
};

World& TheWorld() {
    static World world;
    return world;
}

void BM_BareReadOfPlanFile200(benchmark::State& state) {
    World& w = TheWorld();
    std::string bytes;
    for (auto _ : state) {
        platform::Files().ReadAll(PlanPath(w.ib, PlanKind::Hall, kHall), bytes, kMaxPlanFileBytes);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_BareReadOfPlanFile200);

void BM_LoadPlan200(benchmark::State& state) {
    World& w = TheWorld();
    for (auto _ : state) {
        std::optional<Plan> plan = LoadPlan(w.ib, PlanKind::Hall, kHall, Conversion::FullView(793, 569));
        if (!plan || plan->tables.size() != kTables) state.SkipWithError("plan not loaded");
        benchmark::DoNotOptimize(plan);
    }
}
BENCHMARK(BM_LoadPlan200);

// The parse alone, from bytes already in memory: what LoadPlan adds to the read.
void BM_ParsePlan200(benchmark::State& state) {
    World& w = TheWorld();
    std::string bytes;
    platform::Files().ReadAll(PlanPath(w.ib, PlanKind::Hall, kHall), bytes, kMaxPlanFileBytes);
    for (auto _ : state) {
        Plan plan = ParsePlan(bytes, Conversion::FullView(793, 569));
        if (plan.tables.size() != kTables) state.SkipWithError("plan not parsed");
        benchmark::DoNotOptimize(plan);
    }
}
BENCHMARK(BM_ParsePlan200);

void BM_BareListingOfMarkerFolders(benchmark::State& state) {
    World& w = TheWorld();
    platform::FileSystem& files = platform::Files();
    for (auto _ : state) {
        auto orders =
            files.List(OpenOrdersFolder(w.ib), OpenOrdersPattern(PlanKind::Hall, kHall), kMaxMarkers);
        auto other = files.List(OpenOrdersFolder(w.ib), OtherOrdersPattern(kHall), kMaxMarkers);
        auto reservations = files.List(ReservationsFolder(w.ib), ReservationsPattern(kHall), kMaxMarkers);
        if (orders.size() != kOrders || reservations.size() != kReservations)
            state.SkipWithError("bad folders");
        benchmark::DoNotOptimize(other);
    }
}
BENCHMARK(BM_BareListingOfMarkerFolders);

void BM_RefreshOrdersAndReservations200(benchmark::State& state) {
    World& w = TheWorld();
    std::optional<Plan> plan = LoadPlan(w.ib, PlanKind::Hall, kHall);
    if (!plan) {
        state.SkipWithError("plan not loaded");
        return;
    }
    RefreshParams params;
    params.number = kHall;
    params.visibilityList = std::string("|З1С1||З1С2|"_cp);
    params.leadMinutes = 60;
    params.holdMinutes = 30;
    TableStates states;
    for (auto _ : state) {
        states.RefreshOrderStates(*plan, params);
        states.RefreshReservations(*plan, params);
        benchmark::DoNotOptimize(plan->tables.data());
    }
    if (!plan->tables[2].reserved || plan->tables[2].state != TableState::Occupied)
        state.SkipWithError("states not derived");
}
BENCHMARK(BM_RefreshOrdersAndReservations200);

}  // namespace
