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
using BitmapHandle = std::uintptr_t;

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

// A window's rectangle: on the screen, or in its parent's client area for a child.
struct WindowBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const WindowBox&, const WindowBox&) = default;
};

// Window style bits, as the system defines them.
inline constexpr std::uint32_t kStyleCaption = 0x00C00000;
inline constexpr std::uint32_t kStyleBorder = 0x00800000;
inline constexpr std::uint32_t kStyleSysMenu = 0x00080000;
inline constexpr std::uint32_t kStyleThickFrame = 0x00040000;
inline constexpr std::uint32_t kStyleMaximizeBox = 0x00010000;
inline constexpr std::uint32_t kStyleVisible = 0x10000000;
inline constexpr std::uint32_t kStyleChild = 0x40000000;

// Messages a window-procedure return hook is shown, and the record it gets through lParam (the
// layout of the system's CWPRETSTRUCT).
inline constexpr unsigned kMsgMove = 0x0003;
inline constexpr unsigned kMsgSize = 0x0005;
inline constexpr unsigned kMsgShowWindow = 0x0018;
struct ReturnedMessage {
    std::intptr_t result;
    std::intptr_t lParam;
    std::uintptr_t wParam;
    unsigned message;
    WindowHandle window;
};

// The desktop's windows as the add-in works them: the host's main frame, its bars and its forms.
// Every call on a null or stale handle fails quietly (false, 0, an empty text or box), as the
// system's own calls do.
class Desktop {
  public:
    virtual ~Desktop() = default;
    virtual WindowHandle ActiveWindow() = 0;
    virtual bool IsWindow(WindowHandle window) = 0;
    // Modal message box; answers the button pressed (IDOK = 1).
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;

    // Hide, or show in the normal way (SW_HIDE, SW_SHOWNORMAL).
    virtual bool Show(WindowHandle window, bool show) = 0;
    virtual bool IsVisible(WindowHandle window) = 0;
    virtual std::uint32_t Style(WindowHandle window) = 0;
    virtual void SetStyle(WindowHandle window, std::uint32_t style) = 0;
    // Outer rectangle on the screen.
    virtual WindowBox ScreenBox(WindowHandle window) = 0;
    // Outer rectangle where Move places it: the parent's client coordinates for a child.
    virtual WindowBox PlacedBox(WindowHandle window) = 0;
    // Client rectangle: left and top are 0.
    virtual WindowBox ClientBox(WindowHandle window) = 0;
    // Position and size at once (MoveWindow); `repaint` as the system's flag.
    virtual bool Move(WindowHandle window, int x, int y, int width, int height, bool repaint) = 0;
    // Position and size with only the frame-changed flag (SetWindowPos with SWP_FRAMECHANGED):
    // the non-client area is recomputed for the window's present styles.
    virtual bool MoveFrameChanged(WindowHandle window, int x, int y, int width, int height) = 0;
    virtual void SetText(WindowHandle window, const std::string& cp1251) = 0;
    virtual std::string Text(WindowHandle window) = 0;
    virtual std::string ClassName(WindowHandle window) = 0;
    // Direct children in the system's order: the first, then each one's next sibling; 0 ends.
    virtual WindowHandle FirstChild(WindowHandle window) = 0;
    virtual WindowHandle NextSibling(WindowHandle window) = 0;
    // The direct child with this control identifier, or 0.
    virtual WindowHandle ChildWithId(WindowHandle parent, int id) = 0;
    virtual bool Destroy(WindowHandle window) = 0;
    // The window's menu bar: its item count, or -1 when it has none.
    virtual int MenuItemCount(WindowHandle window) = 0;
    // Takes the menu bar off the window (when `detach`) and destroys it.
    virtual void RemoveMenu(WindowHandle window, bool detach) = 0;
    // The primary screen's size and the height of a caption (SM_CXSCREEN, SM_CYSCREEN, SM_CYCAPTION).
    virtual int ScreenWidth() = 0;
    virtual int ScreenHeight() = 0;
    virtual int CaptionHeight() = 0;
    // One synthetic key event to whatever window has the keyboard focus (scan code 0).
    virtual void InjectKey(int virtualKey, bool up) = 0;
    // The system's colour dialog with initial colour 0 and no owner: the colour (red in the low
    // byte), or -1 when cancelled.
    virtual std::int64_t ChooseColour() = 0;
    // Ends the session and powers the computer off. Tests replace the desktop: none may call it for real.
    virtual void PowerOff() = 0;

    // A bitmap in the screen's format from `width` x `height` pixels, top row first, each 0x00RRGGBB;
    // 0 when it cannot be made. Whoever made it frees it, once.
    virtual BitmapHandle MakeBitmap(int width, int height, const std::uint32_t* pixels) = 0;
    virtual void FreeBitmap(BitmapHandle bitmap) = 0;
    // The picture a push button shows (BM_SETIMAGE with a bitmap); 0 takes it away. The button only
    // borrows it: it must stay alive while the button shows it.
    virtual void SetButtonImage(WindowHandle button, BitmapHandle bitmap) = 0;
};

// Patches the host's own library functions in memory where those libraries are loaded.
// A patched entry jumps to the detour; the detour reaches the host's own code through CallOriginal.
struct CodePatch {
    void* target = nullptr;    // the function's entry
    void* jumpSlot = nullptr;  // cell holding the detour's address, as long lived as the patch
    unsigned char saved[6]{};  // the entry's bytes before patching
    unsigned char patch[6]{};  // FF 25 and the jump slot's address
    bool applied = false;
};

class HostPatcher {
  public:
    virtual ~HostPatcher() = default;
    // Looks the export up by its decorated name in the already loaded library and makes it jump to
    // `detour`. False, having written nothing, when the library or the export is missing.
    virtual bool Patch(const char* library, const char* exportName, void* detour, CodePatch& patch) = 0;
    // Runs `call` with the host function's own entry while the patch is lifted, then patches again.
    virtual void CallOriginal(CodePatch& patch, const std::function<void(void* entry)>& call) = 0;
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
