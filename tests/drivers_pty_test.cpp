// The printers and the display on a real line: a pseudo-terminal stands in for the device, named
// COM<n> through $KLT_SERIAL_DIR, and the test reads what its other end receives. Whole jobs are
// compared with the golden receipts under tests/golden.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <thread>

#include "drivers/nippon.h"
#include "drivers/serial_channel.h"
#include "drivers/tablo.h"
#include "platform/files.h"
#include "test_support.h"

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
    // Everything that arrives until `count` bytes are in or nothing more came for `quietMs`.
    std::string Read(std::size_t count, int quietMs = 300) {
        std::string out;
        char buffer[4096];
        while (out.size() < count) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, quietMs) <= 0) break;
            ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - out.size()));
            if (n > 0)
                out.append(buffer, static_cast<std::size_t>(n));
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                break;
        }
        return out;
    }
    // The line settings as the device has them now.
    bool Settings(termios& t) const {
        int fd = ::open(slave_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) return false;
        bool got = ::tcgetattr(fd, &t) == 0;
        ::close(fd);
        return got;
    }

  private:
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
        const char* old = std::getenv("KLT_SERIAL_DIR");
        hadOld_ = old != nullptr;
        if (old) old_ = old;
        ::setenv("KLT_SERIAL_DIR", path_.c_str(), 1);
    }
    ~SerialDirectory() {
        if (hadOld_)
            ::setenv("KLT_SERIAL_DIR", old_.c_str(), 1);
        else
            ::unsetenv("KLT_SERIAL_DIR");
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_, old_;
    bool hadOld_ = false;
};

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s += static_cast<char>(b);
    return s;
}

fs::path Golden(const char* name) {
    return fs::path(KLT_TESTS_DIR) / "golden" / name;
}

// Compares with a golden file; KLT_UPDATE_GOLDEN=1 rewrites it instead (review the bytes then).
void ExpectGolden(const char* name, const std::string& bytes) {
    if (const char* update = std::getenv("KLT_UPDATE_GOLDEN"); update && std::string(update) == "1") {
        std::ofstream(Golden(name), std::ios::binary) << bytes;
        return;
    }
    std::ifstream in(Golden(name), std::ios::binary);
    ASSERT_TRUE(in) << Golden(name);
    const std::string golden((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), golden.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        ASSERT_EQ(static_cast<unsigned char>(bytes[i]), static_cast<unsigned char>(golden[i]))
            << "at byte " << i;
}

class PtyFixture : public AddInFixture {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/klt-spool-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        workDir_ = tmpl;
        previousDir_ = fs::current_path();
        fs::current_path(workDir_);
        Start("x");
    }
    void TearDown() override {
        objects_.clear();
        AddInFixture::TearDown();
        assembly::ResetProcessState();  // the spool job closes before its folder goes
        fs::current_path(previousDir_);
        fs::remove_all(workDir_);
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
        return result.GetInt32();
    }
    static host::Value N(std::int32_t n) { return host::Value(n); }
    static host::Value T(std::string_view s) { return host::Value(std::string(s)); }
    bool SpoolExists() const { return fs::exists(workDir_ / "buffer.txt"); }
    std::uintmax_t SpoolSize() const { return fs::file_size(workDir_ / "buffer.txt"); }

    SerialDirectory ports_;
    fs::path workDir_, previousDir_;
    std::vector<host::Value> objects_;
};

class DriversSerialPty : public PtyFixture {};
class DriversPrinterPty : public PtyFixture {};
class DriversDisplayPty : public PtyFixture {};

TEST_F(DriversSerialPty, LineSettingsReachTheDevice) {
    Pty pty(ports_.path(), 5);
    ASSERT_TRUE(pty.ok());
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
    EXPECT_FALSE(t.c_cflag & CSTOPB) << "one stop bit";
    EXPECT_TRUE(t.c_iflag & INPCK) << "parity checked";
    EXPECT_FALSE(t.c_oflag & OPOST) << "binary: a line feed must not become CR LF";
    EXPECT_FALSE(t.c_lflag & (ECHO | ICANON | ISIG));
    EXPECT_TRUE(channel.Write("\n\x00\xFF", 3));
    EXPECT_EQ(pty.Read(3), Bytes({0x0A, 0x00, 0xFF}));
}

TEST_F(DriversSerialPty, APortIsOpenedOnceAndNotShared) {
    Pty five(ports_.path(), 5);
    Pty six(ports_.path(), 6);
    ASSERT_TRUE(five.ok() && six.ok());
    drivers::SerialChannel first, second;
    platform::LineSettings s;
    ASSERT_TRUE(first.Open(5, 100, s));
    drivers::SerialChannel::Failure why{};
    EXPECT_FALSE(second.Open(5, 100, s, &why)) << "another holder is refused";
    EXPECT_EQ(why, drivers::SerialChannel::Failure::NoDevice);
    EXPECT_TRUE(first.Open(6, 100, s)) << "an open channel answers 1 and stays where it is";
    EXPECT_TRUE(first.Write("a", 1));
    EXPECT_EQ(five.Read(1), "a");
    EXPECT_EQ(six.Read(1, 50), "");
    first.Close();
    EXPECT_TRUE(second.Open(5, 100, s)) << "free again once closed";
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

// A receipt as a café prints it: heading, items, total, payment, barcode, cut and drawer pulse.
TEST_F(DriversPrinterPty, AuraReceiptArrivesByteForByte) {
    Pty pty(ports_.path(), 5);
    ASSERT_TRUE(pty.ok());
    host::Context& a = Make("Aura");
    ASSERT_EQ(Answer(a, "ОткрытьПорт"_cp, {N(5), N(500), N(115200)}), 1);
    ASSERT_EQ(Answer(a, "СоздатьПосылку"_cp), 1);
    auto line = [&](std::string_view s) { ASSERT_TRUE(Call(a, "ПечатьСтроки"_cp, {T(s), N(1)})); };
    auto call = [&](std::string_view m, std::vector<host::Value> args = {}) {
        ASSERT_TRUE(Call(a, m, args));
    };
    call("УстановитьПоложение"_cp, {N(1)});
    call("УстановитьФонт"_cp, {N(0), N(1), N(1), N(1), N(0)});
    line("КАФЕ ВКУСНИЦА"_cp);
    call("УстановитьФонт"_cp, {N(0), N(0), N(0), N(0), N(0)});
    line("г. Москва, ул. Лесная, 5"_cp);
    call("ПечатьПустыеСтроки"_cp, {N(1)});
    call("УстановитьПоложение"_cp, {N(0)});
    line("Кассовый чек № 1045"_cp);
    line("Стол 5   Официант: Ёлкина"_cp);
    line("--------------------------------");
    line("Борщ украинский      1 x 185.00"_cp);
    line("Пельмени со сметаной 2 x 240.00"_cp);
    line("Морс клюквенный      3 x  60.00"_cp);
    line("Эспрессо             1 x  90.00"_cp);
    line("--------------------------------");
    call("УстановитьЖирность"_cp, {N(1)});
    call("УстановитьФонт"_cp, {N(0), N(0), N(1), N(1), N(0)});
    line("ИТОГО:                   935.00"_cp);
    call("УстановитьФонт"_cp, {N(0), N(0), N(0), N(0), N(0)});
    call("УстановитьЖирность"_cp, {N(0)});
    line("Наличными               1000.00"_cp);
    line("Сдача                     65.00"_cp);
    call("ПечатьПустыеСтроки"_cp, {N(2)});
    call("УстановитьПоложение"_cp, {N(1)});
    call("УстановитьВысотуШК"_cp, {N(80)});
    call("УстановитьШиринуШК"_cp, {N(2)});
    call("УстановитьШрифтШК"_cp, {N(0)});
    call("ПечатьШрифтНаШК"_cp, {N(2)});
    call("ПечатьШК"_cp, {T("4607001234561")});
    line("Спасибо за визит!"_cp);
    call("УстановитьПодчеркивание"_cp, {N(1)});
    line("Ждём вас снова"_cp);
    call("УстановитьПодчеркивание"_cp, {N(0)});
    call("ПечатьПустыеСтроки"_cp, {N(4)});
    call("ПорезатьБумагу"_cp);
    call("ВнешнийИмпульс"_cp, {N(50)});
    const std::uintmax_t size = SpoolSize();

    ASSERT_EQ(Answer(a, "ОтработатьБуффер"_cp), 1);
    const std::string received = pty.Read(size);
    EXPECT_EQ(received.size(), size - 3) << "everything after the marker";
    EXPECT_EQ(received.substr(0, 10), Bytes({0x1B, 0x40, 0x1B, 0x52, 0x00, 0x1B, 0x53, 0x1B, 0x74, 0x11}));
    EXPECT_EQ(received.substr(received.size() - 7), Bytes({0x1B, 0x69, 0x1B, 0x70, 0x00, 50, 0xFF}));
    EXPECT_FALSE(SpoolExists());
    ExpectGolden("aura_receipt.bin", received);
    EXPECT_TRUE(host().Errors().empty());
    EXPECT_TRUE(platform_.desktop.MessageBoxes().empty());
}

TEST_F(DriversPrinterPty, NipponReceiptArrivesByteForByteThroughTwoObjects) {
    Pty pty(ports_.path(), 3);
    ASSERT_TRUE(pty.ok());
    host::Context& n = Make("Nippon");
    ASSERT_EQ(Answer(n, "OpenPort", {N(3), N(500), N(9600), N(8), N(0)}), 1);
    ASSERT_EQ(Answer(n, "CreatePos"), 1);
    auto line = [&](host::Context& o, std::string_view s) {
        ASSERT_TRUE(Call(o, "PrintString", {T(s), N(1)}));
    };
    auto call = [&](host::Context& o, std::string_view m, std::vector<host::Value> args = {}) {
        ASSERT_TRUE(Call(o, m, args));
    };
    call(n, "SetPolojenie", {N(1)});
    call(n, "SetFontPrint", {N(0), N(1), N(1), N(0), N(0)});
    line(n, "БАР «У ПРИЧАЛА»"_cp);
    call(n, "SetFontPrint", {N(0), N(0), N(0), N(0), N(0)});
    call(n, "SetPolojenie", {N(0)});
    line(n, "Заказ на кухню № 317, стол 12"_cp);
    call(n, "PrintSmallest", {N(1)});
    // The cashier's form holds a second object; it writes into the same job.
    host::Context& other = Make("Nippon");
    line(other, "Солянка сборная     2 x 210.00"_cp);
    line(other, "Шашлык из свинины   1 x 420.00"_cp);
    line(other, "Чай чёрный          2 x  50.00"_cp);
    call(other, "SetBold", {N(1)});
    line(other, "ИТОГО:                  930.00"_cp);
    call(other, "SetBold", {N(0)});
    call(other, "SetHeightBar", {N(60)});
    call(other, "SetFontBar", {N(1)});
    call(other, "PrintFontBar", {N(2)});
    call(other, "PrintBar", {T("00317012")});
    call(other, "PrintSmallest", {N(3)});
    call(other, "CupPaper");
    call(other, "Pulse", {N(100)});
    const std::uintmax_t size = SpoolSize();

    ASSERT_EQ(Answer(other, "PrintBuf"), 1);
    const std::string received = pty.Read(size);
    EXPECT_EQ(received.size(), size - 3);
    EXPECT_EQ(received.substr(0, 3), Bytes({0x1B, 0x74, 0x00}));
    EXPECT_NE(received.find("\xC1\xC0\xD0 \xAB"), std::string::npos) << "the Windows code page as it is";
    EXPECT_FALSE(SpoolExists());
    ExpectGolden("nippon_receipt.bin", received);
    EXPECT_TRUE(host().Errors().empty());
}

TEST_F(DriversPrinterPty, APeerThatVanishesMidJobLeavesTheJobOnDisk) {
    Pty pty(ports_.path(), 4);
    ASSERT_TRUE(pty.ok());
    host::Context& a = Make("Aura");
    ASSERT_EQ(Answer(a, "OpenPort", {N(4), N(2000), N(115200)}), 1);
    ASSERT_EQ(Answer(a, "CreatePos"), 1);
    // More than the line's buffers hold, so the writer waits for the reader.
    const std::string chunk(1000, 'x');
    for (int i = 0; i < 300; ++i) ASSERT_TRUE(Call(a, "PrintString", {T(chunk), N(1)}));
    const std::uintmax_t size = SpoolSize();

    std::atomic<std::size_t> got{0};
    std::thread reader([&] {
        got = pty.Read(1000, 2000).size();
        pty.CloseMaster();
    });
    const auto start = Clock::now();
    EXPECT_EQ(Answer(a, "PrintBuf"), 0);
    reader.join();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(got.load(), 1000u);
    ASSERT_TRUE(SpoolExists());
    EXPECT_EQ(SpoolSize(), size) << "the job is kept whole for another attempt";
}

TEST_F(DriversPrinterPty, APeerThatStopsReadingTimesOutAndTheJobIsKept) {
    Pty pty(ports_.path(), 4);
    ASSERT_TRUE(pty.ok());
    host::Context& a = Make("Aura");
    ASSERT_EQ(Answer(a, "OpenPort", {N(4), N(200), N(115200)}), 1);
    ASSERT_EQ(Answer(a, "CreatePos"), 1);
    const std::string chunk(1000, 'y');
    for (int i = 0; i < 300; ++i) ASSERT_TRUE(Call(a, "PrintString", {T(chunk), N(1)}));
    const auto start = Clock::now();
    EXPECT_EQ(Answer(a, "PrintBuf"), 0);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(SpoolExists());
}

TEST_F(DriversDisplayPty, FramesOfEachDisplayTypeOnTheLine) {
    Pty pty(ports_.path(), 2);
    ASSERT_TRUE(pty.ok());
    host::Context& t = Make("Tablo");
    ASSERT_TRUE(Call(t, "ТипТабло"_cp, {N(1)}));
    ASSERT_EQ(Answer(t, "ОткрытьПорт"_cp, {N(2), N(200)}), 1);
    ASSERT_TRUE(Call(t, "Одновременно"_cp, {T("Щи ёж"_cp), T("Итого к оплате: 1250.00"_cp)}));
    EXPECT_EQ(pty.Read(100), Bytes({0x99, 0xA8, 0x20, 0xF1, 0xA6}) + std::string(15, ' ') +
                                 Bytes({0x88, 0xE2, 0xAE, 0xA3, 0xAE, 0x20, 0xAA, 0x20, 0xAE, 0xAF,
                                        0xAB, 0xA0, 0xE2, 0xA5, 0x3A, 0x20, 0x31, 0x32, 0x35, 0x30}));

    ASSERT_TRUE(Call(t, "ТипТабло"_cp, {N(4)}));
    ASSERT_TRUE(Call(t, "ПерваяСтрока"_cp, {T("Щи ёж"_cp)}));
    // Щ И Ё Ж by table B, the kept second line cut at 20, then the zero byte and the closing 08.
    EXPECT_EQ(pty.Read(100), Bytes({0x0C, 0xE2, 0xA5, 0x20, 0xA2, 0xA3}) + std::string(15, ' ') +
                                 Bytes({0xA5, 0x54, 0x4F, 0xA1, 0x4F, 0x20, 0x4B, 0x20, 0x4F, 0xA8, 0xA7,
                                        0x41, 0x54, 0x45, 0x3A, 0x20, 0x31, 0x32, 0x35, 0x30, 0x00, 0x08}));

    ASSERT_TRUE(Call(t, "ТипТабло"_cp, {N(0)}));
    ASSERT_TRUE(Call(t, "ВтораяСтрока"_cp, {T("Ё"_cp)}));
    EXPECT_EQ(pty.Read(100), Bytes({0xE8, 0xDF, 0x20, 0x45, 0xDD}) + std::string(15, ' ') + Bytes({0x45}) +
                                 std::string(19, ' '));
    ASSERT_TRUE(Call(t, "ЗакрытьПорт"_cp));
    EXPECT_TRUE(host().Errors().empty());
}

}  // namespace
}  // namespace klt::test
#endif
