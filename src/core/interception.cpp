#include "core/interception.h"

#include "platform/platform.h"

namespace klt::core {

std::intptr_t WorkplaceFormHook(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    return platform::Get().hooks->CallNext(code, wParam, lParam);
}

std::intptr_t PocketFormHook(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    return platform::Get().hooks->CallNext(code, wParam, lParam);
}

std::intptr_t AdminFormHook(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    return platform::Get().hooks->CallNext(code, wParam, lParam);
}

}  // namespace klt::core
