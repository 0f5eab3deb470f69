// frame.dll of the emulated host: the frame library's SECStatusBar::SetIndicators under its
// decorated name (frame.def), with the host's member-call convention, so a patch of its entry
// is what the host runs.
#include "host_library_exports.h"

namespace {
KltEmuSetIndicatorsHandler g_handler = nullptr;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"  // thiscall on a free function: applied all the same
extern "C" __attribute__((thiscall)) int KltEmuSetIndicators(void* statusBar, const unsigned* ids, int count);
#pragma GCC diagnostic pop

extern "C" int KltEmuSetIndicators(void* statusBar, const unsigned* ids, int count) {
    return g_handler ? g_handler(statusBar, ids, count) : 0;
}

extern "C" void KltEmuSetSetIndicatorsHandler(KltEmuSetIndicatorsHandler handler) {
    g_handler = handler;
}
