#pragma once
// The "Vkusnica" object of the configuration's 1C code.
#include "core/context_class.h"

namespace klt::frontdesk {

extern const host::RuntimeClass kCWinRuntimeClass;

// The picture menu of goods, which lives with the window management above the front desk: the
// composition root connects it. Until then its three methods report that they are not available.
struct PictureMenuEntries {
    void (*show)(int button, int redraw) = nullptr;
    void (*forward)() = nullptr;
    void (*back)() = nullptr;
};
void ConnectPictureMenu(const PictureMenuEntries& entries);

class CWin : public core::ContextClassBase {
  public:
    static constexpr int kMethodCount = 14;
    static const core::ClassInfo kInfo;

    CWin();

  private:
    static const core::MethodDef kMethods[kMethodCount];

    void Picture(core::MethodCall& call);
    void ScrollForward(core::MethodCall& call);
    void ScrollBack(core::MethodCall& call);
    void EnableCardReader(core::MethodCall& call);
    void DisableCardReader(core::MethodCall& call);
    void AskNumber(core::MethodCall& call);
    void ChooseCourse(core::MethodCall& call);
    void SetSumDisplayMode(core::MethodCall& call);
    void SetListenPort(core::MethodCall& call);
    void RememberHallsAndTables(core::MethodCall& call);
    void OpenHall(core::MethodCall& call);
    void ChooseTable(core::MethodCall& call);
    void SendToPort(core::MethodCall& call);
    void EnableSpecialKeyboard(core::MethodCall& call);
};

}  // namespace klt::frontdesk
