#pragma once
// The "Zaly" object of the configuration's 1C code.
#include "core/context_class.h"

namespace klt::halls {

extern const host::RuntimeClass kCZalRuntimeClass;

class CZal : public core::ContextClassBase {
  public:
    static constexpr int kMethodCount = 2;
    static const core::ClassInfo kInfo;

    CZal();

  private:
    // "Монитор"(port, whole-number sums, first tab): the monitor's result text.
    void Monitor(core::MethodCall& call);
    // "НастройкаЗалов": the hall editor, modally.
    void HallSettings(core::MethodCall& call);

    static const core::MethodDef kMethods[kMethodCount];
};

}  // namespace klt::halls
