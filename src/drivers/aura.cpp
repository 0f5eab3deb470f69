#include "drivers/aura.h"

#include "core/state.h"
#include "platform/platform.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace klt::drivers {

using namespace klt::text::literals;
using namespace std::string_view_literals;
namespace rows = printer_rows;

namespace {

host::Context* Create() {
    return new CAura();
}

}  // namespace

const core::MethodDef CAura::kMethods[] = {
    {"OpenPort", "ОткрытьПорт"_cp, 1, 3, core::Body<&CAura::OpenPort>},
    rows::kSetFontPrint,
    rows::kPrintString,
    rows::kSetPolojenie,
    rows::kSetUnderline,
    rows::kSetRight,
    rows::kReset,
    rows::kSetSmallest,
    rows::kSetBold,
    rows::kSetDouble,
    rows::kPrintSmallest,
    rows::kSetRotatet,
    rows::kCupPaper,
    rows::kPulse,
    rows::kSetInvertedPaper,
    rows::kClosePort,
    {"SetBit", "УстановкаКартинки"_cp, 0, 0, core::Body<&CAura::Ignore>},
    {"SetInverse", "УстановитьИнверсию"_cp, 0, 1, core::Body<&CAura::ByteCommand<'\x1D', '\x42'>>},
    {"PrintBitmap", "ВывестиКартинку"_cp, 0, 0, core::Body<&CAura::PrintPicture>},
    {"Call", "Звонок"_cp, 0, 1, core::Body<&CAura::Bell>},
    {"SizeFont", "РазмерШрифта"_cp, 0, 1, core::Body<&CAura::ByteCommand<'\x1D', '\x21'>>},
    {"SetFont", "УстановитьШрифт"_cp, 0, 1, core::Body<&CAura::ByteCommand<'\x1B', '\x4D'>>},
    rows::kSetFontBar,
    rows::kSetHeightBar,
    {"SetWidthBar", "УстановитьШиринуШК"_cp, 0, 1, core::Body<&CAura::ByteCommand<'\x1D', '\x77'>>},
    rows::kPrintBar,
    rows::kPrintFontBar,
    {"CreatePos", "СоздатьПосылку"_cp, 1, 0, core::Body<&CAura::StartJob>},
    rows::kPrintBuf,
    rows::kSaveBuf,
};

const host::RuntimeClass kCAuraRuntimeClass{"CAura", &Create};
const core::ClassInfo CAura::kInfo{&kCAuraRuntimeClass, 2, "KLT Aura", "Aura", kMethods, kMethodCount};

CAura::CAura() : ReceiptPrinter(kInfo), spool_(SpoolPathInCurrentDirectory()) {}

CAura::~CAura() = default;

std::string CAura::PrinterText(const std::string& text) const {
    return text::Cp1251ToCp866(text);
}

void CAura::OpenPort(core::MethodCall& call) {
    platform::LineSettings line;
    const std::int32_t baud = call.Int(2);
    line.baudRate = baud > 0 ? static_cast<std::uint32_t>(baud) : 0;
    line.dataBits = 8;
    line.parity = platform::Parity::None;
    line.abortOnError = true;
    SerialChannel::Failure why{};
    const bool open = channel_.Open(call.Int(0), call.Int(1), line, &why);
    // Only a device that cannot be opened is worth telling the cashier about.
    if (why == SerialChannel::Failure::NoDevice)
        platform::Get().desktop->MessageBox(std::string("Ошибка"_cp), kMessageCaption, 0);
    call.ReturnFlag(open);
}

// "SetBit": the printers take no picture set-up.
void CAura::Ignore(core::MethodCall&) {}

void CAura::PrintPicture(core::MethodCall&) {
    spool_.Append(Command({'\x1C', '\x70', '\x01', '\x00'}));
}

void CAura::Bell(core::MethodCall& call) {
    spool_.Append(Command({'\x1D', '\x6F', LowByte(call.Int(0)), '\x1B', '\x6F'}));
}

// Marker and the first seven header bytes, then the code table: 1B 40, 1B 52 00, 1B 53, 1B 74 11.
void CAura::StartJob(core::MethodCall& call) {
    call.ReturnFlag(spool_.Start({"KLT\x1B\x40\x1B\x52\x00\x1B\x53"sv, "\x1B\x74\x11"sv}));
}

}  // namespace klt::drivers
