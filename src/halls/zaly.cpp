#include "halls/zaly.h"

#include <stdexcept>

#include "core/state.h"
#include "halls/hall_editor.h"
#include "halls/monitor.h"
#include "text/literal.h"

namespace klt::halls {

using namespace klt::text::literals;

namespace {

host::Context* Create() {
    return new CZal();
}

}  // namespace

const core::MethodDef CZal::kMethods[] = {
    {"", "Монитор"_cp, 1, 3, core::Body<&CZal::Monitor>},
    {"", "НастройкаЗалов"_cp, 0, 0, core::Body<&CZal::HallSettings>},
};

const host::RuntimeClass kCZalRuntimeClass{"CZal", &Create};
const core::ClassInfo CZal::kInfo{&kCZalRuntimeClass, 5, "KLT Zaly", "Zaly", kMethods, kMethodCount};

CZal::CZal() : ContextClassBase(kInfo) {}

void CZal::Monitor(core::MethodCall& call) {
    HallMonitor monitor(call.Int(0), call.Int(1), call.Int(2));
    if (monitor.Run() == ui::kRunFailed) throw std::runtime_error("monitor window not created");
    call.Return(monitor.result());
}

void CZal::HallSettings(core::MethodCall& call) {
    (void)call;
    if (HallEditor().Run() == ui::kRunFailed) throw std::runtime_error("hall editor window not created");
}

}  // namespace klt::halls
