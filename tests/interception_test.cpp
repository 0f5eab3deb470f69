// The form-window hooks over a host with forms, calling the forms' procedures, and the two patched
// host functions.
#include <gtest/gtest.h>

#include "hostwin/interception.h"
#include "hostwin/window_ops.h"
#include "hostwin/window_state.h"
#include "test_support.h"

namespace klt::test {
namespace {

using platform::WindowBox;
using platform::WindowHandle;

class TestContext : public host::Context {
  public:
    explicit TestContext(const char* className, int loadedId = 0)
        : class_{className, nullptr}, id_(loadedId) {}
    const host::RuntimeClass* GetRuntimeClass() const override { return &class_; }
    void IncrRef() override {}  // owned by the test
    void DecrRef() override {}
    int GetLoadedID() const override { return id_; }

  private:
    host::RuntimeClass class_;
    int id_;
};

// A form as the host keeps it: its document, frame window, group context and own module.
struct TestForm : host::Document {
    WindowHandle frame = 0;
    bool dialog = false;
    std::string path;
    TestContext group{"CGroupContext"};
    TestContext formContext{"CFormContext"};
    TestContext docContext{"CDocContext"};
    emu::EmulatedModule module;
    WindowHandle GetFrame() override { return frame; }
    host::Context* GetGroupContext() override { return &group; }
    std::string GetMetadataPath() override { return path; }
};

class FormHost : public emu::EmulatedHost {
  public:
    using EmulatedHost::EmulatedHost;
    host::WindowHandle GetMainFrame() override { return mainFrame; }
    const char* WindowClassOf(host::WindowHandle window) override {
        if (window && window == mainFrame) return "CMainFrame";
        TestForm* f = ByFrame(window);
        return f ? (f->dialog ? "CGetDlg" : "CTabFrame") : nullptr;
    }
    host::Document* GetTopmostDocument(host::WindowHandle w) override {
        TestForm* f = ByFrame(w);
        return f && f->dialog ? f : nullptr;
    }
    host::Document* GetActiveDocument(host::WindowHandle w) override {
        TestForm* f = ByFrame(w);
        return f && !f->dialog ? f : nullptr;
    }
    int GroupSize(host::Context* group) override { return ByGroup(group) ? 2 : 0; }
    host::Context* GroupMember(host::Context* group, int i) override {
        TestForm* f = ByGroup(group);
        return !f ? nullptr : i == 0 ? static_cast<host::Context*>(&f->formContext) : &f->docContext;
    }
    void SetEnableNewLine(host::Context* c, int enable) override { newLines.emplace_back(c, enable); }

    WindowHandle mainFrame = 0;
    std::vector<std::unique_ptr<TestForm>> forms;
    std::vector<std::pair<host::Context*, int>> newLines;

  private:
    TestForm* ByFrame(host::WindowHandle w) {
        return By([&](TestForm& f) { return f.frame == w; });
    }
    TestForm* ByGroup(host::Context* g) {
        return By([&](TestForm& f) { return &f.group == g; });
    }
    TestForm* By(const std::function<bool(TestForm&)>& match) {
        for (auto& f : forms)
            if (match(*f)) return f.get();
        return nullptr;
    }
};

// The host's own bodies of the two patchable functions, called through their exported cells.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
using AssignFn = void(KLT_THISCALL*)(void*, void*);
using IndicatorsFn = int(KLT_THISCALL*)(void*, const unsigned*, int);
std::vector<std::pair<void*, void*>> g_assigned;
int g_indicatorCalls = 0;
KLT_THISCALL void HostAssignContext(void* module, void* context) {
    g_assigned.emplace_back(module, context);
}
KLT_THISCALL int HostSetIndicators(void*, const unsigned*, int) {
    ++g_indicatorCalls;
    return 7;
}
#pragma GCC diagnostic pop

class Interception : public ::testing::Test {
  protected:
    Interception() {
        g_assigned.clear();
        g_indicatorCalls = 0;
        platform_.patcher.Provide("blang.dll", "?AssignContext@CBLModule@@QAEXPAVCBLContext@@@Z",
                                  &assignCell_);
        platform_.patcher.Provide("frame.dll", "?SetIndicators@SECStatusBar@@QAEHPBIH@Z", &indicatorsCell_);
    }
    void TearDown() override { assembly::Done(); }

    // The main window (with a menu bar of 5 items) is the active one when the add-in starts.
    void Start(const std::string& rights, std::uint32_t mainStyle = 0) {
        platform::FakeWindowDesc desc;
        desc.style = mainStyle;
        desc.box = {0, 0, 800, 600};
        desc.menuItems = 5;
        main_ = platform_.desktop.CreateWindow(desc);
        platform_.desktop.SetActive(main_);
        emu::HostSettings s;
        s.rightsSetName = rights;
        host_ = std::make_unique<FormHost>(std::move(s));
        host_->mainFrame = main_;
        assembly::Init(host_.get(), host_.get());
    }
    // A hidden form; its module is assigned to its group context as the host does on opening.
    TestForm& Form(std::string path, bool dialog = false) {
        auto& f = *host_->forms.emplace_back(std::make_unique<TestForm>());
        f.path = std::move(path);
        f.dialog = dialog;
        platform::FakeWindowDesc desc;
        desc.parent = dialog ? 0 : main_;
        desc.style = platform::kStyleCaption | platform::kStyleSysMenu | platform::kStyleThickFrame;
        desc.box = {30, 40, 330, 240};
        f.frame = platform_.desktop.CreateWindow(desc);
        Assign(&f.module, &f.group);
        return f;
    }
    void Assign(host::Module* module, host::Context* context) {
        reinterpret_cast<AssignFn>(assignCell_)(module, context);
    }
    void Show(const TestForm& f, bool show = true) { platform_.desktop.Show(f.frame, show); }
    // Records each call of the named procedure: how many arguments and the first one's context.
    static void Counting(emu::EmulatedModule& m, std::string_view name, std::vector<host::Context*>& calls) {
        m.AddProcedure(std::string(name), [&calls](std::vector<host::Value*>& args) {
            calls.push_back(args.empty() ? nullptr : args[0]->GetContext());
        });
    }

    std::unique_ptr<FormHost> host_;
    TestPlatform platform_;
    void* assignCell_ = reinterpret_cast<void*>(&HostAssignContext);
    void* indicatorsCell_ = reinterpret_cast<void*>(&HostSetIndicators);
    WindowHandle main_ = 0;
};

TEST_F(Interception, WorkplaceCallsTheFormsProcedureKeepsTheMainWindowAndItsMenuOnlyInDeveloperModeOne) {
    Start(Cp("РабочееМесто"_cp));
    std::vector<host::Context*> global, own;
    Counting(host_->GlobalModule(), "ПослеОткрытияФормы"_cp, global);
    TestForm& withProc = Form(Cp("Обработка.Заказ"_cp));
    Counting(withProc.module, "ПослеОткрытияФормы"_cp, own);
    TestForm& without = Form(Cp("Обработка.Отчет"_cp));
    TestForm& unnamed = Form("");

    hostwin::WindowState().developerMode = 1;
    Show(withProc);
    EXPECT_EQ(platform_.desktop.MenuItemCount(main_), 5);
    EXPECT_EQ(own, std::vector<host::Context*>{nullptr}) << "no arguments";
    EXPECT_TRUE(global.empty()) << "no other module is searched";
    EXPECT_EQ(host_->newLines, (std::vector<std::pair<host::Context*, int>>{{&withProc.docContext, 1}}));
    EXPECT_EQ(hostwin::WindowState().currentWindow, withProc.frame);

    hostwin::WindowState().developerMode = 2;
    Show(without);
    EXPECT_EQ(global, std::vector<host::Context*>{&without.group});
    EXPECT_EQ(platform_.desktop.MenuItemCount(main_), -1);
    Show(unnamed);
    EXPECT_EQ(hostwin::WindowState().currentWindow, unnamed.frame);
    EXPECT_EQ(global.size() + own.size(), 2u) << "a form without a full name gets no call";
    platform::ReturnedMessage again{0, 0, 1, platform::kMsgShowWindow, withProc.frame};
    platform_.hooks.Dispatch(platform::HookKind::CallWndProcRet, -1, 0,
                             reinterpret_cast<std::intptr_t>(&again));
    EXPECT_EQ(own.size(), 1u) << "a negative code is only passed on";
    // Moving it makes the system report the move again to the hook: the placing must settle.
    platform_.desktop.Move(main_, 10, 10, 300, 200, true);
    EXPECT_EQ(platform_.desktop.ScreenBox(main_), (WindowBox{0, 0, 1024, 768}));
}

TEST_F(Interception, ReceiptFormsAreRecordedOnceLaidOverTheWorkAreaAndRefreshWhileShown) {
    Start(Cp("РабочееМесто"_cp));
    hostwin::HostWindowState& state = hostwin::WindowState();
    TestForm& first = Form(Cp(" Обработка.ЧекЛ "_cp));  // the full name is trimmed
    TestForm& second = Form(Cp("Обработка.ЧекЛ"_cp));
    TestForm& settings = Form(Cp("Обработка.Настройка"_cp));
    const WindowBox untouched = platform_.desktop.PlacedBox(second.frame);

    state.captionRefreshBusy = true;
    Show(first);
    // Laying it out moved a window: the main window is full screen by now, without its menu.
    const WindowBox laidOut{-5, -5, 1024 + 5, 768 + 5};
    EXPECT_EQ(state.receiptWindowL, first.frame);
    EXPECT_EQ(state.receiptFrame, first.frame);
    EXPECT_EQ(hostwin::CurrentReceiptForm().document, &first);
    EXPECT_EQ(platform_.desktop.Style(first.frame) & hostwin::kCaptionBits, 0u);
    EXPECT_EQ(platform_.desktop.PlacedBox(first.frame), laidOut);
    EXPECT_FALSE(state.captionRefreshBusy);
    EXPECT_EQ(platform_.loop.ActiveTimers(), 1u);

    platform_.desktop.Move(first.frame, 1, 1, 50, 50, true);
    Show(second);
    EXPECT_EQ(state.receiptWindowL, first.frame) << "the window recorded first is kept";
    EXPECT_EQ(hostwin::CurrentReceiptForm().document, &second);
    EXPECT_EQ(platform_.desktop.PlacedBox(first.frame), laidOut);
    EXPECT_EQ(platform_.desktop.PlacedBox(second.frame), untouched);
    EXPECT_EQ(platform_.loop.ActiveTimers(), 1u) << "restarted, not stacked";
    EXPECT_EQ(state.receiptWindowP, 0u);

    Show(second, false);
    EXPECT_EQ(platform_.loop.ActiveTimers(), 0u);
    Show(settings);
    EXPECT_EQ(state.settingsWindow, settings.frame);

    // Once the recorded window has gone, the next receipt frame is the one laid out.
    platform_.desktop.DestroyWindow(first.frame);
    Show(second, true);
    EXPECT_EQ(state.receiptWindowL, second.frame);
    EXPECT_EQ(platform_.desktop.PlacedBox(second.frame), laidOut);
    assembly::Done();
    EXPECT_EQ(platform_.loop.ActiveTimers(), 0u);
}

TEST_F(Interception, PocketDialogFillsTheSmallScreenCentredAndFramesGetTheirProcedure) {
    Start(Cp("РабочееМестоPPC"_cp), platform::kStyleBorder);
    hostwin::WindowState().developerMode = 1;  // the pocket workplace removes the menu all the same
    std::vector<host::Context*> dialogCalls, frameCalls;
    TestForm& dialog = Form(Cp("Обработка.Выбор"_cp), true);
    Counting(dialog.module, "ПослеОткрытияФормы"_cp, dialogCalls);
    TestForm& frame = Form("");
    Counting(frame.module, "ПослеОткрытияФормы"_cp, frameCalls);

    platform_.desktop.Move(main_, 5, 5, 100, 100, true);
    EXPECT_EQ(platform_.desktop.ScreenBox(main_), (WindowBox{0, 0, 240, 270}));
    EXPECT_EQ(platform_.desktop.MenuItemCount(main_), -1);
    Show(dialog);
    // 236 x 266 in the 238 x 268 client area of the bordered 240 x 270 main window.
    EXPECT_EQ(platform_.desktop.ScreenBox(dialog.frame), (WindowBox{1, 1, 237, 267}));
    EXPECT_EQ(platform_.desktop.Style(dialog.frame) & hostwin::kCaptionBits, 0u);
    EXPECT_TRUE(dialogCalls.empty());
    Show(frame);
    EXPECT_EQ(frameCalls.size(), 1u);
    EXPECT_EQ(hostwin::WindowState().currentWindow, 0u);
}

TEST_F(Interception, AdministratorGetsItsOwnProcedureByEitherNameAndNothingMoves) {
    Start(Cp("Администратор"_cp));
    std::vector<host::Context*> workplace, english;
    int functionCalls = 0;
    TestForm& frame = Form("");
    Counting(frame.module, "ПослеОткрытияФормы"_cp, workplace);
    frame.module.AddFunction(std::string("ПослеОткрытияФормыАдм"_cp), [&](std::vector<host::Value*>&) {
        ++functionCalls;
        return host::Value(1);
    });
    TestForm& dialog = Form(Cp("Обработка.Выбор"_cp), true);
    Counting(dialog.module, "OnActivate", english);

    Show(frame);
    EXPECT_EQ(functionCalls, 1);
    EXPECT_TRUE(workplace.empty());
    Show(dialog);
    EXPECT_EQ(english.size(), 1u);
    EXPECT_EQ(hostwin::WindowState().currentWindow, dialog.frame);
    platform_.desktop.Move(main_, 10, 10, 300, 200, true);
    EXPECT_EQ(platform_.desktop.ScreenBox(main_), (WindowBox{10, 10, 310, 210}));
    EXPECT_EQ(platform_.desktop.MenuItemCount(main_), 5);
}

TEST_F(Interception, AssignContextRemembersFormGroupContextsOnlyAndRunsTheHostsBody) {
    Start("x");
    assembly::Init(host_.get(), host_.get());  // patching twice would make the detour call itself
    emu::EmulatedModule a, b;
    TestContext group("CGroupContext"), other("CGroupContext"), loaded("CGroupContext", 3),
        doc("CDocContext");
    Assign(&a, &group);
    Assign(&b, &loaded);
    Assign(&b, &doc);
    Assign(&b, nullptr);
    EXPECT_EQ(hostwin::FormModuleOf(&group), &a);
    EXPECT_EQ(hostwin::FormModuleOf(&loaded), nullptr);
    EXPECT_EQ(hostwin::FormModuleOf(&doc), nullptr);
    ASSERT_EQ(g_assigned.size(), 4u);
    EXPECT_EQ(g_assigned[0], (std::pair<void*, void*>{static_cast<host::Module*>(&a), &group}));

    Assign(&b, &group);
    EXPECT_EQ(hostwin::FormModuleOf(&group), &b) << "the latest assignment wins";
    Assign(&b, &other);
    EXPECT_EQ(hostwin::FormModuleOf(&group), nullptr) << "a module that moved on is not the old form's";
    EXPECT_EQ(hostwin::FormModuleOf(&other), &b);

    EXPECT_EQ(reinterpret_cast<IndicatorsFn>(indicatorsCell_)(nullptr, nullptr, 3), 1);
    EXPECT_EQ(g_indicatorCalls, 0);

    assembly::Done();
    EXPECT_EQ(hostwin::FormModuleOf(&other), nullptr) << "forgotten: the host may free it unseen";
    Assign(&a, &group);
    EXPECT_EQ(g_assigned.size(), 7u) << "the patch stays and still runs the host's body";
    EXPECT_TRUE(assembly::InUse()) << "so the module must not be unloaded";
}

TEST_F(Interception, AMissingExportPatchesNothingAndIsReportedOnce) {
    RecordingSink sink;
    Swap<platform::DiagnosticsSink> diagnostics(platform::ReplaceDiagnostics, &sink);
    platform_.patcher.Withdraw(&indicatorsCell_);
    Start("x");
    assembly::Init(host_.get(), host_.get());
    EXPECT_EQ(indicatorsCell_, reinterpret_cast<void*>(&HostSetIndicators));
    EXPECT_EQ(assignCell_, reinterpret_cast<void*>(&hostwin::KltAssignContextDetour));
    ASSERT_EQ(sink.lines.size(), 1u);
    EXPECT_NE(sink.lines[0].find("SetIndicators"), std::string::npos);
}

}  // namespace
}  // namespace klt::test
