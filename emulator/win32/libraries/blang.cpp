// blang.dll of the emulated host: the language library's CBLModule::AssignContext under its
// decorated name (blang.def), with the host's member-call convention, so a patch of its entry
// is what the host runs.
#include "host_library_exports.h"

namespace {
KltEmuAssignContextHandler g_handler = nullptr;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"  // thiscall on a free function: applied all the same
extern "C" __attribute__((thiscall)) void KltEmuAssignContext(void* module, void* context);
#pragma GCC diagnostic pop

extern "C" void KltEmuAssignContext(void* module, void* context) {
    if (g_handler) g_handler(module, context);
}

extern "C" void KltEmuSetAssignContextHandler(KltEmuAssignContextHandler handler) {
    g_handler = handler;
}
