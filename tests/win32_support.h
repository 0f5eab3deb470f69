#pragma once
// Helpers of the Windows tests that drive another program's windows from outside.
#ifdef _WIN32

#include <windows.h>

#include <functional>
#include <string>

namespace klt::test {

// An environment variable, empty when unset or too long.
inline std::wstring Environment(const wchar_t* name) {
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n = GetEnvironmentVariableW(name, buffer, MAX_PATH * 2);
    return n > 0 && n < MAX_PATH * 2 ? std::wstring(buffer) : std::wstring();
}

// Waits for `done` for up to `ms`, answering whether it came.
inline bool WaitFor(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(50);
    }
    return true;
}

// One press and release of a key, as the keyboard gives it to whatever window has the focus.
inline void PressKey(WORD vk) {
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = vk;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

}  // namespace klt::test

#endif  // _WIN32
