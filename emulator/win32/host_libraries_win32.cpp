// klthost.exe calls the host's AssignContext and SetIndicators through the exports of blang.dll and
// frame.dll, which it loads from its own folder; the libraries hand each call back to the newest
// HostLibraries alive.
#include <windows.h>

#include <string>
#include <vector>

#include "emulator/host_libraries.h"
#include "emulator/win32/libraries/host_library_exports.h"

namespace klt::emu {

struct HostLibraries::Entries {
    // The host's member-call convention, as the exports have it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"  // thiscall outside a class: applied all the same
    using AssignContextFn = void(__attribute__((thiscall)) *)(void* module, void* context);
    using SetIndicatorsFn = int(__attribute__((thiscall)) *)(void* statusBar, const unsigned* ids, int count);
#pragma GCC diagnostic pop

    static inline std::vector<HostLibraries*> live;  // oldest first
    static HostLibraries* Current() {
        return live.empty() ? nullptr : live.back();
    }

    static void AssignContextHandler(void* module, void* context) {
        HostLibraries* current = Current();
        if (current && current->assignContext_)
            current->assignContext_(static_cast<host::Module*>(module), static_cast<host::Context*>(context));
    }
    static int SetIndicatorsHandler(void*, const unsigned* ids, int count) {
        HostLibraries* current = Current();
        return current && current->setIndicators_ ? current->setIndicators_(ids, count) : 0;
    }

    // The library already loaded (a reference more), or else the one in the program's own folder,
    // where the host keeps its libraries.
    static HMODULE LoadBeside(const wchar_t* name) {
        HMODULE loaded = nullptr;
        if (GetModuleHandleExW(0, name, &loaded)) return loaded;
        wchar_t buffer[MAX_PATH * 2];
        const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 2);
        if (n == 0 || n >= MAX_PATH * 2) return nullptr;
        std::wstring path(buffer, n);
        path.resize(path.find_last_of(L"\\/") + 1);
        return LoadLibraryW((path + name).c_str());
    }

    template <typename Fn>
    static Fn Export(HMODULE module, const char* name) {
        return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
    }

    HMODULE blang = nullptr;
    HMODULE frame = nullptr;
    AssignContextFn assignContext = nullptr;
    SetIndicatorsFn setIndicators = nullptr;
};

HostLibraries::HostLibraries(AssignContextBody assignContext, SetIndicatorsBody setIndicators)
    : assignContext_(std::move(assignContext)),
      setIndicators_(std::move(setIndicators)),
      entries_(std::make_unique<Entries>()) {
    Entries::live.push_back(this);
    Entries& e = *entries_;
    e.blang = Entries::LoadBeside(L"blang.dll");
    e.frame = Entries::LoadBeside(L"frame.dll");
    const auto setAssign =
        Entries::Export<KltEmuSetAssignContextHandlerFn>(e.blang, "KltEmuSetAssignContextHandler");
    const auto setIndicatorsHandler =
        Entries::Export<KltEmuSetSetIndicatorsHandlerFn>(e.frame, "KltEmuSetSetIndicatorsHandler");
    if (setAssign) {
        setAssign(&Entries::AssignContextHandler);
        e.assignContext = Entries::Export<Entries::AssignContextFn>(e.blang, KLT_EMU_ASSIGN_CONTEXT_EXPORT);
    }
    if (setIndicatorsHandler) {
        setIndicatorsHandler(&Entries::SetIndicatorsHandler);
        e.setIndicators = Entries::Export<Entries::SetIndicatorsFn>(e.frame, KLT_EMU_SET_INDICATORS_EXPORT);
    }
}

HostLibraries::~HostLibraries() {
    std::erase(Entries::live, this);
    // The libraries stay while other host libraries of ours still call through them.
    if (entries_->blang) FreeLibrary(entries_->blang);
    if (entries_->frame) FreeLibrary(entries_->frame);
}

void HostLibraries::AssignContext(host::Module* module, host::Context* context) {
    if (entries_->assignContext)
        entries_->assignContext(module, context);
    else if (assignContext_)
        assignContext_(module, context);
}

int HostLibraries::SetIndicators(const unsigned* ids, int count) {
    // The status bar object is the host's own business: these libraries stand for it.
    if (entries_->setIndicators) return entries_->setIndicators(this, ids, count);
    return setIndicators_ ? setIndicators_(ids, count) : 0;
}

bool HostLibraries::Patchable() const {
    return entries_->assignContext != nullptr && entries_->setIndicators != nullptr;
}

}  // namespace klt::emu
