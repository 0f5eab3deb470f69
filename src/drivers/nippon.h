#pragma once
// The "Nippon" object of the configuration's 1C code.
#include "core/context_class.h"

namespace klt::drivers {

extern const host::RuntimeClass kCNipponRuntimeClass;

class CNippon : public core::ContextClassBase {
  public:
    static constexpr int kMethodCount = 23;
    static const core::ClassInfo kInfo;

    CNippon();

  protected:
    void RunProcedure(int number, host::Value** args) override;
    void RunFunction(int number, host::Value& result, host::Value** args) override;
};

}  // namespace klt::drivers
