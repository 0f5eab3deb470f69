#include "halls/zaly.h"

#include "core/state.h"
#include "text/literal.h"

namespace klt::halls {

using namespace klt::text::literals;

namespace {

constexpr core::MethodDef kMethods[] = {
    {"", "Монитор"_cp, 1, 3},         // 0
    {"", "НастройкаЗалов"_cp, 0, 0},  // 1
};
static_assert(std::size(kMethods) == CZal::kMethodCount);

host::Context* Create() {
    return new CZal();
}

}  // namespace

const host::RuntimeClass kCZalRuntimeClass{"CZal", &Create};
const core::ClassInfo CZal::kInfo{&kCZalRuntimeClass, 5, "KLT Zaly", "Zaly", kMethods, kMethodCount};

CZal::CZal() : ContextClassBase(kInfo) {}

void CZal::RunProcedure(int number, host::Value** args) {
    (void)args;
    switch (number) {
        default:
            throw core::MethodNotAvailable();
    }
}

void CZal::RunFunction(int number, host::Value& result, host::Value** args) {
    (void)result;
    (void)args;
    switch (number) {
        default:
            throw core::MethodNotAvailable();
    }
}

}  // namespace klt::halls
