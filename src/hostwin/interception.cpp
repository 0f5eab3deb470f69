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

void InstallHostPatches() {}

}  // namespace klt::hostwin

extern "C" void KltAssignContextDetour(void*, void*) {}

extern "C" int KltSetIndicatorsDetour(void*, const unsigned*, int) {
    return 1;
}

namespace klt::hostwin {}  // namespace klt::hostwin
