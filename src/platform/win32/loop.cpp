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
        const ULONGLONG start = GetTickCount64();
        for (;;) {
            bool quit = false;
            while (!done()) {
                if (!PumpOne(quit)) break;
            }
            if (done()) return true;
            if (quit) return false;

            DWORD wait = INFINITE;
            if (timeoutMs >= 0) {
                const ULONGLONG elapsed = GetTickCount64() - start;
                const auto limit = static_cast<ULONGLONG>(timeoutMs);
                if (elapsed >= limit) return false;
                const ULONGLONG remaining = limit - elapsed;
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
};

}  // namespace

Loop& DefaultLoop() {
    static Win32Loop loop;
    return loop;
}

}  // namespace klt::platform::win32
