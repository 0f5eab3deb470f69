// The customer display "Tablo": the character each display type shows for every letter, frames of
// two 20-character lines with the control bytes of type 4, the texts every display object shares,
// and opening the port. The port is a recording stand-in; the pseudo-terminal suite checks frames
// on a line.
#include <set>

#include "drivers_support.h"

namespace klt::test {
namespace {

// Every Cyrillic letter, capital and small, with what table A (types other than 1 and 4) and table
// B (type 4) show for it: look-alike Latin capitals, Ь as an apostrophe, the rest the display's own
// glyphs. Type 1 shows CP866 as it is.
TEST(DriversDisplayCharacters, EveryLetterThroughEachTable) {
    struct Letter {
        const char* pair;
        int a, b;
    };
    const Letter letters[] = {
        {"Аа", 0x41, 0x41}, {"Бб", 0xDA, 0xA0}, {"Вв", 0x42, 0x42}, {"Гг", 0xDB, 0xA1}, {"Дд", 0xDC, 0xE3},
        {"Ее", 0x45, 0x45}, {"Жж", 0xDD, 0xA3}, {"Зз", 0xDE, 0xA4}, {"Ии", 0xDF, 0xA5}, {"Йй", 0xE0, 0xA6},
        {"Кк", 0x4B, 0x4B}, {"Лл", 0xE1, 0xA7}, {"Мм", 0x4D, 0x4D}, {"Нн", 0x48, 0x48}, {"Оо", 0x4F, 0x4F},
        {"Пп", 0xE2, 0xA8}, {"Рр", 0x50, 0x50}, {"Сс", 0x43, 0x43}, {"Тт", 0x54, 0x54}, {"Уу", 0xE3, 0xA9},
        {"Фф", 0xE4, 0xAA}, {"Хх", 0x58, 0x58}, {"Цц", 0xE5, 0xE1}, {"Чч", 0xE6, 0xAB}, {"Шш", 0xE7, 0xAC},
        {"Щщ", 0xE8, 0xE2}, {"Ъъ", 0xE9, 0xAD}, {"Ыы", 0xEA, 0xAE}, {"Ьь", 0x27, 0x27}, {"Ээ", 0xEB, 0xAF},
        {"Юю", 0xEC, 0xB0}, {"Яя", 0xED, 0xB1}, {"Ёё", 0x45, 0xA2},
    };
    using drivers::DisplayCharacter;
    auto shown = [](std::int32_t type, int oem) {
        return static_cast<unsigned char>(DisplayCharacter(type, static_cast<char>(oem)));
    };
    std::set<int> letterCodes;
    for (const Letter& l : letters) {
        for (char c : text::Utf8ToCp1251(l.pair)) {
            const int oem = static_cast<unsigned char>(text::Cp1251ToCp866(c));
            letterCodes.insert(oem);
            SCOPED_TRACE(testing::Message() << l.pair << " " << std::hex << oem);
            EXPECT_EQ(shown(1, oem), oem);
            EXPECT_EQ(shown(4, oem), l.b);
            for (std::int32_t other : {0, 2, 7, -1}) EXPECT_EQ(shown(other, oem), l.a) << other;
        }
    }
    // The letters are exactly the bytes 80-AF and E0-F1; every other byte shows as it is.
    ASSERT_EQ(letterCodes.size(), 66u);
    EXPECT_EQ(*letterCodes.begin(), 0x80);
    EXPECT_EQ(*letterCodes.rbegin(), 0xF1);
    for (int c = 0; c < 256; ++c) {
        if (letterCodes.count(c)) continue;
        EXPECT_EQ(shown(0, c), c) << c;
        EXPECT_EQ(shown(4, c), c) << c;
    }
}

std::string Line(std::string_view text) {
    return std::string(text) + std::string(20 - text.size(), ' ');
}

class DriversDisplay : public DriversFixture {
  protected:
    // A display object of the type with its port open.
    host::Context& Opened(int type) {
        host::Context& t = Make("Tablo");
        EXPECT_TRUE(Call(t, "ТипТабло"_cp, {N(type)}));
        EXPECT_EQ(Answer(t, "ОткрытьПорт"_cp, {N(2), N(50)}), 1);
        return t;
    }
    std::vector<std::string> Writes() const {
        std::vector<std::string> w;
        for (const auto& [port, bytes] : ports_.writes) w.push_back(bytes);
        return w;
    }

    RecordingPorts ports_;
};

TEST_F(DriversDisplay, EachCallSendsOneFrameOfTwoTwentyCharacterLines) {
    struct Case {
        int type;
        const char* method;
        std::vector<host::Value> args;
        std::vector<std::string> writes;
    };
    const std::string sum = text::Cp1251ToCp866(Cp("Сумма"_cp));
    const std::string sumByTableB = Bytes({0x43, 0xA9, 0x4D, 0x4D, 0x41});
    const std::string twentyFive = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    const Case cases[] = {
        {1, "Одновременно", {T("Сумма"_cp), T("125.50")}, {Line(sum) + Line("125.50")}},
        {4,
         "Одновременно",
         {T("Сумма"_cp), T("125.50")},
         {"\x0C", Line(sumByTableB) + Line("125.50"), "\x08"}},
        // Only the first twenty characters show.
        {1,
         "Одновременно",
         {T(twentyFive), T(std::string(5000, 'z'))},
         {twentyFive.substr(0, 20) + std::string(20, 'z')}},
        // The first line keeps the second and ends its frame with a zero byte.
        {1, "ПерваяСтрока", {T("uno")}, {Line("uno") + std::string(20, 'z') + '\0'}},
        {4, "ПерваяСтрока", {T("uno")}, {"\x0C", Line("uno") + std::string(20, 'z') + '\0', "\x08"}},
        {1, "ВтораяСтрока", {T("dos")}, {Line("uno") + Line("dos")}},
    };
    host::Context& t = Opened(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.method) + " type " + std::to_string(c.type));
        ports_.writes.clear();
        ASSERT_TRUE(Call(t, "ТипТабло"_cp, {N(c.type)}));
        ASSERT_TRUE(Call(t, text::Utf8ToCp1251(c.method), c.args));
        EXPECT_EQ(Writes(), c.writes);
    }
}

TEST_F(DriversDisplay, StoredTextsAreSharedAndOnlyShownWhenAsked) {
    host::Context& first = Make("Tablo");
    ASSERT_TRUE(Call(first, "СтрокаПростой1"_cp, {T("Welcome")}));
    ASSERT_TRUE(Call(first, "СтрокаПростой2"_cp, {T("to us")}));
    ASSERT_TRUE(Call(first, "СтрокаНеработает1"_cp, {T("Closed")}));
    ASSERT_TRUE(Call(first, "СтрокаНеработает2"_cp, {T("")}));
    host::Context& second = Opened(1);
    EXPECT_TRUE(ports_.writes.empty()) << "storing a text sends nothing";
    ASSERT_TRUE(Call(second, "Простой"_cp));
    ASSERT_TRUE(Call(second, "Неработаем"_cp));
    EXPECT_EQ(Writes(),
              (std::vector<std::string>{Line("Welcome") + Line("to us"), Line("Closed") + Line("")}));
}

TEST_F(DriversDisplay, OpeningWithoutATypeAsksForItAndOpensNothing) {
    host::Context& t = Make("Tablo");
    EXPECT_EQ(Answer(t, "ОткрытьПорт"_cp, {N(2), N(50)}), 0);
    ASSERT_EQ(platform_.desktop.MessageBoxes().size(), 1u);
    EXPECT_EQ(platform_.desktop.MessageBoxes()[0].text, Cp("Не задан тип ТАБЛО ПОКУПАТЕЛЯ"_cp));
    EXPECT_EQ(platform_.desktop.MessageBoxes()[0].flags, 0u);
    EXPECT_TRUE(ports_.requests.empty());

    ASSERT_TRUE(Call(t, "ТипТабло"_cp, {N(4)}));
    EXPECT_EQ(Answer(t, "ОткрытьПорт"_cp, {N(2), N(50)}), 1);
    ASSERT_EQ(ports_.requests.size(), 1u);
    const RecordingPorts::Request& r = ports_.requests[0];
    EXPECT_EQ(r.number, 2);
    EXPECT_EQ(r.timeoutMs, 50u);
    EXPECT_EQ(r.settings.baudRate, 9600u);
    EXPECT_EQ(r.settings.dataBits, 8);
    EXPECT_EQ(r.settings.parity, platform::Parity::None);
    EXPECT_FALSE(r.settings.abortOnError);
    EXPECT_EQ(platform_.desktop.MessageBoxes().size(), 1u);
}

TEST_F(DriversDisplay, FramesThatCannotGoOutAreDroppedQuietly) {
    host::Context& closed = Make("Tablo");
    ASSERT_TRUE(Call(closed, "ТипТабло"_cp, {N(4)}));
    ASSERT_TRUE(Call(closed, "Одновременно"_cp, {T("a"), T("b")}));
    ASSERT_TRUE(Call(closed, "ЗакрытьПорт"_cp));
    EXPECT_TRUE(ports_.writes.empty());

    // Once a write times out the rest of the frame is not offered: one stall per call, not three.
    host::Context& stalled = Opened(4);
    ports_.writesBeforeFailure = 0;
    ASSERT_TRUE(Call(stalled, "Одновременно"_cp, {T("a"), T("b")}));
    EXPECT_EQ(ports_.failedWrites, 1);
    ports_.writesBeforeFailure = 1;
    ASSERT_TRUE(Call(stalled, "Простой"_cp));
    EXPECT_EQ(ports_.failedWrites, 2);
    EXPECT_EQ(Writes(), std::vector<std::string>{"\x0C"});
    EXPECT_TRUE(host().Errors().empty());
}

}  // namespace
}  // namespace klt::test
