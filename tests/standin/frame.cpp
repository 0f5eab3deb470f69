// The stand-in's frame.dll: the main frame and the status bar. GetMainFrame answers an object laid
// out as mfc42.dll's CWnd as far as the window handle: a table pointer, CCmdTarget's six words and
// its module state (the shared-library build), then m_hWnd at +0x20.
#define STANDIN_BUILD_FRAME
#include "host_classes.h"
#include "standin.h"
#include "win.h"

namespace {

struct FrameObject {
    void* vfptr;
    DWORD cmdTarget[7];
    HWND m_hWnd;
    DWORD rest[64];
};
static_assert(__builtin_offsetof(FrameObject, m_hWnd) == 0x20, "CWnd::m_hWnd");

FrameObject g_frame;
bool g_frameExists;
volatile int g_setIndicatorsCalls;
const char kFrameClass[] = "StandinMainFrame";

LONG_PTR WINAPI FrameProc(HWND hwnd, unsigned msg, UINT_PTR wParam, LONG_PTR lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

CMDIFrameWnd* GetMainFrame() {
    return g_frameExists ? reinterpret_cast<CMDIFrameWnd*>(&g_frame) : nullptr;
}

// Counts the calls that reach the body; patched, the add-in answers them before they get here.
int SECStatusBar::SetIndicators(const UINT* ids, int count) {
    g_setIndicatorsCalls = g_setIndicatorsCalls + 1;
    return ids != nullptr && count >= 0;
}

void* StandinCreateMainFrame(const char* title) {
    if (g_frameExists) return g_frame.m_hWnd;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &FrameProc;
    wc.hInstance = GetModuleHandleA("frame.dll");
    wc.lpszClassName = kFrameClass;
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, kFrameClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                                nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd) return nullptr;
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetActiveWindow(hwnd);
    g_frame.m_hWnd = hwnd;
    g_frameExists = true;
    return hwnd;
}

void StandinDestroyMainFrame() {
    if (!g_frameExists) return;
    DestroyWindow(g_frame.m_hWnd);
    g_frame.m_hWnd = nullptr;
    g_frameExists = false;
    UnregisterClassA(kFrameClass, GetModuleHandleA("frame.dll"));
}

int StandinSetIndicatorsCalls() {
    return g_setIndicatorsCalls;
}
