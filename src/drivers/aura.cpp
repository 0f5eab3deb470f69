#include "drivers/aura.h"

#include "core/state.h"
#include "text/literal.h"

namespace klt::drivers {

using namespace klt::text::literals;

namespace {

constexpr core::MethodDef kMethods[] = {
    {"OpenPort", "ОткрытьПорт"_cp, 1, 3},                    // 0
    {"SetFontPrint", "УстановитьФонт"_cp, 0, 5},             // 1
    {"PrintString", "ПечатьСтроки"_cp, 0, 2},                // 2
    {"SetPolojenie", "УстановитьПоложение"_cp, 0, 1},        // 3
    {"SetUnderline", "УстановитьПодчеркивание"_cp, 0, 1},    // 4
    {"SetRight", "УстановитьИнтервалБуквенный"_cp, 0, 5},    // 5
    {"Reset", "Сброс"_cp, 0, 0},                             // 6
    {"SetSmallest", "УстановитьСтрочныйИнтервал"_cp, 0, 1},  // 7
    {"SetBold", "УстановитьЖирность"_cp, 0, 1},              // 8
    {"SetDouble", "УстановитьДвойнойШрифт"_cp, 0, 1},        // 9
    {"PrintSmallest", "ПечатьПустыеСтроки"_cp, 0, 1},        // 10
    {"SetRotatet", "УстановитьПоворотТекста"_cp, 0, 1},      // 11
    {"CupPaper", "ПорезатьБумагу"_cp, 0, 0},                 // 12
    {"Pulse", "ВнешнийИмпульс"_cp, 0, 1},                    // 13
    {"SetInvertedPaper", "РазвернутьБумагу"_cp, 0, 1},       // 14
    {"ClosePort", "ЗакрытьПорт"_cp, 0, 0},                   // 15
    {"SetBit", "УстановкаКартинки"_cp, 0, 0},                // 16
    {"SetInverse", "УстановитьИнверсию"_cp, 0, 1},           // 17
    {"PrintBitmap", "ВывестиКартинку"_cp, 0, 0},             // 18
    {"Call", "Звонок"_cp, 0, 1},                             // 19
    {"SizeFont", "РазмерШрифта"_cp, 0, 1},                   // 20
    {"SetFont", "УстановитьШрифт"_cp, 0, 1},                 // 21
    {"SetFontBar", "УстановитьШрифтШК"_cp, 0, 1},            // 22
    {"SetHeightBar", "УстановитьВысотуШК"_cp, 0, 1},         // 23
    {"SetWidthBar", "УстановитьШиринуШК"_cp, 0, 1},          // 24
    {"PrintBar", "ПечатьШК"_cp, 0, 1},                       // 25
    {"PrintFontBar", "ПечатьШрифтНаШК"_cp, 0, 1},            // 26
    {"CreatePos", "СоздатьПосылку"_cp, 1, 0},                // 27
    {"PrintBuf", "ОтработатьБуффер"_cp, 1, 0},               // 28
    {"SaveBuf", "ЗаписатьБуффер"_cp, 1, 1},                  // 29
};
static_assert(std::size(kMethods) == CAura::kMethodCount);

host::Context* Create() {
    return new CAura();
}

}  // namespace

const host::RuntimeClass kCAuraRuntimeClass{"CAura", &Create};
const core::ClassInfo CAura::kInfo{&kCAuraRuntimeClass, 2, "KLT Aura", "Aura", kMethods, kMethodCount};

CAura::CAura() : ContextClassBase(kInfo) {}

void CAura::RunProcedure(int number, host::Value** args) {
    (void)args;
    switch (number) {
        case 16:
            break;  // "SetBit": the printers take no picture set-up
        default:
            throw core::MethodNotAvailable();
    }
}

void CAura::RunFunction(int number, host::Value& result, host::Value** args) {
    (void)result;
    (void)args;
    switch (number) {
        default:
            throw core::MethodNotAvailable();
    }
}

}  // namespace klt::drivers
