#include <array>
#include <cstddef>
#include <map>
#include <utility>

#include "platform/win32/backend.h"
#include "platform/win32/win32_api.h"

namespace klt::platform::win32 {
namespace {

// Windows calls hook procedures with the CALLBACK convention, the portable HookProc has none, and
// a hook procedure gets no context pointer: so each installed hook occupies one slot of a fixed
// table, and a trampoline compiled for that slot forwards to the portable procedure stored there.
constexpr std::size_t kSlotsPerKind = 8;
constexpr std::size_t kKinds = 2;

std::array<std::array<HookProc, kSlotsPerKind>, kKinds> g_procs{};

template <std::size_t Kind, std::size_t Slot>
LRESULT CALLBACK Trampoline(int code, WPARAM wParam, LPARAM lParam) {
    const HookProc proc = g_procs[Kind][Slot];
    if (proc == nullptr) return CallNextHookEx(nullptr, code, wParam, lParam);
    return static_cast<LRESULT>(
        proc(code, static_cast<std::uintptr_t>(wParam), static_cast<std::intptr_t>(lParam)));
}

template <std::size_t Kind, std::size_t... Slots>
constexpr std::array<HOOKPROC, kSlotsPerKind> MakeTrampolines(std::index_sequence<Slots...>) {
    return {&Trampoline<Kind, Slots>...};
}

const std::array<std::array<HOOKPROC, kSlotsPerKind>, kKinds> kTrampolines{
    MakeTrampolines<0>(std::make_index_sequence<kSlotsPerKind>{}),
    MakeTrampolines<1>(std::make_index_sequence<kSlotsPerKind>{}),
};

std::size_t KindIndex(HookKind kind) {
    return kind == HookKind::CallWndProcRet ? 0 : 1;
}

class Win32Hooks final : public Hooks {
  public:
    HookHandle Install(HookKind kind, HookProc proc) override {
        if (proc == nullptr) return 0;
        const std::size_t k = KindIndex(kind);
        for (std::size_t slot = 0; slot < kSlotsPerKind; ++slot) {
            if (g_procs[k][slot] != nullptr) continue;
            g_procs[k][slot] = proc;
            const int idHook = kind == HookKind::CallWndProcRet ? WH_CALLWNDPROCRET : WH_KEYBOARD;
            const HHOOK hook =
                SetWindowsHookExW(idHook, kTrampolines[k][slot], nullptr, GetCurrentThreadId());
            if (hook == nullptr) {
                g_procs[k][slot] = nullptr;
                return 0;
            }
            const auto handle = reinterpret_cast<HookHandle>(hook);
            installed_[handle] = {k, slot};
            return handle;
        }
        return 0;  // every slot of this kind is taken
    }

    bool Remove(HookHandle hook) override {
        const auto it = installed_.find(hook);
        if (it == installed_.end()) return false;
        const bool removed = UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook)) != FALSE;
        g_procs[it->second.first][it->second.second] = nullptr;
        installed_.erase(it);
        return removed;
    }

    std::intptr_t CallNext(int code, std::uintptr_t wParam, std::intptr_t lParam) override {
        return static_cast<std::intptr_t>(
            CallNextHookEx(nullptr, code, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)));
    }

    std::size_t Count() const override { return installed_.size(); }

  private:
    std::map<HookHandle, std::pair<std::size_t, std::size_t>> installed_;
};

}  // namespace

Hooks& DefaultHooks() {
    static Win32Hooks hooks;
    return hooks;
}

}  // namespace klt::platform::win32
