#include "frontdesk/vkusnica.h"

#include <stdexcept>

#include "core/state.h"
#include "frontdesk/course_choice.h"
#include "frontdesk/keyboard_filters.h"
#include "frontdesk/notices.h"
#include "frontdesk/number_pad.h"
#include "frontdesk/settings.h"
#include "text/literal.h"

namespace klt::frontdesk {

using namespace klt::text::literals;

namespace {

constexpr core::MethodDef kMethods[] = {
    {"", "Картинка"_cp, 0, 1},                // 0
    {"", "РазрешитьЧитатьКарту"_cp, 0, 0},    // 1
    {"", "ПрокруткаВВерх"_cp, 0, 0},          // 2
    {"", "ПрокруткаВниз"_cp, 0, 0},           // 3
    {"", "ЗапретитьЧитатьКарту"_cp, 0, 0},    // 4
    {"", "ЗапросЧисла"_cp, 1, 3},             // 5
    {"", "ВыборКурса"_cp, 1, 0},              // 6
    {"", "ПорядокОтображенияСумм"_cp, 0, 1},  // 7
    {"", "СлушатьПорт"_cp, 0, 1},             // 8
    {"", "ЗапомнитьЗалыИСтолики"_cp, 0, 1},   // 9
    {"", "ОткрытьЗал"_cp, 1, 11},             // 10
    {"", "ВыбратьСтол"_cp, 1, 8},             // 11
    {"", "ПослатьВПорт"_cp, 0, 3},            // 12
    {"", "СпецКлавиатура"_cp, 0, 1},          // 13
};
static_assert(std::size(kMethods) == CWin::kMethodCount);

host::Context* Create() {
    return new CWin();
}

}  // namespace

FrontDeskSettings& Settings() {
    static FrontDeskSettings settings;
    return settings;
}

const host::RuntimeClass kCWinRuntimeClass{"CWin", &Create};
const core::ClassInfo CWin::kInfo{&kCWinRuntimeClass, 0,        "Вкусница"_cp.data(),
                                  "Service",          kMethods, kMethodCount};

CWin::CWin() : ContextClassBase(kInfo) {}

void CWin::RunProcedure(int number, host::Value** args) {
    FrontDeskSettings& s = Settings();
    switch (number) {
        case 1:
            EnableCardReader();
            break;
        case 4:
            DisableCardReader();
            break;
        case 7:
            s.sumDisplayMode = IntArg(args, 0);
            break;
        case 8:
            s.listenPort = IntArg(args, 0);
            break;
        case 9:
            s.visibilityList = TextArg(args, 0);
            break;
        // Failures are silent towards the configuration: a lost notice only delays a redraw.
        case 12:
            SendNotice(IntArg(args, 0), TextArg(args, 1), IntArg(args, 2));
            break;
        case 13:
            EnableSpecialKeyboard(TextArg(args, 0));
            break;
        default:
            throw core::MethodNotAvailable();
    }
}

void CWin::RunFunction(int number, host::Value& result, host::Value** args) {
    switch (number) {
        case 5: {
            const int precision = IntArg(args, 2);
            NumberPad pad(TextArg(args, 0), TextArg(args, 1), precision);
            if (pad.Run() == ui::kRunFailed) throw std::runtime_error("keypad window not created");
            // The cancel marker is the number -1, and so is a confirmed display reading "-1".
            if (pad.result() == kNumberPadCancelled)
                result.AssignInt(-1);
            else
                result.AssignString(FormatWithPrecision(ParseDouble(pad.result()), precision));
            break;
        }
        case 6: {
            CourseChoice choice;
            if (choice.Run() == ui::kRunFailed) throw std::runtime_error("course window not created");
            result.AssignInt(choice.course());
            break;
        }
        default:
            throw core::MethodNotAvailable();
    }
}

}  // namespace klt::frontdesk
