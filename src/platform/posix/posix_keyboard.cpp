#include "platform/service_slot.h"
#include "platform/headless.h"
#include "platform/keyboard.h"

namespace klt::platform {

Keyboard& Keys() {
    return *ServiceSlot<Keyboard, HeadlessKeyboard>();
}

Keyboard* ReplaceKeys(Keyboard* keyboard) {
    return ReplaceService<Keyboard, HeadlessKeyboard>(keyboard);
}

}  // namespace klt::platform
