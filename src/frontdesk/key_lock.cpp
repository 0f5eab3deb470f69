#include "frontdesk/key_lock.h"

#include "platform/platform.h"

namespace klt::frontdesk {

std::intptr_t WorkplaceKeyLock(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    return platform::Get().hooks->CallNext(code, wParam, lParam);
}

}  // namespace klt::frontdesk
