// A card swipe typed into another program: klthost.exe runs a module that switches the card
// reader on and opens the keypad (a window of its UI thread to take the keys); this test types the
// swipe with SendInput as the reader device would, then confirms the keypad. Only when
// tests/wine/run.sh sets KLT_CARD_CAPTION.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "res/dialogs.h"
#include "win32_support.h"

namespace {

using klt::test::Environment;
using klt::test::PressKey;
using klt::test::WaitFor;

TEST(Win32CardSwipe, TypesASwipeIntoAnotherProgram) {
    const std::wstring caption = Environment(L"KLT_CARD_CAPTION");
    if (caption.empty()) GTEST_SKIP() << "only with KLT_CARD_CAPTION (tests/wine/run.sh)";
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            dialog = FindWindowW(L"#32770", caption.c_str());
            return dialog != nullptr && IsWindowVisible(dialog);
        },
        90000))
        << "no keypad came up";
    SetForegroundWindow(dialog);
    Sleep(500);
    // ";1234567890" about 20 ms apart: one burst for the reader.
    PressKey(VK_OEM_1);
    for (WORD vk = '1'; vk <= '9'; ++vk) {
        Sleep(20);
        PressKey(vk);
    }
    Sleep(20);
    PressKey('0');
    Sleep(1000);  // the burst ends after 100 ms of silence; the module prints the event
    PostMessageW(GetDlgItem(dialog, klt::res::kPadConfirm), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 10000)) << "the keypad stayed open";
}

}  // namespace

#endif  // _WIN32
