#include "platform/scoped.h"

#include <utility>

namespace klt::platform {

ScopedHook::ScopedHook(HookKind kind, HookProc proc) : hooks_(Get().hooks) {
    handle_ = hooks_ ? hooks_->Install(kind, proc) : 0;
}

ScopedHook::ScopedHook(ScopedHook&& other) noexcept
    : hooks_(std::exchange(other.hooks_, nullptr)), handle_(std::exchange(other.handle_, 0)) {}

ScopedHook& ScopedHook::operator=(ScopedHook&& other) noexcept {
    if (this != &other) {
        Reset();
        hooks_ = std::exchange(other.hooks_, nullptr);
        handle_ = std::exchange(other.handle_, 0);
    }
    return *this;
}

void ScopedHook::Reset() {
    // Cleared before removing: a hook procedure that runs during removal sees it gone.
    const HookHandle handle = std::exchange(handle_, 0);
    if (handle && hooks_) hooks_->Remove(handle);
    hooks_ = nullptr;
}

ScopedTimer::ScopedTimer(unsigned periodMs, Loop::TimerCallback callback) : loop_(Get().loop) {
    id_ = loop_ ? loop_->StartTimer(periodMs, std::move(callback)) : 0;
}

ScopedTimer::ScopedTimer(ScopedTimer&& other) noexcept
    : loop_(std::exchange(other.loop_, nullptr)), id_(std::exchange(other.id_, 0)) {}

ScopedTimer& ScopedTimer::operator=(ScopedTimer&& other) noexcept {
    if (this != &other) {
        Reset();
        loop_ = std::exchange(other.loop_, nullptr);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

void ScopedTimer::Reset() {
    const TimerId id = std::exchange(id_, 0);
    if (id && loop_) loop_->StopTimer(id);
    loop_ = nullptr;
}

}  // namespace klt::platform
