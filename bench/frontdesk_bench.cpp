// Front-desk costs: a notice from "ПослатьВПорт" to the listener's handler (only inside a private
// network namespace: run as `unshare -n sh -c 'ip link set lo up; ip route add default dev lo;
// KLT_NETNS_TEST=1 build/native/bench/frontdesk_bench'`), and the card-reader hook per key.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>
#include <cstdlib>
#include <cstring>

#include "frontdesk/keyboard_filters.h"
#include "frontdesk/notices.h"
#include "halls/notice_listener.h"
#include "platform/headless.h"
#include "platform/keyboard.h"

using namespace klt;

static void BM_NoticeSendToHandler(benchmark::State& state) {
    const char* flag = std::getenv("KLT_NETNS_TEST");
    if (!flag || std::strcmp(flag, "1") != 0) {
        state.SkipWithError("broadcasts only inside a private network namespace (KLT_NETNS_TEST=1)");
        return;
    }
    int received = 0;
    halls::NoticeSocket listener;
    if (!listener.StartListening(5099, [&](const std::string&) { ++received; })) {
        state.SkipWithError("cannot listen");
        return;
    }
    platform::Loop* loop = platform::Get().loop;
    std::vector<double> micros;
    for (auto _ : state) {
        int before = received;
        auto start = std::chrono::steady_clock::now();
        frontdesk::SendNotice(5099, "ИзЗала", 2);
        loop->RunUntil([&] { return received > before; }, 1000);
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
        state.counters["p50_us"] = micros[micros.size() / 2];
        state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
    }
}
BENCHMARK(BM_NoticeSendToHandler)->UseRealTime();

static void BM_CardReaderHookPerKey(benchmark::State& state) {
    platform::VirtualClock clock;
    platform::NativeLoop loop(clock, &clock);
    platform::NativeHooks hooks;
    platform::HeadlessKeyboard keys;
    platform::Services previous = platform::Replace({&clock, &loop, &hooks, nullptr, nullptr});
    platform::Keyboard* previousKeys = platform::ReplaceKeys(&keys);
    hooks.Install(platform::HookKind::Keyboard, &frontdesk::CardReaderFilter);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(hooks.Dispatch(platform::HookKind::Keyboard, 0, '0' + i % 10, 0));
        if (++i % 1000 == 0) frontdesk::ResetKeyBurst();
    }
    frontdesk::ResetKeyBurst();
    platform::ReplaceKeys(previousKeys);
    platform::Replace(previous);
}
BENCHMARK(BM_CardReaderHookPerKey);
