// The window-management object's settings and its wait for a window to close.
#include <gtest/gtest.h>

#include "hostwin/window_state.h"
#include "test_support.h"

namespace klt::test {
namespace {

class WindowsObject : public AddInFixture {
  protected:
    void SetUp() override {
        Start("x");
        object_ = host().CreateObject("Windows");
    }
    void TearDown() override {
        object_.Reset();
        AddInFixture::TearDown();
    }
    bool Call(std::string_view name, std::vector<host::Value> args = {}) {
        return host().CallMethod(*object_.GetContext(), std::string(name), std::move(args), nullptr);
    }
    host::Value object_;
};

TEST_F(WindowsObject, HandleWaitReportsOnceTheWatchedWindowIsGone) {
    platform::WindowHandle form = platform_.desktop.CreateWindow();
    hostwin::WindowState().currentWindow = form;
    ASSERT_TRUE(Call("УстановитьХЭНД"_cp));
    ASSERT_TRUE(Call("ОжиданиеЗакрытияФормы"_cp));
    platform_.loop.RunUntil([] { return false; }, 500);
    EXPECT_TRUE(host().Events().empty()) << "the window still exists";

    platform_.desktop.DestroyWindow(form);
    platform_.loop.RunUntil([&] { return !host().Events().empty(); }, 60);
    ASSERT_EQ(host().Events().size(), 1u);
    EXPECT_EQ(host().Events()[0], (emu::RecordedEvent{Cp("Компонента"_cp), Cp("Таймер"_cp), ""}));
    // The timer stopped itself: nothing more arrives.
    platform_.loop.RunUntil([] { return false; }, 1000);
    EXPECT_EQ(host().Events().size(), 1u);
    EXPECT_EQ(platform_.loop.ActiveTimers(), 0u);
    EXPECT_FALSE(hostwin::WindowState().handleWaitTimer);
}

TEST_F(WindowsObject, ANewHandleWaitReplacesTheRunningOne) {
    hostwin::WindowState().currentWindow = platform_.desktop.CreateWindow();
    ASSERT_TRUE(Call("УстановитьХЭНД"_cp));
    ASSERT_TRUE(Call("ОжиданиеЗакрытияФормы"_cp));
    ASSERT_TRUE(Call("ОжиданиеЗакрытияФормы"_cp));
    EXPECT_EQ(platform_.loop.ActiveTimers(), 1u);
    platform_.desktop.DestroyWindow(hostwin::WindowState().watchedWindow);
    platform_.loop.RunUntil([] { return false; }, 500);
    EXPECT_EQ(host().Events().size(), 1u) << "one wait, one event";
}

TEST_F(WindowsObject, SettingsAndSavedHandles) {
    hostwin::HostWindowState& w = hostwin::WindowState();
    for (int mode : {0, -2}) {
        ASSERT_TRUE(Call("РежимЭкрана"_cp, {host::Value(mode)}));
        EXPECT_EQ(core::State().screenMode, 1);
    }
    ASSERT_TRUE(Call("РежимЭкрана"_cp, {host::Value(2)}));
    EXPECT_EQ(core::State().screenMode, 2);
    ASSERT_TRUE(Call("Отладка"_cp, {host::Value(5)}));
    EXPECT_EQ(w.developerMode, 5);
    ASSERT_TRUE(Call("МаксКолСтоловВЗале"_cp, {host::Value(60)}));
    ASSERT_TRUE(Call("ПропуститьЭлементовВЗале"_cp, {host::Value(7)}));
    EXPECT_EQ(w.hallTableLimit, 60);
    EXPECT_EQ(w.hallSkipCount, 7);

    w.currentWindow = 0x1234;
    ASSERT_TRUE(Call("СохранитьХЭНД"_cp, {host::Value(9)}));
    ASSERT_TRUE(Call("СохранитьХЭНД"_cp, {host::Value(10)}));  // outside the ten slots: ignored
    ASSERT_TRUE(Call("СохранитьХЭНД"_cp, {host::Value(-1)}));
    w.currentWindow = 0;
    ASSERT_TRUE(Call("ВосстановитьХЭНД"_cp, {host::Value(10)}));
    EXPECT_EQ(w.currentWindow, 0u);
    ASSERT_TRUE(Call("ВосстановитьХЭНД"_cp, {host::Value(9)}));
    EXPECT_EQ(w.currentWindow, 0x1234u);
}

TEST_F(WindowsObject, CaptionLines) {
    hostwin::HostWindowState& w = hostwin::WindowState();
    const std::string version = KLT_VERSION_TEXT;
    EXPECT_EQ(w.titleLines[0], version + std::string(81, ' ') + Cp("=  В К У С Н И Ц А  ="_cp));
    EXPECT_EQ(w.titleLines[2].substr(0, version.size() + 56), version + std::string(56, ' '));
    std::array<std::string, 3> before = w.titleLines;
    ASSERT_TRUE(Call("УстановитьСтроку"_cp, {host::Value(0), host::Value(std::string("zero"))}));
    ASSERT_TRUE(Call("УстановитьСтроку"_cp, {host::Value(3), host::Value(std::string("three"))}));
    EXPECT_EQ(w.titleLines, before);
    ASSERT_TRUE(Call("УстановитьСтроку"_cp, {host::Value(2), host::Value(Cp("Кафе"_cp))}));
    EXPECT_EQ(w.titleLines[2], version + Cp("Кафе"_cp));
    // A new object sets every line anew.
    host::Value another = host().CreateObject("Windows");
    EXPECT_EQ(w.titleLines, before);
}

}  // namespace
}  // namespace klt::test
