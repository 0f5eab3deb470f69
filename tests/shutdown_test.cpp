// Shut-down lets go of everything: after Done no hook, timer, watched socket or port of ours is
// left, so the host may unload the DLL; before it, the DLL says it is in use.
#include <gtest/gtest.h>

#include "drivers/serial_channel.h"
#include "drivers/tablo.h"
#include "frontdesk/keyboard_filters.h"
#include "frontdesk/settings.h"
#include "halls/notice_listener.h"
#include "halls/plan.h"
#include "hostwin/window_state.h"
#include "platform/keyboard.h"
#include "platform/scoped.h"
#include "platform/serial.h"
#include "test_support.h"

namespace klt::test {
namespace {

using platform::HookKind;

// Ports that always open and take every byte.
class OpenPorts : public platform::SerialPorts {
  public:
    platform::SerialOpenResult Open(int, const platform::LineSettings&, std::uint32_t) override {
        struct Port : platform::SerialPort {
            bool Write(const void*, std::size_t) override { return true; }
        };
        platform::SerialOpenResult r;
        r.port = std::make_unique<Port>();
        r.status = platform::SerialOpenStatus::Opened;
        return r;
    }
};

class ShutDown : public AddInFixture {
  protected:
    void SetUp() override { Start(Cp("РабочееМесто"_cp)); }
    host::Context& Make(const char* type) {
        objects_.push_back(host().CreateObject(type));
        return *objects_.back().GetContext();
    }
    int Answer(host::Context& o, std::string_view name, std::vector<host::Value> args = {}) {
        host::Value result;
        EXPECT_TRUE(host().CallMethod(o, std::string(name), std::move(args), &result)) << name;
        return result.GetInt32();
    }
    void Call(host::Context& o, std::string_view name, std::vector<host::Value> args = {}) {
        EXPECT_TRUE(host().CallMethod(o, std::string(name), std::move(args), nullptr)) << name;
    }

    platform::HeadlessKeyboard keys_;
    Swap<platform::Keyboard> keysInForce_{platform::ReplaceKeys, &keys_};
    OpenPorts ports_;
    Swap<platform::SerialPorts> portsInForce_{platform::ReplaceSerial, &ports_};
    std::vector<host::Value> objects_;
};

TEST_F(ShutDown, DoneLeavesNoHookTimerSocketOrPortOfOursAlive) {
    host::Context& desk = Make("Vkusnica");
    Call(desk, "РазрешитьЧитатьКарту"_cp);
    Call(desk, "СпецКлавиатура"_cp, {host::Value(std::string())});
    host::Context& windows = Make("Windows");
    hostwin::WindowState().currentWindow = platform_.desktop.CreateWindow();
    Call(windows, "УстановитьХЭНД"_cp);
    Call(windows, "ОжиданиеЗакрытияФормы"_cp);
    host::Context& tablo = Make("Tablo");
    Call(tablo, "ТипТабло"_cp, {host::Value(1)});
    ASSERT_EQ(Answer(tablo, "ОткрытьПорт"_cp, {host::Value(2), host::Value(50)}), 1);
    ASSERT_EQ(Answer(Make("Nippon"), "OpenPort",
                     {host::Value(3), host::Value(50), host::Value(9600), host::Value(8), host::Value(0)}),
              1);
    halls::NoticeSocket listener;
    ASSERT_TRUE(listener.StartListening(0, [](const std::string&) {}));
    platform_.hooks.Dispatch(HookKind::Keyboard, 0, '1', 0);  // a burst is under way: its timer runs

    EXPECT_EQ(platform_.hooks.Installed(HookKind::Keyboard).size(), 3u)
        << "key lock, reader, special keyboard";
    EXPECT_EQ(platform_.hooks.Installed(HookKind::CallWndProcRet).size(), 1u);
    EXPECT_EQ(platform_.loop.Held().timers, 2u);
    EXPECT_EQ(platform_.loop.Held().watches, 1u);
    EXPECT_EQ(drivers::OpenChannelCount(), 2u);
    EXPECT_TRUE(assembly::InUse());

    assembly::Done();
    EXPECT_EQ(platform_.hooks.Count(), 0u);
    EXPECT_TRUE(platform_.loop.Held().Empty());
    EXPECT_EQ(drivers::OpenChannelCount(), 0u);
    EXPECT_FALSE(listener.Listening());
    EXPECT_FALSE(assembly::InUse());
    platform_.loop.RunUntil([] { return false; }, 500);
    EXPECT_TRUE(host().Events().empty()) << "the cut-off burst and the wait raise nothing";
}

// Each of these alone keeps the DLL in use until it is let go.
TEST_F(ShutDown, AnyOneResourceLeftKeepsTheDllInUse) {
    assembly::Done();
    ASSERT_FALSE(assembly::InUse());
    halls::NoticeSocket socket;
    drivers::SerialChannel channel;
    platform::ScopedHook hook;
    platform::ScopedTimer timer;
    struct Case {
        const char* what;
        std::function<void()> take, release;
    };
    const Case cases[] = {
        {"initialised", [&] { assembly::Init(host_.get(), host_.get()); }, [] { assembly::Done(); }},
        {"hook", [&] { hook = platform::ScopedHook(HookKind::Keyboard, &frontdesk::WorkplaceKeyLock); },
         [&] { hook.Reset(); }},
        {"timer", [&] { timer = platform::ScopedTimer(10, [](platform::TimerId) {}); },
         [&] { timer.Reset(); }},
        {"socket", [&] { socket.StartListening(0, [](const std::string&) {}); }, [&] { socket.Stop(); }},
        {"port", [&] { channel.Open(1, 50, platform::LineSettings()); }, [&] { channel.Close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.take();
        EXPECT_TRUE(assembly::InUse());
        c.release();
        EXPECT_FALSE(assembly::InUse());
    }
}

// One reset for every process-wide value, so no test leaks its settings into the next.
TEST(ProcessState, OneResetPutsEverySubsystemBackToItsLoadTimeValues) {
    TestPlatform p;
    core::State().ibDirectory = "C:\\X\\";
    frontdesk::Settings().listenPort = 5000;
    frontdesk::Settings().sumDisplayMode = 1;
    drivers::SharedDisplayTexts().idleLine1 = "idle";
    core::State().screenMode = 3;
    halls::SetCurrentFormatWord(9);
    assembly::ResetProcessState();
    EXPECT_EQ(core::State().ibDirectory, "");
    EXPECT_EQ(frontdesk::Settings().listenPort, 0);
    EXPECT_EQ(frontdesk::Settings().sumDisplayMode, 0);
    EXPECT_EQ(drivers::SharedDisplayTexts().idleLine1, "");
    EXPECT_EQ(core::State().screenMode, 1);
    EXPECT_EQ(halls::CurrentFormatWord(), halls::kInitialFormatWord);
}

}  // namespace
}  // namespace klt::test
