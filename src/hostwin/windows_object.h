#pragma once
// The "Windows" object of the configuration's 1C code.
#include <array>

#include "core/context_class.h"
#include "platform/platform.h"

namespace klt::hostwin {

extern const host::RuntimeClass kCWin1RuntimeClass;

class CWin1 : public core::ContextClassBase {
  public:
    static constexpr int kMethodCount = 40;
    static const core::ClassInfo kInfo;

    CWin1();

  protected:
    void RunProcedure(int number, host::Value** args) override;
    void RunFunction(int number, host::Value& result, host::Value** args) override;

  private:
    std::array<platform::WindowHandle, 10> savedWindows_{};
};

}  // namespace klt::hostwin
