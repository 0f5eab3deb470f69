// Costs on the host's call path: method lookup by name (the host asks before every call) and the
// text conversions at the edges.
#include <benchmark/benchmark.h>

#include "hostwin/windows_object.h"
#include "text/cp1251.h"
#include "text/literal.h"

using namespace klt;
using namespace klt::text::literals;

static void BM_FindMethodLastRowCyrillicOtherCase(benchmark::State& state) {
    hostwin::CWin1 object;
    std::string name(text::Utf8ToCp1251("подборменю_кпк"));
    for (auto _ : state) benchmark::DoNotOptimize(object.FindMethod(name.c_str()));
}
BENCHMARK(BM_FindMethodLastRowCyrillicOtherCase);

static void BM_FindMethodMissing(benchmark::State& state) {
    hostwin::CWin1 object;
    for (auto _ : state) benchmark::DoNotOptimize(object.FindMethod("NoSuchMethodAtAll"));
}
BENCHMARK(BM_FindMethodMissing);

static void BM_Cp1251ToUtf16(benchmark::State& state) {
    std::string s;
    for (int i = 0; i < state.range(0); ++i) s += static_cast<char>(0x80 + i % 128);
    for (auto _ : state) benchmark::DoNotOptimize(text::Cp1251ToUtf16(s));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Cp1251ToUtf16)->Arg(64)->Arg(4096);

static void BM_Utf8ToCp1251(benchmark::State& state) {
    std::string s;
    for (int i = 0; i < state.range(0) / 2; ++i) s += "Ж";
    for (auto _ : state) benchmark::DoNotOptimize(text::Utf8ToCp1251(s));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Utf8ToCp1251)->Arg(4096);
