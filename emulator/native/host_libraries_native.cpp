#include <vector>

#include "emulator/host_libraries.h"
#include "platform/headless.h"

namespace klt::emu {

namespace {
constexpr const char* kBlang = "blang.dll";
constexpr const char* kAssignContext = "?AssignContext@CBLModule@@QAEXPAVCBLContext@@@Z";
constexpr const char* kFrame = "frame.dll";
constexpr const char* kSetIndicators = "?SetIndicators@SECStatusBar@@QAEHPBIH@Z";
}  // namespace

// Each export is a cell the host calls through. The cells start at entries with the host
// functions' own shape (the object first), which run the newest libraries' bodies.
struct HostLibraries::Entries {
    using AssignContextFn = void (*)(void* module, void* context);
    using SetIndicatorsFn = int (*)(void* statusBar, const unsigned* ids, int count);

    // The libraries alive, oldest first.
    static inline std::vector<HostLibraries*> live;
    static HostLibraries* Current() { return live.empty() ? nullptr : live.back(); }

    static void AssignContext(void* module, void* context) {
        HostLibraries* current = Current();
        if (current && current->assignContext_)
            current->assignContext_(static_cast<host::Module*>(module), static_cast<host::Context*>(context));
    }
    static int SetIndicators(void*, const unsigned* ids, int count) {
        HostLibraries* current = Current();
        return current && current->setIndicators_ ? current->setIndicators_(ids, count) : 0;
    }

    void* assignContextCell = reinterpret_cast<void*>(&AssignContext);
    void* setIndicatorsCell = reinterpret_cast<void*>(&SetIndicators);
    platform::NativeHostPatcher* patcher = nullptr;
};

HostLibraries::HostLibraries(AssignContextBody assignContext, SetIndicatorsBody setIndicators)
    : assignContext_(std::move(assignContext)),
      setIndicators_(std::move(setIndicators)),
      entries_(std::make_unique<Entries>()) {
    Entries::live.push_back(this);
    entries_->patcher = dynamic_cast<platform::NativeHostPatcher*>(platform::Get().patcher);
    if (entries_->patcher) {
        entries_->patcher->Provide(kBlang, kAssignContext, &entries_->assignContextCell);
        entries_->patcher->Provide(kFrame, kSetIndicators, &entries_->setIndicatorsCell);
    }
}

HostLibraries::~HostLibraries() {
    // A patcher no longer in force may be gone already.
    if (entries_->patcher && entries_->patcher == platform::Get().patcher) {
        entries_->patcher->Withdraw(&entries_->assignContextCell);
        entries_->patcher->Withdraw(&entries_->setIndicatorsCell);
    }
    std::erase(Entries::live, this);
}

void HostLibraries::AssignContext(host::Module* module, host::Context* context) {
    reinterpret_cast<Entries::AssignContextFn>(entries_->assignContextCell)(module, context);
}

int HostLibraries::SetIndicators(const unsigned* ids, int count) {
    // The status bar object is the host's own business: these libraries stand for it.
    return reinterpret_cast<Entries::SetIndicatorsFn>(entries_->setIndicatorsCell)(this, ids, count);
}

bool HostLibraries::Patchable() const {
    return entries_->patcher != nullptr;
}

}  // namespace klt::emu
