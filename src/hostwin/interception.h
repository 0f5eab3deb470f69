#pragma once
// Interception of the host from inside its process: window-procedure return hooks for the host's UI
// thread, one per kind of user, that watch form windows as the host shows them; calling procedures
// of a form's own module; and two patched host functions, one telling which module serves a form's
// group context, the other keeping the status bar without indicator panes.
#include <cstdint>
#include <string>

#include "core/host.h"
#include "platform/platform.h"

// The host's member functions take their object in ECX (thiscall) on 32-bit Windows; elsewhere the
// attribute does not exist and the first argument is the object.
#if defined(__i386__)
#define KLT_THISCALL __attribute__((thiscall))
#else
#define KLT_THISCALL
#endif

namespace klt::hostwin {

std::intptr_t WorkplaceFormHook(int code, std::uintptr_t wParam, std::intptr_t lParam);
std::intptr_t PocketFormHook(int code, std::uintptr_t wParam, std::intptr_t lParam);
std::intptr_t AdminFormHook(int code, std::uintptr_t wParam, std::intptr_t lParam);

// Runs the configuration's procedure (or function, its result dropped) of that name for a form:
// in the form's own module when it has one there, else in the first loaded module that has it,
// with the form's group context as an extra first argument. Nothing found: nothing happens.
void CallFormProc(host::Document* document, const std::string& russianName, const std::string& englishName,
                  int count, host::Value** args);
// The search through all loaded modules; at most 9 arguments are passed after the group context.
void CallModuleProcForForm(host::Context* groupContext, const std::string& russianName,
                           const std::string& englishName, int count, host::Value** args);
// The module the host last assigned to this group context, or null.
host::Module* FormModuleOf(host::Context* groupContext);
// Forgets every group context's module: after shut-down the host may free them unseen.
void ForgetFormModules();

// The caption refresh of the receipt forms' picture menu, run every 100 ms while a receipt form is
// shown.
void CaptionRefreshTick(platform::TimerId timer);

// The receipt form shown last, while it is still shown in the frame it was shown in: its frame
// window and the host's document of that frame, asked afresh. A frame that has gone, or that shows
// another form by now, gives none, so a closed form is never reached.
struct ReceiptForm {
    platform::WindowHandle frame = 0;
    host::Document* document = nullptr;
    explicit operator bool() const { return document != nullptr; }
};
ReceiptForm CurrentReceiptForm();

// Patches the host's AssignContext and SetIndicators where its libraries are loaded, once per
// process; where one is missing it says so once in the diagnostics and leaves the host as it is.
void InstallHostPatches();
// Whether a host function jumps to us: patches are never lifted, so the module must stay loaded.
bool HostPatched();
// Forgets the patch records, as when the module loaded. Only for a process whose patcher is gone
// with the patches it made (a test's).
void ForgetHostPatches();

// The detours the patched entries jump to, with the host functions' own signatures:
// CBLModule::AssignContext(CBLContext*) and SECStatusBar::SetIndicators(const UINT*, int).
// The compiler warns that thiscall is meant for members, and applies it all the same; the
// definitions take the convention from these declarations.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
extern "C" {
KLT_THISCALL void KltAssignContextDetour(void* module, void* context);
KLT_THISCALL int KltSetIndicatorsDetour(void* statusBar, const unsigned* ids, int count);
}
#pragma GCC diagnostic pop

}  // namespace klt::hostwin
