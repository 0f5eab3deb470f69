// Start-up and shut-down of the add-in inside the emulated host, and the external events.
#include <gtest/gtest.h>

#include "core/events.h"
#include "hostwin/interception.h"
#include "frontdesk/keyboard_filters.h"
#include "frontdesk/settings.h"
#include "test_support.h"

namespace klt::test {
namespace {

using platform::HookKind;

std::map<std::string, host::Value> FrontOfficeConstants() {
    return {{Cp("ВыводитьЦену"_cp), host::Value(1)},
            {Cp("ОтображатьКартинки"_cp), host::Value(host::Numeric::FromParts(27, 1))},  // 2.7 reads 2
            {Cp("ОтображатьТекст"_cp), host::Value(-1)}};
}

class StartUp : public AddInFixture {};

TEST_F(StartUp, WorkplaceGetsFormHookKeyLockAndConstants) {
    Start(Cp("РабочееМесто"_cp), FrontOfficeConstants());
    const core::AddInState& s = core::State();
    EXPECT_EQ(platform_.hooks.Installed(HookKind::CallWndProcRet),
              std::vector<platform::HookProc>{&hostwin::WorkplaceFormHook});
    EXPECT_EQ(platform_.hooks.Installed(HookKind::Keyboard),
              std::vector<platform::HookProc>{&frontdesk::WorkplaceKeyLock});
    EXPECT_TRUE(s.formHook);
    EXPECT_TRUE(frontdesk::Settings().keyLock);
    EXPECT_EQ(s.pocketMode, 0);
    EXPECT_EQ(s.showPrice, 1);
    EXPECT_EQ(s.showPictures, 2);
    EXPECT_EQ(s.showText, -1);
}

TEST_F(StartUp, PocketWorkplaceGetsPocketHookOnlyAndReadsNoConstants) {
    Start(Cp("РабочееМестоPPC"_cp), FrontOfficeConstants());
    const core::AddInState& s = core::State();
    EXPECT_EQ(platform_.hooks.Installed(HookKind::CallWndProcRet),
              std::vector<platform::HookProc>{&hostwin::PocketFormHook});
    EXPECT_TRUE(platform_.hooks.Installed(HookKind::Keyboard).empty());
    EXPECT_EQ(s.pocketMode, 1);
    EXPECT_EQ(s.showPrice, 0);
    EXPECT_EQ(s.showPictures, 0);
    EXPECT_EQ(s.showText, 0);
}

TEST_F(StartUp, AnyOtherNameIsTheAdministratorEvenInAnotherCase) {
    for (std::string name : {Cp("рабочееместо"_cp), Cp("РАБОЧЕЕМЕСТО"_cp), Cp("РабочееМестоppc"_cp),
                             Cp("РабочееМесто "_cp), std::string(), Cp("Администратор"_cp)}) {
        SCOPED_TRACE(text::Cp1251ToUtf8(name));
        Start(name, FrontOfficeConstants());
        EXPECT_EQ(platform_.hooks.Installed(HookKind::CallWndProcRet),
                  std::vector<platform::HookProc>{&hostwin::AdminFormHook});
        EXPECT_TRUE(platform_.hooks.Installed(HookKind::Keyboard).empty());
        EXPECT_EQ(core::State().pocketMode, 0);
        EXPECT_EQ(core::State().showPrice, 0);
        assembly::Done();
        EXPECT_TRUE(platform_.hooks.Installed(HookKind::CallWndProcRet).empty());
    }
}

TEST_F(StartUp, MissingConstantsReadZero) {
    Start(Cp("РабочееМесто"_cp), {{Cp("ВыводитьЦену"_cp), host::Value(5)}});
    EXPECT_EQ(core::State().showPrice, 5);
    EXPECT_EQ(core::State().showPictures, 0);
    EXPECT_EQ(core::State().showText, 0);
    EXPECT_EQ(core::GetHostConstant("Nothing"), host::Value(0));
    EXPECT_EQ(core::GetHostConstant(Cp("выводитьцену"_cp)), host::Value(5)) << "constant names fold case";
}

TEST_F(StartUp, AConfigurationWithoutConstantsCollectionReadsZero) {
    emu::HostSettings s;
    s.rightsSetName = Cp("РабочееМесто"_cp);
    s.hasConstants = false;
    host_ = std::make_unique<emu::EmulatedHost>(s);
    assembly::Init(host_.get(), host_.get());
    EXPECT_EQ(core::State().showPrice, 0);
    EXPECT_EQ(core::GetHostConstant(Cp("ВыводитьЦену"_cp)), host::Value(0));
}

TEST_F(StartUp, ClassesAreRegisteredInOrderWithFreshIdentifiers) {
    Start("x");
    EXPECT_EQ(host().RegisteredNames(),
              (std::vector<std::string>{"Vkusnica", "Windows", "Aura", "Nippon", "Tablo", "Zaly"}));
    std::set<std::int64_t> numbers;
    for (const host::ObjectId& id : core::State().classObjectIds) {
        EXPECT_EQ(id.dbSign, host().GetMetaData()->GetDefDBSign());
        numbers.insert(id.number);
    }
    EXPECT_EQ(numbers.size(), 6u);
    host::Value aura = host().CreateObject("aura");
    ASSERT_NE(aura.GetContext(), nullptr) << "1C creates objects by name without regard to case";
    EXPECT_EQ(aura.GetContext()->GetID(), core::State().classObjectIds[2]);
}

TEST_F(StartUp, DirectoryAndMainWindow) {
    Start("x", {}, "\\\\srv\\base\\");
    EXPECT_EQ(core::State().ibDirectory, "\\\\srv\\\\base\\\\");
    EXPECT_EQ(core::State().hostMainWindow, platform_.desktop.MainWindow());
}

TEST(DoubleBackslashes, LocalNetworkAndOddPaths) {
    EXPECT_EQ(core::DoubleBackslashes("C:\\Base\\"), "C:\\\\Base\\\\");
    EXPECT_EQ(core::DoubleBackslashes("C:\\1C\\base\\"), "C:\\\\1C\\\\base\\\\");
    EXPECT_EQ(core::DoubleBackslashes("\\\\srv\\share\\"), "\\\\srv\\\\share\\\\");
    EXPECT_EQ(core::DoubleBackslashes("\\\\"), "\\\\");
    EXPECT_EQ(core::DoubleBackslashes("\\x"), "\\\\x") << "a single leading backslash is not a network path";
    EXPECT_EQ(core::DoubleBackslashes(""), "");
    EXPECT_EQ(core::DoubleBackslashes("/srv/base/"), "/srv/base/");
    EXPECT_EQ(core::DoubleBackslashes(Cp("C:\\Бухгалтерия\\"_cp)), Cp("C:\\\\Бухгалтерия\\\\"_cp));
}

TEST_F(StartUp, DoneUnregistersRemovesHooksAndSilencesEvents) {
    Start(Cp("РабочееМесто"_cp));
    core::RaiseCardEvent("123");
    ASSERT_EQ(host().Events().size(), 1u);
    assembly::Done();
    EXPECT_TRUE(host().RegisteredNames().empty());
    EXPECT_TRUE(host().CreateObject("Aura").IsEmpty());
    EXPECT_TRUE(platform_.hooks.Installed(HookKind::CallWndProcRet).empty());
    EXPECT_TRUE(platform_.hooks.Installed(HookKind::Keyboard).empty());
    core::RaiseCardEvent("456");
    EXPECT_EQ(host().Events().size(), 1u);
    assembly::Done();  // a second Done does nothing
}

TEST_F(StartUp, InitTwiceDoesNotStackHooks) {
    Start(Cp("РабочееМесто"_cp));
    assembly::Init(host_.get(), host_.get());
    EXPECT_EQ(platform_.hooks.Installed(HookKind::CallWndProcRet).size(), 1u);
    EXPECT_EQ(platform_.hooks.Installed(HookKind::Keyboard).size(), 1u);
    EXPECT_EQ(host().RegisteredNames().size(), 6u);
}

TEST_F(StartUp, WithoutAHostOrSinkStartUpStillSucceeds) {
    assembly::Init(nullptr, nullptr);
    EXPECT_TRUE(core::State().initialised);
    EXPECT_EQ(platform_.hooks.Installed(HookKind::CallWndProcRet),
              std::vector<platform::HookProc>{&hostwin::AdminFormHook});
    core::RaiseWatchTimerEvent();  // dropped, no crash
    EXPECT_EQ(core::GetHostConstant("x"), host::Value(0));
}

TEST_F(StartUp, FormHooksPassEveryCallOnAndTheKeyLockOnlyItsKeys) {
    Start(Cp("РабочееМесто"_cp));
    // A hook installed before ours (the host's own) must still see what we pass on.
    static int seen = 0;
    seen = 0;
    auto hostHook = [](int, std::uintptr_t w, std::intptr_t) -> std::intptr_t {
        ++seen;
        return static_cast<std::intptr_t>(w) + 1;
    };
    frontdesk::Settings().keyLock.Reset();
    core::State().formHook.Reset();
    platform_.hooks.Install(HookKind::Keyboard, hostHook);
    platform_.hooks.Install(HookKind::CallWndProcRet, hostHook);
    platform_.hooks.Install(HookKind::Keyboard, &frontdesk::WorkplaceKeyLock);
    platform_.hooks.Install(HookKind::CallWndProcRet, &hostwin::WorkplaceFormHook);
    platform::ReturnedMessage shown{0, 0, 1, platform::kMsgShowWindow, platform_.desktop.MainWindow()};
    EXPECT_EQ(
        platform_.hooks.Dispatch(HookKind::CallWndProcRet, 0, 5, reinterpret_cast<std::intptr_t>(&shown)), 6);
    EXPECT_EQ(platform_.hooks.Dispatch(HookKind::Keyboard, 0, 13, 0), 14) << "Enter reaches the host";
    EXPECT_EQ(platform_.hooks.Dispatch(HookKind::Keyboard, 0, 'A', 0), 1) << "a letter is kept from it";
    EXPECT_EQ(seen, 2);
}

TEST(Events, DroppedBeforeInitAndSentWithExactTexts) {
    emu::EmulatedHost h({});
    TestPlatform p;
    core::RaiseGoodsKeyEvent("x");  // no sink yet: nothing happens

    assembly::Init(&h, &h);
    core::RaiseWatchTimerEvent();
    core::RaiseNamedWatchEvent(Cp("ЗакрытиеЧека"_cp));
    core::RaiseRefreshEvent();
    core::RaiseCardEvent(";123456?");
    core::RaiseGoodsKeyEvent(Cp("Пиво"_cp));
    assembly::Done();
    const std::vector<emu::RecordedEvent> expected = {
        {Cp("Компонента"_cp), Cp("Таймер"_cp), ""},
        {Cp("Компонента"_cp), Cp("ЗакрытиеЧека"_cp), ""},
        {Cp("Обновление"_cp), "", ""},
        {Cp("Ридер"_cp), Cp("Пароль"_cp), ";123456?"},
        {Cp("СпецКлава"_cp), Cp("Товар"_cp), Cp("Пиво"_cp)},
    };
    EXPECT_EQ(h.Events(), expected);
    EXPECT_EQ(h.DroppedEvents(), 0u);
}

TEST(Events, TheHostKeepsOneUntilInitSetsTheDepthAndLosesWhatDoesNotFit) {
    TestPlatform p;
    emu::EmulatedHost h({});
    const emu::RecordedEvent first{"A", "1", ""}, third{"C", "3", ""};
    h.ExternalEvent("A", "1", "");
    h.ExternalEvent("B", "2", "");  // before the host is idle: no room
    EXPECT_EQ(h.Events(), std::vector<emu::RecordedEvent>{first});
    EXPECT_EQ(h.DroppedEvents(), 1u);
    // Idle, the host empties its buffer when its loop turns.
    const auto idle = [&] { return p.loop.RunUntil([&] { return h.BufferedEvents() == 0; }, 10); };
    ASSERT_TRUE(idle());
    h.ExternalEvent("C", "3", "");
    EXPECT_EQ(h.Events(), (std::vector<emu::RecordedEvent>{first, third}));
    ASSERT_TRUE(idle());

    assembly::Init(&h, &h);
    EXPECT_EQ(h.EventBufferDepth(), core::kEventBufferDepth);
    core::RaiseCardEvent(";42?");
    core::RaiseGoodsKeyEvent("7");
    EXPECT_EQ(h.DroppedEvents(), 1u) << "a swipe and a key code back to back both arrive";
    ASSERT_EQ(h.Events().size(), 4u);
    EXPECT_EQ(h.Events()[3], (emu::RecordedEvent{Cp("СпецКлава"_cp), Cp("Товар"_cp), "7"}));
    for (long i = 0; i < core::kEventBufferDepth; ++i) core::RaiseRefreshEvent();
    EXPECT_EQ(h.DroppedEvents(), 3u) << "the two waiting events leave room for all but two";
    assembly::Done();
}

}  // namespace
}  // namespace klt::test
