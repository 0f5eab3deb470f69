// The window-management object driven through the emulated host on a fake window tree of the
// host's main frame: bars, status bar, the MDI client with two form frames, and a bar after it.
#include <gtest/gtest.h>

#include "hostwin/window_state.h"
#include "test_support.h"

namespace klt::test {
namespace {

constexpr std::uint32_t kOverlapped = 0x00CF0000;  // caption, system menu, sizing frame, boxes

class FormContext : public host::Context {
  public:
    const host::RuntimeClass* GetRuntimeClass() const override { return &kClass; }
    static constexpr host::RuntimeClass kClass{"CFormContext", nullptr};
};

class FormDocument : public host::Document {
  public:
    explicit FormDocument(host::WindowHandle frame) : frame_(frame) {}
    host::WindowHandle GetFrame() override { return frame_; }
    host::Context* GetGroupContext() override { return nullptr; }
    std::string GetMetadataPath() override { return {}; }

  private:
    host::WindowHandle frame_;
};

// The emulated host with forms whose documents the test gives.
class FormHost : public emu::EmulatedHost {
  public:
    using EmulatedHost::EmulatedHost;
    host::Document* GetFormDocument(host::Context* form) override {
        auto it = documents.find(form);
        return it == documents.end() ? nullptr : &it->second;
    }
    std::map<host::Context*, FormDocument> documents;
};

class WindowsObject : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::NativeDesktop& d = platform_.desktop;
        // The client area is 1024 x 700 below the caption and the menu.
        main_ = d.CreateWindow(
            {0, "Afx:400000:b", "1C", platform::kStyleVisible | kOverlapped, 0, {0, 0, 1032, 744}, 5});
        const std::uint32_t childStyle = platform::kStyleVisible | platform::kStyleChild;
        auto child = [&](const char* cls, int id = 0) {
            return d.CreateWindow({main_, cls, "", childStyle, id, {0, 0, 1024, 20}});
        };
        toolBar_ = child("AfxControlBar42");
        dockBar_ = child("Afx:400000:0:0:10:0");
        statusBar_ = child("msctls_statusbar32", 0xE801);
        mdiClient_ = child("MDIClient");
        lastBar_ = child("AfxControlBar42");
        const std::uint32_t frameStyle = childStyle | kOverlapped;
        order_ =
            d.CreateWindow({mdiClient_, "Afx:400000:b", Cp("Заказ"_cp), frameStyle, 0, {10, 10, 610, 410}});
        setup_ =
            d.CreateWindow({mdiClient_, "Afx:400000:b", Cp("Настройка"_cp), frameStyle, 0, {0, 0, 300, 200}});
        d.SetActive(main_);

        emu::HostSettings s;
        s.rightsSetName = "x";
        host_ = std::make_unique<FormHost>(std::move(s));
        host_->documents.emplace(orderForm_.GetContext(), order_);
        assembly::Init(host_.get(), host_.get());
        object_ = host_->CreateObject("Windows");
    }
    void TearDown() override {
        object_.Reset();
        assembly::Done();
    }
    emu::EmulatedHost& host() { return *host_; }
    bool Call(std::string_view name, std::vector<host::Value> args = {}, host::Value* result = nullptr) {
        return host_->CallMethod(*object_.GetContext(), std::string(name), std::move(args), result);
    }
    // Styles and boxes of every window, to see that a call changed nothing.
    std::vector<std::pair<std::uint32_t, platform::WindowBox>> Tree() {
        std::vector<std::pair<std::uint32_t, platform::WindowBox>> tree;
        for (host::WindowHandle w :
             {main_, toolBar_, dockBar_, statusBar_, mdiClient_, lastBar_, order_, setup_})
            tree.emplace_back(platform_.desktop.Style(w), platform_.desktop.PlacedBox(w));
        return tree;
    }

    host::Value orderForm_{static_cast<host::Context*>(new FormContext)};
    host::Value object_;
    host::WindowHandle main_ = 0, toolBar_ = 0, dockBar_ = 0, statusBar_ = 0, mdiClient_ = 0, lastBar_ = 0,
                       order_ = 0, setup_ = 0;
    std::unique_ptr<FormHost> host_;
    TestPlatform platform_;  // after the host: the state is reset while the host still exists
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

TEST_F(WindowsObject, TakeOverRotatesTheCaptionHidesTheBarsAndFillsTheScreen) {
    platform::NativeDesktop& d = platform_.desktop;
    ASSERT_TRUE(Call("СпрятатьЛишнее"_cp));
    EXPECT_EQ(d.Style(main_), platform::kStyleVisible | platform::kStyleCaption | 0x00020000u)
        << "sizing frame, system menu and maximise box switched off";
    EXPECT_EQ(d.Text(main_), std::string(88, ' ') + Cp("=  В К У С Н И Ц А  ="_cp));
    for (host::WindowHandle bar : {toolBar_, dockBar_, statusBar_, lastBar_}) EXPECT_FALSE(d.IsVisible(bar));
    EXPECT_TRUE(d.IsVisible(mdiClient_));
    // The frame is recomputed where the window stood, then the window covers the screen.
    EXPECT_EQ(d.FrameChanges(), (std::vector<std::pair<platform::WindowHandle, platform::WindowBox>>{
                                    {main_, {0, 0, 1032, 735}}, {main_, {0, 0, 1032, 744}}}));
    EXPECT_EQ(d.PlacedBox(main_), (platform::WindowBox{0, 0, 1024, 768}));

    const auto& lines = hostwin::WindowState().titleLines;
    for (int line : {1, 2, 0, 1}) {
        platform_.loop.RunUntil([] { return false; }, 20000);
        EXPECT_EQ(d.Text(main_), lines[line]);
    }
    // A second takeover switches the controls back and restarts the one rotation.
    ASSERT_TRUE(Call("СпрятатьЛишнее"_cp));
    EXPECT_EQ(d.Style(main_), platform::kStyleVisible | kOverlapped);
    EXPECT_EQ(platform_.loop.ActiveTimers(), 1u);
    platform_.loop.RunUntil([] { return false; }, 20000);
    EXPECT_EQ(d.Text(main_), lines[2]);
    assembly::Done();
    EXPECT_TRUE(platform_.loop.Held().Empty()) << "the rotation must not outlive the add-in";
}

TEST_F(WindowsObject, DeveloperModeOnlyFillsTheScreen) {
    const auto before = Tree();
    ASSERT_TRUE(Call("Отладка"_cp, {host::Value(5)}));
    ASSERT_TRUE(Call("СпрятатьЛишнее"_cp));
    auto expected = before;
    expected[0].second = {0, 0, 1024, 768};
    EXPECT_EQ(Tree(), expected);
    EXPECT_EQ(platform_.desktop.Text(main_), "1C");
    EXPECT_EQ(platform_.loop.ActiveTimers(), 0u);
}

TEST_F(WindowsObject, PocketTakeOverAlsoTakesTheCaptionOff) {
    core::State().pocketMode = 1;
    ASSERT_TRUE(Call("СпрятатьЛишнее"_cp));
    EXPECT_EQ(platform_.desktop.Style(main_), platform::kStyleVisible | 0x00020000u);
}

TEST_F(WindowsObject, FormWindowsByFormValue) {
    platform::NativeDesktop& d = platform_.desktop;
    // A value that is no form of ours, and a form without a document, change nothing.
    const auto before = Tree();
    host::Value stranger(static_cast<host::Context*>(new FormContext));
    for (const host::Value& notAForm : {host::Value(1), stranger}) {
        ASSERT_TRUE(Call("СпрятатьФорму"_cp, {notAForm}));
        ASSERT_TRUE(Call("УстановитьРазмеры"_cp, {notAForm, host::Value(10), host::Value(10)}));
        ASSERT_TRUE(Call("Бар"_cp, {notAForm}));
    }
    EXPECT_EQ(Tree(), before);

    ASSERT_TRUE(Call("ПоЦентру"_cp, {orderForm_}));
    EXPECT_EQ(d.PlacedBox(order_), (platform::WindowBox{212, 150, 812, 550}));
    ASSERT_TRUE(Call("УстановитьРазмеры"_cp, {orderForm_, host::Value(300), host::Value(200)}));
    EXPECT_EQ(d.PlacedBox(order_), (platform::WindowBox{-5, -5, 295, 195}));

    // No caption; sizing frame and system menu set again; maximise box off. The child stays put.
    ASSERT_TRUE(Call("Бар"_cp, {orderForm_}));
    EXPECT_EQ(d.Style(order_), platform::kStyleVisible | platform::kStyleChild | 0x000E0000u);
    EXPECT_EQ(d.FrameChanges(), (std::vector<std::pair<platform::WindowHandle, platform::WindowBox>>{
                                    {order_, {-5, -5, 295, 186}}, {order_, {-5, -5, 295, 195}}}));

    // The work area of each screen mode, centred on the screen below a caption of 18.
    ASSERT_TRUE(Call("РазвернутьВнутриОбласти"_cp, {orderForm_}));
    EXPECT_EQ(d.PlacedBox(order_), (platform::WindowBox{107, 79, 907, 661}));
    for (int mode : {2, 3}) {
        ASSERT_TRUE(Call("РежимЭкрана"_cp, {host::Value(mode)}));
        ASSERT_TRUE(Call("РазвернутьВнутриОбласти"_cp, {orderForm_}));
        EXPECT_EQ(d.PlacedBox(order_), (platform::WindowBox{-5, -5, 1019, 745})) << mode;
    }

    ASSERT_TRUE(Call("СпрятатьФорму"_cp, {orderForm_}));
    EXPECT_FALSE(d.IsVisible(order_));
    ASSERT_TRUE(Call("ПоказатьФорму"_cp, {orderForm_}));
    EXPECT_TRUE(d.IsVisible(order_));
}

TEST_F(WindowsObject, CurrentSettingsAndReceiptWindows) {
    platform::NativeDesktop& d = platform_.desktop;
    const auto before = Tree();
    for (const char* name : {"Спрятать", "Показать", "СистемноеМеню", "РазвернутьОкно", "СпрятатьЗаказ",
                             "СпрятатьНастройки", "СпрятатьЗал", "СпрятатьЧеки"})
        ASSERT_TRUE(Call(text::Utf8ToCp1251(name)));
    EXPECT_EQ(Tree(), before) << "no form has been shown yet";

    hostwin::HostWindowState& w = hostwin::WindowState();
    w.currentWindow = order_;
    ASSERT_TRUE(Call("Спрятать"_cp));
    EXPECT_FALSE(d.IsVisible(order_));
    ASSERT_TRUE(Call("Показать"_cp));
    EXPECT_TRUE(d.IsVisible(order_));
    ASSERT_TRUE(Call("СистемноеМеню"_cp));
    EXPECT_EQ(d.Style(order_), platform::kStyleVisible | platform::kStyleChild | 0x00C20000u);
    ASSERT_TRUE(Call("РазвернутьОкно"_cp));
    EXPECT_EQ(d.PlacedBox(order_), (platform::WindowBox{-5, -5, 1029, 705}));

    w.receiptWindowL = setup_;
    ASSERT_TRUE(Call("СпрятатьЗаказ"_cp));
    EXPECT_FALSE(d.IsVisible(setup_));
    w.settingsWindow = setup_;
    ASSERT_TRUE(Call("ПоказатьНастройки"_cp));
    EXPECT_TRUE(d.IsVisible(setup_));
    ASSERT_TRUE(Call("СпрятатьНастройки"_cp));
    EXPECT_FALSE(d.IsVisible(setup_));
}

TEST_F(WindowsObject, CloseFormHidesEveryChildBeforeTheClientArea) {
    platform::NativeDesktop& d = platform_.desktop;
    ASSERT_TRUE(Call("ЗакрытьФорму"_cp, {host::Value(Cp("Нет такой"_cp))}));
    for (host::WindowHandle bar : {toolBar_, dockBar_, statusBar_}) EXPECT_FALSE(d.IsVisible(bar));
    EXPECT_TRUE(d.IsVisible(mdiClient_));
    EXPECT_TRUE(d.IsVisible(lastBar_)) << "the walk ends at the client area";
    EXPECT_TRUE(d.IsWindow(order_) && d.IsWindow(setup_));
    ASSERT_TRUE(Call("ЗакрытьФорму"_cp, {host::Value(Cp("Настройка"_cp))}));
    EXPECT_FALSE(d.IsWindow(setup_));
    EXPECT_TRUE(d.IsWindow(order_));
}

TEST_F(WindowsObject, KeysOnlyForTheFiveNamesAsWritten) {
    for (const char* name : {"up", "CTRL+UP", "Enter", "", "UP", "DOWN", "CTRL-DOWN", "CTRL-UP", "ENTER"})
        ASSERT_TRUE(Call("ЭмуляцияКл"_cp, {host::Value(std::string(name))}));
    using K = platform::NativeDesktop::KeyEvent;
    EXPECT_EQ(platform_.desktop.InjectedKeys(), (std::vector<K>{{0x26, false},
                                                                {0x26, true},
                                                                {0x28, false},
                                                                {0x28, true},
                                                                {0x11, false},
                                                                {0x28, false},
                                                                {0x28, true},
                                                                {0x11, true},
                                                                {0x11, false},
                                                                {0x26, false},
                                                                {0x26, true},
                                                                {0x11, true},
                                                                {0x0D, false},
                                                                {0x0D, true}}));
}

TEST_F(WindowsObject, ColourChosenOrCancelled) {
    host::Value result;
    EXPECT_TRUE(Call("ВыбратьЦвет"_cp, {}, &result));
    EXPECT_TRUE(result.IsEmpty());
    platform_.desktop.QueueColour(0x00FF8040);
    ASSERT_TRUE(Call("ВыбратьЦвет"_cp, {}, &result));
    EXPECT_EQ(result, host::Value(0x00FF8040));
}

TEST_F(WindowsObject, VersionCheckAndTheEndsOfWork) {
    host().GlobalModule().AddVariable(Cp("глЗакрытьОкнаГлобально"_cp), host::Value(0));
    const host::Value* closeAll = host().GlobalModule().Variable(Cp("глЗакрытьОкнаГлобально"_cp));
    host::Value result;
    for (int version : {0, 1}) {
        ASSERT_TRUE(Call("ПроверкаВерсииDLL"_cp, {host::Value(version)}, &result));
        EXPECT_EQ(result, host::Value(1));
    }
    EXPECT_FALSE(host().ShutdownRequested());
    EXPECT_EQ(platform_.hooks.Count(), 1u);

    ASSERT_TRUE(Call("ПроверкаВерсииDLL"_cp, {host::Value(2)}, &result));
    EXPECT_EQ(result, host::Value(0));
    EXPECT_TRUE(host().ShutdownRequested());
    EXPECT_EQ(*closeAll, host::Value(1));
    EXPECT_FALSE(platform_.desktop.IsVisible(main_));
    EXPECT_EQ(platform_.hooks.Count(), 0u) << "the form hook is let go";

    ASSERT_TRUE(Call("ВыключитьКомпьютер"_cp));
    EXPECT_EQ(platform_.desktop.PowerOffs(), 1);
}

// A global module whose variable is set while the host runs a loop of its own, as a question to
// the user would.
class AskingModule : public host::Module {
  public:
    explicit AskingModule(platform::Loop& loop) : loop_(loop) {}
    int FindProc(const char*, int) override { return -1; }
    int FindFunc(const char*) override { return -1; }
    int CallAsProc(int, int, host::Value**) override { return 0; }
    int CallAsFunc(int, host::Value&, int, host::Value**) override { return 0; }
    int FindStaticVar(const char*) override { return 0; }
    int SetStaticVarValue(int, const host::Value&, int) override {
        deepest = std::max(deepest, ++depth);
        if (depth == 1) loop_.RunUntil([] { return false; }, 50);
        --depth;
        return 1;
    }
    int depth = 0, deepest = 0;

  private:
    platform::Loop& loop_;
};

TEST_F(WindowsObject, OrderlyShutdownFromTheLoop) {
    AskingModule global(platform_.loop);
    host().SetGlobalModule(&global);
    ASSERT_TRUE(Call("КорректноЗавершитьРаботу"_cp));
    EXPECT_FALSE(host().ShutdownRequested()) << "not inside the calling code";
    platform_.loop.RunUntil([&] { return host().ShutdownRequested(); }, 60);
    EXPECT_TRUE(host().ShutdownRequested());
    EXPECT_EQ(global.deepest, 1) << "no second shut-down inside the host's own loop";
    EXPECT_FALSE(platform_.desktop.IsVisible(main_));
    assembly::Done();
    host().SetGlobalModule(nullptr);
    EXPECT_TRUE(platform_.loop.Held().Empty());
}

TEST_F(WindowsObject, FormWaitRaisesItsEventOnceTheFrameIsGone) {
    ASSERT_TRUE(Call("ДождатьсяЗакрытиеФормы"_cp, {orderForm_, host::Value(std::string("First"))}));
    ASSERT_TRUE(Call("ДождатьсяЗакрытиеФормы"_cp, {orderForm_, host::Value(Cp("ЗаказЗакрыт"_cp))}));
    EXPECT_EQ(platform_.loop.ActiveTimers(), 1u) << "the second wait replaces the first";
    platform_.loop.RunUntil([] { return false; }, 500);
    EXPECT_TRUE(host().Events().empty());
    platform_.desktop.DestroyWindow(order_);
    platform_.loop.RunUntil([] { return false; }, 500);
    EXPECT_EQ(host().Events(),
              (std::vector<emu::RecordedEvent>{{Cp("Компонента"_cp), Cp("ЗаказЗакрыт"_cp), ""}}));
    EXPECT_EQ(platform_.loop.ActiveTimers(), 0u);
}

}  // namespace
}  // namespace klt::test
