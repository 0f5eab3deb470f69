#include "platform/service_slot.h"
#include "platform/keyboard.h"
#include "platform/win32/win32_api.h"

namespace klt::platform {
namespace {

class Win32Keyboard : public Keyboard {
  public:
    bool IsKeyDown(int virtualKey) override { return (GetKeyState(virtualKey) & 0x8000) != 0; }

    std::string ActiveLayoutName() override {
        wchar_t name[KL_NAMELENGTH] = {};
        if (!GetKeyboardLayoutNameW(name)) return {};
        std::string out;
        for (const wchar_t* p = name; *p; ++p) out += static_cast<char>(*p);
        return out;
    }

    bool ActivateLayout(const std::string& name) override {
        std::wstring wide(name.begin(), name.end());
        HKL layout = LoadKeyboardLayoutW(wide.c_str(), KLF_ACTIVATE | KLF_REPLACELANG);
        if (!layout) return false;
        ActivateKeyboardLayout(layout, KLF_REORDER);  // first in the list as well
        return true;
    }

    bool NumLockOn() override { return (GetKeyState(VK_NUMLOCK) & 1) != 0; }

    void PressAndRelease(int virtualKey) override {
        INPUT input[2] = {};
        input[0].type = INPUT_KEYBOARD;
        input[0].ki.wVk = static_cast<WORD>(virtualKey);
        input[1] = input[0];
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    }
};

}  // namespace

Keyboard& Keys() {
    return *ServiceSlot<Keyboard, Win32Keyboard>();
}

Keyboard* ReplaceKeys(Keyboard* keyboard) {
    return ReplaceService<Keyboard, Win32Keyboard>(keyboard);
}

}  // namespace klt::platform
