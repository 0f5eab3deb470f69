#include "platform/keyboard.h"

#include <algorithm>

namespace klt::platform {

bool HeadlessKeyboard::IsKeyDown(int virtualKey) {
    return std::find(down.begin(), down.end(), virtualKey) != down.end();
}

bool HeadlessKeyboard::ActivateLayout(const std::string& name) {
    if (!layoutLoads) return false;
    layout = name;
    return true;
}

void HeadlessKeyboard::PressAndRelease(int virtualKey) {
    pressed.push_back(virtualKey);
    if (virtualKey == 0x90) numLock = !numLock;  // Num Lock toggles as on a real keyboard
}

}  // namespace klt::platform
