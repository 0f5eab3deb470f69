#include "drivers/receipt_printer.h"

namespace klt::drivers {

void ReceiptPrinter::SetPrintMode(core::MethodCall& call) {
    auto flag = [&](int i) { return call.Int(i) != 0; };
    Spool().Append(PrintModeCommand(flag(0), flag(1), flag(2), flag(3), flag(4)));
}

// The whole text, however long: the printer wraps it.
void ReceiptPrinter::PrintLine(core::MethodCall& call) {
    if (Spool().JobOpen()) Spool().Append(LineCommand(PrinterText(call.Text(0)), call.Int(1) != 0));
}

void ReceiptPrinter::ResetPrinter(core::MethodCall&) {
    Spool().Append(Command({'\x10', '\x18'}));
}

void ReceiptPrinter::CutPaper(core::MethodCall&) {
    Spool().Append(Command({'\x1B', '\x69'}));
}

void ReceiptPrinter::Pulse(core::MethodCall& call) {
    Spool().Append(Command({'\x1B', '\x70', '\x00', LowByte(call.Int(0)), '\xFF'}));
}

void ReceiptPrinter::ClosePort(core::MethodCall&) {
    Channel().Close();
}

void ReceiptPrinter::PrintBarcode(core::MethodCall& call) {
    if (Spool().JobOpen()) Spool().Append(BarcodeCommand(call.Text(0)));
}

void ReceiptPrinter::PlayJob(core::MethodCall& call) {
    call.ReturnFlag(Spool().Play(Channel()));
}

void ReceiptPrinter::MoveJob(core::MethodCall& call) {
    call.ReturnFlag(Spool().MoveTo(call.Text(0)));
}

}  // namespace klt::drivers
