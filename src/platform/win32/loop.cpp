#include <winsock2.h>

#include <map>
#include <memory>
#include <utility>

#include "platform/win32/backend.h"
#include "platform/win32/win32_api.h"

namespace klt::platform::win32 {
namespace {

// Ownerless timers come back through one TimerProc with nothing but the id, so the callbacks live
// in a process-wide table keyed by it. Only the UI thread touches it.
std::map<UINT_PTR, std::shared_ptr<Loop::TimerCallback>>& Timers() {
    static std::map<UINT_PTR, std::shared_ptr<Loop::TimerCallback>> timers;
    return timers;
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    auto& timers = Timers();
    const auto it = timers.find(id);
    if (it == timers.end()) return;
    // Held by copy: the callback may stop its own timer, which drops the table's reference.
    const std::shared_ptr<Loop::TimerCallback> callback = it->second;
    (*callback)(static_cast<TimerId>(id));
}

// Sockets report readiness as window messages to one message-only window of ours, so they arrive
// through whatever message loop runs the thread: ours, or the host's.
constexpr UINT kSocketMessage = WM_APP + 0x4B4C;

std::map<SOCKET, std::shared_ptr<std::function<void()>>>& Watches() {
    static std::map<SOCKET, std::shared_ptr<std::function<void()>>> watches;
    return watches;
}

LRESULT CALLBACK SocketWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kSocketMessage) return DefWindowProcW(hwnd, message, wParam, lParam);
    auto& watches = Watches();
    const auto it = watches.find(static_cast<SOCKET>(wParam));
    if (it == watches.end()) return 0;
    const std::shared_ptr<std::function<void()>> callback = it->second;  // may unwatch itself
    (*callback)();
    return 0;
}

// The window lives only while a socket is watched: a DLL's window class outlives the DLL unless
// the DLL unregisters it, and a window whose procedure is unloaded crashes the next message.
HWND g_socketWindow = nullptr;
constexpr const wchar_t* kSocketWindowClass = L"KltSocketWindow";

HMODULE ThisModule() {
    // The class belongs to the module this code is in (the DLL inside the host).
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&SocketWindowProc), &self);
    return self;
}

HWND SocketWindow() {
    if (g_socketWindow) return g_socketWindow;
    WNDCLASSW wc{};
    wc.lpfnWndProc = SocketWindowProc;
    wc.hInstance = ThisModule();
    wc.lpszClassName = kSocketWindowClass;
    RegisterClassW(&wc);  // fails harmlessly when still registered
    g_socketWindow = CreateWindowExW(0, kSocketWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     wc.hInstance, nullptr);
    if (!g_socketWindow) UnregisterClassW(kSocketWindowClass, wc.hInstance);
    return g_socketWindow;
}

void ReleaseSocketWindow() {
    if (!g_socketWindow) return;
    DestroyWindow(g_socketWindow);
    g_socketWindow = nullptr;
    UnregisterClassW(kSocketWindowClass, ThisModule());
}

// Answers false when WM_QUIT came; it is posted again so the outer loop ends as well.
bool PumpOne(bool& quit) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        quit = true;
        return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

class Win32Loop final : public Loop {
  public:
    TimerId StartTimer(unsigned periodMs, TimerCallback callback) override {
        const UINT_PTR id = SetTimer(nullptr, 0, periodMs, TimerProc);
        if (id == 0) return 0;
        Timers()[id] = std::make_shared<TimerCallback>(std::move(callback));
        return static_cast<TimerId>(id);
    }

    void StopTimer(TimerId id) override {
        auto& timers = Timers();
        const auto it = timers.find(static_cast<UINT_PTR>(id));
        if (it == timers.end()) return;
        KillTimer(nullptr, it->first);
        timers.erase(it);
    }

    bool RunUntil(const std::function<bool()>& done, std::int64_t timeoutMs) override {
        Clock& clock = DefaultClock();
        const std::int64_t start = clock.MonotonicMs();
        for (;;) {
            bool quit = false;
            while (!done()) {
                if (!PumpOne(quit)) break;
            }
            if (done()) return true;
            if (quit) return false;

            DWORD wait = INFINITE;
            if (timeoutMs >= 0) {
                const std::int64_t elapsed = clock.MonotonicMs() - start;
                if (elapsed >= timeoutMs) return false;
                const std::int64_t remaining = timeoutMs - elapsed;
                wait = remaining >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(remaining);
            }
            // MWMO_INPUTAVAILABLE: wake for messages already seen but not yet removed as well.
            MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
    }

    void Poll() override {
        bool quit = false;
        while (PumpOne(quit)) {
        }
    }

    bool WatchReadable(IoHandle socket, std::function<void()> onReadable) override {
        if (!onReadable) return false;
        HWND window = SocketWindow();
        if (!window) return false;
        const auto s = static_cast<SOCKET>(socket);
        if (WSAAsyncSelect(s, window, kSocketMessage, FD_READ) != 0) {
            if (Watches().empty()) ReleaseSocketWindow();
            return false;
        }
        Watches()[s] = std::make_shared<std::function<void()>>(std::move(onReadable));
        return true;
    }

    void Unwatch(IoHandle socket) override {
        const auto s = static_cast<SOCKET>(socket);
        if (Watches().erase(s) && g_socketWindow) WSAAsyncSelect(s, g_socketWindow, 0, 0);
        if (Watches().empty()) ReleaseSocketWindow();
    }

    Holdings Held() const override { return {Timers().size(), Watches().size(), g_socketWindow ? 1u : 0u}; }
};

}  // namespace

Loop& DefaultLoop() {
    static Win32Loop loop;
    return loop;
}

}  // namespace klt::platform::win32
