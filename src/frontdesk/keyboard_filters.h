#pragma once
// Card reader and special keyboard: keyboard-wedge devices that type their data as a fast burst
// of key presses. Thread keyboard hooks collect a burst; 100 ms of silence ends it, and the end
// chosen by the last key decides what the configuration hears. The workplace key lock keeps the
// user from typing into the host at all.
#include <cstdint>
#include <string>

namespace klt::frontdesk {

inline constexpr unsigned kBurstSilenceMs = 100;
// A burst longer than this is a stuck key or a runaway device, not a card: the rest is dropped.
inline constexpr std::size_t kMaxBurstBytes = 4096;

// The character a key stands for in the US layout, or the empty text.
std::string TranslateKey(int virtualKey, bool shift, bool ctrl);

// Decodes Alt codes: 0x12 closes the digit group so far, 0x60-0x69 add a digit, other bytes are
// ignored; each group becomes one character of its value modulo 256.
std::string DecodeAltCodes(const std::string& keys);

// "РазрешитьЧитатьКарту", "ЗапретитьЧитатьКарту", "СпецКлавиатура".
void EnableCardReader();
void DisableCardReader();
void EnableSpecialKeyboard(const std::string& prefix);
// Shut-down: every filter's hook, the key lock and the burst timer go; the collected text is lost.
void StopKeyboardFilters();

// Hook procedures (wParam = virtual-key code, lParam = keystroke flags).
std::intptr_t CardReaderFilter(int code, std::uintptr_t wParam, std::intptr_t lParam);
std::intptr_t SpecialKeyboardFilter(int code, std::uintptr_t wParam, std::intptr_t lParam);
std::intptr_t WorkplaceKeyLock(int code, std::uintptr_t wParam, std::intptr_t lParam);

// The shared burst state, for tests: the text collected so far, and forgetting it all.
const std::string& KeyBurstText();
void ResetKeyBurst();

}  // namespace klt::frontdesk
