#include "hostwin/windows_object.h"

#include "core/events.h"
#include "core/state.h"
#include "hostwin/window_state.h"
#include "platform/platform.h"
#include "text/literal.h"

namespace klt::hostwin {

using namespace klt::text::literals;

namespace {

constexpr core::MethodDef kMethods[] = {
    {"", "Отладка"_cp, 0, 1},                   // 0
    {"", "СпрятатьЛишнее"_cp, 0, 0},            // 1
    {"", "Бар"_cp, 0, 1},                       // 2
    {"", "ПоЦентру"_cp, 0, 1},                  // 3
    {"", "СохранитьХЭНД"_cp, 0, 1},             // 4
    {"", "ВосстановитьХЭНД"_cp, 0, 1},          // 5
    {"", "Спрятать"_cp, 0, 0},                  // 6
    {"", "СистемноеМеню"_cp, 0, 0},             // 7
    {"", "УстановитьХЭНД"_cp, 0, 0},            // 8
    {"", "РазвернутьОкно"_cp, 0, 0},            // 9
    {"", "ОжиданиеЗакрытияФормы"_cp, 0, 0},     // 10
    {"", "УстановитьРазмеры"_cp, 0, 3},         // 11
    {"", "ЭмуляцияКл"_cp, 0, 1},                // 12
    {"", "Показать"_cp, 0, 0},                  // 13
    {"", "СпрятатьЗаказ"_cp, 0, 0},             // 14
    {"", "СпрятатьЗал"_cp, 0, 0},               // 15
    {"", "СпрятатьЧеки"_cp, 0, 0},              // 16
    {"", "РежимЭкрана"_cp, 0, 1},               // 17
    {"", "ВыбратьЦвет"_cp, 1, 0},               // 18
    {"", "ПроверкаВерсииDLL"_cp, 1, 1},         // 19
    {"", "МаксКолСтоловВЗале"_cp, 0, 1},        // 20
    {"", "ПропуститьЭлементовВЗале"_cp, 0, 1},  // 21
    {"", "ВыбратьКомпьютер"_cp, 1, 0},          // 22
    {"", "ВыбратьПользователя"_cp, 1, 0},       // 23
    {"", "КорректноЗавершитьРаботу"_cp, 0, 0},  // 24
    {"", "ВыключитьКомпьютер"_cp, 0, 0},        // 25
    {"", "ВыборТипаБезнала"_cp, 1, 1},          // 26
    {"", "СпрятатьНастройки"_cp, 0, 0},         // 27
    {"", "ПоказатьНастройки"_cp, 0, 0},         // 28
    {"", "ЗакрытьФорму"_cp, 0, 1},              // 29
    {"", "ОбновитьМеню"_cp, 0, 1},              // 30
    {"", "ДождатьсяЗакрытиеФормы"_cp, 0, 2},    // 31
    {"", "СпрятатьФорму"_cp, 0, 1},             // 32
    {"", "ПоказатьФорму"_cp, 0, 1},             // 33
    {"", "УстановитьСтроку"_cp, 0, 2},          // 34
    {"", "РазвернутьВнутриОбласти"_cp, 0, 1},   // 35
    {"", "Сообщить"_cp, 0, 1},                  // 36
    {"", "Пароль"_cp, 1, 0},                    // 37
    {"", "Вопрос"_cp, 1, 1},                    // 38
    {"", "ПодборМЕНЮ_КПК"_cp, 0, 2},            // 39
};
static_assert(std::size(kMethods) == CWin1::kMethodCount);

host::Context* Create() {
    return new CWin1();
}

// Caption lines: the version text, then the banner lined up under the first caption.
void ResetTitleLines() {
    HostWindowState& w = WindowState();
    w.titleLines[0] =
        std::string(kVersionText) + std::string(81, ' ') + std::string("=  В К У С Н И Ц А  ="_cp);
    w.titleLines[1] = std::string(kVersionText) + std::string("   Сервисная служба: (000) 000-00-00"_cp);
    w.titleLines[2] = std::string(kVersionText) + std::string(56, ' ') +
                      std::string("АВТОМАТИЗАЦИЯ БАРОВ, КАФЕ, РЕСТОРАНОВ, СТОЛОВЫХ, КЛУБОВ И Т.Д."_cp);
}

// Polls the watched window; when it is gone the wait ends and the configuration hears "Таймер".
void StartHandleWait() {
    WindowState().handleWaitTimer = platform::ScopedTimer(50, [](platform::TimerId) {
        HostWindowState& state = WindowState();
        platform::Desktop* desktop = platform::Get().desktop;
        if (desktop && desktop->IsWindow(state.watchedWindow)) return;
        state.handleWaitTimer.Reset();
        core::RaiseWatchTimerEvent();
    });
}

}  // namespace

HostWindowState& WindowState() {
    static HostWindowState state;
    return state;
}

const host::RuntimeClass kCWin1RuntimeClass{"CWin1", &Create};
const core::ClassInfo CWin1::kInfo{&kCWin1RuntimeClass, 1,        "Вкусница"_cp.data(),
                                   "Service",           kMethods, kMethodCount};

CWin1::CWin1() : ContextClassBase(kInfo) {
    ResetTitleLines();
}

void CWin1::RunProcedure(int number, host::Value** args) {
    HostWindowState& w = WindowState();
    switch (number) {
        case 0:
            w.developerMode = IntArg(args, 0);
            break;
        // Only ten slots exist: an index outside them is ignored rather than written past the table.
        case 4: {
            std::int32_t i = IntArg(args, 0);
            if (i >= 0 && i < static_cast<std::int32_t>(savedWindows_.size()))
                savedWindows_[i] = w.currentWindow;
            break;
        }
        case 5: {
            std::int32_t i = IntArg(args, 0);
            if (i >= 0 && i < static_cast<std::int32_t>(savedWindows_.size()))
                w.currentWindow = savedWindows_[i];
            break;
        }
        case 8:
            w.watchedWindow = w.currentWindow;
            break;
        case 10:
            StartHandleWait();
            break;
        case 15:  // no window is ever recorded for these two: nothing to hide
        case 16:
            break;
        case 17: {
            std::int32_t mode = IntArg(args, 0);
            w.screenMode = mode > 0 ? mode : 1;
            break;
        }
        case 20:
            w.hallTableLimit = IntArg(args, 0);
            break;
        case 21:
            w.hallSkipCount = IntArg(args, 0);
            break;
        case 34: {
            std::int32_t line = IntArg(args, 0);
            if (line == 1 || line == 2) w.titleLines[line] = std::string(kVersionText) + TextArg(args, 1);
            break;
        }
        default:
            throw core::MethodNotAvailable();
    }
}

void CWin1::RunFunction(int number, host::Value& result, host::Value** args) {
    (void)result;
    (void)args;
    switch (number) {
        default:
            throw core::MethodNotAvailable();
    }
}

}  // namespace klt::hostwin
