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
#include "platform/network.h"
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

// A network neighbourhood given as data: the native backend's (empty until filled), the tests'
// and the emulated host's.
class FakeNetwork : public NetworkNeighbourhood {
  public:
    // A computer ("\\" and its name) in a domain of a provider; both are made when first named.
    void AddComputer(const std::string& provider, const std::string& domain, const std::string& computer);
    std::vector<NetworkEntry> Children(const NetworkEntry* parent, std::size_t bufferBytes) override;

  private:
    struct Node {
        std::string parent;  // the remote name above it, empty at the top
        NetworkEntry entry;
    };
    void Add(const std::string& parent, const std::string& name);
    std::vector<Node> nodes_;
};

struct RecordedMessageBox {
    std::string text, caption;
    unsigned flags;
};

// A window of the fake desktop as it is made.
struct FakeWindowDesc {
    WindowHandle parent = 0;
    std::string className;
    std::string text;  // CP1251
    std::uint32_t style = kStyleVisible;
    int id = 0;
    WindowBox box;       // placed: in the parent's client area for a child
    int menuItems = -1;  // a menu bar with this many items; -1 none
};

// Windows without a window system: a tree with classes, texts, styles, boxes, visibility and menus.
// The non-client area is a caption of 18 pixels (all caption bits set), a border of 4 pixels a side
// with a sizing frame or 1 with a plain border, and 18 pixels of an attached menu bar.
// Showing, hiding, moving and sizing tell the installed window-procedure return hooks, as the
// system does after a window has processed WM_SHOWWINDOW, WM_MOVE or WM_SIZE.
class NativeDesktop : public Desktop {
  public:
    NativeDesktop();
    WindowHandle ActiveWindow() override { return active_; }
    bool IsWindow(WindowHandle window) override { return windows_.count(window) != 0; }
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;

    bool Show(WindowHandle window, bool show) override;
    bool IsVisible(WindowHandle window) override;
    std::uint32_t Style(WindowHandle window) override;
    void SetStyle(WindowHandle window, std::uint32_t style) override;
    WindowBox ScreenBox(WindowHandle window) override;
    WindowBox PlacedBox(WindowHandle window) override;
    WindowBox ClientBox(WindowHandle window) override;
    bool Move(WindowHandle window, int x, int y, int width, int height, bool repaint) override;
    bool MoveFrameChanged(WindowHandle window, int x, int y, int width, int height) override;
    void SetText(WindowHandle window, const std::string& cp1251) override;
    std::string Text(WindowHandle window) override;
    std::string ClassName(WindowHandle window) override;
    WindowHandle FirstChild(WindowHandle window) override;
    WindowHandle NextSibling(WindowHandle window) override;
    WindowHandle ChildWithId(WindowHandle parent, int id) override;
    bool Destroy(WindowHandle window) override;
    int MenuItemCount(WindowHandle window) override;
    void RemoveMenu(WindowHandle window, bool detach) override;
    int ScreenWidth() override { return 1024; }
    int ScreenHeight() override { return 768; }
    int CaptionHeight() override { return 18; }
    void InjectKey(int virtualKey, bool up) override { keys_.push_back({virtualKey, up}); }
    std::int64_t ChooseColour() override;
    void PowerOff() override { ++powerOffs_; }
    BitmapHandle MakeBitmap(int width, int height, const std::uint32_t* pixels) override;
    void FreeBitmap(BitmapHandle bitmap) override;
    void SetButtonImage(WindowHandle button, BitmapHandle bitmap) override;

    // A window without parent, class or size (the main window of a test).
    WindowHandle CreateWindow();
    WindowHandle CreateWindow(const FakeWindowDesc& desc);
    void DestroyWindow(WindowHandle window) { Destroy(window); }
    void SetActive(WindowHandle window) { active_ = window; }
    WindowHandle MainWindow() const { return main_; }
    const std::vector<RecordedMessageBox>& MessageBoxes() const { return boxes_; }
    // Answers given to the next message boxes, in order; IDOK when none is queued.
    void QueueAnswer(int answer) { answers_.push_back(answer); }
    // Answers of the next colour dialogs (-1 is Cancel); Cancel when none is queued.
    void QueueColour(std::int64_t colour) { colours_.push_back(colour); }

    struct KeyEvent {
        int virtualKey;
        bool up;
        friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
    };
    const std::vector<KeyEvent>& InjectedKeys() const { return keys_; }
    int PowerOffs() const { return powerOffs_; }
    // Bitmaps made and not yet freed, with their pixels; frees of a bitmap that is not alive (made
    // elsewhere, or freed before) are counted, not performed.
    struct FakeBitmap {
        int width = 0, height = 0;
        std::vector<std::uint32_t> pixels;
    };
    const FakeBitmap* BitmapOf(BitmapHandle bitmap) const;
    std::size_t LiveBitmaps() const { return bitmaps_.size(); }
    int BadBitmapFrees() const { return badFrees_; }
    // Frees of a bitmap that a button was showing at the time: it would paint a freed bitmap.
    int BitmapsFreedWhileShown() const { return freedWhileShown_; }
    // The bitmap the button was last given, 0 when none; it may have been freed since.
    BitmapHandle ButtonImage(WindowHandle button) const;
    // Every MoveFrameChanged, in order: which window and the box asked for.
    const std::vector<std::pair<WindowHandle, WindowBox>>& FrameChanges() const { return frameChanges_; }

  private:
    struct Window {
        FakeWindowDesc desc;
        std::vector<WindowHandle> children;
        bool menuDetached = false;
        BitmapHandle image = 0;
    };
    Window* Find(WindowHandle window);
    // Tells the return hooks that the window has processed a message.
    void Tell(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    void Place(WindowHandle window, const WindowBox& box);

    std::map<WindowHandle, Window> windows_;
    WindowHandle next_ = 0x10010;
    WindowHandle main_ = 0;
    WindowHandle active_ = 0;
    std::vector<RecordedMessageBox> boxes_;
    std::deque<int> answers_;
    std::deque<std::int64_t> colours_;
    std::vector<KeyEvent> keys_;
    std::vector<std::pair<WindowHandle, WindowBox>> frameChanges_;
    int powerOffs_ = 0;
    std::map<BitmapHandle, FakeBitmap> bitmaps_;
    BitmapHandle nextBitmap_ = 0x20010;
    int badFrees_ = 0;
    int freedWhileShown_ = 0;
};

// Host libraries as the emulated host offers them without a system loader: each exported function
// is a cell holding its entry, which the host calls through. Patching puts the detour in the cell;
// the host's own code stays reachable through the patch record.
class NativeHostPatcher : public HostPatcher {
  public:
    void Provide(const std::string& library, const std::string& exportName, void** cell);
    void Withdraw(void** cell);
    bool Patch(const char* library, const char* exportName, void* detour, CodePatch& patch) override;
    void CallOriginal(CodePatch& patch, const std::function<void(void* entry)>& call) override;

  private:
    struct Export {
        std::string library, name;
        void** cell;
    };
    std::vector<Export> exports_;
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
