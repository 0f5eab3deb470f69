#include "com/module.h"

namespace klt::com {
namespace {
HINSTANCE g_module = nullptr;
}  // namespace

std::atomic<long> g_objectCount{0};
std::atomic<long> g_lockCount{0};

HINSTANCE ModuleHandle() {
    return g_module;
}

}  // namespace klt::com

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        klt::com::g_module = instance;
        // No thread attach/detach notifications needed: nothing here is per thread.
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
