#include "hostwin/windows_object.h"

#include "core/events.h"
#include "core/state.h"
#include "hostwin/window_state.h"
#include "platform/platform.h"
#include "text/literal.h"

namespace klt::hostwin {

using namespace klt::text::literals;

namespace {

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

const core::MethodDef CWin1::kMethods[] = {
    {"", "Отладка"_cp, 0, 1, core::Body<&CWin1::SetDeveloperMode>},
    {"", "СпрятатьЛишнее"_cp, 0, 0},
    {"", "Бар"_cp, 0, 1},
    {"", "ПоЦентру"_cp, 0, 1},
    {"", "СохранитьХЭНД"_cp, 0, 1, core::Body<&CWin1::SaveHandle>},
    {"", "ВосстановитьХЭНД"_cp, 0, 1, core::Body<&CWin1::RestoreHandle>},
    {"", "Спрятать"_cp, 0, 0},
    {"", "СистемноеМеню"_cp, 0, 0},
    {"", "УстановитьХЭНД"_cp, 0, 0, core::Body<&CWin1::WatchCurrentWindow>},
    {"", "РазвернутьОкно"_cp, 0, 0},
    {"", "ОжиданиеЗакрытияФормы"_cp, 0, 0, core::Body<&CWin1::WaitForFormToClose>},
    {"", "УстановитьРазмеры"_cp, 0, 3},
    {"", "ЭмуляцияКл"_cp, 0, 1},
    {"", "Показать"_cp, 0, 0},
    {"", "СпрятатьЗаказ"_cp, 0, 0},
    {"", "СпрятатьЗал"_cp, 0, 0, core::Body<&CWin1::NothingToHide>},
    {"", "СпрятатьЧеки"_cp, 0, 0, core::Body<&CWin1::NothingToHide>},
    {"", "РежимЭкрана"_cp, 0, 1, core::Body<&CWin1::SetScreenMode>},
    {"", "ВыбратьЦвет"_cp, 1, 0},
    {"", "ПроверкаВерсииDLL"_cp, 1, 1},
    {"", "МаксКолСтоловВЗале"_cp, 0, 1, core::Body<&CWin1::SetHallTableLimit>},
    {"", "ПропуститьЭлементовВЗале"_cp, 0, 1, core::Body<&CWin1::SetHallSkipCount>},
    {"", "ВыбратьКомпьютер"_cp, 1, 0, core::Body<&CWin1::ChooseComputer>},
    {"", "ВыбратьПользователя"_cp, 1, 0, core::Body<&CWin1::ChooseUser>},
    {"", "КорректноЗавершитьРаботу"_cp, 0, 0},
    {"", "ВыключитьКомпьютер"_cp, 0, 0},
    {"", "ВыборТипаБезнала"_cp, 1, 1, core::Body<&CWin1::ChoosePaymentType>},
    {"", "СпрятатьНастройки"_cp, 0, 0},
    {"", "ПоказатьНастройки"_cp, 0, 0},
    {"", "ЗакрытьФорму"_cp, 0, 1},
    {"", "ОбновитьМеню"_cp, 0, 1},
    {"", "ДождатьсяЗакрытиеФормы"_cp, 0, 2},
    {"", "СпрятатьФорму"_cp, 0, 1},
    {"", "ПоказатьФорму"_cp, 0, 1},
    {"", "УстановитьСтроку"_cp, 0, 2, core::Body<&CWin1::SetCaptionLine>},
    {"", "РазвернутьВнутриОбласти"_cp, 0, 1},
    {"", "Сообщить"_cp, 0, 1, core::Body<&CWin1::ShowMessage>},
    {"", "Пароль"_cp, 1, 0, core::Body<&CWin1::AskPassword>},
    {"", "Вопрос"_cp, 1, 1, core::Body<&CWin1::AskQuestion>},
    {"", "ПодборМЕНЮ_КПК"_cp, 0, 2},
};

const host::RuntimeClass kCWin1RuntimeClass{"CWin1", &Create};
const core::ClassInfo CWin1::kInfo{&kCWin1RuntimeClass, 1,        "Вкусница"_cp.data(),
                                   "Service",           kMethods, kMethodCount};

CWin1::CWin1() : ContextClassBase(kInfo) {
    ResetTitleLines();
}

void CWin1::SetDeveloperMode(core::MethodCall& call) {
    WindowState().developerMode = call.Int(0);
}

// Only ten slots exist: an index outside them is ignored rather than written past the table.
void CWin1::SaveHandle(core::MethodCall& call) {
    const std::int32_t i = call.Int(0);
    if (i >= 0 && i < static_cast<std::int32_t>(savedWindows_.size()))
        savedWindows_[i] = WindowState().currentWindow;
}

void CWin1::RestoreHandle(core::MethodCall& call) {
    const std::int32_t i = call.Int(0);
    if (i >= 0 && i < static_cast<std::int32_t>(savedWindows_.size()))
        WindowState().currentWindow = savedWindows_[i];
}

void CWin1::WatchCurrentWindow(core::MethodCall&) {
    HostWindowState& w = WindowState();
    w.watchedWindow = w.currentWindow;
}

void CWin1::WaitForFormToClose(core::MethodCall&) {
    StartHandleWait();
}

// No window is ever recorded for the hall and the receipts: nothing to hide.
void CWin1::NothingToHide(core::MethodCall&) {}

void CWin1::SetScreenMode(core::MethodCall& call) {
    const std::int32_t mode = call.Int(0);
    core::State().screenMode = mode > 0 ? mode : 1;
}

void CWin1::SetHallTableLimit(core::MethodCall& call) {
    WindowState().hallTableLimit = call.Int(0);
}

void CWin1::SetHallSkipCount(core::MethodCall& call) {
    WindowState().hallSkipCount = call.Int(0);
}

void CWin1::SetCaptionLine(core::MethodCall& call) {
    const std::int32_t line = call.Int(0);
    if (line == 1 || line == 2) WindowState().titleLines[line] = std::string(kVersionText) + call.Text(1);
}

}  // namespace klt::hostwin
