// The receipt printers "Aura" and "Nippon": the bytes each method puts into the spool file, how a
// job is played to the port or moved away, and what happens when either goes wrong. The port is a
// recording stand-in here; the pseudo-terminal suite plays whole receipts on a real line.
#include <optional>

#include "drivers/spool.h"
#include "drivers_support.h"
#include "platform/files.h"

namespace klt::test {
namespace {

namespace fs = std::filesystem;

const std::string kNoMethod = "<no such method>";

class DriversPrinters : public DriversFixture {
  protected:
    RecordingPorts ports_;
};

// One row per method and case: the bytes Aura appends to its job, and Nippon's when they differ.
struct CommandCase {
    const char* method;
    std::vector<host::Value> args;
    std::string aura;
    std::optional<std::string> nippon = std::nullopt;
};

TEST_F(DriversPrinters, EachCommandAppendsItsBytesToTheJob) {
    using V = host::Value;
    const std::string longText(300, 'x');
    const CommandCase cases[] = {
        {"SetFontPrint", {V(0), V(1), V(1), V(0), V(0)}, Bytes({0x1B, 0x21, 0x30})},
        {"SetFontPrint", {V(7), V(0), V(0), V(-1), V(1)}, Bytes({0x1B, 0x21, 0x89})},
        {"PrintString",
         {V(Cp("Чек №5"_cp)), V(1)},
         Bytes({0x97, 0xA5, 0xAA, 0x20, 0xFC, 0x35, 0x0A}),
         Cp("Чек №5\n"_cp)},
        {"PrintString", {V(longText + Cp("Ж"_cp)), V(1)}, longText + "\x86\n", longText + "\xC6\n"},
        {"PrintString", {V(std::string("ab\0cd", 5)), V(0)}, "ab"},
        {"SetPolojenie", {V(1)}, Bytes({0x1B, 0x61, 1})},
        {"SetUnderline", {V(2)}, Bytes({0x1B, 0x2D, 2})},
        {"SetRight", {V(3), V(9), V(9), V(9), V(9)}, Bytes({0x1B, 0x20, 3})},
        {"Reset", {}, Bytes({0x10, 0x18})},
        {"SetSmallest", {V(24)}, Bytes({0x1B, 0x33, 24})},
        {"SetBold", {V(300)}, Bytes({0x1B, 0x45, 0x2C})},
        {"SetDouble", {V(1)}, Bytes({0x1B, 0x47, 1})},
        {"PrintSmallest", {V(4)}, Bytes({0x1B, 0x64, 4})},
        {"SetRotatet", {V(1)}, Bytes({0x1B, 0x56, 1})},
        {"CupPaper", {}, Bytes({0x1B, 0x69})},
        {"Pulse", {V(50)}, Bytes({0x1B, 0x70, 0x00, 50, 0xFF})},
        {"SetInvertedPaper", {V(-1)}, Bytes({0x1B, 0x7B, 0xFF})},
        {"SetFontBar", {V(0)}, Bytes({0x1D, 0x66, 0})},
        {"SetHeightBar", {V(80)}, Bytes({0x1D, 0x68, 80})},
        {"PrintFontBar", {V(2)}, Bytes({0x1D, 0x48, 2})},
        {"PrintBar", {V(std::string("4600000000017"))}, Bytes({0x1D, 0x6B, 2}) + "4600000000017" + '\0'},
        {"PrintBar", {V(46000017)}, Bytes({0x1D, 0x6B, 3}) + "46000017" + '\0'},
        {"PrintBar", {V(std::string("012345678905"))}, Bytes({0x1D, 0x6B, 0}) + "012345678905" + '\0'},
        {"PrintBar", {V(std::string("stol-5"))}, Bytes({0x1D, 0x6B, 4}) + "STOL-5" + '\0'},
        {"PrintBar", {V(Cp("Стол 5"_cp))}, ""},  // not a barcode character: nothing
        {"PrintBar", {V(std::string())}, ""},
        {"PrintBar", {}, ""},
        {"SetBit", {}, "", kNoMethod},
        {"SetInverse", {V(1)}, Bytes({0x1D, 0x42, 1}), kNoMethod},
        {"PrintBitmap", {}, Bytes({0x1C, 0x70, 0x01, 0x00}), kNoMethod},
        {"Call", {V(3)}, Bytes({0x1D, 0x6F, 3, 0x1B, 0x6F}), kNoMethod},
        {"SizeFont", {V(0x11)}, Bytes({0x1D, 0x21, 0x11}), kNoMethod},
        {"SetFont", {V(1)}, Bytes({0x1B, 0x4D, 1}), kNoMethod},
        {"SetWidthBar", {V(3)}, Bytes({0x1D, 0x77, 3}), kNoMethod},
    };
    for (const auto& [type, header] : {std::pair{"Aura", kAuraHeader}, std::pair{"Nippon", kNipponHeader}}) {
        SCOPED_TRACE(type);
        const bool aura = std::string(type) == "Aura";
        host::Context& printer = Make(type);
        ASSERT_EQ(Answer(printer, "CreatePos"), 1);
        EXPECT_EQ(SpoolFile(), "KLT" + header);
        for (const CommandCase& c : cases) {
            const std::string expected = aura ? c.aura : c.nippon.value_or(c.aura);
            const std::string before = SpoolFile();
            if (expected == kNoMethod) {
                EXPECT_FALSE(Call(printer, c.method, c.args)) << c.method;
                EXPECT_EQ(host().TakeErrors().size(), 1u) << c.method;
            } else {
                EXPECT_TRUE(Call(printer, c.method, c.args)) << c.method;
                EXPECT_EQ(SpoolFile().substr(before.size()), expected) << c.method;
            }
        }
        EXPECT_TRUE(host().Errors().empty());
        objects_.clear();  // Aura's job closes with the object, so the next one can start
    }
    EXPECT_TRUE(ports_.writes.empty()) << "nothing goes to the port before the job is played";
}

TEST_F(DriversPrinters, CommandsWithoutAJobAreNotWritten) {
    host::Context& a = Make("Aura");
    ASSERT_TRUE(Call(a, "PrintString", {T("lost"), N(1)}));
    ASSERT_TRUE(Call(a, "CupPaper"));
    ASSERT_TRUE(Call(a, "PrintBar", {T("123")}));
    EXPECT_FALSE(SpoolExists());
    EXPECT_TRUE(host().Errors().empty());
}

TEST_F(DriversPrinters, EachModelOpensItsPortWithItsLineSettingsOnce) {
    struct Case {
        const char* type;
        std::vector<host::Value> args;
        std::uint32_t baud;
        int dataBits;
        platform::Parity parity;
    };
    const Case cases[] = {
        {"Aura", {N(3), N(100), N(19200)}, 19200, 8, platform::Parity::None},
        {"Nippon", {N(3), N(100), N(38400), N(7), N(2)}, 38400, 7, platform::Parity::Even},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        ports_.requests.clear();
        host::Context& p = Make(c.type);
        EXPECT_EQ(Answer(p, "ОткрытьПорт"_cp, c.args), 1);
        ASSERT_EQ(ports_.requests.size(), 1u);
        const RecordingPorts::Request& r = ports_.requests[0];
        EXPECT_EQ(r.number, 3);
        EXPECT_EQ(r.timeoutMs, 100u);
        EXPECT_EQ(r.settings.baudRate, c.baud);
        EXPECT_EQ(r.settings.dataBits, c.dataBits);
        EXPECT_EQ(r.settings.parity, c.parity);
        EXPECT_TRUE(r.settings.abortOnError);
        EXPECT_EQ(r.settings.stallLimitMs, platform::kWriteStallLimitMs);
        std::vector<host::Value> other = c.args;
        other[0] = N(4);
        EXPECT_EQ(Answer(p, "OpenPort", other), 1) << "an open port answers 1";
        EXPECT_EQ(ports_.requests.size(), 1u) << "and keeps the first port";
        ASSERT_TRUE(Call(p, "ClosePort"));
        EXPECT_EQ(ports_.openPorts, 0);
        ASSERT_TRUE(Call(p, "ClosePort")) << "closing a closed port does nothing";
    }
    host::Context& a = Make("Aura");
    EXPECT_EQ(Answer(a, "OpenPort", {N(4), N(5), N(9600)}), 1);
    objects_.clear();
    EXPECT_EQ(ports_.openPorts, 0) << "a dropped Aura leaves no port held";
    EXPECT_TRUE(platform_.desktop.MessageBoxes().empty());
}

TEST_F(DriversPrinters, OnlyAurasMissingDeviceIsReportedToTheCashier) {
    host::Context& a = Make("Aura");
    host::Context& n = Make("Nippon");
    ports_.missing = {2};
    ports_.refusing = {6};
    EXPECT_EQ(Answer(a, "OpenPort", {N(2), N(100), N(9600)}), 0);
    EXPECT_EQ(Answer(a, "OpenPort", {N(2), N(100), N(9600)}), 0);
    ASSERT_EQ(platform_.desktop.MessageBoxes().size(), 2u) << "one message per attempt";
    EXPECT_EQ(platform_.desktop.MessageBoxes()[0].text, Cp("Ошибка"_cp));
    EXPECT_EQ(platform_.desktop.MessageBoxes()[0].flags, 0u) << "OK button, no icon";
    EXPECT_EQ(Answer(a, "OpenPort", {N(6), N(100), N(9600)}), 0) << "refused settings show nothing";
    EXPECT_EQ(Answer(n, "OpenPort", {N(2), N(100), N(9600), N(8), N(0)}), 0) << "Nippon shows nothing";
    EXPECT_EQ(ports_.requests.size(), 4u);

    // Out-of-range parameters are refused before any device is touched, silently.
    const std::pair<host::Context*, std::vector<host::Value>> refused[] = {
        {&a, {N(0), N(100), N(9600)}},
        {&a, {N(-1), N(100), N(9600)}},
        {&a, {N(100000), N(100), N(9600)}},
        {&a, {N(1), N(-5), N(9600)}},
        {&a, {N(1), N(100), N(0)}},
        {&a, {N(1), N(100), N(-9600)}},
        {&a, {}},
        {&n, {N(1), N(100), N(9600), N(8), N(5)}},
        {&n, {N(1), N(100), N(9600), N(8), N(-1)}},
        {&n, {N(1), N(100), N(9600), N(9), N(0)}},
        {&n, {N(1), N(100), N(9600), N(4), N(0)}},
        {&n, {N(1), N(100), N(9600)}},
    };
    for (const auto& [printer, args] : refused) EXPECT_EQ(Answer(*printer, "OpenPort", args), 0);
    EXPECT_EQ(ports_.requests.size(), 4u);
    EXPECT_EQ(platform_.desktop.MessageBoxes().size(), 2u);
    EXPECT_EQ(ports_.openPorts, 0);
}

TEST_F(DriversPrinters, NipponObjectsShareOnePortAndOneJob) {
    host::Context& first = Make("Nippon");
    ASSERT_EQ(Answer(first, "OpenPort", {N(2), N(150), N(9600), N(8), N(0)}), 1);
    ASSERT_EQ(Answer(first, "CreatePos"), 1);
    ASSERT_TRUE(Call(first, "PrintString", {T("1"), N(0)}));
    // A new object leaves the open port and the open job alone.
    host::Context& second = Make("Nippon");
    ASSERT_TRUE(Call(second, "PrintString", {T("2"), N(0)}));
    EXPECT_EQ(Answer(second, "OpenPort", {N(9), N(150), N(9600), N(8), N(0)}), 1);
    EXPECT_EQ(ports_.requests.size(), 1u) << "the shared port is open already";
    EXPECT_EQ(Answer(second, "CreatePos"), 0) << "the shared job is open";
    EXPECT_EQ(Answer(second, "PrintBuf"), 1);
    EXPECT_EQ(ports_.Received(), kNipponHeader + "12");
    ASSERT_TRUE(Call(first, "ClosePort"));
    EXPECT_EQ(ports_.openPorts, 0) << "no handle is left behind";
}

TEST_F(DriversPrinters, PlayingSendsTheJobAfterItsMarkerOneByteAWriteOrKeepsItWhole) {
    host::Context& a = Make("Aura");
    ASSERT_EQ(Answer(a, "CreatePos"), 1);
    ASSERT_TRUE(Call(a, "PrintString", {T("Итого"_cp), N(1)}));
    const std::string file = SpoolFile();
    EXPECT_EQ(file, "KLT" + kAuraHeader + Bytes({0x88, 0xE2, 0xAE, 0xA3, 0xAE, 0x0A}));
    EXPECT_EQ(Answer(a, "PrintBuf"), 0) << "closed port";
    EXPECT_EQ(SpoolFile(), file);

    ASSERT_EQ(Answer(a, "OpenPort", {N(1), N(100), N(9600)}), 1);
    ports_.writesBeforeFailure = 4;
    EXPECT_EQ(Answer(a, "PrintBuf"), 0) << "a write failed half-way";
    EXPECT_EQ(SpoolFile(), file);

    ports_.writesBeforeFailure = -1;
    ports_.writes.clear();
    EXPECT_EQ(Answer(a, "PrintBuf"), 1);
    EXPECT_EQ(ports_.Received(), file.substr(3)) << "the kept job is played whole";
    EXPECT_EQ(ports_.writes.size(), file.size() - 3) << "one byte per write";
    EXPECT_FALSE(SpoolExists());
    EXPECT_EQ(Answer(a, "PrintBuf"), 0) << "no job file: nothing to play";
    EXPECT_EQ(ports_.writes.size(), file.size() - 3);
}

TEST_F(DriversPrinters, AnOpenJobIsNeitherRestartedNorTakenByAnotherPrinter) {
    host::Context& first = Make("Aura");
    host::Context& second = Make("Aura");
    host::Context& nippon = Make("Nippon");
    ASSERT_EQ(Answer(first, "OpenPort", {N(1), N(100), N(9600)}), 1);
    ASSERT_EQ(Answer(second, "OpenPort", {N(2), N(100), N(9600)}), 1);
    ASSERT_EQ(Answer(first, "CreatePos"), 1);
    ASSERT_TRUE(Call(first, "PrintString", {T("A"), N(0)}));
    EXPECT_EQ(Answer(first, "CreatePos"), 0) << "a start while the job is open";
    EXPECT_EQ(Answer(second, "CreatePos"), 0) << "the file is held by the first job";
    EXPECT_EQ(Answer(nippon, "CreatePos"), 0);
    EXPECT_EQ(Answer(second, "PrintBuf"), 0) << "an open job cannot be played from elsewhere";
    EXPECT_EQ(Answer(second, "SaveBuf", {T(dir_.string())}), 0);
    ASSERT_TRUE(Call(first, "PrintString", {T("B"), N(0)}));
    EXPECT_TRUE(ports_.writes.empty());
    EXPECT_EQ(Answer(first, "PrintBuf"), 1);
    EXPECT_EQ(ports_.Received(), kAuraHeader + "AB");
    for (const auto& w : ports_.writes) EXPECT_EQ(w.first, 1);
}

TEST_F(DriversPrinters, MovedJobsTakeTheFirstFreeNameAfterTheirUtcTime) {
    host::Context& a = Make("Aura");
    const std::string folder = (dir_ / "spool").string();
    fs::create_directory(folder);
    auto moveAt = [&](platform::DateTime utc, const std::string& to) {
        platform_.clock.Set({}, utc);
        EXPECT_EQ(Answer(a, "CreatePos"), 1);
        EXPECT_TRUE(Call(a, "PrintString", {T(to), N(0)}));
        return Answer(a, "SaveBuf", {T(to)});
    };
    ASSERT_TRUE(platform::Files().WriteAll(folder + "\\z957.46", "another workstation's job"));

    // The same millisecond twice, the folder once with its separator: the second takes .46, which
    // is taken, so .47. 01:23:45 and 12:03:45 share their name too.
    const std::pair<platform::DateTime, const char*> moves[] = {
        {{2026, 1, 2, 9, 5, 7, 45, 5}, "z957.45"},   {{2026, 1, 2, 9, 5, 7, 45, 5}, "z957.47"},
        {{2026, 1, 2, 1, 23, 45, 7, 5}, "z12345.7"}, {{2026, 1, 2, 12, 3, 45, 7, 5}, "z12345.8"},
        {{2026, 1, 2, 0, 0, 0, 999, 5}, "z000.999"}, {{2026, 1, 2, 0, 0, 0, 999, 5}, "z000.1000"},
    };
    for (std::size_t i = 0; i < std::size(moves); ++i) {
        const std::string to = folder + (i == 1 ? "\\" : "");
        EXPECT_EQ(moveAt(moves[i].first, to), 1) << moves[i].second;
        EXPECT_EQ(ReadFile(fs::path(folder) / moves[i].second), "KLT" + kAuraHeader + to) << "moved whole";
    }
    EXPECT_EQ(ReadFile(fs::path(folder) / "z957.46"), "another workstation's job") << "never replaced";
    EXPECT_FALSE(SpoolExists());

    // A folder built from the information-base directory carries doubled separators.
    EXPECT_EQ(moveAt({2026, 1, 2, 18, 0, 1, 2, 5}, dir_.string() + "\\\\spool\\\\"), 1);
    EXPECT_TRUE(fs::exists(fs::path(folder) / "z1801.2"));
    EXPECT_EQ(moveAt({}, folder + "\\missing"), 0) << "no such folder";
    EXPECT_TRUE(SpoolExists()) << "a move that fails keeps the job";
    EXPECT_EQ(Answer(a, "SaveBuf", {T(folder)}), 1);
    EXPECT_EQ(Answer(a, "SaveBuf", {T(folder)}), 0) << "no job file";

    // Every name a search may try is taken: the job stays.
    for (int step = 0; step < drivers::kMovedJobNameTries; ++step)
        ASSERT_TRUE(
            platform::Files().WriteAll(folder + "\\" + drivers::MovedJobName({2026, 1, 2, 7}, step), ""));
    EXPECT_EQ(moveAt({2026, 1, 2, 7}, folder), 0);
    EXPECT_TRUE(SpoolExists());
}

// The real file system, except that writes fail while `full` is set, as on a full disk.
class FullDisk : public platform::FileSystem {
  public:
    FullDisk() : real_(platform::ReplaceFiles(this)) {}
    ~FullDisk() override { platform::ReplaceFiles(real_); }

    std::unique_ptr<platform::File> Open(const std::string& path, platform::OpenMode mode) override {
        std::unique_ptr<platform::File> f = real_->Open(path, mode);
        if (!f) return f;
        return std::make_unique<Guarded>(std::move(f), full);
    }
    std::vector<std::string> List(const std::string& d, const std::string& p, std::size_t limit) override {
        return real_->List(d, p, limit);
    }
    bool Exists(const std::string& path) override { return real_->Exists(path); }
    bool IsDirectory(const std::string& path) override { return real_->IsDirectory(path); }
    bool Remove(const std::string& path) override { return real_->Remove(path); }
    bool Move(const std::string& from, const std::string& to) override { return real_->Move(from, to); }
    bool Copy(const std::string& from, const std::string& to, bool overwrite) override {
        return real_->Copy(from, to, overwrite);
    }
    bool Replace(const std::string& from, const std::string& to) override { return real_->Replace(from, to); }
    bool MakeDirectory(const std::string& path) override { return real_->MakeDirectory(path); }
    std::string CurrentDirectory() override { return real_->CurrentDirectory(); }

    bool full = false;

  private:
    class Guarded : public platform::File {
      public:
        Guarded(std::unique_ptr<platform::File> f, const bool& full) : f_(std::move(f)), full_(full) {}
        bool Write(const void* data, std::size_t size) override { return !full_ && f_->Write(data, size); }
        std::int64_t Read(void* data, std::size_t size) override { return f_->Read(data, size); }

      private:
        std::unique_ptr<platform::File> f_;
        const bool& full_;
    };
    platform::FileSystem* real_;
};

TEST_F(DriversPrinters, AJobMissingACommandIsNeitherPrintedNorMoved) {
    FullDisk disk;
    host::Context& a = Make("Aura");
    ASSERT_EQ(Answer(a, "OpenPort", {N(1), N(100), N(9600)}), 1);
    disk.full = true;
    EXPECT_EQ(Answer(a, "CreatePos"), 0) << "no room even for the header";
    EXPECT_FALSE(SpoolExists());
    disk.full = false;
    ASSERT_EQ(Answer(a, "CreatePos"), 1);
    ASSERT_TRUE(Call(a, "PrintString", {T("first"), N(1)}));
    disk.full = true;
    ASSERT_TRUE(Call(a, "PrintString", {T("second"), N(1)}));
    disk.full = false;
    ASSERT_TRUE(Call(a, "CupPaper"));
    EXPECT_EQ(Answer(a, "PrintBuf"), 0) << "a receipt without one of its lines is not printed";
    EXPECT_EQ(Answer(a, "SaveBuf", {T(dir_.string())}), 0);
    EXPECT_TRUE(ports_.writes.empty());
    EXPECT_TRUE(SpoolExists());
    ASSERT_EQ(Answer(a, "CreatePos"), 1) << "a new job starts afresh";
    ASSERT_TRUE(Call(a, "CupPaper"));
    EXPECT_EQ(Answer(a, "PrintBuf"), 1);
    EXPECT_EQ(ports_.Received(), kAuraHeader + Bytes({0x1B, 0x69}));
}

}  // namespace
}  // namespace klt::test
