// Card reader, special keyboard and workplace key lock, driven by key events dispatched through
// the recorded hook chain in virtual time.
#include <gtest/gtest.h>

#include "frontdesk/keyboard_filters.h"
#include "frontdesk/settings.h"
#include "platform/headless.h"
#include "platform/keyboard.h"
#include "test_support.h"

namespace klt::test {
namespace {

using platform::HookKind;
constexpr std::intptr_t kPassed = 77;  // what the host's own hook answers for a key it receives

class KeyboardFilters : public AddInFixture {
  protected:
    void SetUp() override {
        Start("x");
        // The host's own handling sits at the end of the chain and tells us the key got through.
        platform_.hooks.Install(HookKind::Keyboard,
                                [](int, std::uintptr_t, std::intptr_t) -> std::intptr_t { return kPassed; });
    }
    void Call(std::string_view name, std::vector<host::Value> args = {}) {
        host::Value desk = host().CreateObject("Vkusnica");
        ASSERT_TRUE(host().CallMethod(*desk.GetContext(), std::string(name), std::move(args), nullptr));
    }
    std::intptr_t Press(int vk, std::intptr_t flags = 0) {
        return platform_.hooks.Dispatch(HookKind::Keyboard, 0, vk, flags);
    }
    void Wait(int ms) {
        platform_.loop.RunUntil([] { return false; }, ms);
    }
    // Keys 20 ms apart, as a device types them, then silence.
    void Burst(const std::vector<int>& vks, std::intptr_t flags = 0) {
        for (int vk : vks) {
            Press(vk, flags);
            Wait(20);
        }
        Wait(200);
    }
    std::vector<emu::RecordedEvent> Events() { return host().Events(); }
    static emu::RecordedEvent Card(const std::string& t) { return {Cp("Ридер"_cp), Cp("Пароль"_cp), t}; }
    static emu::RecordedEvent Goods(const std::string& t) { return {Cp("СпецКлава"_cp), Cp("Товар"_cp), t}; }

    platform::HeadlessKeyboard keys_;
    Swap<platform::Keyboard> keysInForce_{platform::ReplaceKeys, &keys_};
};

TEST_F(KeyboardFilters, ASwipeIsOneCardEventWithItsCharactersInOrder) {
    Call("РазрешитьЧитатьКарту"_cp);
    Press(0xBA);  // ';' start sentinel
    Wait(20);
    for (int vk : {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'}) {
        Press(vk);
        Wait(30);
    }
    keys_.down = {0x10};
    Press(0x10);  // Shift itself adds nothing but keeps the burst open
    Wait(30);
    Press(0xBF);  // '?' end sentinel
    keys_.down.clear();
    Wait(99);
    EXPECT_TRUE(Events().empty()) << "99 ms of silence is still the same burst";
    Wait(200);
    EXPECT_EQ(Events(), std::vector<emu::RecordedEvent>{Card(";1234567890?")});
}

TEST_F(KeyboardFilters, FiveCharactersAreAGoodsKeySixACard) {
    Call("РазрешитьЧитатьКарту"_cp);
    Burst({'1', '2', '3', '4', '5'});
    Burst({'1', '2', '3', '4', '5', '6'});
    EXPECT_EQ(Events(), (std::vector<emu::RecordedEvent>{Goods("12345"), Card("123456")}));
}

TEST_F(KeyboardFilters, AltCodesOnTheKeypadDecodeToCharacters) {
    Call("РазрешитьЧитатьКарту"_cp);
    // Alt held, keypad 0 5 3, Alt released; six times with the codes 53 to 58.
    for (int c = 53; c <= 58; ++c) {
        Press(0x12, platform::kKeyAltDown);
        Press(0x60, platform::kKeyAltDown);
        Press(0x60 + c / 10, platform::kKeyAltDown);
        Press(0x60 + c % 10, platform::kKeyAltDown);
        Press(0x12, platform::kKeyAltDown | platform::kKeyWasDown | platform::kKeyReleased);
        Wait(20);
    }
    Wait(200);
    EXPECT_EQ(Events(), std::vector<emu::RecordedEvent>{Card("56789:")});
    // Four characters are too short for a card and are dropped.
    for (int c = 65; c <= 68; ++c) {
        Press(0x12, platform::kKeyAltDown);
        Press(0x60 + c / 10, platform::kKeyAltDown);
        Press(0x60 + c % 10, platform::kKeyAltDown);
    }
    Wait(200);
    EXPECT_EQ(Events().size(), 1u);
    EXPECT_EQ(frontdesk::DecodeAltCodes(std::string("\x12\x62\x65\x66", 4)),
              std::string(1, static_cast<char>(256 % 256)));
    EXPECT_EQ(frontdesk::DecodeAltCodes("\x12\x12xyz"), "") << "empty groups add nothing";
}

TEST_F(KeyboardFilters, CardReaderConsumesAllButUpAndDown) {
    Call("РазрешитьЧитатьКарту"_cp);
    EXPECT_EQ(Press('A'), 1);
    EXPECT_EQ(Press(38), kPassed);
    EXPECT_EQ(Press(40), kPassed);
    EXPECT_EQ(Press(13), 1);
    EXPECT_EQ(Press(27), 1);
    EXPECT_EQ(Press('B', platform::kKeyWasDown), kPassed) << "a repeat goes on untouched";
    EXPECT_EQ(Press('B', platform::kKeyWasDown | platform::kKeyReleased), kPassed);
    EXPECT_EQ(platform_.hooks.Dispatch(HookKind::Keyboard, -1, 'C', 0), kPassed);
    EXPECT_EQ(frontdesk::KeyBurstText(), "A");
    Call("ЗапретитьЧитатьКарту"_cp);
    EXPECT_EQ(Press('A'), kPassed);
}

TEST_F(KeyboardFilters, SwitchingTheReaderOnSetsUsLayoutAndNumLockOnce) {
    Call("ЗапретитьЧитатьКарту"_cp);  // without a prior switch-on: nothing
    EXPECT_FALSE(frontdesk::Settings().cardHook);
    Call("РазрешитьЧитатьКарту"_cp);
    EXPECT_EQ(keys_.layout, "00000409");
    EXPECT_EQ(keys_.pressed, std::vector<int>{0x90});
    EXPECT_TRUE(keys_.numLock);
    Call("РазрешитьЧитатьКарту"_cp);
    EXPECT_EQ(keys_.pressed.size(), 1u);
    EXPECT_EQ(platform_.hooks.Installed(HookKind::Keyboard).size(), 2u) << "ours once, and the host's";
    Call("ЗапретитьЧитатьКарту"_cp);
    keys_.layout = "00000419";
    keys_.layoutLoads = false;
    Call("РазрешитьЧитатьКарту"_cp);
    EXPECT_EQ(keys_.layout, "00000419") << "a layout that cannot load leaves the current one";
    EXPECT_TRUE(frontdesk::Settings().cardHook) << "and the reader still comes on";
    EXPECT_EQ(keys_.pressed.size(), 1u) << "Num Lock was already on";
}

TEST_F(KeyboardFilters, SpecialKeyboardPassesKeysAndKeepsItsFirstPrefix) {
    Call("СпецКлавиатура"_cp, {host::Value(std::string("#"))});
    Call("СпецКлавиатура"_cp, {host::Value(std::string("@"))});
    EXPECT_EQ(frontdesk::Settings().specialKeyboardText, "#");
    EXPECT_EQ(platform_.hooks.Installed(HookKind::Keyboard).size(), 2u);
    keys_.down = {0x10};
    EXPECT_EQ(Press('3'), kPassed);  // Shift+3 is '#'
    keys_.down.clear();
    EXPECT_EQ(Press('4'), kPassed);
    EXPECT_EQ(Press('2'), kPassed);
    EXPECT_EQ(Press(27), 1);
    EXPECT_EQ(Press(13), kPassed);
    Wait(200);
    Burst({'4', '2'});  // without the prefix: dropped
    EXPECT_EQ(Events(), std::vector<emu::RecordedEvent>{Goods("#42")});
}

TEST_F(KeyboardFilters, TheReaderInstalledLastSeesKeysFirstAndTheLastKeyChoosesTheEnd) {
    Call("СпецКлавиатура"_cp, {host::Value(std::string())});
    Call("РазрешитьЧитатьКарту"_cp);
    EXPECT_EQ(Press('7'), 1) << "consumed by the reader; the special keyboard never sees it";
    Wait(200);
    EXPECT_EQ(Events(), std::vector<emu::RecordedEvent>{Goods("7")})
        << "plain end: short text with empty prefix";
}

// Shift, Ctrl or F1 alone start a burst but add nothing; an empty burst is no goods key, even though
// it begins with the empty prefix.
TEST_F(KeyboardFilters, AKeyThatAddsNothingRaisesNothing) {
    Call("СпецКлавиатура"_cp, {host::Value(std::string())});
    Burst({0x70});  // F1, special-keyboard end
    Call("РазрешитьЧитатьКарту"_cp);
    keys_.down = {0x10};
    Burst({0x10});  // Shift alone, plain end
    keys_.down.clear();
    Burst({0x70});
    EXPECT_TRUE(Events().empty());
}

TEST_F(KeyboardFilters, WorkplaceKeyLockLetsOnlyEnterUpAndDownThrough) {
    platform_.hooks.Install(HookKind::Keyboard, &frontdesk::WorkplaceKeyLock);
    EXPECT_EQ(Press('A'), 1);
    EXPECT_EQ(Press(27), 1);
    for (int vk : {13, 38, 40}) EXPECT_EQ(Press(vk), kPassed);
    EXPECT_EQ(Press('A', platform::kKeyReleased | platform::kKeyWasDown), kPassed);
    Wait(200);
    EXPECT_TRUE(Events().empty());
}

TEST_F(KeyboardFilters, ARunawayBurstIsBounded) {
    Call("РазрешитьЧитатьКарту"_cp);
    for (int i = 0; i < 10000; ++i) {
        Press('A' + i % 26);
        if (i % 100 == 0) Wait(1);
    }
    EXPECT_LE(frontdesk::KeyBurstText().size(), frontdesk::kMaxBurstBytes);
    Wait(200);
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].data.size(), frontdesk::kMaxBurstBytes);
    EXPECT_EQ(Events()[0].data.substr(0, 3), "ABC");
}

TEST(TranslateKey, UsLayoutTable) {
    using frontdesk::TranslateKey;
    EXPECT_EQ(TranslateKey('a' - 32, false, false), "A");
    EXPECT_EQ(TranslateKey('Q', true, false), "Q") << "capitals whatever Shift says";
    EXPECT_EQ(TranslateKey('Q', false, true), "") << "Ctrl adds nothing";
    EXPECT_EQ(TranslateKey('0', true, false), ")");
    EXPECT_EQ(TranslateKey('1', true, false), "!");
    EXPECT_EQ(TranslateKey('9', true, false), "(");
    EXPECT_EQ(TranslateKey(0x65, false, false), "5");
    EXPECT_EQ(TranslateKey(0x65, true, false), "");
    EXPECT_EQ(TranslateKey(0x20, false, false), "\x03");
    EXPECT_EQ(TranslateKey(0x20, true, false), "");
    EXPECT_EQ(TranslateKey(0xDE, false, false), "'");
    EXPECT_EQ(TranslateKey(0xDE, true, false), "");
    EXPECT_EQ(TranslateKey(0xDC, true, false), "|");
    EXPECT_EQ(TranslateKey(0xC0, false, false), "`");
    EXPECT_EQ(TranslateKey(0x70, false, false), "") << "F1 is nothing";
}

}  // namespace
}  // namespace klt::test
