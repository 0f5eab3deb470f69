#pragma once
// Window-procedure return hooks for the host's UI thread, one per kind of user. They watch form
// windows as the host shows them; until that work lands each passes every call on unchanged.
#include <cstdint>

#include "core/host.h"

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

// Patches the host's AssignContext and SetIndicators where its libraries are loaded; where one is
// missing it says so once in the diagnostics and leaves the host as it is.
void InstallHostPatches();

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
