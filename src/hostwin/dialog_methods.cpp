// The methods of the "Windows" object that open the front-office windows: each window is made for
// the call, run modally without an owner, and its outcome becomes the method's result.
#include "hostwin/dialogs.h"
#include "hostwin/windows_object.h"

namespace klt::hostwin {

void CWin1::ChooseComputer(core::MethodCall& call) {
    call.Return(ComputerChoiceDialog().Run());
}

void CWin1::ChooseUser(core::MethodCall& call) {
    call.Return(UserChoiceDialog().Run());
}

// Mode 1 is paid by card without asking.
void CWin1::ChoosePaymentType(core::MethodCall& call) {
    if (call.Int(0) == 1) {
        call.Return(1);
        return;
    }
    call.Return(PaymentTypeDialog().Run());
}

void CWin1::ShowMessage(core::MethodCall& call) {
    MessageDialog(call.Text(0)).Run();
}

void CWin1::AskPassword(core::MethodCall& call) {
    call.Return(PasswordDialog(true).Run());
}

void CWin1::AskQuestion(core::MethodCall& call) {
    call.Return(QuestionDialog(call.Text(0)).Run());
}

}  // namespace klt::hostwin
