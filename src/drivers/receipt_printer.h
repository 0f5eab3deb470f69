#pragma once
// What the two receipt printers have in common: a spool file and a port, the formatting commands
// under the same names, and the job methods. Each printer's table takes these rows as they are and
// adds its own.
#include <string>

#include "core/context_class.h"
#include "drivers/printer_commands.h"
#include "drivers/serial_channel.h"
#include "drivers/spool.h"
#include "text/literal.h"

namespace klt::drivers {

class ReceiptPrinter : public core::ContextClassBase {
  public:
    // Bodies of the shared rows.
    void SetPrintMode(core::MethodCall& call);
    void PrintLine(core::MethodCall& call);
    // The command bytes given, then the low byte of the first argument.
    template <char... Prefix>
    void ByteCommand(core::MethodCall& call) {
        Spool().Append(Command({Prefix..., LowByte(call.Int(0))}));
    }
    void ResetPrinter(core::MethodCall& call);
    void CutPaper(core::MethodCall& call);
    void Pulse(core::MethodCall& call);
    void ClosePort(core::MethodCall& call);
    void PrintBarcode(core::MethodCall& call);
    void PlayJob(core::MethodCall& call);
    void MoveJob(core::MethodCall& call);

  protected:
    using ContextClassBase::ContextClassBase;
    virtual PrintSpool& Spool() = 0;
    virtual SerialChannel& Channel() = 0;
    // A CP1251 text in the printer's own code table.
    virtual std::string PrinterText(const std::string& text) const = 0;
};

// Rows both printers' tables carry, by their English names.
namespace printer_rows {
using namespace klt::text::literals;
using core::Body;
using P = ReceiptPrinter;

inline constexpr core::MethodDef kSetFontPrint{"SetFontPrint", "УстановитьФонт"_cp, 0, 5,
                                               Body<&P::SetPrintMode>};
inline constexpr core::MethodDef kPrintString{"PrintString", "ПечатьСтроки"_cp, 0, 2, Body<&P::PrintLine>};
inline constexpr core::MethodDef kSetPolojenie{"SetPolojenie", "УстановитьПоложение"_cp, 0, 1,
                                               Body<&P::ByteCommand<'\x1B', '\x61'>>};
inline constexpr core::MethodDef kSetUnderline{"SetUnderline", "УстановитьПодчеркивание"_cp, 0, 1,
                                               Body<&P::ByteCommand<'\x1B', '\x2D'>>};
// Parameters 2 to 5 are not used.
inline constexpr core::MethodDef kSetRight{"SetRight", "УстановитьИнтервалБуквенный"_cp, 0, 5,
                                           Body<&P::ByteCommand<'\x1B', '\x20'>>};
inline constexpr core::MethodDef kReset{"Reset", "Сброс"_cp, 0, 0, Body<&P::ResetPrinter>};
inline constexpr core::MethodDef kSetSmallest{"SetSmallest", "УстановитьСтрочныйИнтервал"_cp, 0, 1,
                                              Body<&P::ByteCommand<'\x1B', '\x33'>>};
inline constexpr core::MethodDef kSetBold{"SetBold", "УстановитьЖирность"_cp, 0, 1,
                                          Body<&P::ByteCommand<'\x1B', '\x45'>>};
inline constexpr core::MethodDef kSetDouble{"SetDouble", "УстановитьДвойнойШрифт"_cp, 0, 1,
                                            Body<&P::ByteCommand<'\x1B', '\x47'>>};
inline constexpr core::MethodDef kPrintSmallest{"PrintSmallest", "ПечатьПустыеСтроки"_cp, 0, 1,
                                                Body<&P::ByteCommand<'\x1B', '\x64'>>};
inline constexpr core::MethodDef kSetRotatet{"SetRotatet", "УстановитьПоворотТекста"_cp, 0, 1,
                                             Body<&P::ByteCommand<'\x1B', '\x56'>>};
inline constexpr core::MethodDef kCupPaper{"CupPaper", "ПорезатьБумагу"_cp, 0, 0, Body<&P::CutPaper>};
inline constexpr core::MethodDef kPulse{"Pulse", "ВнешнийИмпульс"_cp, 0, 1, Body<&P::Pulse>};
inline constexpr core::MethodDef kSetInvertedPaper{"SetInvertedPaper", "РазвернутьБумагу"_cp, 0, 1,
                                                   Body<&P::ByteCommand<'\x1B', '\x7B'>>};
inline constexpr core::MethodDef kClosePort{"ClosePort", "ЗакрытьПорт"_cp, 0, 0, Body<&P::ClosePort>};
inline constexpr core::MethodDef kSetFontBar{"SetFontBar", "УстановитьШрифтШК"_cp, 0, 1,
                                             Body<&P::ByteCommand<'\x1D', '\x66'>>};
inline constexpr core::MethodDef kSetHeightBar{"SetHeightBar", "УстановитьВысотуШК"_cp, 0, 1,
                                               Body<&P::ByteCommand<'\x1D', '\x68'>>};
inline constexpr core::MethodDef kPrintBar{"PrintBar", "ПечатьШК"_cp, 0, 1, Body<&P::PrintBarcode>};
inline constexpr core::MethodDef kPrintFontBar{"PrintFontBar", "ПечатьШрифтНаШК"_cp, 0, 1,
                                               Body<&P::ByteCommand<'\x1D', '\x48'>>};
inline constexpr core::MethodDef kPrintBuf{"PrintBuf", "ОтработатьБуффер"_cp, 1, 0, Body<&P::PlayJob>};
inline constexpr core::MethodDef kSaveBuf{"SaveBuf", "ЗаписатьБуффер"_cp, 1, 1, Body<&P::MoveJob>};

}  // namespace printer_rows

}  // namespace klt::drivers
