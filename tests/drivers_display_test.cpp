// The customer display "Tablo": frames of two 20-character lines in the character set of each
// display type, the control bytes of type 4, the texts every display object shares, and opening
// the port. The port is a recording stand-in; the pseudo-terminal suite checks frames on a line.
#include <gtest/gtest.h>

#include "drivers/tablo.h"
#include "platform/serial.h"
#include "test_support.h"

namespace klt::test {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s += static_cast<char>(b);
    return s;
}

class DisplayPorts : public platform::SerialPorts {
  public:
    DisplayPorts() : previous_(platform::ReplaceSerial(this)) {}
    ~DisplayPorts() override { platform::ReplaceSerial(previous_); }

    platform::SerialOpenResult Open(int number, const platform::LineSettings& s,
                                    std::uint32_t timeoutMs) override {
        opened.push_back(number);
        settings = s;
        timeout = timeoutMs;
        platform::SerialOpenResult r;
        r.port = std::make_unique<Port>(*this);
        r.status = platform::SerialOpenStatus::Opened;
        return r;
    }

    std::vector<int> opened;
    platform::LineSettings settings;
    std::uint32_t timeout = 0;
    std::vector<std::string> writes;

  private:
    class Port : public platform::SerialPort {
      public:
        explicit Port(DisplayPorts& owner) : owner_(owner) {}
        bool Write(const void* data, std::size_t size) override {
            owner_.writes.emplace_back(static_cast<const char*>(data), size);
            return true;
        }

      private:
        DisplayPorts& owner_;
    };
    platform::SerialPorts* previous_;
};

class DriversDisplay : public AddInFixture {
  protected:
    void SetUp() override { Start("x"); }
    void TearDown() override {
        objects_.clear();
        AddInFixture::TearDown();
    }
    host::Context& Make() {
        objects_.push_back(host().CreateObject("Tablo"));
        return *objects_.back().GetContext();
    }
    // A display object of the type with its port open.
    host::Context& Opened(int type) {
        host::Context& t = Make();
        EXPECT_TRUE(Call(t, "ТипТабло"_cp, {host::Value(type)}));
        host::Value result;
        EXPECT_TRUE(
            host().CallMethod(t, std::string("ОткрытьПорт"_cp), {host::Value(2), host::Value(50)}, &result));
        EXPECT_EQ(result.GetInt32(), 1);
        return t;
    }
    bool Call(host::Context& o, std::string_view name, std::vector<host::Value> args = {}) {
        return host().CallMethod(o, std::string(name), std::move(args), nullptr);
    }
    static host::Value T(std::string_view s) { return host::Value(std::string(s)); }

    DisplayPorts ports_;
    std::vector<host::Value> objects_;
};

TEST_F(DriversDisplay, TypeOneShowsCp866PaddedToTwentyCharactersPerLine) {
    host::Context& t = Opened(1);
    ASSERT_TRUE(Call(t, "Одновременно"_cp, {T("Сумма"_cp), T("125.50")}));
    ASSERT_EQ(ports_.writes.size(), 1u) << "one frame, one write";
    EXPECT_EQ(ports_.writes[0],
              Bytes({0x91, 0xE3, 0xAC, 0xAC, 0xA0}) + std::string(15, ' ') + "125.50" + std::string(14, ' '));
}

TEST_F(DriversDisplay, TypeFourWrapsTheFrameInItsOwnControlBytes) {
    host::Context& t = Opened(4);
    ASSERT_TRUE(Call(t, "Одновременно"_cp, {T("Сумма"_cp), T("125.50")}));
    ASSERT_EQ(ports_.writes.size(), 3u);
    EXPECT_EQ(ports_.writes[0], "\x0C");
    // С М А are Latin capitals; у as У (A9) and м as М (4D), table B.
    EXPECT_EQ(ports_.writes[1],
              Bytes({0x43, 0xA9, 0x4D, 0x4D, 0x41}) + std::string(15, ' ') + "125.50" + std::string(14, ' '));
    EXPECT_EQ(ports_.writes[2], "\x08");
}

TEST_F(DriversDisplay, OtherTypesUseTableAWithCapitalsForSmallLetters) {
    host::Context& t = Opened(0x7777);
    ASSERT_TRUE(Call(t, "Одновременно"_cp, {T("Бьёт Яя"_cp), T("ЁЖ"_cp)}));
    ASSERT_EQ(ports_.writes.size(), 1u);
    EXPECT_EQ(ports_.writes[0].substr(0, 7), Bytes({0xDA, 0x27, 0x45, 0x54, 0x20, 0xED, 0xED}));
    EXPECT_EQ(ports_.writes[0].substr(20, 2), Bytes({0x45, 0xDD}));
    EXPECT_EQ(ports_.writes[0].size(), 40u);
}

TEST(DriversDisplayCharacters, TablesAAndBAgreeOnLatinLookalikesAndDifferElsewhere) {
    using drivers::DisplayCharacter;
    const char* lookalikes = "АВЕКМНОРСТХ";
    const std::string cp = text::Utf8ToCp1251(lookalikes);
    const std::string latin = "ABEKMHOPCTX";
    for (std::size_t i = 0; i < cp.size(); ++i) {
        const char oem = text::Cp1251ToCp866(cp[i]);
        EXPECT_EQ(DisplayCharacter(0, oem), latin[i]) << i;
        EXPECT_EQ(DisplayCharacter(4, oem), latin[i]) << i;
        EXPECT_EQ(DisplayCharacter(1, oem), oem) << "type 1 takes CP866 as it is";
    }
    const char yo = text::Cp1251ToCp866('\xB8');  // ё
    EXPECT_EQ(static_cast<unsigned char>(yo), 0xF1);
    EXPECT_EQ(static_cast<unsigned char>(DisplayCharacter(0, yo)), 0x45);
    EXPECT_EQ(static_cast<unsigned char>(DisplayCharacter(4, yo)), 0xA2);
    EXPECT_EQ(static_cast<unsigned char>(DisplayCharacter(2, yo)), 0x45);
    // Ь, and the last capital Я together with its small letter.
    EXPECT_EQ(DisplayCharacter(0, text::Cp1251ToCp866('\xDC')), '\x27');
    EXPECT_EQ(static_cast<unsigned char>(DisplayCharacter(0, '\x9F')), 0xED);
    EXPECT_EQ(static_cast<unsigned char>(DisplayCharacter(0, '\xEF')), 0xED);
    EXPECT_EQ(static_cast<unsigned char>(DisplayCharacter(4, '\x9F')), 0xB1);
    EXPECT_EQ(static_cast<unsigned char>(DisplayCharacter(4, '\xEF')), 0xB1);
    EXPECT_EQ(static_cast<unsigned char>(DisplayCharacter(4, '\xAF')), 0xA8);  // п as П
    // Pseudo-graphics between the two letter ranges stay as they are.
    EXPECT_EQ(static_cast<unsigned char>(DisplayCharacter(0, '\xB3')), 0xB3);
    EXPECT_EQ(static_cast<unsigned char>(DisplayCharacter(4, '\xF2')), 0xF2);
}

TEST_F(DriversDisplay, LongTextsShowTheirFirstTwentyCharacters) {
    host::Context& t = Opened(1);
    const std::string twentyFive = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    ASSERT_TRUE(Call(t, "Одновременно"_cp, {T(twentyFive), T(std::string(5000, 'z'))}));
    ASSERT_EQ(ports_.writes.size(), 1u);
    EXPECT_EQ(ports_.writes[0], twentyFive.substr(0, 20) + std::string(20, 'z'));
}

TEST_F(DriversDisplay, FirstLineKeepsTheSecondAndEndsItsFrameWithAZero) {
    host::Context& t = Opened(1);
    ASSERT_TRUE(Call(t, "Одновременно"_cp, {T("one"), T("two")}));
    ASSERT_TRUE(Call(t, "ПерваяСтрока"_cp, {T("uno")}));
    ASSERT_TRUE(Call(t, "ВтораяСтрока"_cp, {T("dos")}));
    ASSERT_EQ(ports_.writes.size(), 3u);
    EXPECT_EQ(ports_.writes[1],
              "uno" + std::string(17, ' ') + "two" + std::string(17, ' ') + std::string(1, '\0'));
    EXPECT_EQ(ports_.writes[1].size(), 41u);
    EXPECT_EQ(ports_.writes[2], "uno" + std::string(17, ' ') + "dos" + std::string(17, ' '));
}

TEST_F(DriversDisplay, StoredTextsAreSharedAndOnlyShownWhenAsked) {
    host::Context& first = Make();
    ASSERT_TRUE(Call(first, "СтрокаПростой1"_cp, {T("Welcome")}));
    ASSERT_TRUE(Call(first, "СтрокаПростой2"_cp, {T("to us")}));
    ASSERT_TRUE(Call(first, "СтрокаНеработает1"_cp, {T("Closed")}));
    ASSERT_TRUE(Call(first, "СтрокаНеработает2"_cp, {T("")}));
    host::Context& second = Opened(1);
    EXPECT_TRUE(ports_.writes.empty()) << "storing a text sends nothing";
    ASSERT_TRUE(Call(second, "Простой"_cp));
    ASSERT_TRUE(Call(second, "Неработаем"_cp));
    ASSERT_EQ(ports_.writes.size(), 2u);
    EXPECT_EQ(ports_.writes[0], "Welcome" + std::string(13, ' ') + "to us" + std::string(15, ' '));
    EXPECT_EQ(ports_.writes[1], "Closed" + std::string(14, ' ') + std::string(20, ' '));
}

TEST_F(DriversDisplay, OpeningWithoutATypeAsksForItAndOpensNothing) {
    host::Context& t = Make();
    host::Value result;
    ASSERT_TRUE(
        host().CallMethod(t, std::string("ОткрытьПорт"_cp), {host::Value(2), host::Value(50)}, &result));
    EXPECT_EQ(result.GetInt32(), 0);
    EXPECT_EQ(result.kind(), host::ValueKind::Number);
    ASSERT_EQ(platform_.desktop.MessageBoxes().size(), 1u);
    EXPECT_EQ(platform_.desktop.MessageBoxes()[0].text, Cp("Не задан тип ТАБЛО ПОКУПАТЕЛЯ"_cp));
    EXPECT_EQ(platform_.desktop.MessageBoxes()[0].flags, 0u);
    EXPECT_TRUE(ports_.opened.empty());

    ASSERT_TRUE(Call(t, "ТипТабло"_cp, {host::Value(4)}));
    ASSERT_TRUE(
        host().CallMethod(t, std::string("ОткрытьПорт"_cp), {host::Value(2), host::Value(50)}, &result));
    EXPECT_EQ(result.GetInt32(), 1);
    EXPECT_EQ(ports_.opened, std::vector<int>{2});
    EXPECT_EQ(ports_.settings.baudRate, 9600u);
    EXPECT_EQ(ports_.settings.dataBits, 8);
    EXPECT_EQ(ports_.settings.parity, platform::Parity::None);
    EXPECT_FALSE(ports_.settings.abortOnError);
    EXPECT_EQ(ports_.timeout, 50u);
    EXPECT_EQ(platform_.desktop.MessageBoxes().size(), 1u);
}

TEST_F(DriversDisplay, FramesToAClosedPortAreDroppedQuietly) {
    host::Context& t = Make();
    ASSERT_TRUE(Call(t, "ТипТабло"_cp, {host::Value(4)}));
    ASSERT_TRUE(Call(t, "Одновременно"_cp, {T("a"), T("b")}));
    ASSERT_TRUE(Call(t, "ЗакрытьПорт"_cp));
    EXPECT_TRUE(ports_.writes.empty());
    EXPECT_TRUE(host().Errors().empty());
}

}  // namespace
}  // namespace klt::test
