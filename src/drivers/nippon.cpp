#include "drivers/nippon.h"

#include "core/state.h"
#include "text/literal.h"

namespace klt::drivers {

using namespace klt::text::literals;

namespace {

constexpr core::MethodDef kMethods[] = {
    {"OpenPort", "ОткрытьПорт"_cp, 1, 5},                    // 0
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
    {"SetFontBar", "УстановитьШрифтШК"_cp, 0, 1},            // 16
    {"SetHeightBar", "УстановитьВысотуШК"_cp, 0, 1},         // 17
    {"PrintBar", "ПечатьШК"_cp, 0, 1},                       // 18
    {"PrintFontBar", "ПечатьШрифтНаШК"_cp, 0, 1},            // 19
    {"CreatePos", "СоздатьПосылку"_cp, 1, 0},                // 20
    {"PrintBuf", "ОтработатьБуффер"_cp, 1, 0},               // 21
    {"SaveBuf", "ЗаписатьБуффер"_cp, 1, 1},                  // 22
};
static_assert(std::size(kMethods) == CNippon::kMethodCount);

host::Context* Create() {
    return new CNippon();
}

}  // namespace

const host::RuntimeClass kCNipponRuntimeClass{"CNippon", &Create};
const core::ClassInfo CNippon::kInfo{&kCNipponRuntimeClass, 3, "KLT Nippon", "Nippon", kMethods,
                                     kMethodCount};

CNippon::CNippon() : ContextClassBase(kInfo) {}

void CNippon::RunProcedure(int number, host::Value** args) {
    (void)args;
    switch (number) {
        default:
            throw core::MethodNotAvailable();
    }
}

void CNippon::RunFunction(int number, host::Value& result, host::Value** args) {
    (void)result;
    (void)args;
    switch (number) {
        default:
            throw core::MethodNotAvailable();
    }
}

}  // namespace klt::drivers
