#include "platform/posix/native_platform.h"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace klt::platform {
namespace {

DateTime FromTm(const struct tm& t, int ms) {
    DateTime d;
    d.year = t.tm_year + 1900;
    d.month = t.tm_mon + 1;
    d.day = t.tm_mday;
    d.hour = t.tm_hour;
    d.minute = t.tm_min;
    d.second = t.tm_sec;
    d.millisecond = ms;
    d.dayOfWeek = t.tm_wday;
    return d;
}

DateTime Now(bool local) {
    struct timespec ts {};
    clock_gettime(CLOCK_REALTIME, &ts);
    struct tm t {};
    if (local)
        localtime_r(&ts.tv_sec, &t);
    else
        gmtime_r(&ts.tv_sec, &t);
    return FromTm(t, static_cast<int>(ts.tv_nsec / 1000000));
}

// Calendar arithmetic for virtual time goes through time_t so month and year ends roll correctly.
DateTime AddMs(const DateTime& d, std::int64_t ms) {
    struct tm t {};
    t.tm_year = d.year - 1900;
    t.tm_mon = d.month - 1;
    t.tm_mday = d.day;
    t.tm_hour = d.hour;
    t.tm_min = d.minute;
    t.tm_sec = d.second;
    time_t base = timegm(&t);
    std::int64_t total = d.millisecond + ms;
    std::int64_t seconds = total / 1000;
    std::int64_t rest = total % 1000;
    if (rest < 0) {
        rest += 1000;
        --seconds;
    }
    time_t moved = static_cast<time_t>(base + seconds);
    struct tm out {};
    gmtime_r(&moved, &out);
    return FromTm(out, static_cast<int>(rest));
}

}  // namespace

DateTime RealClock::LocalNow() {
    return Now(true);
}
DateTime RealClock::UtcNow() {
    return Now(false);
}
std::int64_t RealClock::MonotonicMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

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

void NativeLoop::WaitUntil(std::int64_t ms) {
    std::int64_t now = clock_.MonotonicMs();
    if (ms <= now) return;
    if (virtual_)
        virtual_->Advance(ms - now);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<std::int64_t>(ms - now, 50)));
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
        if (!limited && timers_.empty() && virtual_) return false;  // nothing could ever change
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
    WindowHandle h = next_;
    next_ += 0x10;
    windows_.insert(h);
    return h;
}

void NativeDesktop::DestroyWindow(WindowHandle window) {
    windows_.erase(window);
    if (active_ == window) active_ = 0;
}

int NativeDesktop::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    boxes_.push_back({text, caption, flags});
    if (answers_.empty()) return 1;
    int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

namespace {

struct Defaults {
    RealClock clock;
    NativeLoop loop{clock, nullptr};
    NativeHooks hooks;
    NativeDesktop desktop;
    NoHostPatcher patcher;
};

Services& Current() {
    static Defaults defaults;
    static Services services{&defaults.clock, &defaults.loop, &defaults.hooks, &defaults.desktop,
                             &defaults.patcher};
    return services;
}

}  // namespace

Services& Get() {
    return Current();
}

Services Replace(const Services& services) {
    Services previous = Current();
    Current() = services;
    return previous;
}

}  // namespace klt::platform
