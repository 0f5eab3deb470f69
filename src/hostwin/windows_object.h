#pragma once
// The "Windows" object of the configuration's 1C code.
#include <array>

#include "core/context_class.h"
#include "platform/platform.h"

namespace klt::hostwin {

extern const host::RuntimeClass kCWin1RuntimeClass;

// The frame window of the document a 1C form value belongs to; 0 when there is none.
platform::WindowHandle FormWindowOf(const host::Value& form);
// Hides the main window, tells the configuration to close its windows, lets the form hook go and
// asks the host to end its work.
void OrderlyShutdown();

class CWin1 : public core::ContextClassBase {
  public:
    static constexpr int kMethodCount = 40;
    static const core::ClassInfo kInfo;

    CWin1();

  private:
    static const core::MethodDef kMethods[kMethodCount];

    void SetDeveloperMode(core::MethodCall& call);
    void TakeOverMainWindow(core::MethodCall& call);
    void MakeBar(core::MethodCall& call);
    void Centre(core::MethodCall& call);
    void SaveHandle(core::MethodCall& call);
    void RestoreHandle(core::MethodCall& call);
    void HideCurrent(core::MethodCall& call);
    void ToggleCurrentFrame(core::MethodCall& call);
    void WatchCurrentWindow(core::MethodCall& call);
    void StretchCurrent(core::MethodCall& call);
    void WaitForFormToClose(core::MethodCall& call);
    void SetFormSize(core::MethodCall& call);
    void EmulateKey(core::MethodCall& call);
    void ShowCurrent(core::MethodCall& call);
    void HideReceipts(core::MethodCall& call);
    void NothingToHide(core::MethodCall& call);
    void SetScreenMode(core::MethodCall& call);
    void ChooseColour(core::MethodCall& call);
    void CheckVersion(core::MethodCall& call);
    void SetHallTableLimit(core::MethodCall& call);
    void SetHallSkipCount(core::MethodCall& call);
    void ShutDownSoon(core::MethodCall& call);
    void PowerOff(core::MethodCall& call);
    void HideSettings(core::MethodCall& call);
    void ShowSettings(core::MethodCall& call);
    void CloseForm(core::MethodCall& call);
    void WaitForFormWindow(core::MethodCall& call);
    void HideForm(core::MethodCall& call);
    void ShowForm(core::MethodCall& call);
    void SetCaptionLine(core::MethodCall& call);
    void FitFormToWorkArea(core::MethodCall& call);
    void RenewPictureMenu(core::MethodCall& call);
    void OpenPocketPictureMenu(core::MethodCall& call);

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
