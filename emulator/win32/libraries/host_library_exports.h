#pragma once
// What blang.dll and frame.dll of the emulated host export besides the host's own decorated
// entries: klthost.exe hands each library the function that does the entry's work.

// The host's decorated names, as its libraries export them.
#define KLT_EMU_ASSIGN_CONTEXT_EXPORT "?AssignContext@CBLModule@@QAEXPAVCBLContext@@@Z"
#define KLT_EMU_SET_INDICATORS_EXPORT "?SetIndicators@SECStatusBar@@QAEHPBIH@Z"

extern "C" {
// CBLModule::AssignContext(CBLContext*): the module and the context of the emulated host.
typedef void (*KltEmuAssignContextHandler)(void* module, void* context);
// SECStatusBar::SetIndicators(const UINT*, int): the status bar object and the indicator ids.
typedef int (*KltEmuSetIndicatorsHandler)(void* statusBar, const unsigned* ids, int count);

// Exported by blang.dll and frame.dll under these plain names; a null handler makes the entry
// do nothing (and SetIndicators answer 0).
typedef void (*KltEmuSetAssignContextHandlerFn)(KltEmuAssignContextHandler handler);
typedef void (*KltEmuSetSetIndicatorsHandlerFn)(KltEmuSetIndicatorsHandler handler);
}
