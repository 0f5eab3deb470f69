#pragma once
// Single owners of the hooks and ownerless timers the add-in starts. Whoever holds one lets go of
// it by resetting or destroying it, so no path can forget a hook or a timer that would outlive the
// DLL's code. Each remembers the service it came from: tests swap services while one is alive.
#include "platform/platform.h"

namespace klt::platform {

class ScopedHook {
  public:
    ScopedHook() = default;
    // Installs through the hooks in force; stays empty when there are none or the system refuses.
    ScopedHook(HookKind kind, HookProc proc);
    ~ScopedHook() { Reset(); }
    ScopedHook(ScopedHook&& other) noexcept;
    ScopedHook& operator=(ScopedHook&& other) noexcept;
    ScopedHook(const ScopedHook&) = delete;
    ScopedHook& operator=(const ScopedHook&) = delete;

    void Reset();
    HookHandle handle() const { return handle_; }
    explicit operator bool() const { return handle_ != 0; }

  private:
    Hooks* hooks_ = nullptr;
    HookHandle handle_ = 0;
};

class ScopedTimer {
  public:
    ScopedTimer() = default;
    // Starts a periodic timer on the loop in force; stays empty when it cannot be started.
    ScopedTimer(unsigned periodMs, Loop::TimerCallback callback);
    ~ScopedTimer() { Reset(); }
    ScopedTimer(ScopedTimer&& other) noexcept;
    ScopedTimer& operator=(ScopedTimer&& other) noexcept;
    ScopedTimer(const ScopedTimer&) = delete;
    ScopedTimer& operator=(const ScopedTimer&) = delete;

    // Stops the timer; allowed from inside its own callback.
    void Reset();
    TimerId id() const { return id_; }
    explicit operator bool() const { return id_ != 0; }

  private:
    Loop* loop_ = nullptr;
    TimerId id_ = 0;
};

}  // namespace klt::platform
