// The picture menu of goods: drawing a full page of twenty articles, each with its own 64 x 64
// picture file, into a receipt form of the emulated host (the fake desktop records the bitmaps),
// and one caption refresh of the twenty lower lines.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "assembly/assembly.h"
#include "bench_support.h"
#include "core/state.h"
#include "emulator/emulated_host.h"
#include "hostwin/picture_menu.h"
#include "platform/files.h"
#include "platform/headless.h"

using namespace klt;
using namespace klt::text::literals;

namespace {

constexpr int kFields = 60;
constexpr int kControlBase = 1000;

class List : public host::Context {
  public:
    const host::RuntimeClass* GetRuntimeClass() const override { return &kClass; }
    const char* GetTypeString() const override { return "СписокЗначений"_cp.data(); }
    int FindMethod(const char* name) const override {
        return name == "РазмерСписка"_cp ? 0 : name == "ПолучитьЗначение"_cp ? 1 : -1;
    }
    int CallAsFunc(int number, host::Value& result, host::Value** args) override {
        if (number == 0) {
            result.AssignInt(static_cast<std::int32_t>(items.size()));
            return 0;
        }
        const std::int32_t k = args[0]->GetInt32();
        if (k < 1 || static_cast<std::size_t>(k) > items.size()) return 1;
        result = items[static_cast<std::size_t>(k - 1)];
        args[1]->AssignString("");
        return 0;
    }
    static inline const host::RuntimeClass kClass{"CValueListContext", nullptr};
    std::vector<host::Value> items;
};

struct Receipt : host::Document {
    platform::WindowHandle frame = 0;
    std::vector<std::string> titles = std::vector<std::string>(kFields);
    platform::WindowHandle GetFrame() override { return frame; }
    host::Context* GetGroupContext() override { return nullptr; }
    std::string GetMetadataPath() override { return std::string("Обработка.ЧекП"_cp); }
    int FieldCount() override { return kFields; }
    int FieldControlId(int index) override { return kControlBase + index; }
    void SetFieldTitle(int index, const std::string& title) override { titles[index] = title; }
    void SetFieldFormula(int, const std::string&) override {}
};

class Host : public emu::EmulatedHost {
  public:
    using EmulatedHost::EmulatedHost;
    host::WindowHandle GetMainFrame() override { return main; }
    const char* WindowClassOf(host::WindowHandle w) override {
        return w == main ? "CMainFrame" : w == receipt.frame ? "CTabFrame" : nullptr;
    }
    host::Document* GetActiveDocument(host::WindowHandle w) override {
        return w == receipt.frame ? &receipt : nullptr;
    }
    platform::WindowHandle main = 0;
    Receipt receipt;
};

// A 24-bit 64 x 64 bitmap file, as a configuration's goods pictures are.
std::string Bmp() {
    const int side = 64, row = side * 3;
    std::string b(static_cast<std::size_t>(54 + row * side), '\x60');
    auto put = [&b](std::size_t at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
    };
    b[0] = 'B', b[1] = 'M';
    put(2, static_cast<std::uint32_t>(b.size()), 4);
    put(6, 0, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, side, 4);
    put(22, side, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(30, 0, 24);
    return b;
}

// The add-in started as a workplace in an emulated host whose receipt form is shown, with a list
// of twenty articles, each with a picture file of its own.
struct Scene {
    platform::VirtualClock clock;
    platform::NativeLoop loop{clock, &clock};
    platform::NativeHooks hooks;
    platform::NativeDesktop desktop;
    platform::NativeHostPatcher patcher;
    platform::Services previous;
    bench::ScratchBase base{"klt_menu_bench"};
    std::unique_ptr<Host> host;
    host::Value list;

    Scene() {
        assembly::ResetProcessState();
        previous = platform::Replace({&clock, &loop, &hooks, &desktop, &patcher});
        const std::string folder = base.ib() + std::string("картинки"_cp);
        platform::Files().MakeDirectory(folder);
        auto* goods = new List();
        list = host::Value(goods);
        for (int k = 1; k <= 20; ++k) {
            const std::string picture = "goods" + std::to_string(k) + ".bmp";
            platform::Files().WriteAll(folder + "\\" + picture, Bmp());
            const std::string code = std::to_string(1000 + k);
            const std::string name = std::string("Блюдо номер "_cp) + std::to_string(k);
            const std::string price = std::to_string(100 + k) + ".50";
            goods->items.emplace_back("004" + code + name + std::string(15 - price.size(), ' ') + price +
                                      picture + std::string(50 - picture.size(), ' '));
        }
        platform::FakeWindowDesc desc;
        desc.box = {0, 0, 1024, 768};
        const platform::WindowHandle main = desktop.CreateWindow(desc);
        desktop.SetActive(main);
        emu::HostSettings s;
        s.rightsSetName = std::string("РабочееМесто"_cp);
        s.ibDirectory = base.ib();
        host = std::make_unique<Host>(std::move(s));
        host->main = main;
        assembly::Init(host.get(), host.get());
        core::State().showPrice = 1;
        core::State().showPictures = 1;
        core::State().showText = 1;
        desc.parent = main;
        desc.style = 0;
        host->receipt.frame = desktop.CreateWindow(desc);
        platform::FakeWindowDesc control;
        control.parent = host->receipt.frame;
        control.style = platform::kStyleVisible | platform::kStyleChild;
        for (int i = 0; i < kFields; ++i) {
            control.id = kControlBase + i;
            desktop.CreateWindow(control);
        }
        desktop.Show(host->receipt.frame, true);
    }
    ~Scene() {
        list = host::Value();
        assembly::ResetProcessState();
        platform::Replace(previous);
    }
};

void BM_DrawPageOfTwentyArticlesWithPictures(benchmark::State& state) {
    Scene scene;
    hostwin::ResetPictureMenu(scene.list);
    if (scene.desktop.LiveBitmaps() != 20 ||
        scene.desktop
                .BitmapOf(scene.desktop.ButtonImage(
                    scene.desktop.ChildWithId(scene.host->receipt.frame, kControlBase)))
                ->width != 64) {
        state.SkipWithError("the page was not drawn with its pictures");
        return;
    }
    for (auto _ : state) {
        hostwin::ShowPictureMenu(0, 0);
        benchmark::DoNotOptimize(scene.host->receipt.titles[20].data());
    }
    state.SetItemsProcessed(state.iterations() * 20);
}
BENCHMARK(BM_DrawPageOfTwentyArticlesWithPictures)->Unit(benchmark::kMicrosecond);

void BM_CaptionRefresh(benchmark::State& state) {
    Scene scene;
    hostwin::ResetPictureMenu(scene.list);
    for (auto _ : state) {
        hostwin::RefreshPictureCaptions();
        benchmark::DoNotOptimize(scene.host->receipt.titles[40].data());
    }
}
BENCHMARK(BM_CaptionRefresh)->Unit(benchmark::kMicrosecond);

}  // namespace
