#include "drivers/aura.h"

#include "core/state.h"
#include "drivers/printer_commands.h"
#include "platform/platform.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace klt::drivers {

using namespace klt::text::literals;
using namespace std::string_view_literals;

namespace {

constexpr core::MethodDef kMethods[] = {
    {"OpenPort", "ОткрытьПорт"_cp, 1, 3},                    // 0
    {"SetFontPrint", "УстановитьФонт"_cp, 0, 5},             // 1
    {"PrintString", "ПечатьСтроки"_cp, 0, 2},                // 2
    {"SetPolojenie", "УстановитьПоложение"_cp, 0, 1},        // 3
    {"SetUnderline", "УстановитьПодчеркивание"_cp, 0, 1},    // 4
    {"SetRight", "УстановитьИнтервалБуквенный"_cp, 0, 5},    // 5
    {"Reset", "Сброс"_cp, 0, 0},                             // 6
    {"SetSmallest", "УстановитьСтрочныйИнтервал"_cp, 0, 1},  // 7
    {"SetBold", "УстановитьЖирность"_cp, 0, 1},              // 8
    {"SetDouble", "УстановитьДвойнойШрифт"_cp, 0, 1},        // 9
    {"PrintSmallest", "ПечатьПустыеСтроки"_cp, 0, 1},        // 10
    {"SetRotatet", "УстановитьПоворотТекста"_cp, 0, 1},      // 11
    {"CupPaper", "ПорезатьБумагу"_cp, 0, 0},                 // 12
    {"Pulse", "ВнешнийИмпульс"_cp, 0, 1},                    // 13
    {"SetInvertedPaper", "РазвернутьБумагу"_cp, 0, 1},       // 14
    {"ClosePort", "ЗакрытьПорт"_cp, 0, 0},                   // 15
    {"SetBit", "УстановкаКартинки"_cp, 0, 0},                // 16
    {"SetInverse", "УстановитьИнверсию"_cp, 0, 1},           // 17
    {"PrintBitmap", "ВывестиКартинку"_cp, 0, 0},             // 18
    {"Call", "Звонок"_cp, 0, 1},                             // 19
    {"SizeFont", "РазмерШрифта"_cp, 0, 1},                   // 20
    {"SetFont", "УстановитьШрифт"_cp, 0, 1},                 // 21
    {"SetFontBar", "УстановитьШрифтШК"_cp, 0, 1},            // 22
    {"SetHeightBar", "УстановитьВысотуШК"_cp, 0, 1},         // 23
    {"SetWidthBar", "УстановитьШиринуШК"_cp, 0, 1},          // 24
    {"PrintBar", "ПечатьШК"_cp, 0, 1},                       // 25
    {"PrintFontBar", "ПечатьШрифтНаШК"_cp, 0, 1},            // 26
    {"CreatePos", "СоздатьПосылку"_cp, 1, 0},                // 27
    {"PrintBuf", "ОтработатьБуффер"_cp, 1, 0},               // 28
    {"SaveBuf", "ЗаписатьБуффер"_cp, 1, 1},                  // 29
};
static_assert(std::size(kMethods) == CAura::kMethodCount);

host::Context* Create() {
    return new CAura();
}

}  // namespace

const host::RuntimeClass kCAuraRuntimeClass{"CAura", &Create};
const core::ClassInfo CAura::kInfo{&kCAuraRuntimeClass, 2, "KLT Aura", "Aura", kMethods, kMethodCount};

CAura::CAura() : ContextClassBase(kInfo), spool_(SpoolPathInCurrentDirectory()) {}

CAura::~CAura() = default;

void CAura::RunProcedure(int number, host::Value** args) {
    auto n = [&] { return LowByte(IntArg(args, 0)); };
    if (std::optional<std::string> bytes = SharedFormattingCommand(number, args)) {
        spool_.Append(*bytes);
        return;
    }
    switch (number) {
        case 2:
            // The whole text, however long: the printer wraps it.
            if (spool_.JobOpen())
                spool_.Append(LineCommand(text::Cp1251ToCp866(TextArg(args, 0)), IntArg(args, 1) != 0));
            break;
        case 15:
            channel_.Close();
            break;
        case 16:
            break;  // "SetBit": the printers take no picture set-up
        case 17:
            spool_.Append(Command({'\x1D', '\x42', n()}));
            break;
        case 18:
            spool_.Append(Command({'\x1C', '\x70', '\x01', '\x00'}));
            break;
        case 19:
            spool_.Append(Command({'\x1D', '\x6F', n(), '\x1B', '\x6F'}));
            break;
        case 20:
            spool_.Append(Command({'\x1D', '\x21', n()}));
            break;
        case 21:
            spool_.Append(Command({'\x1B', '\x4D', n()}));
            break;
        case 22:
            spool_.Append(Command({'\x1D', '\x66', n()}));
            break;
        case 23:
            spool_.Append(Command({'\x1D', '\x68', n()}));
            break;
        case 24:
            spool_.Append(Command({'\x1D', '\x77', n()}));
            break;
        case 25:
            if (spool_.JobOpen()) spool_.Append(BarcodeCommand(TextArg(args, 0)));
            break;
        case 26:
            spool_.Append(Command({'\x1D', '\x48', n()}));
            break;
        default:
            throw core::MethodNotAvailable();
    }
}

void CAura::RunFunction(int number, host::Value& result, host::Value** args) {
    switch (number) {
        case 0: {
            platform::LineSettings line;
            const std::int32_t baud = IntArg(args, 2);
            line.baudRate = baud > 0 ? static_cast<std::uint32_t>(baud) : 0;
            line.dataBits = 8;
            line.parity = platform::Parity::None;
            line.abortOnError = true;
            SerialChannel::Failure why{};
            const bool open = channel_.Open(IntArg(args, 0), IntArg(args, 1), line, &why);
            // Only a device that cannot be opened is worth telling the cashier about.
            if (why == SerialChannel::Failure::NoDevice)
                platform::Get().desktop->MessageBox(std::string("Ошибка"_cp), kMessageCaption, 0);
            result.AssignInt(open ? 1 : 0);
            break;
        }
        case 27:
            // Marker and the first seven header bytes, then the code table: 1B 40, 1B 52 00,
            // 1B 53, 1B 74 11.
            result.AssignInt(spool_.Start({"KLT\x1B\x40\x1B\x52\x00\x1B\x53"sv, "\x1B\x74\x11"sv}) ? 1 : 0);
            break;
        case 28:
            result.AssignInt(spool_.Play(channel_) ? 1 : 0);
            break;
        case 29:
            result.AssignInt(spool_.MoveTo(TextArg(args, 0)) ? 1 : 0);
            break;
        default:
            throw core::MethodNotAvailable();
    }
}

}  // namespace klt::drivers
