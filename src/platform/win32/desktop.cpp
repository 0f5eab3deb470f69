#include <string>

#include "platform/win32/backend.h"
#include "platform/win32/win32_api.h"
// After <windows.h>: the common dialogs' header needs its types.
#include <commdlg.h>
#include "text/cp1251.h"

namespace klt::platform::win32 {
namespace {

std::wstring Wide(const std::string& cp1251) {
    const std::u16string u = text::Cp1251ToUtf16(cp1251);
    return std::wstring(u.begin(), u.end());
}

std::string Narrow(const wchar_t* wide, int length) {
    return text::Utf16ToCp1251(std::u16string(wide, wide + length));
}

HWND H(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

WindowHandle W(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

WindowBox Box(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

class Win32Desktop final : public Desktop {
  public:
    WindowHandle ActiveWindow() override { return W(GetActiveWindow()); }
    bool IsWindow(WindowHandle window) override { return window != 0 && ::IsWindow(H(window)) != FALSE; }
    int MessageBox(const std::string& message, const std::string& caption, unsigned flags) override {
        // Owned by the active window so that it stays modal to the form the cashier is looking at.
        return MessageBoxW(GetActiveWindow(), Wide(message).c_str(), Wide(caption).c_str(), flags);
    }

    bool Show(WindowHandle window, bool show) override {
        return ShowWindow(H(window), show ? SW_SHOWNORMAL : SW_HIDE) != FALSE;
    }
    bool IsVisible(WindowHandle window) override { return IsWindowVisible(H(window)) != FALSE; }
    std::uint32_t Style(WindowHandle window) override {
        return static_cast<std::uint32_t>(GetWindowLongW(H(window), GWL_STYLE));
    }
    void SetStyle(WindowHandle window, std::uint32_t style) override {
        SetWindowLongW(H(window), GWL_STYLE, static_cast<LONG>(style));
    }
    WindowBox ScreenBox(WindowHandle window) override {
        RECT r{};
        GetWindowRect(H(window), &r);
        return Box(r);
    }
    WindowBox PlacedBox(WindowHandle window) override {
        RECT r{};
        if (!GetWindowRect(H(window), &r)) return {};
        if (GetWindowLongW(H(window), GWL_STYLE) & WS_CHILD)
            MapWindowPoints(nullptr, GetParent(H(window)), reinterpret_cast<POINT*>(&r), 2);
        return Box(r);
    }
    WindowBox ClientBox(WindowHandle window) override {
        RECT r{};
        GetClientRect(H(window), &r);
        return Box(r);
    }
    bool Move(WindowHandle window, int x, int y, int width, int height, bool repaint) override {
        return MoveWindow(H(window), x, y, width, height, repaint ? TRUE : FALSE) != FALSE;
    }
    bool MoveFrameChanged(WindowHandle window, int x, int y, int width, int height) override {
        return SetWindowPos(H(window), nullptr, x, y, width, height, SWP_FRAMECHANGED) != FALSE;
    }
    void SetText(WindowHandle window, const std::string& cp1251) override {
        SetWindowTextW(H(window), Wide(cp1251).c_str());
    }
    std::string Text(WindowHandle window) override {
        wchar_t buffer[512];
        return Narrow(buffer, GetWindowTextW(H(window), buffer, 512));
    }
    std::string ClassName(WindowHandle window) override {
        wchar_t buffer[256];
        return Narrow(buffer, GetClassNameW(H(window), buffer, 256));
    }
    WindowHandle FirstChild(WindowHandle window) override { return W(GetWindow(H(window), GW_CHILD)); }
    WindowHandle NextSibling(WindowHandle window) override { return W(GetWindow(H(window), GW_HWNDNEXT)); }
    WindowHandle ChildWithId(WindowHandle parent, int id) override { return W(GetDlgItem(H(parent), id)); }
    bool Destroy(WindowHandle window) override { return DestroyWindow(H(window)) != FALSE; }
    int MenuItemCount(WindowHandle window) override {
        HMENU menu = GetMenu(H(window));
        return menu ? GetMenuItemCount(menu) : -1;
    }
    void RemoveMenu(WindowHandle window, bool detach) override {
        HMENU menu = GetMenu(H(window));
        if (!menu) return;
        if (detach) SetMenu(H(window), nullptr);
        DestroyMenu(menu);
    }
    int ScreenWidth() override { return GetSystemMetrics(SM_CXSCREEN); }
    int ScreenHeight() override { return GetSystemMetrics(SM_CYSCREEN); }
    int CaptionHeight() override { return GetSystemMetrics(SM_CYCAPTION); }
    void InjectKey(int virtualKey, bool up) override {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(virtualKey);
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        SendInput(1, &input, sizeof input);
    }
    std::int64_t ChooseColour() override {
        static COLORREF custom[16]{};  // the dialog keeps the user's custom colours here
        CHOOSECOLORW choice{};
        choice.lStructSize = sizeof choice;
        choice.lpCustColors = custom;
        if (!ChooseColorW(&choice)) return -1;
        return static_cast<std::int64_t>(choice.rgbResult);
    }
    void PowerOff() override {
        HANDLE token = nullptr;
        if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
            TOKEN_PRIVILEGES privileges{};
            privileges.PrivilegeCount = 1;
            privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
            LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid);
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
            CloseHandle(token);
        }
        ExitWindowsEx(EWX_SHUTDOWN | EWX_POWEROFF, 0);
    }
    // A device-dependent bitmap, as a button's image has always been: the pixels are already the
    // layout of a 32-bit top-down DIB.
    BitmapHandle MakeBitmap(int width, int height, const std::uint32_t* pixels) override {
        if (width <= 0 || height <= 0 || !pixels) return 0;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        HDC screen = GetDC(nullptr);
        if (!screen) return 0;
        HBITMAP made = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, pixels, &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        return reinterpret_cast<BitmapHandle>(made);
    }
    void FreeBitmap(BitmapHandle bitmap) override {
        if (bitmap) DeleteObject(reinterpret_cast<HGDIOBJ>(bitmap));
    }
    void SetButtonImage(WindowHandle button, BitmapHandle bitmap) override {
        SendMessageW(H(button), BM_SETIMAGE, IMAGE_BITMAP, static_cast<LPARAM>(bitmap));
    }
};

}  // namespace

Desktop& DefaultDesktop() {
    static Win32Desktop desktop;
    return desktop;
}

}  // namespace klt::platform::win32
