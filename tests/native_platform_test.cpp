// The native UI-thread loop, its virtual clock and the hook chain.
#include <gtest/gtest.h>

#include "platform/headless.h"
#include "platform/tick_counter.h"

namespace klt::test {
namespace {

using namespace klt::platform;

struct VirtualLoop : ::testing::Test {
    VirtualClock clock;
    NativeLoop loop{clock, &clock};
};

TEST_F(VirtualLoop, PeriodicTimersFireOnTimeAndMayStopThemselves) {
    std::vector<std::int64_t> ticks;
    TimerId id = loop.StartTimer(100, [&](TimerId self) {
        ticks.push_back(clock.MonotonicMs());
        if (ticks.size() == 3) loop.StopTimer(self);
    });
    ASSERT_NE(id, 0u);
    EXPECT_FALSE(loop.RunUntil([] { return false; }, 1000));
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{100, 200, 300}));
    EXPECT_EQ(loop.ActiveTimers(), 0u);
    EXPECT_EQ(clock.MonotonicMs(), 1000);
}

TEST_F(VirtualLoop, RunUntilStopsAsSoonAsDone) {
    int fired = 0;
    loop.StartTimer(50, [&](TimerId) { ++fired; });
    EXPECT_TRUE(loop.RunUntil([&] { return fired == 2; }, 10000));
    EXPECT_EQ(clock.MonotonicMs(), 100);
    // With no limit and nothing that could ever change, the loop gives up instead of hanging.
    NativeLoop idle(clock, &clock);
    EXPECT_FALSE(idle.RunUntil([] { return false; }, -1));
}

TEST_F(VirtualLoop, ATimerStartedOrStoppedInsideACallbackIsRespected) {
    int first = 0, second = 0;
    TimerId other = loop.StartTimer(10, [&](TimerId) { ++second; });
    loop.StartTimer(10, [&](TimerId self) {
        ++first;
        loop.StopTimer(other);
        loop.StopTimer(self);
        loop.StartTimer(1000, [&](TimerId) { ++first; });
    });
    loop.RunUntil([] { return false; }, 500);
    EXPECT_EQ(first, 1);
    EXPECT_LE(second, 1) << "stopped in the same turn";
    EXPECT_EQ(loop.ActiveTimers(), 1u);
    EXPECT_EQ(loop.StartTimer(10, nullptr), 0u);
}

TEST(TickCounterTest, CarriesTheWrapOfTheThirtyTwoBitCounter) {
    TickCounter ticks;
    EXPECT_EQ(ticks.Extend(0xFFFFFF00u), 0xFFFFFF00);
    EXPECT_EQ(ticks.Extend(0xFFFFFF00u), 0xFFFFFF00) << "the same reading is not a wrap";
    EXPECT_EQ(ticks.Extend(0x10u), 0x100000010);
    EXPECT_EQ(ticks.Extend(0x20u), 0x100000020);
    EXPECT_EQ(ticks.Extend(0x5u), 0x200000005);
}

TEST(VirtualClockTest, CalendarRollsOverMonthAndYear) {
    VirtualClock clock;
    DateTime eve;
    eve.year = 2025;
    eve.month = 12;
    eve.day = 31;
    eve.hour = 23;
    eve.minute = 59;
    eve.second = 59;
    eve.millisecond = 900;
    clock.Set(eve, eve);
    clock.Advance(150);
    EXPECT_EQ(clock.LocalNow().year, 2026);
    EXPECT_EQ(clock.LocalNow().month, 1);
    EXPECT_EQ(clock.LocalNow().day, 1);
    EXPECT_EQ(clock.LocalNow().hour, 0);
    EXPECT_EQ(clock.LocalNow().millisecond, 50);
    EXPECT_EQ(clock.LocalNow().dayOfWeek, 4);
}

std::vector<int> order;
std::intptr_t First(int code, std::uintptr_t w, std::intptr_t l) {
    order.push_back(1);
    return Get().hooks->CallNext(code, w, l);
}
std::intptr_t Second(int, std::uintptr_t w, std::intptr_t) {
    order.push_back(2);
    return static_cast<std::intptr_t>(w) * 10;
}
NativeHooks* chain = nullptr;
HookHandle selfHandle = 0;
std::intptr_t RemovesItself(int code, std::uintptr_t w, std::intptr_t l) {
    order.push_back(3);
    chain->Remove(selfHandle);
    return chain->CallNext(code, w, l);
}

TEST(NativeHooksTest, NewestFirstAndCallNextWalksTheChainOfTheSameKind) {
    NativeHooks hooks;
    Services previous = Replace({nullptr, nullptr, &hooks, nullptr, nullptr});
    order.clear();
    hooks.Install(HookKind::Keyboard, &Second);
    hooks.Install(HookKind::CallWndProcRet, &First);  // another kind: not in the keyboard chain
    HookHandle h = hooks.Install(HookKind::Keyboard, &First);
    EXPECT_EQ(hooks.Dispatch(HookKind::Keyboard, 0, 4, 0), 40);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_TRUE(hooks.Remove(h));
    EXPECT_FALSE(hooks.Remove(h));
    order.clear();
    EXPECT_EQ(hooks.Dispatch(HookKind::Keyboard, 0, 5, 0), 50);
    EXPECT_EQ(order, (std::vector<int>{2}));

    // A hook that removes itself while it runs still passes the call on to the next one.
    chain = &hooks;
    selfHandle = hooks.Install(HookKind::Keyboard, &RemovesItself);
    order.clear();
    EXPECT_EQ(hooks.Dispatch(HookKind::Keyboard, 0, 6, 0), 60);
    EXPECT_EQ(order, (std::vector<int>{3, 2}));
    EXPECT_EQ(hooks.Installed(HookKind::Keyboard).size(), 1u);
    EXPECT_EQ(hooks.CallNext(0, 0, 0), 0) << "outside a dispatch there is no next hook";
    Replace(previous);
}

TEST(NativeDesktopTest, WindowsAndMessageBoxes) {
    NativeDesktop desktop;
    EXPECT_TRUE(desktop.IsWindow(desktop.MainWindow()));
    EXPECT_EQ(desktop.ActiveWindow(), desktop.MainWindow());
    WindowHandle w = desktop.CreateWindow();
    EXPECT_TRUE(desktop.IsWindow(w));
    desktop.DestroyWindow(w);
    EXPECT_FALSE(desktop.IsWindow(w));
    EXPECT_FALSE(desktop.IsWindow(0));
    desktop.QueueAnswer(7);
    EXPECT_EQ(desktop.MessageBox("a", "b", 4), 7);
    EXPECT_EQ(desktop.MessageBox("c", "d", 0), 1);
    ASSERT_EQ(desktop.MessageBoxes().size(), 2u);
    EXPECT_EQ(desktop.MessageBoxes()[0].text, "a");
    EXPECT_EQ(desktop.MessageBoxes()[0].flags, 4u);
}

}  // namespace
}  // namespace klt::test
