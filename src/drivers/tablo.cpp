#include "drivers/tablo.h"

#include "core/state.h"
#include "text/literal.h"

namespace klt::drivers {

using namespace klt::text::literals;

namespace {

constexpr core::MethodDef kMethods[] = {
    {"", "ПерваяСтрока"_cp, 0, 1},       // 0
    {"", "ВтораяСтрока"_cp, 0, 1},       // 1
    {"", "СтрокаПростой1"_cp, 0, 1},     // 2
    {"", "СтрокаПростой2"_cp, 0, 1},     // 3
    {"", "СтрокаНеработает1"_cp, 0, 1},  // 4
    {"", "СтрокаНеработает2"_cp, 0, 1},  // 5
    {"", "ОткрытьПорт"_cp, 1, 2},        // 6
    {"", "Простой"_cp, 0, 0},            // 7
    {"", "Неработаем"_cp, 0, 0},         // 8
    {"", "Одновременно"_cp, 0, 2},       // 9
    {"", "ТипТабло"_cp, 0, 1},           // 10
    {"", "ЗакрытьПорт"_cp, 0, 0},        // 11
};
static_assert(std::size(kMethods) == CTablo::kMethodCount);

host::Context* Create() {
    return new CTablo();
}

}  // namespace

DisplayTexts& SharedDisplayTexts() {
    static DisplayTexts texts;
    return texts;
}

const host::RuntimeClass kCTabloRuntimeClass{"CTablo", &Create};
const core::ClassInfo CTablo::kInfo{&kCTabloRuntimeClass, 4, "KLT Tablo", "Service", kMethods, kMethodCount};

CTablo::CTablo() : ContextClassBase(kInfo) {}

void CTablo::RunProcedure(int number, host::Value** args) {
    DisplayTexts& t = SharedDisplayTexts();
    switch (number) {
        case 2:
            t.idleLine1 = TextArg(args, 0);
            break;
        case 3:
            t.idleLine2 = TextArg(args, 0);
            break;
        case 4:
            t.closedLine1 = TextArg(args, 0);
            break;
        case 5:
            t.closedLine2 = TextArg(args, 0);
            break;
        case 10:
            displayType_ = IntArg(args, 0);
            break;
        default:
            throw core::MethodNotAvailable();
    }
}

void CTablo::RunFunction(int number, host::Value& result, host::Value** args) {
    (void)result;
    (void)args;
    switch (number) {
        default:
            throw core::MethodNotAvailable();
    }
}

}  // namespace klt::drivers
