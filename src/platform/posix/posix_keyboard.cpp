#include "platform/keyboard.h"

namespace klt::platform {
namespace {

Keyboard*& Current() {
    static HeadlessKeyboard keyboard;
    static Keyboard* current = &keyboard;
    return current;
}

}  // namespace

Keyboard& Keys() {
    return *Current();
}

Keyboard* ReplaceKeys(Keyboard* keyboard) {
    Keyboard* previous = Current();
    Current() = keyboard;
    return previous;
}

}  // namespace klt::platform
