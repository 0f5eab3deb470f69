#include "frontdesk/keyboard_filters.h"

#include "core/events.h"
#include "frontdesk/settings.h"
#include "platform/keyboard.h"
#include "platform/platform.h"
#include "text/format.h"

namespace klt::frontdesk {
namespace {

constexpr int kEnter = 13, kEsc = 27, kUp = 38, kDown = 40, kShift = 0x10, kCtrl = 0x11, kNumLock = 0x90;
constexpr int kAlt = 0x12;

enum class BurstEnd { Plain, AltCode, Special };

struct Burst {
    std::string text;
    platform::ScopedTimer timer;
    BurstEnd end = BurstEnd::Plain;
};

Burst& SharedBurst() {
    static Burst burst;
    return burst;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

void EndBurst() {
    Burst& b = SharedBurst();
    b.timer.Reset();
    std::string text;
    text.swap(b.text);
    const std::string& prefix = Settings().specialKeyboardText;
    // Shift, Ctrl or F1 alone collect nothing: an empty burst is no key of the special keyboard,
    // even though it "begins" with an empty prefix.
    if (text.empty()) return;
    switch (b.end) {
        case BurstEnd::Plain:
            if (text.size() > 5)
                core::RaiseCardEvent(text);
            else if (StartsWith(text, prefix))
                core::RaiseGoodsKeyEvent(text);
            break;
        case BurstEnd::AltCode: {
            std::string decoded = DecodeAltCodes(text);
            if (decoded.size() > 4) core::RaiseCardEvent(decoded);
            break;
        }
        case BurstEnd::Special:
            if (StartsWith(text, prefix)) core::RaiseGoodsKeyEvent(text);
            break;
    }
}

// Each accepted key starts the one-shot silence timer anew and decides how the burst will end.
void Accept(BurstEnd end, const std::string& characters) {
    Burst& b = SharedBurst();
    b.end = end;
    b.timer = platform::ScopedTimer(kBurstSilenceMs, [](platform::TimerId) { EndBurst(); });
    if (b.text.size() + characters.size() <= kMaxBurstBytes) b.text += characters;
}

// Only the first press of a key counts: repeats and releases go on untouched.
bool FirstPress(int code, std::intptr_t lParam) {
    return code >= 0 && (lParam & platform::kKeyWasDown) == 0 && (lParam & platform::kKeyReleased) == 0;
}

std::intptr_t PassOn(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    return platform::Get().hooks->CallNext(code, wParam, lParam);
}

}  // namespace

std::string TranslateKey(int k, bool shift, bool ctrl) {
    if (ctrl) return {};
    if (k >= 0x41 && k <= 0x5A) return std::string(1, static_cast<char>(k));
    if (k >= 0x30 && k <= 0x39) {
        static const char kShifted[] = ")!@#$%^&*(";
        return std::string(1, shift ? kShifted[k - 0x30] : static_cast<char>(k));
    }
    if (k >= 0x60 && k <= 0x69)
        return shift ? std::string() : std::string(1, static_cast<char>('0' + k - 0x60));
    if (k == 0x20) return shift ? std::string() : std::string(1, '\x03');
    struct Punct {
        int key;
        char plain, shifted;  // 0: nothing
    };
    static const Punct kPunct[] = {{0xBA, ';', ':'},  {0xBB, '=', '+'}, {0xBC, ',', '<'}, {0xBD, '-', '_'},
                                   {0xBE, '.', '>'},  {0xBF, '/', '?'}, {0xC0, '`', '~'}, {0xDB, '[', '{'},
                                   {0xDC, '\\', '|'}, {0xDD, ']', '}'}, {0xDE, '\'', 0}};
    for (const Punct& p : kPunct) {
        if (p.key != k) continue;
        char c = shift ? p.shifted : p.plain;
        return c ? std::string(1, c) : std::string();
    }
    return {};
}

std::string DecodeAltCodes(const std::string& keys) {
    std::string out;
    bool open = false;
    unsigned value = 0;
    auto close = [&] {
        if (open) out += static_cast<char>(value);
        open = false;
        value = 0;
    };
    for (char c : keys) {
        auto b = static_cast<unsigned char>(c);
        if (b == kAlt) {
            close();
        } else if (b >= 0x60 && b <= 0x69) {
            value = (value * 10 + (b - 0x60u)) % 256;  // modulo as we go: no overflow on long groups
            open = true;
        }
    }
    close();
    return out;
}

std::intptr_t CardReaderFilter(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    if (!FirstPress(code, lParam)) return PassOn(code, wParam, lParam);
    int k = static_cast<int>(wParam);
    if (k == kEnter || k == kEsc) return 1;
    if (k == kUp || k == kDown) return PassOn(code, wParam, lParam);
    if (lParam & platform::kKeyAltDown) {
        Accept(BurstEnd::AltCode, std::string(1, static_cast<char>(k)));
        return 1;
    }
    platform::Keyboard& keys = platform::Keys();
    Accept(BurstEnd::Plain, TranslateKey(k, keys.IsKeyDown(kShift), keys.IsKeyDown(kCtrl)));
    return 1;
}

std::intptr_t SpecialKeyboardFilter(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    if (!FirstPress(code, lParam)) return PassOn(code, wParam, lParam);
    int k = static_cast<int>(wParam);
    if (k == kEsc) return 1;
    if (k == kEnter || k == kUp || k == kDown) return PassOn(code, wParam, lParam);
    platform::Keyboard& keys = platform::Keys();
    bool alt = (lParam & platform::kKeyAltDown) != 0;
    Accept(BurstEnd::Special,
           alt ? std::string() : TranslateKey(k, keys.IsKeyDown(kShift), keys.IsKeyDown(kCtrl)));
    return PassOn(code, wParam, lParam);
}

std::intptr_t WorkplaceKeyLock(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    if (!FirstPress(code, lParam)) return PassOn(code, wParam, lParam);
    int k = static_cast<int>(wParam);
    if (k == kEnter || k == kUp || k == kDown) return PassOn(code, wParam, lParam);
    return 1;
}

void EnableCardReader() {
    FrontDeskSettings& s = Settings();
    if (s.cardHook) return;
    platform::Keyboard& keys = platform::Keys();
    const std::string us = text::Format("00000%x", 0x409);
    if (keys.ActiveLayoutName() != us) keys.ActivateLayout(us);  // a failure keeps the current layout
    if (!keys.NumLockOn()) keys.PressAndRelease(kNumLock);
    s.cardHook = platform::ScopedHook(platform::HookKind::Keyboard, &CardReaderFilter);
}

void DisableCardReader() {
    Settings().cardHook.Reset();
}

void EnableSpecialKeyboard(const std::string& prefix) {
    FrontDeskSettings& s = Settings();
    if (s.specialKeyboardHook) return;
    s.specialKeyboardText = prefix;
    s.specialKeyboardHook = platform::ScopedHook(platform::HookKind::Keyboard, &SpecialKeyboardFilter);
}

void StopKeyboardFilters() {
    FrontDeskSettings& s = Settings();
    s.cardHook.Reset();
    s.specialKeyboardHook.Reset();
    s.keyLock.Reset();
    Burst& b = SharedBurst();
    b.timer.Reset();
    b.text.clear();
}

const std::string& KeyBurstText() {
    return SharedBurst().text;
}

void ResetKeyBurst() {
    SharedBurst() = Burst();
}

}  // namespace klt::frontdesk
