#include "hostwin/interception.h"

#include "platform/platform.h"

namespace klt::hostwin {

std::intptr_t WorkplaceFormHook(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    return platform::Get().hooks->CallNext(code, wParam, lParam);
}

std::intptr_t PocketFormHook(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    return platform::Get().hooks->CallNext(code, wParam, lParam);
}

std::intptr_t AdminFormHook(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    return platform::Get().hooks->CallNext(code, wParam, lParam);
}

namespace {
platform::CodePatch g_assignContextPatch;
platform::CodePatch g_setIndicatorsPatch;
}  // namespace

// Patches both entries; the detours below only pass AssignContext on for now.
void InstallHostPatches() {
    platform::HostPatcher* patcher = platform::Get().patcher;
    if (!patcher) return;
    patcher->Patch("blang.dll", "?AssignContext@CBLModule@@QAEXPAVCBLContext@@@Z",
                   reinterpret_cast<void*>(&KltAssignContextDetour), g_assignContextPatch);
    patcher->Patch("frame.dll", "?SetIndicators@SECStatusBar@@QAEHPBIH@Z",
                   reinterpret_cast<void*>(&KltSetIndicatorsDetour), g_setIndicatorsPatch);
}

// Defined in the namespace of their declarations: only there do the definitions take the host's
// member-call convention declared with them.
extern "C" void KltAssignContextDetour(void* module, void* context) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"  // thiscall outside a class: applied all the same
    using AssignContextFn = void(KLT_THISCALL*)(void*, void*);
#pragma GCC diagnostic pop
    platform::Get().patcher->CallOriginal(g_assignContextPatch, [&](void* entry) {
        reinterpret_cast<AssignContextFn>(entry)(module, context);
    });
}

extern "C" int KltSetIndicatorsDetour(void*, const unsigned*, int) {
    return 1;
}

}  // namespace klt::hostwin
