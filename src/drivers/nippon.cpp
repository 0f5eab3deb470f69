#include "drivers/nippon.h"

#include "core/state.h"
#include "drivers/printer_commands.h"
#include "text/literal.h"

namespace klt::drivers {

using namespace klt::text::literals;
using namespace std::string_view_literals;

namespace {

constexpr core::MethodDef kMethods[] = {
    {"OpenPort", "ОткрытьПорт"_cp, 1, 5},                    // 0
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
    {"SetFontBar", "УстановитьШрифтШК"_cp, 0, 1},            // 16
    {"SetHeightBar", "УстановитьВысотуШК"_cp, 0, 1},         // 17
    {"PrintBar", "ПечатьШК"_cp, 0, 1},                       // 18
    {"PrintFontBar", "ПечатьШрифтНаШК"_cp, 0, 1},            // 19
    {"CreatePos", "СоздатьПосылку"_cp, 1, 0},                // 20
    {"PrintBuf", "ОтработатьБуффер"_cp, 1, 0},               // 21
    {"SaveBuf", "ЗаписатьБуффер"_cp, 1, 1},                  // 22
};
static_assert(std::size(kMethods) == CNippon::kMethodCount);

host::Context* Create() {
    return new CNippon();
}

}  // namespace

NipponShared& SharedNippon() {
    static NipponShared shared;
    return shared;
}

const host::RuntimeClass kCNipponRuntimeClass{"CNippon", &Create};
const core::ClassInfo CNippon::kInfo{&kCNipponRuntimeClass, 3, "KLT Nippon", "Nippon", kMethods,
                                     kMethodCount};

// The shared port and job belong to every Nippon object of the process: a new object leaves them
// as they are (another object may be half-way through a receipt). Only an idle spool follows the
// current directory.
CNippon::CNippon() : ContextClassBase(kInfo) {
    SharedNippon().spool.SetPath(SpoolPathInCurrentDirectory());
}

void CNippon::RunProcedure(int number, host::Value** args) {
    NipponShared& shared = SharedNippon();
    PrintSpool& spool = shared.spool;
    auto n = [&] { return LowByte(IntArg(args, 0)); };
    if (std::optional<std::string> bytes = SharedFormattingCommand(number, args)) {
        spool.Append(*bytes);
        return;
    }
    switch (number) {
        case 2:
            // The printer takes the Windows code page as it is; the whole text, however long.
            if (spool.JobOpen()) spool.Append(LineCommand(TextArg(args, 0), IntArg(args, 1) != 0));
            break;
        case 15:
            shared.channel.Close();
            break;
        case 16:
            spool.Append(Command({'\x1D', '\x66', n()}));
            break;
        case 17:
            spool.Append(Command({'\x1D', '\x68', n()}));
            break;
        case 18:
            if (spool.JobOpen()) spool.Append(BarcodeCommand(TextArg(args, 0)));
            break;
        case 19:
            spool.Append(Command({'\x1D', '\x48', n()}));
            break;
        default:
            throw core::MethodNotAvailable();
    }
}

void CNippon::RunFunction(int number, host::Value& result, host::Value** args) {
    NipponShared& shared = SharedNippon();
    switch (number) {
        case 0: {
            platform::LineSettings line;
            const std::int32_t baud = IntArg(args, 2);
            line.baudRate = baud > 0 ? static_cast<std::uint32_t>(baud) : 0;
            line.dataBits = IntArg(args, 3);
            const std::int32_t parity = IntArg(args, 4);
            // Out-of-range codes are refused by the channel; -1 stands for all of them.
            line.parity = static_cast<platform::Parity>(parity >= 0 && parity <= 4 ? parity : -1);
            line.abortOnError = true;
            result.AssignInt(shared.channel.Open(IntArg(args, 0), IntArg(args, 1), line) ? 1 : 0);
            break;
        }
        case 20:
            result.AssignInt(shared.spool.Start({"KLT\x1B\x74\x00"sv}) ? 1 : 0);
            break;
        case 21:
            result.AssignInt(shared.spool.Play(shared.channel) ? 1 : 0);
            break;
        case 22:
            result.AssignInt(shared.spool.MoveTo(TextArg(args, 0)) ? 1 : 0);
            break;
        default:
            throw core::MethodNotAvailable();
    }
}

}  // namespace klt::drivers
