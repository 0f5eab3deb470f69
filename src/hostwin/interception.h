#pragma once
// Window-procedure return hooks for the host's UI thread, one per kind of user. They watch form
// windows as the host shows them; until that work lands each passes every call on unchanged.
#include <cstdint>

namespace klt::hostwin {

std::intptr_t WorkplaceFormHook(int code, std::uintptr_t wParam, std::intptr_t lParam);
std::intptr_t PocketFormHook(int code, std::uintptr_t wParam, std::intptr_t lParam);
std::intptr_t AdminFormHook(int code, std::uintptr_t wParam, std::intptr_t lParam);

// Patches the host's AssignContext and SetIndicators where its libraries are loaded; where one is
// missing it says so once in the diagnostics and leaves the host as it is.
void InstallHostPatches();

}  // namespace klt::hostwin
