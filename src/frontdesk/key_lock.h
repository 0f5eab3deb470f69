#pragma once
// The workplace key lock: a thread keyboard hook installed at start-up for the front-office
// workplace.
#include <cstdint>

namespace klt::frontdesk {

std::intptr_t WorkplaceKeyLock(int code, std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace klt::frontdesk
