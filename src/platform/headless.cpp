#include "platform/headless.h"
#include "platform/io_wait.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace klt::platform {
namespace {

// Days from 1970-01-01 for a proleptic Gregorian date, and back (H. Hinnant's civil algorithms):
// virtual time must roll over months and years on every build without the C library's help.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

DateTime AddMs(const DateTime& d, std::int64_t ms) {
    std::int64_t total = ((DaysFromCivil(d.year, d.month, d.day) * 24 + d.hour) * 60 + d.minute) * 60000 +
                         d.second * 1000 + d.millisecond + ms;
    std::int64_t days = total / 86400000;
    std::int64_t rest = total % 86400000;
    if (rest < 0) {
        rest += 86400000;
        --days;
    }
    DateTime out;
    out.millisecond = static_cast<int>(rest % 1000);
    out.second = static_cast<int>(rest / 1000 % 60);
    out.minute = static_cast<int>(rest / 60000 % 60);
    out.hour = static_cast<int>(rest / 3600000);
    out.dayOfWeek = static_cast<int>((days % 7 + 11) % 7);  // 1970-01-01 was a Thursday
    std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    out.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (out.month <= 2));
    return out;
}

}  // namespace

VirtualClock::VirtualClock() {
    // A fixed, ordinary working day: tests that care set their own time.
    DateTime start;
    start.year = 2024;
    start.month = 3;
    start.day = 15;
    start.hour = 12;
    start.dayOfWeek = 5;
    local_ = start;
    utc_ = start;
    utc_.hour = 9;
}

void VirtualClock::Advance(std::int64_t ms) {
    if (ms <= 0) return;
    ms_ += ms;
    local_ = AddMs(local_, ms);
    utc_ = AddMs(utc_, ms);
}

NativeLoop::NativeLoop(Clock& clock, VirtualClock* virtualClock) : clock_(clock), virtual_(virtualClock) {}

TimerId NativeLoop::StartTimer(unsigned periodMs, TimerCallback callback) {
    if (!callback) return 0;
    TimerId id = next_++;
    // Like the system's timers, a zero period still waits for the next turn of the loop.
    unsigned period = std::max(periodMs, 1u);
    timers_[id] = Timer{period, clock_.MonotonicMs() + period, std::move(callback)};
    return id;
}

void NativeLoop::StopTimer(TimerId id) {
    timers_.erase(id);
}

void NativeLoop::Poll() {
    PollIo(0);
    std::int64_t now = clock_.MonotonicMs();
    // Collect first: callbacks may start and stop timers.
    std::vector<TimerId> due;
    for (auto& [id, t] : timers_)
        if (t.due <= now) due.push_back(id);
    for (TimerId id : due) {
        auto it = timers_.find(id);
        if (it == timers_.end()) continue;
        // A late timer fires once, not once per missed period, as system timers coalesce.
        it->second.due = now + it->second.period;
        TimerCallback callback = it->second.callback;  // the timer may stop itself inside
        callback(id);
    }
}

bool NativeLoop::WatchReadable(IoHandle socket, std::function<void()> onReadable) {
    if (!onReadable) return false;
    watches_[socket] = std::make_shared<std::function<void()>>(std::move(onReadable));
    return true;
}

void NativeLoop::Unwatch(IoHandle socket) {
    watches_.erase(socket);
}

bool NativeLoop::PollIo(std::int64_t timeoutMs) {
    if (watches_.empty()) return false;
    std::vector<IoHandle> sockets;
    for (const auto& [socket, callback] : watches_) sockets.push_back(socket);
    bool ran = false;
    for (IoHandle socket : WaitReadable(sockets, timeoutMs)) {
        auto it = watches_.find(socket);
        if (it == watches_.end()) continue;  // unwatched by an earlier callback
        std::shared_ptr<std::function<void()>> callback = it->second;
        (*callback)();
        ran = true;
    }
    return ran;
}

void NativeLoop::WaitUntil(std::int64_t ms) {
    std::int64_t now = clock_.MonotonicMs();
    if (ms <= now) return;
    if (virtual_) {
        virtual_->Advance(ms - now);
    } else if (!watches_.empty()) {
        PollIo(std::min<std::int64_t>(ms - now, 50));
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<std::int64_t>(ms - now, 50)));
    }
}

bool NativeLoop::RunUntil(const std::function<bool()>& done, std::int64_t timeoutMs) {
    const std::int64_t start = clock_.MonotonicMs();
    const bool limited = timeoutMs >= 0;
    for (;;) {
        if (done()) return true;
        Poll();
        if (done()) return true;
        std::int64_t now = clock_.MonotonicMs();
        if (limited && now - start >= timeoutMs) return false;
        std::int64_t next = limited ? start + timeoutMs : now + 50;
        for (auto& [id, t] : timers_) next = std::min(next, t.due);
        // With virtual time only a watched socket could still change anything: look once more.
        if (!limited && timers_.empty() && virtual_ && !PollIo(0)) return false;
        WaitUntil(std::max(next, now + (virtual_ ? 0 : 1)));
    }
}

HookHandle NativeHooks::Install(HookKind kind, HookProc proc) {
    if (!proc) return 0;
    HookHandle h = next_++;
    chain_.insert(chain_.begin(), Entry{h, kind, proc});
    return h;
}

bool NativeHooks::Remove(HookHandle hook) {
    auto it = std::find_if(chain_.begin(), chain_.end(), [&](const Entry& e) { return e.handle == hook; });
    if (it == chain_.end()) return false;
    std::ptrdiff_t removed = it - chain_.begin();
    chain_.erase(it);
    // A hook removed while a dispatch runs (even the running one) must not shift the chain under it.
    for (auto& d : dispatching_)
        if (d.second >= removed) --d.second;
    return true;
}

std::intptr_t NativeHooks::CallFrom(std::ptrdiff_t position, HookKind kind, int code, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    for (std::ptrdiff_t i = std::max<std::ptrdiff_t>(position, 0); i < std::ssize(chain_); ++i) {
        if (chain_[i].kind != kind) continue;
        dispatching_.emplace_back(kind, i);
        HookProc proc = chain_[i].proc;
        std::intptr_t result = proc(code, wParam, lParam);
        dispatching_.pop_back();
        return result;
    }
    return 0;
}

std::intptr_t NativeHooks::CallNext(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    if (dispatching_.empty()) return 0;
    auto [kind, position] = dispatching_.back();
    return CallFrom(position + 1, kind, code, wParam, lParam);
}

std::intptr_t NativeHooks::Dispatch(HookKind kind, int code, std::uintptr_t wParam, std::intptr_t lParam) {
    return CallFrom(0, kind, code, wParam, lParam);
}

std::vector<HookProc> NativeHooks::Installed(HookKind kind) const {
    std::vector<HookProc> out;
    for (const Entry& e : chain_)
        if (e.kind == kind) out.push_back(e.proc);
    return out;
}

NativeDesktop::NativeDesktop() {
    main_ = CreateWindow();
    active_ = main_;
}

WindowHandle NativeDesktop::CreateWindow() {
    FakeWindowDesc desc;
    desc.style = 0;
    return CreateWindow(desc);
}

WindowHandle NativeDesktop::CreateWindow(const FakeWindowDesc& desc) {
    Window* parent = desc.parent ? Find(desc.parent) : nullptr;
    if (desc.parent && !parent) return 0;
    WindowHandle h = next_;
    next_ += 0x10;
    windows_[h].desc = desc;
    if (parent) parent->children.push_back(h);
    return h;
}

NativeDesktop::Window* NativeDesktop::Find(WindowHandle window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

void NativeDesktop::Tell(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    auto* hooks = dynamic_cast<NativeHooks*>(Get().hooks);
    if (!hooks) return;
    ReturnedMessage record{0, lParam, wParam, message, window};
    hooks->Dispatch(HookKind::CallWndProcRet, 0, 0, reinterpret_cast<std::intptr_t>(&record));
}

bool NativeDesktop::Show(WindowHandle window, bool show) {
    Window* w = Find(window);
    if (!w) return false;
    const bool was = (w->desc.style & kStyleVisible) != 0;
    if (was == show) return was;
    w->desc.style = show ? (w->desc.style | kStyleVisible) : (w->desc.style & ~kStyleVisible);
    Tell(window, kMsgShowWindow, show ? 1 : 0, 0);
    return was;
}

bool NativeDesktop::IsVisible(WindowHandle window) {
    for (Window* w = Find(window); w; w = Find(w->desc.parent)) {
        if (!(w->desc.style & kStyleVisible)) return false;
        if (!w->desc.parent) return true;
    }
    return false;
}

std::uint32_t NativeDesktop::Style(WindowHandle window) {
    Window* w = Find(window);
    return w ? w->desc.style : 0;
}

void NativeDesktop::SetStyle(WindowHandle window, std::uint32_t style) {
    if (Window* w = Find(window)) w->desc.style = style;
}

WindowBox NativeDesktop::ScreenBox(WindowHandle window) {
    Window* w = Find(window);
    if (!w) return {};
    WindowBox b = w->desc.box;
    if (w->desc.parent) {
        const WindowBox parent = ScreenBox(w->desc.parent);
        const WindowBox client = ClientBox(w->desc.parent);
        const WindowBox outer = Find(w->desc.parent)->desc.box;
        // The parent's client area starts after its non-client band on the left and the top.
        const int dx = parent.left + (outer.Width() - client.Width()) / 2;
        const int dy = parent.top + (outer.Height() - client.Height()) - (outer.Width() - client.Width()) / 2;
        b = {b.left + dx, b.top + dy, b.right + dx, b.bottom + dy};
    }
    return b;
}

WindowBox NativeDesktop::PlacedBox(WindowHandle window) {
    Window* w = Find(window);
    return w ? w->desc.box : WindowBox{};
}

WindowBox NativeDesktop::ClientBox(WindowHandle window) {
    Window* w = Find(window);
    if (!w) return {};
    const std::uint32_t style = w->desc.style;
    const int border = (style & kStyleThickFrame) ? 4 : (style & kStyleBorder) ? 1 : 0;
    int top = border;
    if ((style & kStyleCaption) == kStyleCaption) top += 18;
    if (w->desc.menuItems >= 0 && !w->menuDetached) top += 18;
    return {0, 0, std::max(0, w->desc.box.Width() - 2 * border),
            std::max(0, w->desc.box.Height() - top - border)};
}

void NativeDesktop::Place(WindowHandle window, const WindowBox& box) {
    Window* w = Find(window);
    if (!w) return;
    const WindowBox old = w->desc.box;
    w->desc.box = box;
    if (old.left != box.left || old.top != box.top) Tell(window, kMsgMove, 0, 0);
    if (old.Width() != box.Width() || old.Height() != box.Height()) Tell(window, kMsgSize, 0, 0);
}

bool NativeDesktop::Move(WindowHandle window, int x, int y, int width, int height, bool) {
    if (!Find(window)) return false;
    Place(window, {x, y, x + width, y + height});
    return true;
}

bool NativeDesktop::MoveFrameChanged(WindowHandle window, int x, int y, int width, int height) {
    if (!Find(window)) return false;
    frameChanges_.push_back({window, {x, y, x + width, y + height}});
    Place(window, {x, y, x + width, y + height});
    return true;
}

void NativeDesktop::SetText(WindowHandle window, const std::string& cp1251) {
    if (Window* w = Find(window)) w->desc.text = cp1251;
}

std::string NativeDesktop::Text(WindowHandle window) {
    Window* w = Find(window);
    return w ? w->desc.text : std::string();
}

std::string NativeDesktop::ClassName(WindowHandle window) {
    Window* w = Find(window);
    return w ? w->desc.className : std::string();
}

WindowHandle NativeDesktop::FirstChild(WindowHandle window) {
    Window* w = Find(window);
    return w && !w->children.empty() ? w->children.front() : 0;
}

WindowHandle NativeDesktop::NextSibling(WindowHandle window) {
    Window* w = Find(window);
    Window* parent = w ? Find(w->desc.parent) : nullptr;
    if (!parent) return 0;
    auto it = std::find(parent->children.begin(), parent->children.end(), window);
    return it == parent->children.end() || ++it == parent->children.end() ? 0 : *it;
}

WindowHandle NativeDesktop::ChildWithId(WindowHandle parent, int id) {
    for (WindowHandle c = FirstChild(parent); c; c = NextSibling(c))
        if (Find(c)->desc.id == id) return c;
    return 0;
}

bool NativeDesktop::Destroy(WindowHandle window) {
    Window* w = Find(window);
    if (!w) return false;
    // Children go first, as the system destroys them.
    const std::vector<WindowHandle> children = w->children;
    for (WindowHandle c : children) Destroy(c);
    if (Window* parent = Find(windows_[window].desc.parent)) std::erase(parent->children, window);
    windows_.erase(window);
    if (active_ == window) active_ = 0;
    return true;
}

int NativeDesktop::MenuItemCount(WindowHandle window) {
    Window* w = Find(window);
    return w && !w->menuDetached ? w->desc.menuItems : -1;
}

void NativeDesktop::RemoveMenu(WindowHandle window, bool detach) {
    Window* w = Find(window);
    if (!w || w->menuDetached || w->desc.menuItems < 0) return;
    // A destroyed menu that stays attached shows nothing: either way the bar is gone.
    (void)detach;
    w->menuDetached = true;
}

BitmapHandle NativeDesktop::MakeBitmap(int width, int height, const std::uint32_t* pixels) {
    if (width <= 0 || height <= 0 || !pixels) return 0;
    FakeBitmap made{width, height, {}};
    made.pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const BitmapHandle handle = nextBitmap_++;
    bitmaps_.emplace(handle, std::move(made));
    return handle;
}

void NativeDesktop::FreeBitmap(BitmapHandle bitmap) {
    if (bitmaps_.erase(bitmap) == 0) {
        ++badFrees_;
        return;
    }
    for (const auto& [handle, window] : windows_)
        if (window.image == bitmap) ++freedWhileShown_;
}

void NativeDesktop::SetButtonImage(WindowHandle button, BitmapHandle bitmap) {
    if (Window* w = Find(button)) w->image = bitmap;
}

const NativeDesktop::FakeBitmap* NativeDesktop::BitmapOf(BitmapHandle bitmap) const {
    const auto it = bitmaps_.find(bitmap);
    return it == bitmaps_.end() ? nullptr : &it->second;
}

BitmapHandle NativeDesktop::ButtonImage(WindowHandle button) const {
    const auto it = windows_.find(button);
    return it == windows_.end() ? 0 : it->second.image;
}

std::int64_t NativeDesktop::ChooseColour() {
    if (colours_.empty()) return -1;
    std::int64_t c = colours_.front();
    colours_.pop_front();
    return c;
}

int NativeDesktop::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    boxes_.push_back({text, caption, flags});
    if (answers_.empty()) return 1;
    int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void NativeHostPatcher::Provide(const std::string& library, const std::string& exportName, void** cell) {
    exports_.push_back({library, exportName, cell});
}

void NativeHostPatcher::Withdraw(void** cell) {
    std::erase_if(exports_, [&](const Export& e) { return e.cell == cell; });
}

bool NativeHostPatcher::Patch(const char* library, const char* exportName, void* detour, CodePatch& patch) {
    // The newest export of a name shadows older ones, as a library loaded later does.
    for (auto it = exports_.rbegin(); it != exports_.rend(); ++it) {
        const Export& e = *it;
        if (e.library != library || e.name != exportName) continue;
        if (patch.applied && patch.jumpSlot == e.cell) {
            // The same record again changes only the detour; the cell no longer holds the entry.
            *e.cell = detour;
            return true;
        }
        patch.target = *e.cell;
        patch.jumpSlot = e.cell;
        *e.cell = detour;
        patch.applied = true;
        return true;
    }
    return false;
}

void NativeHostPatcher::CallOriginal(CodePatch& patch, const std::function<void(void* entry)>& call) {
    if (patch.target) call(patch.target);
}

bool HeadlessKeyboard::IsKeyDown(int virtualKey) {
    return std::find(down.begin(), down.end(), virtualKey) != down.end();
}

bool HeadlessKeyboard::ActivateLayout(const std::string& name) {
    if (!layoutLoads) return false;
    layout = name;
    return true;
}

void HeadlessKeyboard::PressAndRelease(int virtualKey) {
    pressed.push_back(virtualKey);
    if (virtualKey == 0x90) numLock = !numLock;  // Num Lock toggles as on a real keyboard
}

// ---- network ----

void FakeNetwork::Add(const std::string& parent, const std::string& name) {
    for (const Node& n : nodes_)
        if (n.parent == parent && n.entry.remoteName == name) return;
    Node n;
    n.parent = parent;
    n.entry.remoteName = name;
    nodes_.push_back(std::move(n));
}

void FakeNetwork::AddComputer(const std::string& provider, const std::string& domain,
                              const std::string& computer) {
    Add("", provider);
    Add(provider, domain);
    Add(domain, "\\\\" + computer);
}

std::vector<NetworkEntry> FakeNetwork::Children(const NetworkEntry* parent, std::size_t bufferBytes) {
    (void)bufferBytes;
    std::vector<NetworkEntry> out;
    const std::string above = parent ? parent->remoteName : std::string();
    for (const Node& n : nodes_)
        if (n.parent == above) out.push_back(n.entry);
    return out;
}

}  // namespace klt::platform
