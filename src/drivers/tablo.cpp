#include "drivers/tablo.h"

#include <algorithm>

#include "core/state.h"
#include "platform/platform.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace klt::drivers {

using namespace klt::text::literals;

namespace {

host::Context* Create() {
    return new CTablo();
}

}  // namespace

DisplayTexts& SharedDisplayTexts() {
    static DisplayTexts texts;
    return texts;
}

// Tables A and B for the CP866 bytes 80-9F (capitals; A0-AF and E0-EF, the small letters, show as
// the same capitals), and for F0/F1 (Ё, ё).
namespace {

constexpr unsigned char kTableA[32] = {0x41, 0xDA, 0x42, 0xDB, 0xDC, 0x45, 0xDD, 0xDE, 0xDF, 0xE0, 0x4B,
                                       0xE1, 0x4D, 0x48, 0x4F, 0xE2, 0x50, 0x43, 0x54, 0xE3, 0xE4, 0x58,
                                       0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0x27, 0xEB, 0xEC, 0xED};
constexpr unsigned char kTableB[32] = {0x41, 0xA0, 0x42, 0xA1, 0xE3, 0x45, 0xA3, 0xA4, 0xA5, 0xA6, 0x4B,
                                       0xA7, 0x4D, 0x48, 0x4F, 0xA8, 0x50, 0x43, 0x54, 0xA9, 0xAA, 0x58,
                                       0xE1, 0xAB, 0xAC, 0xE2, 0xAD, 0xAE, 0x27, 0xAF, 0xB0, 0xB1};

unsigned char ByTable(unsigned char c, const unsigned char (&table)[32], unsigned char yo) {
    if (c >= 0x80 && c <= 0x9F) return table[c - 0x80];
    if (c >= 0xA0 && c <= 0xAF) return table[c - 0xA0];
    if (c >= 0xE0 && c <= 0xEF) return table[c - 0xE0 + 0x10];
    if (c == 0xF0 || c == 0xF1) return yo;
    return c;
}

}  // namespace

char DisplayCharacter(std::int32_t displayType, char cp866) {
    const auto c = static_cast<unsigned char>(cp866);
    switch (displayType) {
        case 1:
            return cp866;
        case 4:
            return static_cast<char>(ByTable(c, kTableB, 0xA2));
        default:
            return static_cast<char>(ByTable(c, kTableA, 0x45));
    }
}

std::string DisplayFrame(std::int32_t displayType, std::string_view upper, std::string_view lower,
                         bool trailingZero) {
    std::string frame;
    frame.reserve(kDisplayWidth * 2 + 1);
    for (std::string_view line : {upper, lower}) {
        // Only the first twenty characters can show; a text ends at a NUL as the C string it was.
        line = line.substr(0, std::min(line.find('\0'), kDisplayWidth));
        for (char c : line) frame += DisplayCharacter(displayType, text::Cp1251ToCp866(c));
        frame.append(kDisplayWidth - line.size(), ' ');
    }
    if (trailingZero) frame += '\0';
    return frame;
}

const core::MethodDef CTablo::kMethods[] = {
    {"", "ПерваяСтрока"_cp, 0, 1, core::Body<&CTablo::ShowFirstLine>},
    {"", "ВтораяСтрока"_cp, 0, 1, core::Body<&CTablo::ShowSecondLine>},
    {"", "СтрокаПростой1"_cp, 0, 1, core::Body<&CTablo::RememberLine<&DisplayTexts::idleLine1>>},
    {"", "СтрокаПростой2"_cp, 0, 1, core::Body<&CTablo::RememberLine<&DisplayTexts::idleLine2>>},
    {"", "СтрокаНеработает1"_cp, 0, 1, core::Body<&CTablo::RememberLine<&DisplayTexts::closedLine1>>},
    {"", "СтрокаНеработает2"_cp, 0, 1, core::Body<&CTablo::RememberLine<&DisplayTexts::closedLine2>>},
    {"", "ОткрытьПорт"_cp, 1, 2, core::Body<&CTablo::OpenPort>},
    {"", "Простой"_cp, 0, 0, core::Body<&CTablo::ShowIdle>},
    {"", "Неработаем"_cp, 0, 0, core::Body<&CTablo::ShowClosed>},
    {"", "Одновременно"_cp, 0, 2, core::Body<&CTablo::ShowBothLines>},
    {"", "ТипТабло"_cp, 0, 1, core::Body<&CTablo::SetDisplayType>},
    {"", "ЗакрытьПорт"_cp, 0, 0, core::Body<&CTablo::ClosePort>},
};

const host::RuntimeClass kCTabloRuntimeClass{"CTablo", &Create};
const core::ClassInfo CTablo::kInfo{&kCTabloRuntimeClass, 4, "KLT Tablo", "Service", kMethods, kMethodCount};

CTablo::CTablo() : ContextClassBase(kInfo) {}

CTablo::~CTablo() = default;

void CTablo::Show(const std::string& upper, const std::string& lower, bool trailingZero) {
    // A display that misses a frame shows the next one, so nothing is reported; but once a write
    // has timed out the rest of the frame is not offered, so a stalled display costs one write
    // time-out per call, not three.
    if (displayType_ == 4 && !channel_.Write("\x0C", 1)) return;
    const std::string frame = DisplayFrame(displayType_, upper, lower, trailingZero);
    if (!channel_.Write(frame.data(), frame.size())) return;
    if (displayType_ == 4) channel_.Write("\x08", 1);
}

void CTablo::ShowFirstLine(core::MethodCall& call) {
    DisplayTexts& t = SharedDisplayTexts();
    t.displayLine1 = call.Text(0);
    Show(t.displayLine1, t.displayLine2, true);
}

void CTablo::ShowSecondLine(core::MethodCall& call) {
    DisplayTexts& t = SharedDisplayTexts();
    t.displayLine2 = call.Text(0);
    Show(t.displayLine1, t.displayLine2, false);
}

template <std::string DisplayTexts::*Line>
void CTablo::RememberLine(core::MethodCall& call) {
    SharedDisplayTexts().*Line = call.Text(0);
}

void CTablo::ShowIdle(core::MethodCall&) {
    const DisplayTexts& t = SharedDisplayTexts();
    Show(t.idleLine1, t.idleLine2, false);
}

void CTablo::ShowClosed(core::MethodCall&) {
    const DisplayTexts& t = SharedDisplayTexts();
    Show(t.closedLine1, t.closedLine2, false);
}

void CTablo::ShowBothLines(core::MethodCall& call) {
    DisplayTexts& t = SharedDisplayTexts();
    t.displayLine1 = call.Text(0);
    t.displayLine2 = call.Text(1);
    Show(t.displayLine1, t.displayLine2, false);
}

void CTablo::SetDisplayType(core::MethodCall& call) {
    displayType_ = call.Int(0);
}

void CTablo::ClosePort(core::MethodCall&) {
    channel_.Close();
}

void CTablo::OpenPort(core::MethodCall& call) {
    call.Return(0);
    if (displayType_ == 0) {
        platform::Get().desktop->MessageBox(std::string("Не задан тип ТАБЛО ПОКУПАТЕЛЯ"_cp), kMessageCaption,
                                            0);
        return;
    }
    platform::LineSettings line;
    line.baudRate = 9600;
    line.dataBits = 8;
    line.parity = platform::Parity::None;
    line.abortOnError = false;
    call.ReturnFlag(channel_.Open(call.Int(0), call.Int(1), line));
}

}  // namespace klt::drivers
