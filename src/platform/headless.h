#pragma once
// Portable services without a window system: a virtual clock, the UI-thread loop, recorded hooks
// and fake windows. They are the native backend (with a real clock) and what tests drive on every
// build: they advance virtual time, dispatch key events through the installed hooks and read back
// message boxes.
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/keyboard.h"
#include "platform/platform.h"

namespace klt::platform {

class RealClock : public Clock {
  public:
    DateTime LocalNow() override;
    DateTime UtcNow() override;
    std::int64_t MonotonicMs() override;
};

// Time that moves only when told to; the loop moves it while it waits.
class VirtualClock : public Clock {
  public:
    VirtualClock();
    DateTime LocalNow() override { return local_; }
    DateTime UtcNow() override { return utc_; }
    std::int64_t MonotonicMs() override { return ms_; }
    void Set(const DateTime& local, const DateTime& utc) {
        local_ = local;
        utc_ = utc;
    }
    // Moves monotonic time and both calendar times forward.
    void Advance(std::int64_t ms);

  private:
    DateTime local_, utc_;
    std::int64_t ms_ = 0;
};

class NativeLoop : public Loop {
  public:
    // With a virtual clock, waiting advances it instead of sleeping.
    NativeLoop(Clock& clock, VirtualClock* virtualClock);
    TimerId StartTimer(unsigned periodMs, TimerCallback callback) override;
    void StopTimer(TimerId id) override;
    bool RunUntil(const std::function<bool()>& done, std::int64_t timeoutMs) override;
    void Poll() override;
    bool WatchReadable(IoHandle socket, std::function<void()> onReadable) override;
    void Unwatch(IoHandle socket) override;
    Holdings Held() const override { return {timers_.size(), watches_.size(), 0}; }
    std::size_t ActiveTimers() const { return timers_.size(); }

  private:
    struct Timer {
        unsigned period;
        std::int64_t due;
        TimerCallback callback;
    };
    void WaitUntil(std::int64_t ms);
    // Waits at most `timeoutMs` for a watched socket and runs the callbacks of the ready ones;
    // answers whether any ran.
    bool PollIo(std::int64_t timeoutMs);

    Clock& clock_;
    VirtualClock* virtual_;
    std::map<TimerId, Timer> timers_;
    TimerId next_ = 1;
    std::map<IoHandle, std::shared_ptr<std::function<void()>>> watches_;
};

class NativeHooks : public Hooks {
  public:
    HookHandle Install(HookKind kind, HookProc proc) override;
    bool Remove(HookHandle hook) override;
    std::intptr_t CallNext(int code, std::uintptr_t wParam, std::intptr_t lParam) override;
    std::size_t Count() const override { return chain_.size(); }

    // Calls the newest hook of the kind, as the system does when a message or key arrives; answers
    // the chain's result (0 when no hook is installed).
    std::intptr_t Dispatch(HookKind kind, int code, std::uintptr_t wParam, std::intptr_t lParam);
    std::vector<HookProc> Installed(HookKind kind) const;

  private:
    struct Entry {
        HookHandle handle;
        HookKind kind;
        HookProc proc;
    };
    std::intptr_t CallFrom(std::ptrdiff_t position, HookKind kind, int code, std::uintptr_t wParam,
                           std::intptr_t lParam);

    std::vector<Entry> chain_;  // newest first
    std::vector<std::pair<HookKind, std::ptrdiff_t>> dispatching_;
    HookHandle next_ = 1;
};

struct RecordedMessageBox {
    std::string text, caption;
    unsigned flags;
};

class NativeDesktop : public Desktop {
  public:
    NativeDesktop();
    WindowHandle ActiveWindow() override { return active_; }
    bool IsWindow(WindowHandle window) override { return windows_.count(window) != 0; }
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;

    WindowHandle CreateWindow();
    void DestroyWindow(WindowHandle window);
    void SetActive(WindowHandle window) { active_ = window; }
    WindowHandle MainWindow() const { return main_; }
    const std::vector<RecordedMessageBox>& MessageBoxes() const { return boxes_; }
    // Answers given to the next message boxes, in order; IDOK when none is queued.
    void QueueAnswer(int answer) { answers_.push_back(answer); }

  private:
    std::set<WindowHandle> windows_;
    WindowHandle next_ = 0x10010;
    WindowHandle main_ = 0;
    WindowHandle active_ = 0;
    std::vector<RecordedMessageBox> boxes_;
    std::deque<int> answers_;
};

class NoHostPatcher : public HostPatcher {
  public:
    void InstallHostPatches() override {}
};

// A keyboard without a window system: tests and the native build set its state directly.
class HeadlessKeyboard : public Keyboard {
  public:
    bool IsKeyDown(int virtualKey) override;
    std::string ActiveLayoutName() override { return layout; }
    bool ActivateLayout(const std::string& name) override;
    bool NumLockOn() override { return numLock; }
    void PressAndRelease(int virtualKey) override;

    std::vector<int> down;  // keys held now
    std::string layout = "00000419";
    bool layoutLoads = true;  // false: every layout fails to load
    bool numLock = false;
    std::vector<int> pressed;  // synthetic presses, in order
};

}  // namespace klt::platform
