// The picture menu of goods on a receipt form: pages, submenus, articles with their pictures and
// prices, the caption refresh, bad goods strings, a closed form and the depth of the tree.
#include <gtest/gtest.h>

#include "frontdesk/settings.h"
#include "frontdesk/vkusnica.h"
#include "halls_support.h"
#include "hostwin/interception.h"
#include "hostwin/picture_menu.h"
#include "hostwin/windows_object.h"
#include "platform/files.h"
#include "res/pictures.h"
#include "test_support.h"
#include "ui/picture.h"

namespace klt::test {
namespace {

using platform::WindowHandle;

constexpr int kFields = 60;
constexpr int kControlBase = 1000;

// A value list of the host: items with their representations, counting the items it is asked for.
class TestList : public host::Context {
  public:
    static const host::RuntimeClass kClass;
    const host::RuntimeClass* GetRuntimeClass() const override { return &kClass; }
    const char* GetTypeString() const override { return "СписокЗначений"_cp.data(); }
    int FindMethod(const char* name) const override {
        if (name == "РазмерСписка"_cp) return 0;
        if (name == "ПолучитьЗначение"_cp) return 1;
        return -1;
    }
    int GetNParams(int number) const override { return number == 1 ? 2 : 0; }
    int CallAsFunc(int number, host::Value& result, host::Value** args) override {
        if (number == 0) {
            result.AssignInt(static_cast<std::int32_t>(size ? size : items.size()));
            return 0;
        }
        const std::int32_t k = args[0]->GetInt32();
        ++asked;
        if (k < 1 || static_cast<std::size_t>(k) > items.size()) return 1;
        result = items[k - 1].first;
        args[1]->AssignString(items[k - 1].second);
        return 0;
    }
    void Add(host::Value value, std::string representation = {}) {
        items.emplace_back(std::move(value), std::move(representation));
    }

    std::vector<std::pair<host::Value, std::string>> items;
    std::size_t size = 0;  // a size claimed beyond the items, when not 0
    int asked = 0;
};
const host::RuntimeClass TestList::kClass{"CValueListContext", nullptr};

class GroupContext : public host::Context {
  public:
    const host::RuntimeClass* GetRuntimeClass() const override { return &kClass; }
    void IncrRef() override {}
    void DecrRef() override {}
    static inline const host::RuntimeClass kClass{"CGroupContext", nullptr};
};

// A receipt form: sixty fields whose controls sit in the frame's view, its group context and module.
struct ReceiptForm : host::Document {
    WindowHandle frame = 0;
    std::string path = Cp("Обработка.ЧекЛ"_cp);
    GroupContext group;
    emu::EmulatedModule module;
    std::vector<std::string> titles = std::vector<std::string>(kFields);
    std::vector<std::string> formulas = std::vector<std::string>(kFields);
    WindowHandle GetFrame() override { return frame; }
    host::Context* GetGroupContext() override { return &group; }
    std::string GetMetadataPath() override { return path; }
    int FieldCount() override { return kFields; }
    int FieldControlId(int index) override { return kControlBase + index; }
    void SetFieldTitle(int index, const std::string& title) override { titles.at(index) = title; }
    void SetFieldFormula(int index, const std::string& formula) override { formulas.at(index) = formula; }
};

class FormHost : public emu::EmulatedHost {
  public:
    using EmulatedHost::EmulatedHost;
    host::WindowHandle GetMainFrame() override { return mainFrame; }
    const char* WindowClassOf(host::WindowHandle window) override {
        return window == mainFrame ? "CMainFrame" : ByFrame(window) ? "CTabFrame" : nullptr;
    }
    host::Document* GetActiveDocument(host::WindowHandle w) override { return ByFrame(w); }
    ReceiptForm* ByFrame(host::WindowHandle w) {
        for (auto& f : forms)
            if (f->frame == w) return f.get();
        return nullptr;
    }
    WindowHandle mainFrame = 0;
    std::vector<std::unique_ptr<ReceiptForm>> forms;
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
using AssignFn = void(KLT_THISCALL*)(void*, void*);
KLT_THISCALL void HostAssignContext(void*, void*) {}
#pragma GCC diagnostic pop

// "003" + code + name + the price right-aligned in 15 + the picture name padded to 50.
std::string Goods(const std::string& code, const std::string& name, const std::string& price,
                  const std::string& picture = {}) {
    char length[8];
    std::snprintf(length, sizeof length, "%03zu", code.size());
    return length + code + name + std::string(15 - price.size(), ' ') + price + picture +
           std::string(50 - picture.size(), ' ');
}

class PictureMenu : public ::testing::Test {
  protected:
    PictureMenu() : pictures_("klt_menu") {
        platform::Files().MakeDirectory(pictures_.HostPath() + Cp("картинки"_cp));
        platform_.patcher.Provide("blang.dll", "?AssignContext@CBLModule@@QAEXPAVCBLContext@@@Z",
                                  &assignCell_);
        platform::FakeWindowDesc desc;
        desc.box = {0, 0, 800, 600};
        main_ = platform_.desktop.CreateWindow(desc);
        platform_.desktop.SetActive(main_);
        emu::HostSettings s;
        s.rightsSetName = Cp("РабочееМесто"_cp);
        s.ibDirectory = pictures_.HostPath();
        s.constants[Cp("КартинкаПоУмолчанию"_cp)] = host::Value(std::string("default.bmp"));
        host_ = std::make_unique<FormHost>(std::move(s));
        host_->mainFrame = main_;
        assembly::Init(host_.get(), host_.get());
        core::State().showPrice = 1;
        core::State().showPictures = 1;
        core::State().showText = 1;
    }
    ~PictureMenu() override { assembly::Done(); }

    // A receipt form's frame with a view holding the sixty controls; shown unless told otherwise.
    ReceiptForm& Form(bool show = true) {
        ReceiptForm& f = *host_->forms.emplace_back(std::make_unique<ReceiptForm>());
        platform::FakeWindowDesc desc;
        desc.parent = main_;
        desc.style = 0;
        f.frame = platform_.desktop.CreateWindow(desc);
        platform::FakeWindowDesc view;
        view.parent = f.frame;
        desc.parent = platform_.desktop.CreateWindow(view);
        desc.style = platform::kStyleVisible | platform::kStyleChild;
        for (int i = 0; i < kFields; ++i) {
            desc.id = kControlBase + i;
            platform_.desktop.CreateWindow(desc);
        }
        reinterpret_cast<AssignFn>(assignCell_)(static_cast<host::Module*>(&f.module), &f.group);
        if (show) platform_.desktop.Show(f.frame, true);
        return f;
    }
    WindowHandle Control(const ReceiptForm& f, int field) {
        return platform_.desktop.ChildWithId(platform_.desktop.FirstChild(f.frame), kControlBase + field);
    }
    // The texts of button b as its fields and their windows show them.
    std::string Upper(const ReceiptForm& f, int b) { return Shown(f, b + 19); }
    std::string Lower(const ReceiptForm& f, int b) { return Shown(f, b + 39); }
    std::string Shown(const ReceiptForm& f, int field) {
        EXPECT_EQ(platform_.desktop.Text(Control(f, field)), f.titles[field]) << "field " << field;
        return f.titles[field];
    }
    const platform::NativeDesktop::FakeBitmap* Picture(const ReceiptForm& f, int b) {
        return platform_.desktop.BitmapOf(platform_.desktop.ButtonImage(Control(f, b - 1)));
    }
    bool ShowsResource(const ReceiptForm& f, int b, int resource) {
        const auto* bitmap = Picture(f, b);
        const ui::Image* image = ui::FindPicture(resource);
        if (!bitmap || !image || bitmap->width != image->width || bitmap->height != image->height)
            return false;
        for (int y = 0; y < image->height; ++y)
            for (int x = 0; x < image->width; ++x) {
                const ui::Colour c = image->At(x, y);
                if (bitmap->pixels[static_cast<std::size_t>(y * image->width + x)] !=
                    (ui::Red(c) << 16 | ui::Green(c) << 8 | ui::Blue(c)))
                    return false;
            }
        return true;
    }
    void Tick() {
        platform_.loop.RunUntil([] { return false; }, 100);
    }
    void WritePicture(const std::string& name, int width, int height) {
        platform::Files().WriteAll(pictures_.HostPath() + Cp("картинки\\"_cp) + name, Bmp(width, height));
    }
    // A list of n articles named "Товар k" with code k.
    host::Value Articles(int n, TestList** made = nullptr) {
        auto* list = new TestList();
        host::Value held(list);
        for (int k = 1; k <= n; ++k)
            list->Add(host::Value(Goods(std::to_string(k), Cp(" Товар "_cp) + std::to_string(k), "1")));
        if (made) *made = list;
        return held;
    }

    ScratchFolder pictures_;
    TestPlatform platform_;
    std::unique_ptr<FormHost> host_;
    void* assignCell_ = reinterpret_cast<void*>(&HostAssignContext);
    WindowHandle main_ = 0;
};

TEST_F(PictureMenu, TheRootShowsTwentyAndPagesByFourWhileItemsRemain) {
    ReceiptForm& f = Form();
    hostwin::ResetPictureMenu(Articles(22));
    EXPECT_EQ(f.formulas[0], "DRV.Картинка(1)"_cp);
    EXPECT_EQ(f.formulas[19], "DRV.Картинка(20)"_cp);
    EXPECT_EQ(Upper(f, 1), "1.00");
    EXPECT_EQ(Lower(f, 1), "") << "the lower lines come with the caption refresh";
    Tick();
    EXPECT_EQ(Lower(f, 1), "Товар 1"_cp);
    EXPECT_EQ(Lower(f, 20), "Товар 20"_cp);

    hostwin::PictureMenuForward();
    Tick();
    EXPECT_EQ(Lower(f, 1), "Товар 5"_cp);
    EXPECT_EQ(Lower(f, 18), "Товар 22"_cp);
    EXPECT_EQ(Lower(f, 19), " ");
    EXPECT_EQ(Upper(f, 20), " ");
    EXPECT_EQ(platform_.desktop.ButtonImage(Control(f, 19)), 0u);
    hostwin::PictureMenuForward();
    Tick();
    EXPECT_EQ(Lower(f, 1), "Товар 5"_cp) << "nothing further on";
    hostwin::PictureMenuBack();
    hostwin::PictureMenuBack();
    Tick();
    EXPECT_EQ(Lower(f, 1), "Товар 1"_cp);
    EXPECT_EQ(Lower(f, 20), "Товар 20"_cp);
    EXPECT_EQ(platform_.desktop.LiveBitmaps(), 20u) << "one picture a button, the replaced ones freed";
    EXPECT_EQ(platform_.desktop.BadBitmapFrees(), 0);
    hostwin::ResetPictureMenu(Articles(1));
    EXPECT_EQ(platform_.desktop.LiveBitmaps(), 1u);
    EXPECT_EQ(platform_.desktop.BitmapsFreedWhileShown(), 0) << "no button kept a freed picture";
}

TEST_F(PictureMenu, SubmenusTakeNineteenBelowTheRootAndGoingBackKeepsThePage) {
    ReceiptForm& f = Form();
    TestList* nineteen = nullptr;
    TestList* twenty = nullptr;
    host::Value small = Articles(19, &nineteen), large = Articles(20, &twenty);
    TestList* root = nullptr;
    host::Value tree = Articles(24, &root);
    root->items[4] = {small, Cp("  Супы  "_cp)};
    root->items[5] = {large, Cp("Салаты"_cp)};
    hostwin::ResetPictureMenu(tree);
    EXPECT_TRUE(ShowsResource(f, 2, res::kPictureMenuArticle)) << "no picture file: the built-in one";
    hostwin::PictureMenuForward();
    EXPECT_EQ(Upper(f, 1), "Супы"_cp);
    EXPECT_TRUE(ShowsResource(f, 1, res::kPictureMenuSubmenu));

    hostwin::ShowPictureMenu(1, 0);
    Tick();
    EXPECT_TRUE(ShowsResource(f, 1, res::kPictureMenuBack));
    EXPECT_EQ(Upper(f, 1), "  Супы  "_cp);
    EXPECT_EQ(Lower(f, 1), " ");
    EXPECT_EQ(Lower(f, 2), "Товар 1"_cp);
    EXPECT_EQ(Lower(f, 20), "Товар 19"_cp);
    hostwin::PictureMenuForward();
    Tick();
    EXPECT_EQ(Lower(f, 2), "Товар 1"_cp) << "nineteen fit one page";

    hostwin::ShowPictureMenu(1, 0);
    Tick();
    EXPECT_EQ(Upper(f, 1), "Супы"_cp) << "back on the page that was open";
    hostwin::ShowPictureMenu(2, 0);
    hostwin::PictureMenuForward();
    Tick();
    EXPECT_EQ(Lower(f, 2), "Товар 5"_cp);
    EXPECT_EQ(Lower(f, 17), "Товар 20"_cp);
    EXPECT_EQ(Lower(f, 18), " ");
    hostwin::ShowPictureMenu(0, 0);
    Tick();
    EXPECT_EQ(Upper(f, 1), "Супы"_cp) << "the root again, on its page";
    hostwin::ShowPictureMenu(2, 0);
    Tick();
    EXPECT_EQ(Lower(f, 2), "Товар 1"_cp) << "a level entered anew starts at its first page";
}

TEST_F(PictureMenu, ArticlesShowPriceNamePictureAndEnterTheirCodeInTheFormsOwnModule) {
    ReceiptForm& f = Form();
    std::vector<std::string> entered, global;
    f.module.AddProcedure(Cp("ВводТовара"_cp), [&](std::vector<host::Value*>& args) {
        entered.push_back(args.at(0)->GetString());
    });
    host_->GlobalModule().AddProcedure(Cp("ВводТовара"_cp), [&](std::vector<host::Value*>& args) {
        global.push_back(args.at(0)->GetString());
    });
    WritePicture("borsch.bmp", 3, 2);
    auto* list = new TestList();
    host::Value held(list);
    list->Add(host::Value(Goods("A7X", Cp("  Борщ "_cp), "120.5", "borsch.bmp")));
    list->Add(host::Value(Goods("12", Cp("Торт"_cp), Cp("Подарок"_cp), "missing.bmp")));
    list->Add(host::Value(std::int32_t{5}));

    hostwin::ResetPictureMenu(held);
    Tick();
    EXPECT_EQ(Upper(f, 1), "120.50");
    EXPECT_EQ(Lower(f, 1), "Борщ"_cp);
    ASSERT_NE(Picture(f, 1), nullptr);
    EXPECT_EQ(Picture(f, 1)->width, 3);
    EXPECT_EQ(Upper(f, 2), "---");
    EXPECT_TRUE(ShowsResource(f, 2, res::kPictureMenuArticle)) << "no file of its own nor the default one";
    EXPECT_EQ(Upper(f, 3), " ") << "a number's text is no price";
    EXPECT_EQ(Lower(f, 3), "5");
    hostwin::ShowPictureMenu(1, 0);
    hostwin::ShowPictureMenu(3, 0);  // not a string: shown, and a press does nothing
    hostwin::ShowPictureMenu(4, 0);  // an empty button
    EXPECT_EQ(entered, std::vector<std::string>{"A7X"});
    EXPECT_TRUE(global.empty());

    WritePicture("default.bmp", 5, 4);
    frontdesk::Settings().sumDisplayMode = 1;
    hostwin::ShowPictureMenu(0, 0);
    Tick();
    EXPECT_EQ(Upper(f, 1), "121");
    EXPECT_EQ(Picture(f, 2)->width, 5) << "the default picture file";
    core::State().showText = 0;
    hostwin::ShowPictureMenu(0, 0);
    Tick();
    EXPECT_EQ(Upper(f, 1), "Борщ"_cp);
    EXPECT_EQ(Lower(f, 1), " ");
    core::State().showPictures = 0;
    core::State().showPrice = 0;
    hostwin::ShowPictureMenu(0, 0);
    Tick();
    EXPECT_EQ(Picture(f, 1), nullptr);
    EXPECT_EQ(Upper(f, 1), " ");
    EXPECT_EQ(Lower(f, 1), "Борщ"_cp);
    EXPECT_EQ(platform_.desktop.LiveBitmaps(), 0u);
}

TEST_F(PictureMenu, BadGoodsStringsAreCutWithinTheirTextAndPictureNamesStayInTheFolder) {
    const std::string tail = std::string(12, ' ') + "9.5" + "x.bmp" + std::string(45, ' ');
    const hostwin::GoodsString good = hostwin::ParseGoodsString(Cp("00212Суп"_cp) + tail);
    EXPECT_EQ(good.code, "12");
    EXPECT_EQ(good.name, "Суп"_cp);
    EXPECT_EQ(good.price, "9.5");
    EXPECT_EQ(good.picture, "x.bmp");

    const struct {
        std::string text, code, name, price, picture;
    } cases[] = {
        {"", "", "", "", ""},
        {"00", "", "00", "", ""},
        {"003ab", "", "003ab", "", ""},                       // the code runs past the end
        {Cp("003abcКофе"_cp), "abc", Cp("Кофе"_cp), "", ""},  // too short for price and picture
        {"x03abcd" + tail, "", "x03abcd", "9.5", "x.bmp"},
        {"999" + tail, "", "999", "9.5", "x.bmp"},
        {"000" + std::string(15, ' ') + std::string(50, ' '), "", "", "", ""},
        {"001z" + std::string(15, ' ') + "..\\..\\secret.bmp" + std::string(34, ' '), "z", "", "", ""},
        {"001z" + std::string(15, ' ') + "a/b.bmp" + std::string(43, ' '), "z", "", "", ""},
        {"001z" + std::string(15, ' ') + "C:x.bmp" + std::string(43, ' '), "z", "", "", ""},
        {"001z" + std::string(15, ' ') + ".." + std::string(48, ' '), "z", "", "", ""},
    };
    for (const auto& c : cases) {
        const hostwin::GoodsString g = hostwin::ParseGoodsString(c.text);
        EXPECT_EQ(g.code, c.code) << c.text;
        EXPECT_EQ(g.name, c.name) << c.text;
        EXPECT_EQ(g.price, c.price) << c.text;
        EXPECT_EQ(g.picture, c.picture) << c.text;
    }

    EXPECT_EQ(hostwin::PriceText("120.5", 0), "120.50");
    EXPECT_EQ(hostwin::PriceText("120,5", 1), "121");
    EXPECT_EQ(hostwin::PriceText("-0.004", 0), "0.00");
    EXPECT_EQ(hostwin::PriceText("0.5", 0), "0.50");
    EXPECT_EQ(hostwin::PriceText("999999999999999", 0), "999999999999999.00");
    for (const char* bad : {"", "abc", "12abc", "-", ".", "1e5", "1.2.3"})
        EXPECT_EQ(hostwin::PriceText(bad, 0), " ") << bad;
}

TEST_F(PictureMenu, NothingIsDrawnWithoutALiveReceiptFormAndAClosedOneIsNeverTouched) {
    ReceiptForm& hidden = Form(false);
    hostwin::ResetPictureMenu(Articles(3));
    Tick();
    EXPECT_EQ(hidden.formulas[0], "") << "no receipt form shown yet";

    ReceiptForm& f = Form();
    hostwin::ShowPictureMenu(0, 0);
    EXPECT_EQ(f.formulas[0], "DRV.Картинка(1)"_cp);
    // The form closes: its window goes and the host frees its document.
    platform_.desktop.DestroyWindow(f.frame);
    host_->forms.pop_back();
    hostwin::ShowPictureMenu(0, 0);
    hostwin::ShowPictureMenu(1, 0);
    hostwin::PictureMenuForward();
    hostwin::PictureMenuBack();
    Tick();
    hostwin::ResetPictureMenu(Articles(3));
    EXPECT_EQ(platform_.desktop.LiveBitmaps(), 0u);

    // A frame that shows another form by now is no receipt form.
    ReceiptForm& again = Form();
    hostwin::ShowPictureMenu(0, 0);
    EXPECT_EQ(Upper(again, 1), "1.00");
    again.path = Cp("Обработка.Отчет"_cp);
    again.titles[20] = "own";
    hostwin::ShowPictureMenu(0, 0);
    Tick();
    EXPECT_EQ(again.titles[20], "own");
}

TEST_F(PictureMenu, AListInsideItselfGoesTenLevelsDeepAndLongListsAreReadAPageAtATime) {
    ReceiptForm& f = Form();
    TestList* loop = nullptr;
    host::Value looping = Articles(2, &loop);
    loop->items[0] = {looping, Cp("Снова"_cp)};
    hostwin::ResetPictureMenu(looping);
    hostwin::ShowPictureMenu(1, 0);
    for (int press = 0; press < 12; ++press) hostwin::ShowPictureMenu(2, 0);
    for (int back = 0; back < 9; ++back) {
        EXPECT_TRUE(ShowsResource(f, 1, res::kPictureMenuBack)) << back;
        hostwin::ShowPictureMenu(1, 0);
    }
    EXPECT_TRUE(ShowsResource(f, 1, res::kPictureMenuSubmenu)) << "nine steps back from level ten";
    loop->items.clear();  // the list lets go of itself

    TestList* longList = nullptr;
    host::Value many = Articles(0, &longList);
    longList->items.resize(21, {host::Value(std::string("a")), ""});
    longList->size = 10000;
    hostwin::ResetPictureMenu(many);
    EXPECT_EQ(longList->asked, 20);
    for (int i = 0; i < 3; ++i) hostwin::PictureMenuForward();
    EXPECT_EQ(longList->asked, 80);
    Tick();
    EXPECT_EQ(Lower(f, 9), "a");
    EXPECT_EQ(Lower(f, 10), " ") << "an item the list would not give is an empty button";
}

TEST_F(PictureMenu, TheObjectsMethodsDriveTheMenu) {
    ReceiptForm& f = Form();
    host::Value windows(hostwin::kCWin1RuntimeClass.create());
    host::Value desk(frontdesk::kCWinRuntimeClass.create());
    ASSERT_TRUE(host_->CallMethod(*windows.GetContext(), Cp("ОбновитьМеню"_cp), {Articles(25)}, nullptr));
    ASSERT_TRUE(host_->CallMethod(*desk.GetContext(), Cp("ПрокруткаВВерх"_cp), {}, nullptr));
    Tick();
    EXPECT_EQ(Lower(f, 1), "Товар 5"_cp);
    ASSERT_TRUE(host_->CallMethod(*desk.GetContext(), Cp("ПрокруткаВниз"_cp), {}, nullptr));
    std::vector<std::string> entered;
    f.module.AddProcedure(Cp("ВводТовара"_cp), [&](std::vector<host::Value*>& args) {
        entered.push_back(args.at(0)->GetString());
    });
    ASSERT_TRUE(host_->CallMethod(*desk.GetContext(), Cp("Картинка"_cp), {host::Value(3)}, nullptr));
    EXPECT_EQ(entered, std::vector<std::string>{"3"});
    EXPECT_TRUE(host_->Errors().empty());
}

}  // namespace
}  // namespace klt::test
