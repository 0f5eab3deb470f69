// Thread hooks of the Win32 backend: the portable procedure sees what Windows hands the hook.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace {

using klt::platform::Get;
using klt::platform::HookHandle;
using klt::platform::HookKind;

// Hook procedures get no context, so what they see is kept here.
std::vector<WPARAM> g_keysDown;
std::vector<UINT> g_returnedMessages;
int g_countA = 0;
int g_countB = 0;

std::intptr_t KeyboardProc(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    // Bit 31 of lParam clear: a key going down.
    if (code == HC_ACTION && (static_cast<std::uint32_t>(lParam) & 0x80000000u) == 0)
        g_keysDown.push_back(static_cast<WPARAM>(wParam));
    return Get().hooks->CallNext(code, wParam, lParam);
}

std::intptr_t CallWndRetProc(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    if (code == HC_ACTION) {
        const auto* ret = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        g_returnedMessages.push_back(ret->message);
    }
    return Get().hooks->CallNext(code, wParam, lParam);
}

std::intptr_t CountA(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    ++g_countA;
    return Get().hooks->CallNext(code, wParam, lParam);
}

std::intptr_t CountB(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    ++g_countB;
    return Get().hooks->CallNext(code, wParam, lParam);
}

constexpr UINT kProbe = WM_APP + 17;

LRESULT CALLBACK ProbeWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kProbe) return 1234;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Only the keyboard test needs a visible window; showing one costs wine a wait for the X server.
HWND MakeWindow(bool visible = false) {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ProbeWndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KltHooksTestWindow";
        return RegisterClassW(&wc);
    }();
    if (atom == 0) return nullptr;
    return CreateWindowExW(0, L"KltHooksTestWindow", L"hooks test",
                           WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0u), 20, 20, 240, 120, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

void SendKey(WORD vk) {
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = vk;
    input[1].type = INPUT_KEYBOARD;
    input[1].ki.wVk = vk;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

bool Contains(const std::vector<WPARAM>& keys, WPARAM key) {
    for (WPARAM k : keys)
        if (k == key) return true;
    return false;
}

TEST(Win32Hooks, KeyboardHookSeesAKeySentToOurWindow) {
    const HWND window = MakeWindow(true);
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    SetFocus(window);
    Get().loop->RunUntil([&] { return GetFocus() == window; }, 2000);
    ASSERT_EQ(GetFocus(), window);

    g_keysDown.clear();
    const HookHandle hook = Get().hooks->Install(HookKind::Keyboard, KeyboardProc);
    ASSERT_NE(hook, 0u);
    SendKey(VK_F7);
    EXPECT_TRUE(Get().loop->RunUntil([] { return Contains(g_keysDown, VK_F7); }, 3000));
    EXPECT_TRUE(Get().hooks->Remove(hook));

    // Removed: the next key passes unseen.
    g_keysDown.clear();
    SendKey(VK_F8);
    Get().loop->RunUntil([] { return false; }, 200);
    EXPECT_FALSE(Contains(g_keysDown, VK_F8));
    DestroyWindow(window);
}

TEST(Win32Hooks, CallWndProcRetHookSeesASentMessage) {
    const HWND window = MakeWindow();
    ASSERT_NE(window, nullptr);
    g_returnedMessages.clear();
    const HookHandle hook = Get().hooks->Install(HookKind::CallWndProcRet, CallWndRetProc);
    ASSERT_NE(hook, 0u);
    // The hook passes the call on, so the window procedure's answer still reaches the sender.
    EXPECT_EQ(SendMessageW(window, kProbe, 0, 0), 1234);
    EXPECT_NE(std::find(g_returnedMessages.begin(), g_returnedMessages.end(), kProbe),
              g_returnedMessages.end());
    EXPECT_TRUE(Get().hooks->Remove(hook));
    g_returnedMessages.clear();
    SendMessageW(window, kProbe, 0, 0);
    EXPECT_TRUE(g_returnedMessages.empty());
    DestroyWindow(window);
}

TEST(Win32Hooks, EachHookCallsItsOwnProcedure) {
    const HWND window = MakeWindow();
    ASSERT_NE(window, nullptr);
    g_countA = g_countB = 0;
    const HookHandle a = Get().hooks->Install(HookKind::CallWndProcRet, CountA);
    const HookHandle b = Get().hooks->Install(HookKind::CallWndProcRet, CountB);
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    SendMessageW(window, kProbe, 0, 0);
    EXPECT_GE(g_countA, 1);
    EXPECT_GE(g_countB, 1);
    ASSERT_TRUE(Get().hooks->Remove(a));
    g_countA = g_countB = 0;
    SendMessageW(window, kProbe, 0, 0);
    EXPECT_EQ(g_countA, 0);
    EXPECT_GE(g_countB, 1);
    EXPECT_TRUE(Get().hooks->Remove(b));
    DestroyWindow(window);
}

TEST(Win32Hooks, SlotsRunOutAndComeBackWhenRemoved) {
    std::vector<HookHandle> installed;
    for (;;) {
        const HookHandle h = Get().hooks->Install(HookKind::Keyboard, CountA);
        if (h == 0) break;
        installed.push_back(h);
        ASSERT_LE(installed.size(), 64u) << "the slot table never ran out";
    }
    EXPECT_GE(installed.size(), 4u);
    ASSERT_TRUE(Get().hooks->Remove(installed.back()));
    installed.pop_back();
    const HookHandle again = Get().hooks->Install(HookKind::Keyboard, CountA);
    EXPECT_NE(again, 0u);
    if (again != 0) installed.push_back(again);
    // The other kind has its own slots.
    const HookHandle other = Get().hooks->Install(HookKind::CallWndProcRet, CountB);
    EXPECT_NE(other, 0u);
    if (other != 0) installed.push_back(other);
    for (HookHandle h : installed) EXPECT_TRUE(Get().hooks->Remove(h));
}

TEST(Win32Hooks, RemovingAnUnknownHookFails) {
    EXPECT_FALSE(Get().hooks->Remove(0));
    EXPECT_FALSE(Get().hooks->Remove(0x5150));
    EXPECT_EQ(Get().hooks->Install(HookKind::Keyboard, nullptr), 0u);
}

}  // namespace

#endif  // _WIN32
