#include "frontdesk/vkusnica.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "core/state.h"
#include "frontdesk/course_choice.h"
#include "frontdesk/keyboard_filters.h"
#include "frontdesk/notices.h"
#include "frontdesk/number_pad.h"
#include "frontdesk/settings.h"
#include "halls/hall_view.h"
#include "halls/zone_change.h"
#include "text/literal.h"

namespace klt::frontdesk {

using namespace klt::text::literals;

namespace {

host::Context* Create() {
    return new CWin();
}

PictureMenuEntries& PictureMenu() {
    static PictureMenuEntries entries;
    return entries;
}

}  // namespace

FrontDeskSettings& Settings() {
    static FrontDeskSettings settings;
    return settings;
}

const core::MethodDef CWin::kMethods[] = {
    {"", "Картинка"_cp, 0, 1, core::Body<&CWin::Picture>},
    {"", "РазрешитьЧитатьКарту"_cp, 0, 0, core::Body<&CWin::EnableCardReader>},
    {"", "ПрокруткаВВерх"_cp, 0, 0, core::Body<&CWin::ScrollForward>},
    {"", "ПрокруткаВниз"_cp, 0, 0, core::Body<&CWin::ScrollBack>},
    {"", "ЗапретитьЧитатьКарту"_cp, 0, 0, core::Body<&CWin::DisableCardReader>},
    {"", "ЗапросЧисла"_cp, 1, 3, core::Body<&CWin::AskNumber>},
    {"", "ВыборКурса"_cp, 1, 0, core::Body<&CWin::ChooseCourse>},
    {"", "ПорядокОтображенияСумм"_cp, 0, 1, core::Body<&CWin::SetSumDisplayMode>},
    {"", "СлушатьПорт"_cp, 0, 1, core::Body<&CWin::SetListenPort>},
    {"", "ЗапомнитьЗалыИСтолики"_cp, 0, 1, core::Body<&CWin::RememberHallsAndTables>},
    {"", "ОткрытьЗал"_cp, 1, 11, core::Body<&CWin::OpenHall>},
    {"", "ВыбратьСтол"_cp, 1, 8, core::Body<&CWin::ChooseTable>},
    {"", "ПослатьВПорт"_cp, 0, 3, core::Body<&CWin::SendToPort>},
    {"", "СпецКлавиатура"_cp, 0, 1, core::Body<&CWin::EnableSpecialKeyboard>},
};

const host::RuntimeClass kCWinRuntimeClass{"CWin", &Create};
const core::ClassInfo CWin::kInfo{&kCWinRuntimeClass, 0,        "Вкусница"_cp.data(),
                                  "Service",          kMethods, kMethodCount};

CWin::CWin() : ContextClassBase(kInfo) {}

void ConnectPictureMenu(const PictureMenuEntries& entries) {
    PictureMenu() = entries;
}

// 0 draws the menu's top level again; any other number is a press on that button.
void CWin::Picture(core::MethodCall& call) {
    if (!PictureMenu().show) throw core::MethodNotAvailable();
    PictureMenu().show(call.Int(0), 0);
}

void CWin::ScrollForward(core::MethodCall&) {
    if (!PictureMenu().forward) throw core::MethodNotAvailable();
    PictureMenu().forward();
}

void CWin::ScrollBack(core::MethodCall&) {
    if (!PictureMenu().back) throw core::MethodNotAvailable();
    PictureMenu().back();
}

void CWin::EnableCardReader(core::MethodCall&) {
    frontdesk::EnableCardReader();
}

void CWin::DisableCardReader(core::MethodCall&) {
    frontdesk::DisableCardReader();
}

void CWin::AskNumber(core::MethodCall& call) {
    const int precision = call.Int(2);
    NumberPad pad(call.Text(0), call.Text(1), precision);
    if (pad.Run() == ui::kRunFailed) throw std::runtime_error("keypad window not created");
    // The cancel marker is the number -1, and so is a confirmed display reading "-1".
    if (pad.result() == kNumberPadCancelled)
        call.Return(-1);
    else
        call.Return(FormatWithPrecision(ParseDouble(pad.result()), precision));
}

void CWin::ChooseCourse(core::MethodCall& call) {
    CourseChoice choice;
    if (choice.Run() == ui::kRunFailed) throw std::runtime_error("course window not created");
    call.Return(choice.course());
}

void CWin::SetSumDisplayMode(core::MethodCall& call) {
    Settings().sumDisplayMode = call.Int(0);
}

void CWin::SetListenPort(core::MethodCall& call) {
    Settings().listenPort = call.Int(0);
}

void CWin::RememberHallsAndTables(core::MethodCall& call) {
    Settings().visibilityList = call.Text(0);
}

// "Зал" and "ИзЗала" are compared byte for byte: "зал" opens a bar counter, as it always has.
void CWin::OpenHall(core::MethodCall& call) {
    const FrontDeskSettings& s = Settings();
    halls::HallViewParams p;
    p.kind = call.Text(0) == "Зал"_cp ? halls::PlanKind::Hall : halls::PlanKind::Bar;
    p.number = call.Int(1);
    p.caption228 = call.Text(2);
    p.rights = call.Text(3);
    p.caption227 = call.Text(4);
    p.caption226 = call.Text(5);
    p.leadMinutes = call.Int(7);
    p.holdMinutes = call.Int(8);
    // Seconds from the configuration; an absurd period is capped rather than wrapped.
    const std::int64_t periodMs = std::int64_t{call.Int(9)} * 1000;
    p.flagPeriodMs = static_cast<int>(std::clamp<std::int64_t>(periodMs, 0, INT32_MAX));
    p.flagFolder = call.Text(10);
    p.listenPort = s.listenPort;
    p.sumDisplayMode = s.sumDisplayMode;
    p.visibilityList = s.visibilityList;
    halls::HallView view(std::move(p), core::State().pocketMode != 0);
    if (view.Run() == ui::kRunFailed) throw std::runtime_error("hall view not created");
    call.Return(view.result());
}

void CWin::ChooseTable(core::MethodCall& call) {
    const halls::PlanKind kind = call.Text(0) == "ИзЗала"_cp ? halls::PlanKind::Hall : halls::PlanKind::Bar;
    const int number = call.Int(1);
    const FrontDeskSettings& s = Settings();
    if (core::State().pocketMode != 0) {
        halls::CompactPlanDisplay display(kind, number, s.sumDisplayMode);
        if (display.Run() == ui::kRunFailed) throw std::runtime_error("plan display not created");
        call.Return(display.result());
        return;
    }
    halls::ZoneChangeParams p;
    p.kind = kind;
    p.number = number;
    p.name = call.Text(2);
    p.rights = call.Text(3);
    p.caption227 = call.Text(4);
    p.caption226 = call.Text(5);
    p.extraTables = call.Text(7);
    p.visibilityList = s.visibilityList;
    p.sumDisplayMode = s.sumDisplayMode;
    halls::ZoneChange window(std::move(p));
    if (window.Run() == ui::kRunFailed) throw std::runtime_error("zone-change window not created");
    call.Return(window.result());
}

// Failures are silent towards the configuration: a lost notice only delays a redraw.
void CWin::SendToPort(core::MethodCall& call) {
    SendNotice(call.Int(0), call.Text(1), call.Int(2));
}

void CWin::EnableSpecialKeyboard(core::MethodCall& call) {
    frontdesk::EnableSpecialKeyboard(call.Text(0));
}

}  // namespace klt::frontdesk
