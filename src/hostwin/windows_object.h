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

  private:
    static const core::MethodDef kMethods[kMethodCount];

    void SetDeveloperMode(core::MethodCall& call);
    void SaveHandle(core::MethodCall& call);
    void RestoreHandle(core::MethodCall& call);
    void WatchCurrentWindow(core::MethodCall& call);
    void WaitForFormToClose(core::MethodCall& call);
    void NothingToHide(core::MethodCall& call);
    void SetScreenMode(core::MethodCall& call);
    void SetHallTableLimit(core::MethodCall& call);
    void SetHallSkipCount(core::MethodCall& call);
    void SetCaptionLine(core::MethodCall& call);

    // The front-office windows (dialog_methods.cpp).
    void ChooseComputer(core::MethodCall& call);
    void ChooseUser(core::MethodCall& call);
    void ChoosePaymentType(core::MethodCall& call);
    void ShowMessage(core::MethodCall& call);
    void AskPassword(core::MethodCall& call);
    void AskQuestion(core::MethodCall& call);

    std::array<platform::WindowHandle, 10> savedWindows_{};
};

}  // namespace klt::hostwin
