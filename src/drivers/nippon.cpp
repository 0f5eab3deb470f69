#include "drivers/nippon.h"

#include "core/state.h"
#include "text/literal.h"

namespace klt::drivers {

using namespace klt::text::literals;
using namespace std::string_view_literals;
namespace rows = printer_rows;

namespace {

host::Context* Create() {
    return new CNippon();
}

}  // namespace

NipponShared& SharedNippon() {
    static NipponShared shared;
    return shared;
}

const core::MethodDef CNippon::kMethods[] = {
    {"OpenPort", "ОткрытьПорт"_cp, 1, 5, core::Body<&CNippon::OpenPort>},
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
    rows::kSetFontBar,
    rows::kSetHeightBar,
    rows::kPrintBar,
    rows::kPrintFontBar,
    {"CreatePos", "СоздатьПосылку"_cp, 1, 0, core::Body<&CNippon::StartJob>},
    rows::kPrintBuf,
    rows::kSaveBuf,
};

const host::RuntimeClass kCNipponRuntimeClass{"CNippon", &Create};
const core::ClassInfo CNippon::kInfo{&kCNipponRuntimeClass, 3, "KLT Nippon", "Nippon", kMethods,
                                     kMethodCount};

// The shared port and job belong to every Nippon object of the process: a new object leaves them
// as they are (another object may be half-way through a receipt). Only an idle spool follows the
// current directory.
CNippon::CNippon() : ReceiptPrinter(kInfo) {
    SharedNippon().spool.SetPath(SpoolPathInCurrentDirectory());
}

void CNippon::OpenPort(core::MethodCall& call) {
    platform::LineSettings line;
    const std::int32_t baud = call.Int(2);
    line.baudRate = baud > 0 ? static_cast<std::uint32_t>(baud) : 0;
    line.dataBits = call.Int(3);
    const std::int32_t parity = call.Int(4);
    // Out-of-range codes are refused by the channel; -1 stands for all of them.
    line.parity = static_cast<platform::Parity>(parity >= 0 && parity <= 4 ? parity : -1);
    line.abortOnError = true;
    call.ReturnFlag(SharedNippon().channel.Open(call.Int(0), call.Int(1), line));
}

void CNippon::StartJob(core::MethodCall& call) {
    call.ReturnFlag(SharedNippon().spool.Start({"KLT\x1B\x74\x00"sv}));
}

}  // namespace klt::drivers
