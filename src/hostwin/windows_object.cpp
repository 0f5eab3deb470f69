#include "hostwin/windows_object.h"

#include <stdexcept>

#include "core/events.h"
#include "core/host_calls.h"
#include "core/state.h"
#include "hostwin/picture_menu.h"
#include "hostwin/pocket_menu.h"
#include "hostwin/window_ops.h"
#include "hostwin/window_state.h"
#include "platform/platform.h"
#include "text/literal.h"
#include "ui/dialog.h"

namespace klt::hostwin {

using namespace klt::text::literals;

namespace {

constexpr int kStatusBarId = 0xE801;
constexpr unsigned kTitlePeriodMs = 20000;
constexpr unsigned kShutdownPeriodMs = 10;
constexpr unsigned kFormWaitPeriodMs = 10;
constexpr int kVkReturn = 0x0D;
constexpr int kVkControl = 0x11;
constexpr int kVkUp = 0x26;
constexpr int kVkDown = 0x28;

platform::Desktop* Desk() {
    return platform::Get().desktop;
}

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
        platform::Desktop* desktop = Desk();
        if (desktop && desktop->IsWindow(state.watchedWindow)) return;
        state.handleWaitTimer.Reset();
        core::RaiseWatchTimerEvent();
    });
}

// Polls the form's window; when it is gone the wait ends and the configuration hears the name it gave.
void StartFormWait() {
    WindowState().formWaitTimer = platform::ScopedTimer(kFormWaitPeriodMs, [](platform::TimerId) {
        HostWindowState& state = WindowState();
        platform::Desktop* desktop = Desk();
        if (desktop && desktop->IsWindow(state.formWaitWindow)) return;
        state.formWaitTimer.Reset();
        state.formWaitWindow = 0;
        const std::string name = std::move(state.formWaitEvent);
        state.formWaitEvent.clear();
        core::RaiseNamedWatchEvent(name);
    });
}

// The caption shows the three lines in turn while the main window exists.
void RotateTitle(platform::TimerId) {
    platform::Desktop* desktop = Desk();
    const platform::WindowHandle main = core::State().hostMainWindow;
    if (!desktop || !desktop->IsWindow(main)) return;
    HostWindowState& w = WindowState();
    if (++w.titleIndex >= static_cast<std::int32_t>(w.titleLines.size())) w.titleIndex = 0;
    desktop->SetText(main, w.titleLines[w.titleIndex]);
}

void SetShown(platform::WindowHandle window, bool show) {
    platform::Desktop* desktop = Desk();
    if (desktop && window) desktop->Show(window, show);
}

bool IsBarClass(const std::string& name) {
    return name == "msctls_statusbar32" || name == "Afx:400000:0:0:10:0" || name == "AfxControlBar42";
}

}  // namespace

HostWindowState& WindowState() {
    static HostWindowState state;
    return state;
}

platform::WindowHandle FormWindowOf(const host::Value& form) {
    host::Context* context = form.GetContext();
    host::Host* h = core::State().host;
    if (!context || !h) return 0;
    // The form may close while the host answers; its context stays alive until we have the frame.
    const host::Value held(context);
    host::Document* document = h->GetFormDocument(context);
    return document ? document->GetFrame() : 0;
}

void OrderlyShutdown() {
    core::AddInState& s = core::State();
    SetShown(s.hostMainWindow, false);
    if (host::Module* module = s.host ? s.host->GetExecutedModule() : nullptr) {
        const int variable = module->FindStaticVar(std::string("глЗакрытьОкнаГлобально"_cp).c_str());
        if (variable >= 0) module->SetStaticVarValue(variable, host::Value(1), 0);
    }
    s.formHook.Reset();
    if (s.host)
        core::CallContextProcedure(s.host->GetLoadedContext(1), std::string("ЗавершитьРаботуСистемы"_cp),
                                   {host::Value(1)});
}

const core::MethodDef CWin1::kMethods[] = {
    {"", "Отладка"_cp, 0, 1, core::Body<&CWin1::SetDeveloperMode>},
    {"", "СпрятатьЛишнее"_cp, 0, 0, core::Body<&CWin1::TakeOverMainWindow>},
    {"", "Бар"_cp, 0, 1, core::Body<&CWin1::MakeBar>},
    {"", "ПоЦентру"_cp, 0, 1, core::Body<&CWin1::Centre>},
    {"", "СохранитьХЭНД"_cp, 0, 1, core::Body<&CWin1::SaveHandle>},
    {"", "ВосстановитьХЭНД"_cp, 0, 1, core::Body<&CWin1::RestoreHandle>},
    {"", "Спрятать"_cp, 0, 0, core::Body<&CWin1::HideCurrent>},
    {"", "СистемноеМеню"_cp, 0, 0, core::Body<&CWin1::ToggleCurrentFrame>},
    {"", "УстановитьХЭНД"_cp, 0, 0, core::Body<&CWin1::WatchCurrentWindow>},
    {"", "РазвернутьОкно"_cp, 0, 0, core::Body<&CWin1::StretchCurrent>},
    {"", "ОжиданиеЗакрытияФормы"_cp, 0, 0, core::Body<&CWin1::WaitForFormToClose>},
    {"", "УстановитьРазмеры"_cp, 0, 3, core::Body<&CWin1::SetFormSize>},
    {"", "ЭмуляцияКл"_cp, 0, 1, core::Body<&CWin1::EmulateKey>},
    {"", "Показать"_cp, 0, 0, core::Body<&CWin1::ShowCurrent>},
    {"", "СпрятатьЗаказ"_cp, 0, 0, core::Body<&CWin1::HideReceipts>},
    {"", "СпрятатьЗал"_cp, 0, 0, core::Body<&CWin1::NothingToHide>},
    {"", "СпрятатьЧеки"_cp, 0, 0, core::Body<&CWin1::NothingToHide>},
    {"", "РежимЭкрана"_cp, 0, 1, core::Body<&CWin1::SetScreenMode>},
    {"", "ВыбратьЦвет"_cp, 1, 0, core::Body<&CWin1::ChooseColour>},
    {"", "ПроверкаВерсииDLL"_cp, 1, 1, core::Body<&CWin1::CheckVersion>},
    {"", "МаксКолСтоловВЗале"_cp, 0, 1, core::Body<&CWin1::SetHallTableLimit>},
    {"", "ПропуститьЭлементовВЗале"_cp, 0, 1, core::Body<&CWin1::SetHallSkipCount>},
    {"", "ВыбратьКомпьютер"_cp, 1, 0, core::Body<&CWin1::ChooseComputer>},
    {"", "ВыбратьПользователя"_cp, 1, 0, core::Body<&CWin1::ChooseUser>},
    {"", "КорректноЗавершитьРаботу"_cp, 0, 0, core::Body<&CWin1::ShutDownSoon>},
    {"", "ВыключитьКомпьютер"_cp, 0, 0, core::Body<&CWin1::PowerOff>},
    {"", "ВыборТипаБезнала"_cp, 1, 1, core::Body<&CWin1::ChoosePaymentType>},
    {"", "СпрятатьНастройки"_cp, 0, 0, core::Body<&CWin1::HideSettings>},
    {"", "ПоказатьНастройки"_cp, 0, 0, core::Body<&CWin1::ShowSettings>},
    {"", "ЗакрытьФорму"_cp, 0, 1, core::Body<&CWin1::CloseForm>},
    {"", "ОбновитьМеню"_cp, 0, 1, core::Body<&CWin1::RenewPictureMenu>},
    {"", "ДождатьсяЗакрытиеФормы"_cp, 0, 2, core::Body<&CWin1::WaitForFormWindow>},
    {"", "СпрятатьФорму"_cp, 0, 1, core::Body<&CWin1::HideForm>},
    {"", "ПоказатьФорму"_cp, 0, 1, core::Body<&CWin1::ShowForm>},
    {"", "УстановитьСтроку"_cp, 0, 2, core::Body<&CWin1::SetCaptionLine>},
    {"", "РазвернутьВнутриОбласти"_cp, 0, 1, core::Body<&CWin1::FitFormToWorkArea>},
    {"", "Сообщить"_cp, 0, 1, core::Body<&CWin1::ShowMessage>},
    {"", "Пароль"_cp, 1, 0, core::Body<&CWin1::AskPassword>},
    {"", "Вопрос"_cp, 1, 1, core::Body<&CWin1::AskQuestion>},
    {"", "ПодборМЕНЮ_КПК"_cp, 0, 2, core::Body<&CWin1::OpenPocketPictureMenu>},
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

// A kiosk surface: no frame controls, the banner in the caption, no bars, the whole screen. In
// developer mode only the size changes, so the host stays workable.
void CWin1::TakeOverMainWindow(core::MethodCall&) {
    platform::Desktop* desktop = Desk();
    if (!desktop) return;
    const core::AddInState& s = core::State();
    const platform::WindowHandle main = s.hostMainWindow;
    HostWindowState& w = WindowState();
    if (w.developerMode == 0) {
        ToggleFrameControls(main);
        if (s.pocketMode) StripCaption(main);
        desktop->SetText(main, std::string(88, ' ') + std::string("=  В К У С Н И Ц А  ="_cp));
        // One rotation, started afresh: a timer per call would move the caption several lines at
        // a tick, and three of them would never move it at all.
        w.titleTimer = platform::ScopedTimer(kTitlePeriodMs, &RotateTitle);
        if (platform::WindowHandle statusBar = desktop->ChildWithId(main, kStatusBarId))
            desktop->Show(statusBar, false);
        for (platform::WindowHandle c = desktop->FirstChild(main); c; c = desktop->NextSibling(c))
            if (IsBarClass(desktop->ClassName(c))) desktop->Show(c, false);
        RefreshFrame(main);
    }
    desktop->Move(main, 0, 0, desktop->ScreenWidth(), desktop->ScreenHeight(), true);
}

void CWin1::MakeBar(core::MethodCall& call) {
    const platform::WindowHandle form = FormWindowOf(call.Arg(0));
    StripCaption(form);
    ToggleFrameControls(form);
}

void CWin1::Centre(core::MethodCall& call) {
    platform::Desktop* desktop = Desk();
    const platform::WindowHandle form = FormWindowOf(call.Arg(0));
    if (!desktop || !form) return;
    const platform::WindowBox client = desktop->ClientBox(core::State().hostMainWindow);
    const platform::WindowBox box = desktop->ScreenBox(form);
    desktop->Move(form, (client.Width() - box.Width()) / 2, (client.Height() - box.Height()) / 2, box.Width(),
                  box.Height(), true);
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

void CWin1::HideCurrent(core::MethodCall&) {
    SetShown(WindowState().currentWindow, false);
}

void CWin1::ToggleCurrentFrame(core::MethodCall&) {
    ToggleFrameControls(WindowState().currentWindow);
}

void CWin1::WatchCurrentWindow(core::MethodCall&) {
    HostWindowState& w = WindowState();
    w.watchedWindow = w.currentWindow;
}

// The form's own border goes beyond the edges of the main window's client area.
void CWin1::StretchCurrent(core::MethodCall&) {
    platform::Desktop* desktop = Desk();
    const platform::WindowHandle main = core::State().hostMainWindow;
    const platform::WindowHandle current = WindowState().currentWindow;
    if (!desktop || !main || !current) return;
    const platform::WindowBox client = desktop->ClientBox(main);
    desktop->Move(current, client.left - 5, client.top - 5, client.right + 10, client.bottom + 10, false);
}

void CWin1::WaitForFormToClose(core::MethodCall&) {
    StartHandleWait();
}

void CWin1::SetFormSize(core::MethodCall& call) {
    platform::Desktop* desktop = Desk();
    const platform::WindowHandle form = FormWindowOf(call.Arg(0));
    if (desktop && form) desktop->Move(form, -5, -5, call.Int(1), call.Int(2), true);
}

// Exactly five names, compared as written; anything else injects nothing.
void CWin1::EmulateKey(core::MethodCall& call) {
    platform::Desktop* desktop = Desk();
    if (!desktop) return;
    const std::string name = call.Text(0);
    int modifier = 0;
    int key = 0;
    if (name == "UP") {
        key = kVkUp;
    } else if (name == "DOWN") {
        key = kVkDown;
    } else if (name == "CTRL-DOWN") {
        modifier = kVkControl;
        key = kVkDown;
    } else if (name == "CTRL-UP") {
        modifier = kVkControl;
        key = kVkUp;
    } else if (name == "ENTER") {
        key = kVkReturn;
    } else {
        return;
    }
    if (modifier) desktop->InjectKey(modifier, false);
    desktop->InjectKey(key, false);
    desktop->InjectKey(key, true);
    if (modifier) desktop->InjectKey(modifier, true);
}

void CWin1::ShowCurrent(core::MethodCall&) {
    SetShown(WindowState().currentWindow, true);
}

void CWin1::HideReceipts(core::MethodCall&) {
    const HostWindowState& w = WindowState();
    SetShown(w.receiptWindowP, false);
    SetShown(w.receiptWindowL, false);
}

// No window is ever recorded for the hall and the receipts: nothing to hide.
void CWin1::NothingToHide(core::MethodCall&) {}

void CWin1::SetScreenMode(core::MethodCall& call) {
    const std::int32_t mode = call.Int(0);
    core::State().screenMode = mode > 0 ? mode : 1;
}

// A cashier who cancels has chosen nothing: the result stays empty, and the call succeeds, so the
// configuration's code goes on rather than stopping on a run-time error.
void CWin1::ChooseColour(core::MethodCall& call) {
    platform::Desktop* desktop = Desk();
    const std::int64_t colour = desktop ? desktop->ChooseColour() : -1;
    if (colour >= 0) call.Return(static_cast<std::int32_t>(colour));
}

// A configuration that needs a newer add-in cannot work with this one: the host ends its work.
void CWin1::CheckVersion(core::MethodCall& call) {
    const bool recentEnough = call.Int(0) <= kVersionNumber;
    call.ReturnFlag(recentEnough);
    if (!recentEnough) OrderlyShutdown();
}

void CWin1::SetHallTableLimit(core::MethodCall& call) {
    WindowState().hallTableLimit = call.Int(0);
}

void CWin1::SetHallSkipCount(core::MethodCall& call) {
    WindowState().hallSkipCount = call.Int(0);
}

// From the loop rather than inside the calling 1C code, and again until the host has ended. The
// host's end of work may run a loop of its own (a question to the user): a tick inside it must not
// start the sequence once more within the running one.
void CWin1::ShutDownSoon(core::MethodCall&) {
    WindowState().shutdownTimer = platform::ScopedTimer(kShutdownPeriodMs, [](platform::TimerId) {
        static bool running = false;
        if (running) return;
        running = true;
        struct Leave {
            ~Leave() { running = false; }
        } leave;
        OrderlyShutdown();
    });
}

void CWin1::PowerOff(core::MethodCall&) {
    if (platform::Desktop* desktop = Desk()) desktop->PowerOff();
}

void CWin1::HideSettings(core::MethodCall&) {
    SetShown(WindowState().settingsWindow, false);
}

void CWin1::ShowSettings(core::MethodCall&) {
    SetShown(WindowState().settingsWindow, true);
}

// Every child of the main window before the MDI client area (the host's bars) is hidden on the way;
// the walk ends at the client area, whose form frames are searched by title.
void CWin1::CloseForm(core::MethodCall& call) {
    platform::Desktop* desktop = Desk();
    if (!desktop) return;
    const std::string title = call.Text(0);
    for (platform::WindowHandle c = desktop->FirstChild(core::State().hostMainWindow); c;
         c = desktop->NextSibling(c)) {
        if (desktop->ClassName(c) != "MDIClient") {
            desktop->Show(c, false);
            continue;
        }
        for (platform::WindowHandle f = desktop->FirstChild(c); f; f = desktop->NextSibling(f)) {
            if (desktop->Text(f) == title) {
                desktop->Destroy(f);
                break;
            }
        }
        return;
    }
}

// One wait at a time: a new one replaces the running one.
void CWin1::WaitForFormWindow(core::MethodCall& call) {
    HostWindowState& w = WindowState();
    w.formWaitTimer.Reset();
    w.formWaitWindow = FormWindowOf(call.Arg(0));
    w.formWaitEvent = call.Text(1);
    StartFormWait();
}

void CWin1::HideForm(core::MethodCall& call) {
    SetShown(FormWindowOf(call.Arg(0)), false);
}

void CWin1::ShowForm(core::MethodCall& call) {
    SetShown(FormWindowOf(call.Arg(0)), true);
}

void CWin1::SetCaptionLine(core::MethodCall& call) {
    const std::int32_t line = call.Int(0);
    if (line == 1 || line == 2) WindowState().titleLines[line] = std::string(kVersionText) + call.Text(1);
}

// The work area of the screen mode, centred on the screen below a caption; modes beyond the two
// known ones take that whole area, as the hall view covers the whole main window.
void CWin1::FitFormToWorkArea(core::MethodCall& call) {
    platform::Desktop* desktop = Desk();
    const platform::WindowHandle form = FormWindowOf(call.Arg(0));
    if (!desktop || !form) return;
    const int caption = desktop->CaptionHeight();
    const int screenWidth = desktop->ScreenWidth();
    const int screenHeight = desktop->ScreenHeight() - caption;
    int width = screenWidth;
    int height = screenHeight;
    switch (core::State().screenMode) {
        case 1:
            width = 800;
            height = 600 - caption;
            break;
        case 2:
            width = 1024;
            height = 768 - caption;
            break;
        default:
            break;
    }
    const int x = (screenWidth - width) / 2;
    const int y = (screenHeight - height) / 2;
    desktop->Move(form, x - 5, y - 5, width, height, true);
}

void CWin1::RenewPictureMenu(core::MethodCall& call) {
    ResetPictureMenu(call.Arg(0));
}

// Both parameters are accepted and not used.
void CWin1::OpenPocketPictureMenu(core::MethodCall&) {
    if (RunPocketPictureMenu() == ui::kRunFailed) throw std::runtime_error("pocket picture menu not created");
}

}  // namespace klt::hostwin
