// The receipt printers "Aura" and "Nippon": the bytes each method puts into the spool file, how a
// job is played to the port or moved away, and what happens when either goes wrong. The port is a
// recording stand-in here; the pseudo-terminal suites check the same jobs on a real line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "drivers/nippon.h"
#include "drivers/spool.h"
#include "platform/files.h"
#include "platform/serial.h"
#include "test_support.h"

namespace klt::test {
namespace {

namespace fs = std::filesystem;

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s += static_cast<char>(b);
    return s;
}

// Serial ports that record what is opened and written, with ports that are missing, ports that
// refuse their settings and a write that fails after a count.
class RecordingPorts : public platform::SerialPorts {
  public:
    struct Request {
        int number;
        platform::LineSettings settings;
        std::uint32_t timeoutMs;
    };

    RecordingPorts() : previous_(platform::ReplaceSerial(this)) {}
    ~RecordingPorts() override { platform::ReplaceSerial(previous_); }

    platform::SerialOpenResult Open(int number, const platform::LineSettings& settings,
                                    std::uint32_t timeoutMs) override {
        requests.push_back({number, settings, timeoutMs});
        platform::SerialOpenResult r;
        if (missing.count(number)) return r;
        if (refusing.count(number)) {
            r.status = platform::SerialOpenStatus::SetupFailed;
            return r;
        }
        r.port = std::make_unique<Port>(*this, number);
        r.status = platform::SerialOpenStatus::Opened;
        ++openPorts;
        return r;
    }

    std::string Received() const {
        std::string all;
        for (const auto& w : writes) all += w.second;
        return all;
    }

    std::vector<Request> requests;
    std::vector<std::pair<int, std::string>> writes;  // port number, bytes of one write
    std::set<int> missing, refusing;
    int writesBeforeFailure = -1;  // negative: writes never fail
    int openPorts = 0;

  private:
    class Port : public platform::SerialPort {
      public:
        Port(RecordingPorts& owner, int number) : owner_(owner), number_(number) {}
        ~Port() override { --owner_.openPorts; }
        bool Write(const void* data, std::size_t size) override {
            if (owner_.writesBeforeFailure == 0) return false;
            if (owner_.writesBeforeFailure > 0) --owner_.writesBeforeFailure;
            owner_.writes.emplace_back(number_, std::string(static_cast<const char*>(data), size));
            return true;
        }

      private:
        RecordingPorts& owner_;
        int number_;
    };
    platform::SerialPorts* previous_;
};

// A fresh current directory for the test, so that the spool files are its own.
class ScratchDirectory {
  public:
    ScratchDirectory() : previous_(fs::current_path()) {
        std::random_device random;
        do {
            path_ = fs::temp_directory_path() / ("klt-printers-" + std::to_string(random()));
        } while (!fs::create_directory(path_));
        fs::current_path(path_);
    }
    ~ScratchDirectory() {
        std::error_code ec;
        fs::current_path(previous_, ec);
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path previous_, path_;
};

class PrinterFixture : public AddInFixture {
  protected:
    void SetUp() override { Start("x"); }
    void TearDown() override {
        objects_.clear();
        AddInFixture::TearDown();
    }
    host::Context& Make(const char* type) {
        objects_.push_back(host().CreateObject(type));
        return *objects_.back().GetContext();
    }
    bool Call(host::Context& o, std::string_view name, std::vector<host::Value> args = {}) {
        return host().CallMethod(o, std::string(name), std::move(args), nullptr);
    }
    int Answer(host::Context& o, std::string_view name, std::vector<host::Value> args = {}) {
        host::Value result;
        EXPECT_TRUE(host().CallMethod(o, std::string(name), std::move(args), &result)) << name;
        EXPECT_EQ(result.kind(), host::ValueKind::Number) << name;
        return result.GetInt32();
    }
    static host::Value N(std::int32_t n) { return host::Value(n); }
    static host::Value T(std::string_view s) { return host::Value(std::string(s)); }

    // Read beside the open job: the file layer itself refuses to read a file that is being written.
    std::string SpoolFile() const {
        std::ifstream in(dir_.path() / "buffer.txt", std::ios::binary);
        if (!in) return "<none>";
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    bool SpoolExists() const { return fs::exists(dir_.path() / "buffer.txt"); }

    ScratchDirectory dir_;
    RecordingPorts ports_;
    std::vector<host::Value> objects_;
};

const std::string kAuraHeader = Bytes({0x1B, 0x40, 0x1B, 0x52, 0x00, 0x1B, 0x53, 0x1B, 0x74, 0x11});
const std::string kNipponHeader = Bytes({0x1B, 0x74, 0x00});

class DriversAura : public PrinterFixture {};
class DriversNippon : public PrinterFixture {};
class DriversSpool : public PrinterFixture {};

TEST_F(DriversAura, EveryCommandReachesTheSpoolFileInCallOrder) {
    host::Context& a = Make("Aura");
    ASSERT_EQ(Answer(a, "CreatePos"), 1);
    ASSERT_TRUE(Call(a, "SetFontPrint", {N(0), N(1), N(1), N(0), N(0)}));
    ASSERT_TRUE(Call(a, "SetFontPrint", {N(7), N(0), N(0), N(-1), N(1)}));
    ASSERT_TRUE(Call(a, "PrintString", {T("Чек №5"_cp), N(1)}));
    ASSERT_TRUE(Call(a, "PrintString", {T("ё"_cp), N(0)}));
    ASSERT_TRUE(Call(a, "SetPolojenie", {N(1)}));
    ASSERT_TRUE(Call(a, "SetUnderline", {N(2)}));
    ASSERT_TRUE(Call(a, "SetRight", {N(3), N(9), N(9), N(9), N(9)}));
    ASSERT_TRUE(Call(a, "Reset"));
    ASSERT_TRUE(Call(a, "SetSmallest", {N(24)}));
    ASSERT_TRUE(Call(a, "SetBold", {N(300)}));
    ASSERT_TRUE(Call(a, "SetDouble", {N(1)}));
    ASSERT_TRUE(Call(a, "PrintSmallest", {N(4)}));
    ASSERT_TRUE(Call(a, "SetRotatet", {N(1)}));
    ASSERT_TRUE(Call(a, "CupPaper"));
    ASSERT_TRUE(Call(a, "Pulse", {N(50)}));
    ASSERT_TRUE(Call(a, "SetInvertedPaper", {N(-1)}));
    ASSERT_TRUE(Call(a, "SetBit"));
    ASSERT_TRUE(Call(a, "SetInverse", {N(1)}));
    ASSERT_TRUE(Call(a, "PrintBitmap"));
    ASSERT_TRUE(Call(a, "Call", {N(3)}));
    ASSERT_TRUE(Call(a, "SizeFont", {N(0x11)}));
    ASSERT_TRUE(Call(a, "SetFont", {N(1)}));
    ASSERT_TRUE(Call(a, "SetFontBar", {N(0)}));
    ASSERT_TRUE(Call(a, "SetHeightBar", {N(80)}));
    ASSERT_TRUE(Call(a, "SetWidthBar", {N(3)}));
    ASSERT_TRUE(Call(a, "PrintFontBar", {N(2)}));
    EXPECT_TRUE(host().Errors().empty());

    const std::string expected =
        "KLT" + kAuraHeader + Bytes({0x1B, 0x21, 0x30}) + Bytes({0x1B, 0x21, 0x89}) +
        Bytes({0x97, 0xA5, 0xAA, 0x20, 0xFC, 0x35, 0x0A}) + Bytes({0xF1}) + Bytes({0x1B, 0x61, 1}) +
        Bytes({0x1B, 0x2D, 2}) + Bytes({0x1B, 0x20, 3}) + Bytes({0x10, 0x18}) + Bytes({0x1B, 0x33, 24}) +
        Bytes({0x1B, 0x45, 0x2C}) + Bytes({0x1B, 0x47, 1}) + Bytes({0x1B, 0x64, 4}) + Bytes({0x1B, 0x56, 1}) +
        Bytes({0x1B, 0x69}) + Bytes({0x1B, 0x70, 0x00, 50, 0xFF}) + Bytes({0x1B, 0x7B, 0xFF}) +
        Bytes({0x1D, 0x42, 1}) + Bytes({0x1C, 0x70, 0x01, 0x00}) + Bytes({0x1D, 0x6F, 3, 0x1B, 0x6F}) +
        Bytes({0x1D, 0x21, 0x11}) + Bytes({0x1B, 0x4D, 1}) + Bytes({0x1D, 0x66, 0}) +
        Bytes({0x1D, 0x68, 80}) + Bytes({0x1D, 0x77, 3}) + Bytes({0x1D, 0x48, 2});
    EXPECT_EQ(SpoolFile(), expected);
    EXPECT_TRUE(ports_.writes.empty()) << "nothing goes to the port before the job is played";
}

TEST_F(DriversAura, LongTextsArePrintedWholeAndStopAtANul) {
    host::Context& a = Make("Aura");
    ASSERT_EQ(Answer(a, "CreatePos"), 1);
    const std::string longText(300, 'x');
    ASSERT_TRUE(Call(a, "PrintString", {T(longText + Cp("Ж"_cp)), N(1)}));
    ASSERT_TRUE(Call(a, "PrintString", {T(std::string("ab\0cd", 5)), N(0)}));
    EXPECT_EQ(SpoolFile(), "KLT" + kAuraHeader + longText + Bytes({0x86, 0x0A}) + "ab");
}

TEST_F(DriversAura, BarcodeTakesItsSystemFromTheData) {
    host::Context& a = Make("Aura");
    ASSERT_EQ(Answer(a, "CreatePos"), 1);
    ASSERT_TRUE(Call(a, "PrintBar", {T("4600000000017")}));
    ASSERT_TRUE(Call(a, "PrintBar", {N(46000017)}));  // a number reads as its digits
    ASSERT_TRUE(Call(a, "PrintBar", {T("012345678905")}));
    ASSERT_TRUE(Call(a, "PrintBar", {T("stol-5")}));
    ASSERT_TRUE(Call(a, "PrintBar", {T("Стол 5"_cp)}));  // not a barcode character: nothing printed
    ASSERT_TRUE(Call(a, "PrintBar", {T("")}));
    ASSERT_TRUE(Call(a, "PrintBar"));
    EXPECT_TRUE(host().Errors().empty());
    EXPECT_EQ(SpoolFile(), "KLT" + kAuraHeader + Bytes({0x1D, 0x6B, 2}) + "4600000000017" + Bytes({0}) +
                               Bytes({0x1D, 0x6B, 3}) + "46000017" + Bytes({0}) + Bytes({0x1D, 0x6B, 0}) +
                               "012345678905" + Bytes({0}) + Bytes({0x1D, 0x6B, 4}) + "STOL-5" + Bytes({0}));
}

TEST_F(DriversAura, CommandsWithoutAJobAreNotWritten) {
    host::Context& a = Make("Aura");
    ASSERT_TRUE(Call(a, "PrintString", {T("lost"), N(1)}));
    ASSERT_TRUE(Call(a, "CupPaper"));
    ASSERT_TRUE(Call(a, "PrintBar", {T("123")}));
    EXPECT_FALSE(SpoolExists());
    EXPECT_TRUE(host().Errors().empty());
}

TEST_F(DriversAura, PortOpensWithItsLineSettingsOnceAndClosesWithTheObject) {
    host::Context& a = Make("Aura");
    EXPECT_EQ(Answer(a, "OpenPort", {N(3), N(100), N(19200)}), 1);
    ASSERT_EQ(ports_.requests.size(), 1u);
    const RecordingPorts::Request& r = ports_.requests[0];
    EXPECT_EQ(r.number, 3);
    EXPECT_EQ(r.timeoutMs, 100u);
    EXPECT_EQ(r.settings.baudRate, 19200u);
    EXPECT_EQ(r.settings.dataBits, 8);
    EXPECT_EQ(r.settings.parity, platform::Parity::None);
    EXPECT_TRUE(r.settings.abortOnError);
    EXPECT_EQ(Answer(a, "ОткрытьПорт"_cp, {N(4), N(5), N(9600)}), 1) << "an open port answers 1";
    EXPECT_EQ(ports_.requests.size(), 1u) << "and keeps the first port";
    ASSERT_TRUE(Call(a, "ClosePort"));
    EXPECT_EQ(ports_.openPorts, 0);
    ASSERT_TRUE(Call(a, "ClosePort")) << "closing a closed port does nothing";
    EXPECT_EQ(Answer(a, "OpenPort", {N(4), N(5), N(9600)}), 1);
    objects_.clear();
    EXPECT_EQ(ports_.openPorts, 0) << "a dropped object leaves no port held";
    EXPECT_TRUE(platform_.desktop.MessageBoxes().empty());
}

TEST_F(DriversAura, OnlyAMissingDeviceIsReportedToTheCashier) {
    host::Context& a = Make("Aura");
    ports_.missing = {2};
    ports_.refusing = {6};
    EXPECT_EQ(Answer(a, "OpenPort", {N(2), N(100), N(9600)}), 0);
    EXPECT_EQ(Answer(a, "OpenPort", {N(2), N(100), N(9600)}), 0);
    ASSERT_EQ(platform_.desktop.MessageBoxes().size(), 2u) << "one message per attempt";
    EXPECT_EQ(platform_.desktop.MessageBoxes()[0].text, Cp("Ошибка"_cp));
    EXPECT_EQ(platform_.desktop.MessageBoxes()[0].flags, 0u) << "OK button, no icon";
    EXPECT_EQ(Answer(a, "OpenPort", {N(6), N(100), N(9600)}), 0);
    EXPECT_EQ(platform_.desktop.MessageBoxes().size(), 2u) << "refused settings show nothing";

    // Out-of-range parameters are refused before any device is touched, silently.
    const std::size_t before = ports_.requests.size();
    for (auto args : std::vector<std::vector<host::Value>>{{N(0), N(100), N(9600)},
                                                           {N(-1), N(100), N(9600)},
                                                           {N(100000), N(100), N(9600)},
                                                           {N(1), N(-5), N(9600)},
                                                           {N(1), N(100), N(0)},
                                                           {N(1), N(100), N(-9600)},
                                                           {}}) {
        EXPECT_EQ(Answer(a, "OpenPort", args), 0);
    }
    EXPECT_EQ(ports_.requests.size(), before);
    EXPECT_EQ(platform_.desktop.MessageBoxes().size(), 2u);
    EXPECT_EQ(ports_.openPorts, 0);
}

TEST_F(DriversSpool, PlayingSendsTheJobAfterItsMarkerOneByteAWriteAndDeletesIt) {
    host::Context& a = Make("Aura");
    ASSERT_EQ(Answer(a, "OpenPort", {N(1), N(100), N(9600)}), 1);
    ASSERT_EQ(Answer(a, "CreatePos"), 1);
    ASSERT_TRUE(Call(a, "PrintString", {T("Итого"_cp), N(1)}));
    const std::string job = SpoolFile().substr(3);
    EXPECT_EQ(Answer(a, "PrintBuf"), 1);
    EXPECT_EQ(ports_.Received(), job);
    EXPECT_EQ(job, kAuraHeader + Bytes({0x88, 0xE2, 0xAE, 0xA3, 0xAE, 0x0A}));
    EXPECT_EQ(ports_.writes.size(), job.size());
    for (const auto& w : ports_.writes) EXPECT_EQ(w.second.size(), 1u);
    EXPECT_FALSE(SpoolExists());
    EXPECT_EQ(Answer(a, "PrintBuf"), 0) << "no job file: nothing to play";
    EXPECT_EQ(ports_.Received(), job);
}

TEST_F(DriversSpool, AJobIsKeptWhenThePortIsClosedOrAWriteFails) {
    host::Context& a = Make("Aura");
    ASSERT_EQ(Answer(a, "CreatePos"), 1);
    ASSERT_TRUE(Call(a, "CupPaper"));
    const std::string file = Bytes({'K', 'L', 'T'}) + kAuraHeader + Bytes({0x1B, 0x69});
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
    EXPECT_FALSE(SpoolExists());
}

TEST_F(DriversSpool, AStartWhileAJobIsOpenAnswersZeroAndTheJobGoesOn) {
    host::Context& a = Make("Aura");
    ASSERT_EQ(Answer(a, "OpenPort", {N(1), N(100), N(9600)}), 1);
    ASSERT_EQ(Answer(a, "CreatePos"), 1);
    ASSERT_TRUE(Call(a, "PrintString", {T("A"), N(0)}));
    EXPECT_EQ(Answer(a, "CreatePos"), 0);
    ASSERT_TRUE(Call(a, "PrintString", {T("B"), N(0)}));
    EXPECT_EQ(Answer(a, "PrintBuf"), 1);
    EXPECT_EQ(ports_.Received(), kAuraHeader + "AB");
}

TEST_F(DriversSpool, TwoPrintersInOneDirectoryDoNotSpoilEachOthersJob) {
    host::Context& first = Make("Aura");
    host::Context& second = Make("Aura");
    host::Context& nippon = Make("Nippon");
    ASSERT_EQ(Answer(first, "OpenPort", {N(1), N(100), N(9600)}), 1);
    ASSERT_EQ(Answer(second, "OpenPort", {N(2), N(100), N(9600)}), 1);
    ASSERT_EQ(Answer(first, "CreatePos"), 1);
    ASSERT_TRUE(Call(first, "PrintString", {T("first"), N(0)}));
    EXPECT_EQ(Answer(second, "CreatePos"), 0) << "the file is held by the first job";
    EXPECT_EQ(Answer(nippon, "CreatePos"), 0);
    EXPECT_EQ(Answer(second, "PrintBuf"), 0) << "an open job cannot be played from elsewhere";
    EXPECT_EQ(Answer(second, "SaveBuf", {T((dir_.path() / "").string())}), 0);
    EXPECT_TRUE(ports_.writes.empty());
    EXPECT_EQ(Answer(first, "PrintBuf"), 1);
    EXPECT_EQ(ports_.Received(), kAuraHeader + "first");
    for (const auto& w : ports_.writes) EXPECT_EQ(w.first, 1);
}

TEST_F(DriversSpool, MovedJobsAreNamedByTheUtcClock) {
    host::Context& a = Make("Aura");
    const std::string folder = (dir_.path() / "spool").string();
    fs::create_directory(folder);
    platform_.clock.Set({2026, 1, 2, 12, 5, 7, 45, 5}, {2026, 1, 2, 9, 5, 7, 45, 5});

    ASSERT_EQ(Answer(a, "CreatePos"), 1);
    ASSERT_TRUE(Call(a, "CupPaper"));
    const std::string job = SpoolFile();
    EXPECT_EQ(Answer(a, "SaveBuf", {T(folder)}), 1);
    EXPECT_FALSE(SpoolExists());
    std::string moved;
    ASSERT_TRUE(platform::Files().ReadAll(folder + "\\z957.45", moved, 1000));
    EXPECT_EQ(moved, job) << "the file moves whole, marker included";

    // The same millisecond, folder given with its backslash: the same target, which is taken.
    ASSERT_EQ(Answer(a, "CreatePos"), 1);
    EXPECT_EQ(Answer(a, "SaveBuf", {T(folder + "\\")}), 0);
    EXPECT_TRUE(SpoolExists()) << "a move that fails keeps the job";

    // 12:03:45 names the same file as 01:23:45.
    platform_.clock.Set({}, {2026, 1, 2, 1, 23, 45, 7, 5});
    EXPECT_EQ(Answer(a, "SaveBuf", {T(folder)}), 1);
    EXPECT_TRUE(fs::exists(fs::path(folder) / "z12345.7"));
    ASSERT_EQ(Answer(a, "CreatePos"), 1);
    platform_.clock.Set({}, {2026, 1, 2, 12, 3, 45, 7, 5});
    EXPECT_EQ(Answer(a, "SaveBuf", {T(folder)}), 0);
    EXPECT_TRUE(SpoolExists());

    EXPECT_EQ(Answer(a, "SaveBuf", {T(folder + "\\missing")}), 0) << "no such folder";
    EXPECT_TRUE(SpoolExists());

    // A folder built from the information-base directory carries doubled separators.
    platform_.clock.Set({}, {2026, 1, 2, 18, 0, 1, 2, 5});
    EXPECT_EQ(Answer(a, "SaveBuf", {T((dir_.path()).string() + "\\\\spool\\\\")}), 1);
    EXPECT_TRUE(fs::exists(fs::path(folder) / "z1801.2"));
    EXPECT_FALSE(SpoolExists());
    EXPECT_EQ(Answer(a, "SaveBuf", {T(folder)}), 0) << "no job file";
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

TEST_F(DriversSpool, AJobMissingACommandIsNeitherPrintedNorMoved) {
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
    EXPECT_EQ(Answer(a, "SaveBuf", {T((dir_.path() / "").string())}), 0);
    EXPECT_TRUE(ports_.writes.empty());
    EXPECT_TRUE(SpoolExists());
    ASSERT_EQ(Answer(a, "CreatePos"), 1) << "a new job starts afresh";
    ASSERT_TRUE(Call(a, "CupPaper"));
    EXPECT_EQ(Answer(a, "PrintBuf"), 1);
    EXPECT_EQ(ports_.Received(), kAuraHeader + Bytes({0x1B, 0x69}));
}

TEST(DriversSpoolNames, HourMinuteSecondAndMillisecondWithoutLeadingZeros) {
    EXPECT_EQ(drivers::MovedJobName({2026, 1, 1, 9, 5, 7, 45, 0}), "z957.45");
    EXPECT_EQ(drivers::MovedJobName({2026, 1, 1, 0, 0, 0, 0, 0}), "z000.0");
    EXPECT_EQ(drivers::MovedJobName({2026, 1, 1, 23, 59, 59, 999, 0}), "z235959.999");
}

TEST_F(DriversNippon, CommandsAreWrittenWithTheNipponHeaderAndTextsUnconverted) {
    host::Context& n = Make("Nippon");
    ASSERT_EQ(Answer(n, "CreatePos"), 1);
    ASSERT_TRUE(Call(n, "SetFontPrint", {N(1), N(0), N(0), N(1), N(0)}));
    ASSERT_TRUE(Call(n, "PrintString", {T("Чек"_cp), N(1)}));
    ASSERT_TRUE(Call(n, "PrintString", {T(std::string(600, 'y')), N(1)}));
    ASSERT_TRUE(Call(n, "SetPolojenie", {N(2)}));
    ASSERT_TRUE(Call(n, "SetUnderline", {N(1)}));
    ASSERT_TRUE(Call(n, "SetRight", {N(5), N(0), N(0), N(0), N(0)}));
    ASSERT_TRUE(Call(n, "Reset"));
    ASSERT_TRUE(Call(n, "SetSmallest", {N(30)}));
    ASSERT_TRUE(Call(n, "SetBold", {N(257)}));
    ASSERT_TRUE(Call(n, "SetDouble", {N(0)}));
    ASSERT_TRUE(Call(n, "PrintSmallest", {N(3)}));
    ASSERT_TRUE(Call(n, "SetRotatet", {N(0)}));
    ASSERT_TRUE(Call(n, "CupPaper"));
    ASSERT_TRUE(Call(n, "Pulse", {N(100)}));
    ASSERT_TRUE(Call(n, "SetInvertedPaper", {N(0)}));
    ASSERT_TRUE(Call(n, "SetFontBar", {N(1)}));
    ASSERT_TRUE(Call(n, "SetHeightBar", {N(162)}));
    ASSERT_TRUE(Call(n, "PrintBar", {T("12345670")}));
    ASSERT_TRUE(Call(n, "PrintFontBar", {N(2)}));
    EXPECT_TRUE(host().Errors().empty());
    EXPECT_FALSE(Call(n, "SetFont", {N(1)})) << "Nippon has no SetFont";
    EXPECT_FALSE(Call(n, "SizeFont", {N(1)}));
    host().TakeErrors();

    EXPECT_EQ(SpoolFile(), "KLT" + kNipponHeader + Bytes({0x1B, 0x21, 0x88}) +
                               Bytes({0xD7, 0xE5, 0xEA, 0x0A}) + std::string(600, 'y') + "\n" +
                               Bytes({0x1B, 0x61, 2}) + Bytes({0x1B, 0x2D, 1}) + Bytes({0x1B, 0x20, 5}) +
                               Bytes({0x10, 0x18}) + Bytes({0x1B, 0x33, 30}) + Bytes({0x1B, 0x45, 1}) +
                               Bytes({0x1B, 0x47, 0}) + Bytes({0x1B, 0x64, 3}) + Bytes({0x1B, 0x56, 0}) +
                               Bytes({0x1B, 0x69}) + Bytes({0x1B, 0x70, 0, 100, 0xFF}) +
                               Bytes({0x1B, 0x7B, 0}) + Bytes({0x1D, 0x66, 1}) + Bytes({0x1D, 0x68, 162}) +
                               Bytes({0x1D, 0x6B, 3}) + "12345670" + Bytes({0}) + Bytes({0x1D, 0x48, 2}));
}

TEST_F(DriversNippon, ObjectsShareOnePortAndOneJob) {
    host::Context& first = Make("Nippon");
    ASSERT_EQ(Answer(first, "OpenPort", {N(2), N(150), N(38400), N(7), N(2)}), 1);
    ASSERT_EQ(ports_.requests.size(), 1u);
    EXPECT_EQ(ports_.requests[0].settings.baudRate, 38400u);
    EXPECT_EQ(ports_.requests[0].settings.dataBits, 7);
    EXPECT_EQ(ports_.requests[0].settings.parity, platform::Parity::Even);
    EXPECT_TRUE(ports_.requests[0].settings.abortOnError);
    EXPECT_EQ(ports_.requests[0].timeoutMs, 150u);
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
    EXPECT_EQ(ports_.openPorts, 1);
    ASSERT_TRUE(Call(first, "ClosePort"));
    EXPECT_EQ(ports_.openPorts, 0) << "no handle is left behind";
    EXPECT_TRUE(platform_.desktop.MessageBoxes().empty());
}

TEST_F(DriversNippon, OutOfRangeLineSettingsAreRefusedWithoutAMessage) {
    host::Context& n = Make("Nippon");
    ports_.missing = {4};
    for (auto args : std::vector<std::vector<host::Value>>{{N(1), N(100), N(9600), N(8), N(5)},
                                                           {N(1), N(100), N(9600), N(8), N(-1)},
                                                           {N(1), N(100), N(9600), N(9), N(0)},
                                                           {N(1), N(100), N(9600), N(4), N(0)},
                                                           {N(1), N(100), N(0), N(8), N(0)},
                                                           {N(0), N(100), N(9600), N(8), N(0)},
                                                           {N(1), N(-1), N(9600), N(8), N(0)}}) {
        EXPECT_EQ(Answer(n, "OpenPort", args), 0);
    }
    EXPECT_TRUE(ports_.requests.empty());
    EXPECT_EQ(Answer(n, "OpenPort", {N(4), N(100), N(9600), N(8), N(4)}), 0);
    EXPECT_EQ(ports_.requests.size(), 1u);
    EXPECT_TRUE(platform_.desktop.MessageBoxes().empty()) << "Nippon reports nothing but the 0";
}

}  // namespace
}  // namespace klt::test
