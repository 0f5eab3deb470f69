#pragma once
// The keyboard as the keyboard filters see it: which modifier keys are down, the active layout,
// Num Lock, and synthetic presses. Key events themselves reach the filters through keyboard hooks
// (Hooks with HookKind::Keyboard: wParam is the virtual-key code, lParam the keystroke flags).
#include <cstdint>
#include <string>
#include <vector>

namespace klt::platform {

// Keystroke flags of a keyboard hook call, as the system packs them into lParam.
inline constexpr std::intptr_t kKeyAltDown = std::intptr_t{1} << 29;
inline constexpr std::intptr_t kKeyWasDown = std::intptr_t{1} << 30;
inline constexpr std::intptr_t kKeyReleased = static_cast<std::intptr_t>(std::uintptr_t{1} << 31);

class Keyboard {
  public:
    virtual ~Keyboard() = default;
    virtual bool IsKeyDown(int virtualKey) = 0;
    // Name of the active layout, e.g. "00000419".
    virtual std::string ActiveLayoutName() = 0;
    // Loads the named layout, activates it and puts it first; false when it cannot be loaded.
    virtual bool ActivateLayout(const std::string& name) = 0;
    virtual bool NumLockOn() = 0;
    // One synthetic press and release of a key.
    virtual void PressAndRelease(int virtualKey) = 0;
};

Keyboard& Keys();
Keyboard* ReplaceKeys(Keyboard* keyboard);

}  // namespace klt::platform
