#pragma once
// The "Vkusnica" object of the configuration's 1C code.
#include "core/context_class.h"

namespace klt::frontdesk {

extern const host::RuntimeClass kCWinRuntimeClass;

class CWin : public core::ContextClassBase {
  public:
    static constexpr int kMethodCount = 14;
    static const core::ClassInfo kInfo;

    CWin();

  protected:
    void RunProcedure(int number, host::Value** args) override;
    void RunFunction(int number, host::Value& result, host::Value** args) override;
};

}  // namespace klt::frontdesk
