// The emulated host's own windows in klthost.exe: the main frame's tree with the exact classes,
// its layout, form frames in the MDI client, and destruction reported back to the host.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "emulator/host_windows.h"

namespace {

using klt::emu::HostWindowDesc;
using klt::platform::WindowHandle;

HWND H(WindowHandle w) {
    return reinterpret_cast<HWND>(w);
}

std::wstring ClassOf(WindowHandle w) {
    wchar_t name[128] = {};
    GetClassNameW(H(w), name, 128);
    return name;
}

RECT ClientBoxOf(WindowHandle w, HWND frame) {
    RECT r;
    GetWindowRect(H(w), &r);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(Win32HostWindows, MainFrameTreeLaysOutAndFormsReportTheirEnd) {
    auto windows = klt::emu::CreateHostWindows();
    std::vector<WindowHandle> ended;
    windows->destroyed = [&](WindowHandle w) { ended.push_back(w); };
    auto make = [&](WindowHandle parent, const char* cls, int id, klt::platform::WindowBox box,
                    int menu = -1) {
        HostWindowDesc desc;
        desc.parent = parent;
        desc.className = cls;
        desc.style = klt::platform::kStyleVisible | (parent ? 0 : WS_OVERLAPPEDWINDOW);
        desc.id = id;
        desc.box = box;
        desc.menuItems = menu;
        return windows->Create(desc);
    };
    const WindowHandle frame = make(0, "KltHostFrame", 0, {0, 0, 800, 600}, 5);
    ASSERT_NE(frame, 0u);
    const WindowHandle bar = make(frame, "AfxControlBar42", 0xE81B, {0, 0, 800, 28});
    const WindowHandle dock = make(frame, "Afx:400000:0:0:10:0", 0, {0, 0, 800, 20});
    const WindowHandle status = make(frame, "msctls_statusbar32", 0xE801, {0, 0, 800, 20});
    const WindowHandle client = make(frame, "MDIClient", 0xE900, {0, 0, 800, 500});
    ASSERT_TRUE(bar && dock && status && client);
    EXPECT_EQ(ClassOf(bar), L"AfxControlBar42");
    EXPECT_EQ(ClassOf(dock), L"Afx:400000:0:0:10:0");
    EXPECT_EQ(ClassOf(status), L"msctls_statusbar32");
    EXPECT_EQ(GetDlgCtrlID(H(status)), 0xE801);
    EXPECT_EQ(GetMenuItemCount(GetMenu(H(frame))), 5);

    MoveWindow(H(frame), 0, 0, 700, 500, TRUE);  // the frame lays its client area out again
    RECT area, b1, b2, s, c;
    GetClientRect(H(frame), &area);
    b1 = ClientBoxOf(bar, H(frame));
    b2 = ClientBoxOf(dock, H(frame));
    s = ClientBoxOf(status, H(frame));
    c = ClientBoxOf(client, H(frame));
    EXPECT_EQ(b1.top, 0);
    EXPECT_EQ(b1.right, area.right);
    EXPECT_EQ(b2.top, b1.bottom);
    EXPECT_EQ(c.top, b2.bottom);
    EXPECT_EQ(c.bottom, s.top);
    EXPECT_EQ(s.bottom, area.bottom);
    EXPECT_EQ(c.right, area.right);

    const WindowHandle form = make(client, "KltFormFrame", 0, {10, 10, 310, 210});
    ASSERT_NE(form, 0u);
    EXPECT_EQ(GetParent(H(form)), H(client));
    EXPECT_TRUE(GetWindowLongPtrW(H(form), GWL_EXSTYLE) & WS_EX_MDICHILD);
    // One made hidden stays so until the host shows it: that show is what the add-in's hook hears.
    HostWindowDesc hidden;
    hidden.parent = client;
    hidden.className = "KltFormFrame";
    hidden.style = WS_CAPTION | WS_THICKFRAME;
    hidden.box = {20, 20, 320, 220};
    EXPECT_FALSE(IsWindowVisible(H(windows->Create(hidden))));
    const WindowHandle dialog = make(0, "KltFormDialog", 0, {50, 50, 350, 250});
    ASSERT_NE(dialog, 0u);
    EXPECT_EQ(GetParent(H(dialog)), nullptr);

    SendMessageW(H(form), WM_CLOSE, 0, 0);  // the user closes the form's frame
    EXPECT_FALSE(IsWindow(H(form)));
    windows->Destroy(dialog);
    EXPECT_EQ(ended, (std::vector{form, dialog}));
    windows->Destroy(frame);
    EXPECT_FALSE(IsWindow(H(client)));
}

}  // namespace

#endif  // _WIN32
