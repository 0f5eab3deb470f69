#pragma once
// The "Aura" object of the configuration's 1C code.
#include "core/context_class.h"

namespace klt::drivers {

extern const host::RuntimeClass kCAuraRuntimeClass;

class CAura : public core::ContextClassBase {
  public:
    static constexpr int kMethodCount = 30;
    static const core::ClassInfo kInfo;

    CAura();

  protected:
    void RunProcedure(int number, host::Value** args) override;
    void RunFunction(int number, host::Value& result, host::Value** args) override;
};

}  // namespace klt::drivers
