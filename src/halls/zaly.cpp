#include "halls/zaly.h"

#include "core/state.h"
#include "text/literal.h"

namespace klt::halls {

using namespace klt::text::literals;

namespace {

host::Context* Create() {
    return new CZal();
}

}  // namespace

const core::MethodDef CZal::kMethods[] = {
    {"", "Монитор"_cp, 1, 3},
    {"", "НастройкаЗалов"_cp, 0, 0},
};

const host::RuntimeClass kCZalRuntimeClass{"CZal", &Create};
const core::ClassInfo CZal::kInfo{&kCZalRuntimeClass, 5, "KLT Zaly", "Zaly", kMethods, kMethodCount};

CZal::CZal() : ContextClassBase(kInfo) {}

}  // namespace klt::halls
