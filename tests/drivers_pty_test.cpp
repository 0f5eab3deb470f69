// The printers and the display on a real line: a pseudo-terminal stands in for the device, named
// COM<n> through $KLT_SERIAL_DIR, and the test reads what its other end receives. Whole receipts,
// printed by 1C modules in klthost, and display frames are compared with tests/golden.
#ifndef _WIN32
#include <poll.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <optional>

#include "drivers/serial_channel.h"
#include "drivers_support.h"
#include "platform/files.h"

namespace klt::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// One pseudo-terminal: the slave is the device the add-in opens, the master is the test's end.
class Pty {
  public:
    Pty(const std::string& dir, int com) : link_(dir + "/COM" + std::to_string(com)) {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
        const char* name = ::ptsname(master_);
        if (!name) return;
        slave_ = name;
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        ok_ = ::symlink(slave_.c_str(), link_.c_str()) == 0;
    }
    ~Pty() {
        CloseMaster();
        ::unlink(link_.c_str());
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return ok_; }
    void CloseMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }
    // Everything that arrives until nothing more came for 300 ms.
    std::string Read() {
        std::string out;
        char buffer[4096];
        for (pollfd p{master_, POLLIN, 0}; ::poll(&p, 1, 300) > 0;) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0)
                out.append(buffer, static_cast<std::size_t>(n));
            else if (n == 0 || (errno != EAGAIN && errno != EINTR))
                break;  // EIO: the device side is closed and everything is read
        }
        return out;
    }
    // The line settings as the device has them now, and changed as a former user left them.
    bool Settings(termios& t) const {
        return AtDevice([&](int fd) { return ::tcgetattr(fd, &t) == 0; });
    }
    bool Apply(const termios& t) const {
        return AtDevice([&](int fd) { return ::tcsetattr(fd, TCSANOW, &t) == 0; });
    }
    // Output to the device is suspended, as when a printer holds the line or stopped reading.
    bool Stop() const {
        return AtDevice([](int fd) { return ::tcflow(fd, TCOOFF) == 0; });
    }
    // The device sends `bytes`; answers once the last of them can be read at the device, so every
    // byte before it has passed the line discipline.
    bool Send(const std::string& bytes) {
        if (::write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) return false;
        return AtDevice([](int fd) {
            pollfd p{fd, POLLIN, 0};
            return ::poll(&p, 1, 5000) == 1;
        });
    }

  private:
    template <typename Action>
    bool AtDevice(Action action) const {
        const int fd = ::open(slave_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        const bool done = fd >= 0 && action(fd);
        if (fd >= 0) ::close(fd);
        return done;
    }

    std::string link_, slave_;
    int master_ = -1;
    bool ok_ = false;
};

// A folder of named ports for the test, in force through $KLT_SERIAL_DIR.
class SerialDirectory {
  public:
    SerialDirectory() {
        char tmpl[] = "/tmp/klt-serial-XXXXXX";
        if (::mkdtemp(tmpl)) path_ = tmpl;
        ::setenv("KLT_SERIAL_DIR", path_.c_str(), 1);
    }
    ~SerialDirectory() {
        ::unsetenv("KLT_SERIAL_DIR");
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// The real ports with a short stall limit, so that a stalled device costs the test little.
class ShortStall : public platform::SerialPorts {
  public:
    static constexpr std::uint32_t kLimitMs = 100;
    ShortStall() : real_(platform::ReplaceSerial(this)) {}
    ~ShortStall() override { platform::ReplaceSerial(real_); }
    platform::SerialOpenResult Open(int number, const platform::LineSettings& settings,
                                    std::uint32_t timeoutMs) override {
        platform::LineSettings s = settings;
        s.stallLimitMs = kLimitMs;
        return real_->Open(number, s, timeoutMs);
    }

  private:
    platform::SerialPorts* real_;
};

class PtyFixture : public DriversFixture {
  protected:
    SerialDirectory ports_;
};

class DriversSerialPty : public PtyFixture {};
class DriversPrinterPty : public PtyFixture {};
class DriversDisplayPty : public PtyFixture {};

TEST(DriversSerial, EveryWriteIsBoundedByTheStallLimit) {
    using platform::WriteTimeoutMs;
    EXPECT_EQ(WriteTimeoutMs(0, 3000), 3000u) << "0 is no limit to Windows: the stall limit instead";
    EXPECT_EQ(WriteTimeoutMs(100, 3000), 100u);
    EXPECT_EQ(WriteTimeoutMs(60000, 3000), 3000u);
    EXPECT_EQ(WriteTimeoutMs(0, 0), platform::kWriteStallLimitMs) << "a limit of 0 is no limit either";
    EXPECT_GT(platform::kWriteStallLimitMs, 0u);
    EXPECT_LE(platform::kWriteStallLimitMs, 5000u) << "the till must not freeze for longer";
}

TEST_F(DriversSerialPty, TheLineIsRawWithTheSettingsGiven) {
    Pty pty(ports_.path(), 5);
    ASSERT_TRUE(pty.ok());
    termios before{};
    ASSERT_TRUE(pty.Settings(before));
    before.c_iflag |= IXON | IXOFF | IXANY | ICRNL;  // as a terminal leaves them
    before.c_oflag |= OPOST | ONLCR;
    ASSERT_TRUE(pty.Apply(before));
    drivers::SerialChannel channel;
    platform::LineSettings s;
    s.baudRate = 19200;
    s.dataBits = 7;
    s.parity = platform::Parity::Odd;
    ASSERT_TRUE(channel.Open(5, 100, s));
    termios t{};
    ASSERT_TRUE(pty.Settings(t));
    // A pseudo-terminal keeps the rate but always reads as 8 data bits without parity, so those
    // two cannot be seen here.
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B19200));
    EXPECT_FALSE(t.c_cflag & (CSTOPB | CRTSCTS)) << "one stop bit, no RTS/CTS";
    EXPECT_TRUE(t.c_iflag & INPCK) << "parity checked";
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP));
    EXPECT_FALSE(t.c_oflag & OPOST) << "binary: a line feed must not become CR LF";
    EXPECT_FALSE(t.c_lflag & (ECHO | ICANON | ISIG | IEXTEN));
    EXPECT_TRUE(channel.Write("\n\x00\xFF", 3));
    EXPECT_EQ(pty.Read(), Bytes({0x0A, 0x00, 0xFF}));
}

TEST_F(DriversSerialPty, APortIsNotShared) {
    Pty pty(ports_.path(), 5);
    ASSERT_TRUE(pty.ok());
    drivers::SerialChannel first, second;
    ASSERT_TRUE(first.Open(5, 100, {}));
    drivers::SerialChannel::Failure why{};
    EXPECT_FALSE(second.Open(5, 100, {}, &why)) << "another holder is refused";
    EXPECT_EQ(why, drivers::SerialChannel::Failure::NoDevice);
    first.Close();
    EXPECT_TRUE(second.Open(5, 100, {})) << "free again once closed";
}

TEST_F(DriversSerialPty, MissingDevicesAndFilesThatAreNoPortsAreRefused) {
    drivers::SerialChannel channel;
    drivers::SerialChannel::Failure why{};
    EXPECT_FALSE(channel.Open(7, 100, {}, &why));
    EXPECT_EQ(why, drivers::SerialChannel::Failure::NoDevice);
    ASSERT_TRUE(platform::Files().WriteAll(ports_.path() + "/COM8", "not a port"));
    EXPECT_FALSE(channel.Open(8, 100, {}, &why));
    EXPECT_EQ(why, drivers::SerialChannel::Failure::SetupFailed);
    Pty pty(ports_.path(), 9);
    platform::LineSettings odd;
    odd.baudRate = 12345;  // no such line rate here
    EXPECT_FALSE(channel.Open(9, 100, odd, &why));
    EXPECT_EQ(why, drivers::SerialChannel::Failure::SetupFailed);
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_FALSE(channel.Write("x", 1)) << "a closed channel takes nothing";
}

TEST_F(DriversPrinterPty, AnXoffFromThePrinterDoesNotStopTheLine) {
    Pty pty(ports_.path(), 5);
    ASSERT_TRUE(pty.ok());
    host::Context& a = Make("Aura");
    ASSERT_EQ(Answer(a, "OpenPort", {N(5), N(500), N(115200)}), 1);
    ASSERT_EQ(Answer(a, "CreatePos"), 1);
    ASSERT_TRUE(Call(a, "CupPaper"));
    // A status reply with 13 (XOFF) in it has reached the port when the job is played.
    ASSERT_TRUE(pty.Send(Bytes({0x10, 0x13, 0x12})));
    ASSERT_EQ(Answer(a, "PrintBuf"), 1);
    EXPECT_EQ(pty.Read(), kAuraHeader + Bytes({0x1B, 0x69}));
}

// A printer that takes nothing must not hold the till: the write gives up within its time-out,
// or within the stall limit when the time-out is 0, answers 0 and keeps the job for another try.
TEST_F(DriversPrinterPty, APrinterThatTakesNothingCostsOneWriteTimeOutAndTheJobIsKept) {
    struct Case {
        const char* what;
        int timeoutMs;
        bool shortStall, gone;
    };
    for (const Case c : {Case{"stalled, time-out 200", 200, false, false},
                         Case{"stalled, time-out 0", 0, true, false}, Case{"unplugged", 0, false, true}}) {
        SCOPED_TRACE(c.what);
        std::optional<ShortStall> shortStall;
        if (c.shortStall) shortStall.emplace();
        Pty pty(ports_.path(), 4);
        ASSERT_TRUE(pty.ok());
        host::Context& a = Make("Aura");
        ASSERT_EQ(Answer(a, "OpenPort", {N(4), N(c.timeoutMs), N(115200)}), 1);
        ASSERT_EQ(Answer(a, "CreatePos"), 1);
        ASSERT_TRUE(Call(a, "PrintString", {T("Итого"_cp), N(1)}));
        const std::string job = SpoolFile();
        ASSERT_TRUE(pty.Stop());
        if (c.gone) pty.CloseMaster();
        const auto start = Clock::now();
        EXPECT_EQ(Answer(a, "PrintBuf"), 0);
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
        EXPECT_EQ(SpoolFile(), job) << "the job is kept whole for another attempt";
        ASSERT_TRUE(Call(a, "ClosePort"));
    }
}

// Frames of each display type on the line: type 1 in CP866, type 4 by table B between 0C and 08
// with the zero byte of the first line, other types by table A.
TEST_F(DriversDisplayPty, FramesOfEachDisplayTypeOnTheLine) {
    Pty pty(ports_.path(), 2);
    ASSERT_TRUE(pty.ok());
    host::Context& t = Make("Tablo");
    ASSERT_TRUE(Call(t, "ТипТабло"_cp, {N(1)}));
    ASSERT_EQ(Answer(t, "ОткрытьПорт"_cp, {N(2), N(200)}), 1);
    ASSERT_TRUE(Call(t, "Одновременно"_cp, {T("Щи ёж"_cp), T("Итого к оплате: 1250.00"_cp)}));
    ASSERT_TRUE(Call(t, "ТипТабло"_cp, {N(4)}));
    ASSERT_TRUE(Call(t, "ПерваяСтрока"_cp, {T("Щи ёж"_cp)}));
    ASSERT_TRUE(Call(t, "ТипТабло"_cp, {N(0)}));
    ASSERT_TRUE(Call(t, "ВтораяСтрока"_cp, {T("Ё"_cp)}));
    ExpectGolden("tablo_frames.bin", pty.Read());
    ASSERT_TRUE(Call(t, "ЗакрытьПорт"_cp));
    EXPECT_TRUE(host().Errors().empty());
}

TEST_F(DriversDisplayPty, ADisplayThatStoppedReadingDoesNotHoldTheTill) {
    ShortStall shortStall;
    Pty pty(ports_.path(), 2);
    ASSERT_TRUE(pty.ok());
    host::Context& t = Make("Tablo");
    ASSERT_TRUE(Call(t, "ТипТабло"_cp, {N(4)}));
    ASSERT_EQ(Answer(t, "ОткрытьПорт"_cp, {N(2), N(0)}), 1);
    ASSERT_TRUE(pty.Stop());
    const auto start = Clock::now();
    ASSERT_TRUE(Call(t, "Одновременно"_cp, {T("Кофе"_cp), T("120.00")}));
    ASSERT_TRUE(Call(t, "Простой"_cp));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(host().Errors().empty());
}

#ifdef KLT_KLTHOST_PATH
// 1C modules run by klthost as the configuration runs them, with the devices on pseudo-terminals.
class DriversModulePty : public PtyFixture {
  protected:
    // What the module printed, its errors included, and then "exit <status>".
    std::string Run(const fs::path& module) {
        const std::string out = (dir_ / "out").string();
        const std::string command =
            "'" KLT_KLTHOST_PATH "' --load '" + module.string() + "' >'" + out + "' 2>&1";
        const int status = std::system(command.c_str());
        return ReadFile(out) + "exit " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    }
};

// Receipts as a café prints them, the Nippon one written through two objects.
TEST_F(DriversModulePty, ReceiptsArriveByteForByte) {
    struct Case {
        const char* module;
        int com;
        const char* golden;
    };
    for (const Case c : {Case{"drivers_receipt_aura.1c", 5, "aura_receipt.bin"},
                         Case{"drivers_receipt_nippon.1c", 3, "nippon_receipt.bin"}}) {
        SCOPED_TRACE(c.module);
        Pty pty(ports_.path(), c.com);
        ASSERT_TRUE(pty.ok());
        EXPECT_EQ(Run(TestsPath(c.module)), "порт 1\nпосылка 1\nпечать 1\nexit 0");
        ExpectGolden(c.golden, pty.Read());
        EXPECT_FALSE(SpoolExists());
    }
}

// examples/printers.1c with a printer on COM1 and COM3 and the display on COM2.
TEST_F(DriversModulePty, ThePrintersExampleRunsAndPrints) {
    Pty aura(ports_.path(), 1), display(ports_.path(), 2), nippon(ports_.path(), 3);
    ASSERT_TRUE(aura.ok() && display.ok() && nippon.ok());
    EXPECT_EQ(Run(KLT_EXAMPLES_DIR "/printers.1c"),
              "Табло: порт открыт\nAura: порт открыт\nAura: посылка отпечатана\n"
              "Nippon: порт открыт\nNippon: посылка отпечатана\nexit 0");
    EXPECT_EQ(nippon.Read(), kNipponHeader + Bytes({0x1B, 0x45, 1}) + Cp("КАССОВЫЙ ЧЕК\n"_cp) +
                                 Bytes({0x1B, 0x45, 0}) + Cp("Итого: 0.3\n"_cp) + Bytes({0x1B, 0x69}));
    EXPECT_EQ(aura.Read().size(), 10u + 3 + 13 + 3 + 11 + 2) << "header, bold, line, bold, line, cut";
    EXPECT_EQ(display.Read().size(), 2u * (1 + 40 + 1)) << "two frames of type 4";
}
#endif

}  // namespace
}  // namespace klt::test
#endif
