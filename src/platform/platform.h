#pragma once
// The operating system as the portable code sees it: the one UI-thread loop with its ownerless
// timers, the clock, thread keyboard and window-procedure hooks, a few window queries and message
// boxes. Each service has a Win32 backend and a native one; the native one is also what tests drive
// (virtual time, injected keys, recorded message boxes, fake windows).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace klt::platform {

using WindowHandle = std::uintptr_t;
using HookHandle = std::uintptr_t;
using TimerId = std::uintptr_t;
using IoHandle = std::intptr_t;  // a socket

struct DateTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    int dayOfWeek = 0;  // 0 = Sunday
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual DateTime LocalNow() = 0;
    virtual DateTime UtcNow() = 0;
    // Milliseconds from an arbitrary start; never goes back.
    virtual std::int64_t MonotonicMs() = 0;
};

// The UI-thread loop. Timers have no owner window and fire on this thread only.
class Loop {
  public:
    using TimerCallback = std::function<void(TimerId)>;
    virtual ~Loop() = default;
    // A periodic timer; 0 when it could not be started.
    virtual TimerId StartTimer(unsigned periodMs, TimerCallback callback) = 0;
    // Stopping an unknown or already stopped timer does nothing; a timer may stop itself.
    virtual void StopTimer(TimerId id) = 0;
    // Runs the loop until `done` answers true or `timeoutMs` has passed (negative: no limit).
    // Answers whether `done` became true. Modal windows run their lifetime through this.
    virtual bool RunUntil(const std::function<bool()>& done, std::int64_t timeoutMs) = 0;
    // Runs every piece of work due now without waiting.
    virtual void Poll() = 0;
    // Calls `onReadable` on this thread whenever the socket has data to read, until unwatched.
    // One watch per socket; watching it again replaces the callback.
    virtual bool WatchReadable(IoHandle socket, std::function<void()> onReadable) = 0;
    virtual void Unwatch(IoHandle socket) = 0;

    // What the loop holds for the add-in now: running timers, watched sockets, and windows of its
    // own (the Win32 loop's message-only window for socket notices). All zero once everything has
    // been let go; the DLL may be unloaded only then.
    struct Holdings {
        std::size_t timers = 0, watches = 0, windows = 0;
        bool Empty() const { return timers == 0 && watches == 0 && windows == 0; }
    };
    virtual Holdings Held() const = 0;
};

// Portable shape of a thread hook procedure (hook code, wParam, lParam), as Windows calls it.
using HookProc = std::intptr_t (*)(int code, std::uintptr_t wParam, std::intptr_t lParam);

enum class HookKind { CallWndProcRet, Keyboard };

class Hooks {
  public:
    virtual ~Hooks() = default;
    // Installs a hook for the UI thread; 0 on failure.
    virtual HookHandle Install(HookKind kind, HookProc proc) = 0;
    virtual bool Remove(HookHandle hook) = 0;
    // Passes a call on to the next hook in the chain.
    virtual std::intptr_t CallNext(int code, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Hooks installed through this service and not yet removed.
    virtual std::size_t Count() const = 0;
};

class Desktop {
  public:
    virtual ~Desktop() = default;
    virtual WindowHandle ActiveWindow() = 0;
    virtual bool IsWindow(WindowHandle window) = 0;
    // Modal message box; answers the button pressed (IDOK = 1).
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
};

// Patches the host's own library functions in memory where those libraries are loaded; a no-op
// elsewhere.
class HostPatcher {
  public:
    virtual ~HostPatcher() = default;
    virtual void InstallHostPatches() = 0;
};

struct Services {
    Clock* clock = nullptr;
    Loop* loop = nullptr;
    Hooks* hooks = nullptr;
    Desktop* desktop = nullptr;
    HostPatcher* patcher = nullptr;
};

// The services in force. The backend of the build provides the defaults; tests may swap them.
Services& Get();
// Replaces the services in force; answers the previous ones.
Services Replace(const Services& services);

}  // namespace klt::platform
