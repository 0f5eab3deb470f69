// Costs of the touch windows that the waiter feels: a key press on the keypad (parse, format,
// label repaint request), painting a colour label with a gradient, and a whole keypad session in
// the headless window system.
#include <benchmark/benchmark.h>

#include "frontdesk/colour_label.h"
#include "frontdesk/number_pad.h"
#include "res/dialogs.h"
#include "ui/headless.h"

using namespace klt;

static void BM_GradientBands(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            frontdesk::GradientBands({0, 0, width, 30}, ui::Rgb(255, 0, 0), ui::Rgb(0, 0, 255)));
}
BENCHMARK(BM_GradientBands)->Arg(50)->Arg(1024);

static void BM_KeypadEntryToDisplay(benchmark::State& state) {
    std::string entry = "123456.78";
    for (auto _ : state)
        benchmark::DoNotOptimize(frontdesk::FormatWithPrecision(frontdesk::ParseSingle(entry), 2));
}
BENCHMARK(BM_KeypadEntryToDisplay);

namespace {

class Host : public ui::DialogController {
  public:
    void OnOpen(ui::DialogView& view) override {
        label.Attach(view, res::kPadDisplay);
        label.SetBackground(ui::Rgb(255, 255, 0), ui::Rgb(0, 128, 0), true);
        label.Set3DText(true, true);
        label.SetText("1234.56");
    }
    void OnClose(ui::DialogView&) override { label.Detach(); }
    frontdesk::ColourLabel label;
};

}  // namespace

static void BM_ColourLabelPaintWithGradient(benchmark::State& state) {
    Host host;
    ui::HeadlessDialog dialog(res::kNumberPadTemplate, host);
    dialog.Open();
    for (auto _ : state) benchmark::DoNotOptimize(dialog.Paint(res::kPadDisplay));
}
BENCHMARK(BM_ColourLabelPaintWithGradient);

static void BM_KeypadSessionHeadless(benchmark::State& state) {
    ui::ScopedHeadlessWindowing scoped;
    for (auto _ : state) {
        std::vector<ui::UserAction> script;
        for (int id :
             {res::kPadKey1, res::kPadKey2, res::kPadKey3, res::kPadKeyPoint, res::kPadKey4, res::kPadKey5})
            script.push_back(ui::UserAction::Press(id));
        script.push_back(ui::UserAction::Press(res::kPadConfirm));
        scoped.windowing.Queue(std::move(script));
        frontdesk::NumberPad pad("0", "", 2);
        pad.Run();
        benchmark::DoNotOptimize(pad.result());
    }
}
BENCHMARK(BM_KeypadSessionHeadless);
