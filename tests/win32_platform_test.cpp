// The Win32 backend of the platform services: clock, loop and timers, desktop queries.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace {

using klt::platform::Get;
using klt::platform::TimerId;

// A plain visible top-level window owned by the test.
class TestWindow {
  public:
    TestWindow() {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"KltPlatformTestWindow";
            return RegisterClassW(&wc);
        }();
        EXPECT_NE(atom, 0);
        hwnd_ = CreateWindowExW(0, L"KltPlatformTestWindow", L"platform test", WS_OVERLAPPEDWINDOW, 10, 10,
                                200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(hwnd_, nullptr);
    }
    ~TestWindow() { Destroy(); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    klt::platform::WindowHandle handle() const {
        return reinterpret_cast<klt::platform::WindowHandle>(hwnd_);
    }
    void Destroy() {
        if (hwnd_ != nullptr) DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }

  private:
    HWND hwnd_ = nullptr;
};

// ---- services ----

TEST(Win32Services, DefaultsAreAllPresent) {
    const klt::platform::Services& s = Get();
    EXPECT_NE(s.clock, nullptr);
    EXPECT_NE(s.loop, nullptr);
    EXPECT_NE(s.hooks, nullptr);
    EXPECT_NE(s.desktop, nullptr);
    EXPECT_NE(s.patcher, nullptr);
}

TEST(Win32Services, ReplaceAnswersThePreviousAndCanBeUndone) {
    const klt::platform::Services original = Get();
    klt::platform::Services partial = original;
    partial.desktop = nullptr;
    const klt::platform::Services previous = klt::platform::Replace(partial);
    EXPECT_EQ(previous.desktop, original.desktop);
    EXPECT_EQ(Get().desktop, nullptr);
    EXPECT_EQ(Get().loop, original.loop);
    klt::platform::Replace(original);
    EXPECT_EQ(Get().desktop, original.desktop);
}

// ---- clock ----

TEST(Win32Clock, LocalTimeMatchesTheSystemsAndIsInRange) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    const klt::platform::DateTime t = Get().clock->LocalNow();
    EXPECT_EQ(t.year, st.wYear);
    EXPECT_EQ(t.month, st.wMonth);
    EXPECT_GE(t.day, 1);
    EXPECT_LE(t.day, 31);
    EXPECT_GE(t.hour, 0);
    EXPECT_LE(t.hour, 23);
    EXPECT_GE(t.minute, 0);
    EXPECT_LE(t.minute, 59);
    EXPECT_GE(t.millisecond, 0);
    EXPECT_LE(t.millisecond, 999);
    EXPECT_GE(t.dayOfWeek, 0);
    EXPECT_LE(t.dayOfWeek, 6);
}

TEST(Win32Clock, UtcTimeCarriesTheSameDayOfWeekAsTheSystem) {
    SYSTEMTIME st;
    GetSystemTime(&st);
    const klt::platform::DateTime t = Get().clock->UtcNow();
    EXPECT_EQ(t.year, st.wYear);
    // Midnight may pass between the two reads; then the day of week moves by one.
    EXPECT_TRUE(t.dayOfWeek == st.wDayOfWeek || t.dayOfWeek == (st.wDayOfWeek + 1) % 7);
}

TEST(Win32Clock, MonotonicTimeAdvances) {
    const std::int64_t a = Get().clock->MonotonicMs();
    Sleep(30);
    const std::int64_t b = Get().clock->MonotonicMs();
    EXPECT_GE(b - a, 15);
    EXPECT_LT(b - a, 5000);
}

// ---- loop and timers ----

TEST(Win32Loop, TimerFiresRepeatedlyAndStopsItselfInsideRunUntil) {
    klt::platform::Loop& loop = *Get().loop;
    int fired = 0;
    TimerId seen = 0;
    const TimerId id = loop.StartTimer(10, [&](TimerId self) {
        seen = self;
        if (++fired == 3) loop.StopTimer(self);
    });
    ASSERT_NE(id, 0u);
    EXPECT_TRUE(loop.RunUntil([&] { return fired >= 3; }, 5000));
    EXPECT_EQ(seen, id);
    // Stopped: no further calls however long the loop runs.
    EXPECT_FALSE(loop.RunUntil([] { return false; }, 150));
    EXPECT_EQ(fired, 3);
    loop.StopTimer(id);  // already stopped: nothing happens
}

TEST(Win32Loop, TwoTimersKeepTheirOwnCallbacksAndOneMayStopTheOther) {
    klt::platform::Loop& loop = *Get().loop;
    int slow = 0;
    int fast = 0;
    TimerId slowId = 0;
    slowId = loop.StartTimer(40, [&](TimerId) { ++slow; });
    const TimerId fastId = loop.StartTimer(10, [&](TimerId self) {
        if (++fast == 2) {
            loop.StopTimer(slowId);
            loop.StopTimer(self);
        }
    });
    ASSERT_NE(slowId, 0u);
    ASSERT_NE(fastId, 0u);
    ASSERT_NE(slowId, fastId);
    EXPECT_TRUE(loop.RunUntil([&] { return fast >= 2; }, 5000));
    const int slowAtStop = slow;
    loop.RunUntil([] { return false; }, 150);
    EXPECT_EQ(slow, slowAtStop);
    EXPECT_EQ(fast, 2);
}

TEST(Win32Loop, RunUntilGivesUpAfterTheTimeout) {
    klt::platform::Loop& loop = *Get().loop;
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(loop.RunUntil([] { return false; }, 120));
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_GE(elapsed, 100u);
    EXPECT_LT(elapsed, 3000u);
}

TEST(Win32Loop, RunUntilAnswersAtOnceWhenAlreadyDone) {
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(Get().loop->RunUntil([] { return true; }, -1));
    EXPECT_LT(GetTickCount64() - start, 1000u);
}

constexpr UINT kPing = WM_APP + 3;
int g_pings = 0;

LRESULT CALLBACK PingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kPing) {
        ++g_pings;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST(Win32Loop, RunUntilDispatchesPostedWindowMessages) {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KltPingWindow";
        return RegisterClassW(&wc);
    }();
    ASSERT_NE(atom, 0);
    const HWND window = CreateWindowExW(0, L"KltPingWindow", L"", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    g_pings = 0;
    // Posted, so only a turning loop delivers them.
    PostMessageW(window, kPing, 0, 0);
    PostMessageW(window, kPing, 0, 0);
    EXPECT_TRUE(Get().loop->RunUntil([] { return g_pings == 2; }, 3000));
    PostMessageW(window, kPing, 0, 0);
    Get().loop->Poll();
    EXPECT_EQ(g_pings, 3);
    DestroyWindow(window);
}

TEST(Win32Loop, QuitEndsRunUntilAndIsLeftForTheOuterLoop) {
    PostQuitMessage(7);
    EXPECT_FALSE(Get().loop->RunUntil([] { return false; }, 3000));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST(Win32Loop, PollRunsADueTimerWithoutWaiting) {
    klt::platform::Loop& loop = *Get().loop;
    int fired = 0;
    const TimerId id = loop.StartTimer(5, [&](TimerId) { ++fired; });
    ASSERT_NE(id, 0u);
    Sleep(60);
    loop.Poll();
    loop.StopTimer(id);
    EXPECT_GE(fired, 1);
    const int atStop = fired;
    Sleep(30);
    loop.Poll();
    EXPECT_EQ(fired, atStop);
}

TEST(Win32Loop, StoppingAnUnknownTimerDoesNothing) {
    klt::platform::Loop& loop = *Get().loop;
    loop.StopTimer(0);
    loop.StopTimer(0x7fff1234);
    int fired = 0;
    const TimerId id = loop.StartTimer(10, [&](TimerId) { ++fired; });
    loop.StopTimer(id + 1000);
    EXPECT_TRUE(loop.RunUntil([&] { return fired > 0; }, 5000));
    loop.StopTimer(id);
}

// The socket window exists only while a socket is watched, and its class goes with it: a DLL's
// class is not unregistered when the DLL unloads. It comes back for the next watch.
TEST(Win32Loop, TheSocketWindowLivesOnlyWhileASocketIsWatched) {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    ASSERT_NE(s, INVALID_SOCKET);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int n = sizeof a;
    ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&a), &n), 0);
    klt::platform::Loop& loop = *Get().loop;
    const auto socketClassExists = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        return GetClassInfoExW(GetModuleHandleW(nullptr), L"KltSocketWindow", &wc) != 0;
    };
    int readable = 0;
    const auto io = static_cast<klt::platform::IoHandle>(s);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(loop.WatchReadable(io, [&] {
            char byte;
            if (recv(s, &byte, 1, 0) == 1) ++readable;
        }));
        EXPECT_EQ(loop.Held().windows, 1u);
        EXPECT_TRUE(socketClassExists());
        ASSERT_EQ(sendto(s, "x", 1, 0, reinterpret_cast<sockaddr*>(&a), sizeof a), 1);  // to itself
        EXPECT_TRUE(loop.RunUntil([&] { return readable == round + 1; }, 5000));
        loop.Unwatch(io);
        EXPECT_EQ(loop.Held().windows, 0u);
        EXPECT_EQ(loop.Held().watches, 0u);
        EXPECT_FALSE(socketClassExists());
    }
    closesocket(s);
    WSACleanup();
}

// ---- desktop ----

TEST(Win32Desktop, IsWindowFollowsTheWindowsLife) {
    klt::platform::Desktop& desktop = *Get().desktop;
    EXPECT_FALSE(desktop.IsWindow(0));
    TestWindow window;
    ASSERT_NE(window.hwnd(), nullptr);
    const auto handle = window.handle();
    EXPECT_TRUE(desktop.IsWindow(handle));
    window.Destroy();
    EXPECT_FALSE(desktop.IsWindow(handle));
}

TEST(Win32Desktop, ActiveWindowIsTheOneActivated) {
    TestWindow window;
    ASSERT_NE(window.hwnd(), nullptr);
    SetActiveWindow(window.hwnd());
    Get().loop->Poll();
    EXPECT_EQ(Get().desktop->ActiveWindow(), window.handle());
}

// A button's picture is the bitmap made from our pixels, top row first; taking it away leaves none.
TEST(Win32Desktop, AButtonShowsTheBitmapMadeFromPixels) {
    klt::platform::Desktop& desktop = *Get().desktop;
    TestWindow window;
    HWND button = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_BITMAP, 0, 0,
                                  60, 60, window.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(button, nullptr);
    const std::uint32_t pixels[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0xFFFFFF, 0x808080};
    const klt::platform::BitmapHandle made = desktop.MakeBitmap(3, 2, pixels);
    ASSERT_NE(made, 0u);
    BITMAP info{};
    ASSERT_NE(GetObjectW(reinterpret_cast<HGDIOBJ>(made), sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(made));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0xFF, 0, 0));
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0, 0, 0xFF));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0xFF, 0xFF, 0xFF));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);

    const auto handle = reinterpret_cast<klt::platform::WindowHandle>(button);
    desktop.SetButtonImage(handle, made);
    EXPECT_EQ(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0), static_cast<LRESULT>(made));
    desktop.SetButtonImage(handle, 0);
    EXPECT_EQ(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    desktop.FreeBitmap(made);
    EXPECT_EQ(GetObjectW(reinterpret_cast<HGDIOBJ>(made), sizeof info, &info), 0) << "freed";
    EXPECT_EQ(desktop.MakeBitmap(0, 2, pixels), 0u);
}

}  // namespace

#endif  // _WIN32
