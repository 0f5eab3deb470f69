// The emulated host's own windows in klthost.exe: a main frame with a menu bar, bars at its top, a
// status bar at its bottom and an MDI client between; form frames as MDI children; dialog forms
// as top-level windows. Classes that the system does not have are registered under the exact
// names asked, all with one window procedure.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <set>
#include <string>

#include "emulator/host_windows.h"
#include "text/cp1251.h"

namespace klt::emu {
namespace {

constexpr int kStatusBarId = 0xE801;
constexpr UINT kFirstMenuCommand = 0xE100;
constexpr UINT kFirstChildCommand = 0xFF00;  // MDI's window menu entries, never shown here

std::wstring Wide(const std::string& cp1251) {
    const std::u16string utf16 = text::Cp1251ToUtf16(cp1251);
    return std::wstring(utf16.begin(), utf16.end());
}

std::wstring ClassOf(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

bool IsChild(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0;
}

HWND MdiClientOf(HWND frame) {
    return FindWindowExW(frame, nullptr, L"MDIClient", nullptr);
}

class Win32HostWindows;
Win32HostWindows* g_windows = nullptr;  // the factory whose windows report their destruction

// The frame's client area: its bars stacked at the top in their order with their own heights,
// the status bar at the bottom where it puts itself, the MDI client in what is left.
void LayOut(HWND frame, HWND client) {
    RECT area;
    GetClientRect(frame, &area);
    for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child == client || !IsWindowVisible(child)) continue;
        RECT box;
        if (GetDlgCtrlID(child) == kStatusBarId) {
            SendMessageW(child, WM_SIZE, 0, 0);
            GetWindowRect(child, &box);
            area.bottom -= box.bottom - box.top;
        } else {
            GetWindowRect(child, &box);
            const int height = box.bottom - box.top;
            MoveWindow(child, area.left, area.top, area.right - area.left, height, TRUE);
            area.top += height;
        }
    }
    MoveWindow(client, area.left, area.top, area.right - area.left, std::max(0L, area.bottom - area.top),
               TRUE);
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class Win32HostWindows final : public HostWindows {
  public:
    Win32HostWindows() { g_windows = this; }
    ~Win32HostWindows() override {
        if (g_windows == this) g_windows = nullptr;
    }

    platform::WindowHandle Create(const HostWindowDesc& desc) override {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        const std::wstring className = Wide(desc.className);
        if (!EnsureClass(className, instance)) return 0;
        const std::wstring text = Wide(desc.text);
        const auto parent = reinterpret_cast<HWND>(desc.parent);
        const platform::WindowBox& b = desc.box;
        HWND window = nullptr;
        if (parent && ClassOf(parent) == L"MDIClient") {
            // A form frame: the MDI client makes its children itself.
            MDICREATESTRUCTW create{};
            create.szClass = className.c_str();
            create.szTitle = text.c_str();
            create.hOwner = instance;
            create.x = b.left;
            create.y = b.top;
            create.cx = b.Width();
            create.cy = b.Height();
            create.style = desc.style & ~static_cast<DWORD>(WS_CHILD);
            window = reinterpret_cast<HWND>(
                SendMessageW(parent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
        } else if (parent) {
            CLIENTCREATESTRUCT client{nullptr, kFirstChildCommand};
            const bool mdi = className == L"MDIClient";
            // MDIS_ALLCHILDSTYLES: without it the system makes every
            // form frame visible at once, before the host knows the window, and the show that
            // follows the form's start-up changes nothing, so no hook hears of it.
            const DWORD mdiStyles = mdi ? WS_CLIPCHILDREN | MDIS_ALLCHILDSTYLES : 0;
            window = CreateWindowExW(0, className.c_str(), text.c_str(), desc.style | WS_CHILD | mdiStyles,
                                     b.left, b.top, b.Width(), b.Height(), parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(desc.id)), instance,
                                     mdi ? &client : nullptr);
            if (window && !IsChild(parent)) {
                if (HWND mdiClient = MdiClientOf(parent)) LayOut(parent, mdiClient);
            }
        } else {
            HMENU menu = nullptr;
            if (desc.menuItems >= 0) {
                menu = CreateMenu();
                for (int i = 0; i < desc.menuItems; ++i) {
                    const std::wstring item = L"&" + std::to_wstring(i + 1);
                    AppendMenuW(menu, MF_STRING, kFirstMenuCommand + static_cast<UINT>(i), item.c_str());
                }
            }
            window = CreateWindowExW(0, className.c_str(), text.c_str(), desc.style | WS_CLIPCHILDREN, b.left,
                                     b.top, b.Width(), b.Height(), nullptr, menu, instance, nullptr);
            if (!window && menu) DestroyMenu(menu);
        }
        // Only windows of our classes tell of their end; the system's controls on a form do not.
        if (window && reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == &HostWindowProc)
            made_.insert(window);
        return reinterpret_cast<platform::WindowHandle>(window);
    }

    void Destroy(platform::WindowHandle handle) override {
        const auto window = reinterpret_cast<HWND>(handle);
        if (!IsWindow(window)) return;
        const HWND parent = GetParent(window);
        if (IsChild(window) && parent && ClassOf(parent) == L"MDIClient")
            SendMessageW(parent, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
        else
            DestroyWindow(window);
    }

    void Commanded(HWND window, int control) {
        if (made_.count(window) && commanded)
            commanded(reinterpret_cast<platform::WindowHandle>(window), control);
    }

    void Destroyed(HWND window) {
        if (!made_.erase(window)) return;
        if (destroyed) destroyed(reinterpret_cast<platform::WindowHandle>(window));
    }

  private:
    // The system's own classes as they are; the common controls' once loaded; any other under
    // the name asked, ours.
    static bool EnsureClass(const std::wstring& name, HINSTANCE instance) {
        if (name == L"msctls_statusbar32") {
            INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
            InitCommonControlsEx(&controls);
        }
        WNDCLASSEXW known{};
        known.cbSize = sizeof known;
        if (GetClassInfoExW(nullptr, name.c_str(), &known) || GetClassInfoExW(instance, name.c_str(), &known))
            return true;
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = HostWindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = name.c_str();
        return RegisterClassExW(&wc) != 0;
    }

    std::set<HWND> made_;
};

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY && g_windows) g_windows->Destroyed(window);
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && lParam != 0 && g_windows)
        g_windows->Commanded(window, LOWORD(wParam));
    if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_MDICHILD)
        return DefMDIChildProcW(window, message, wParam, lParam);
    if (IsChild(window)) return DefWindowProcW(window, message, wParam, lParam);
    // A top-level window with an MDI client is the main frame; any other is a dialog form.
    const HWND client = MdiClientOf(window);
    if (!client) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_SIZE) {
        LayOut(window, client);
        return 0;
    }
    return DefFrameProcW(window, client, message, wParam, lParam);
}

}  // namespace

std::unique_ptr<HostWindows> CreateHostWindows() {
    return std::make_unique<Win32HostWindows>();
}

}  // namespace klt::emu
