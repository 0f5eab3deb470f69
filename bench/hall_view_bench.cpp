// The waiter's screen at work, on a hall of 200 tables over a background picture:
// - a notice from another workstation, up to the view's request to repaint its tables (the order
//   states read anew from the marker folder in between); natively, and only inside a network
//   namespace of its own, into which the program moves itself (`unshare -n`, loopback up);
// - painting the whole view with GDI into a memory bitmap of its client size, beside a bare BitBlt
//   of the same area; the 32-bit build under wine (bench/wine_bench.sh).
// Each reports the median and the 99th percentile of single runs (p50_us, p99_us).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "assembly/assembly.h"
#include "core/state.h"
#include "emulator/emulated_host.h"
#include "halls/hall_view.h"
#include "halls/markers.h"
#include "halls/plan.h"
#include "halls/table_drawing.h"
#include "bench_support.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "res/hall_dialogs.h"
#include "text/format.h"
#include "text/literal.h"
#include "ui/headless.h"

#ifdef _WIN32
#include "ui/win32/win32_ui.h"
#else
#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#endif

using namespace klt;
using namespace klt::halls;
using namespace klt::text::literals;

namespace {

constexpr int kTables = 200;
constexpr int kHall = 1;

// A 24-bit bottom-up picture with a gradient, so stretching it is real work.
std::string Picture(int width, int height) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::string b(54 + static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), '\0');
    auto put = [&b](std::size_t at, std::uint32_t v) {
        for (std::size_t i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, static_cast<std::uint32_t>(b.size()));
    put(10, 54);
    put(14, 40);
    put(18, static_cast<std::uint32_t>(width));
    put(22, static_cast<std::uint32_t>(height));
    put(26, 1 | (24u << 16));  // one plane, 24 bits
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t at = 54 + static_cast<std::size_t>(y * stride + x * 3);
            b[at] = static_cast<char>(x % 256);
            b[at + 1] = static_cast<char>(y % 256);
            b[at + 2] = static_cast<char>((x + y) % 256);
        }
    return b;
}

// A temporary information base: hall 1 with 200 tables in 20 columns and 10 rows over a picture
// of the plan's size, the emulated host whose "глРазрешитьВнестиЗаказ" takes an order whose
// field 5 is "me" for the user's own, and the open orders that each benchmark asks for.
class Base {
  public:
    Base() {
        platform::FileSystem& files = platform::Files();
        files.MakeDirectory(OpenOrdersFolder(ib_));
        files.MakeDirectory(ReservationsFolder(ib_));

        Plan plan;
        plan.header->pictureName = "hall.bmp";
        for (int n = 1; n <= kTables; ++n) {
            const int x = 4 + (n - 1) % 20 * 39, y = 4 + (n - 1) / 20 * 48;
            TableItem t;
            t.record = NewTableRecord(n, 0x00A0FFA0, static_cast<Shape>(1 + n % 3), {x, y, x + 34, y + 42});
            t.record.severalOrders = n % 2;
            t.record.rounding = 8;
            plan.tables.push_back(t);
        }
        SavePlan(ib_, PlanKind::Hall, kHall, plan);
        files.WriteAll(PicturePath(ib_, "hall.bmp"), Picture(kPlanWidth, kPlanHeight));

        emu::HostSettings s;
        s.ibDirectory = ib_;
        host_ = std::make_unique<emu::EmulatedHost>(s);
        host_->GlobalModule().AddFunction(
            std::string("глРазрешитьВнестиЗаказ"_cp), [](std::vector<host::Value*>& args) {
                return host::Value(OrderMarker::Parse(args.at(0)->GetString()).Field(5) == "me" ? 1 : 0);
            });
        core::State().host = host_.get();
        core::State().ibDirectory = ib_;
        core::State().screenMode = 1;  // 800 x 600
    }
    ~Base() { assembly::ResetProcessState(); }

    // Exactly `count` open orders of the hall in the folder, over all its tables, two in three the
    // user's own.
    void SetOrders(int count) {
        platform::FileSystem& files = platform::Files();
        const std::string folder = OpenOrdersFolder(ib_);
        for (const std::string& name : files.List(folder, "*", kMaxMarkers))
            files.Remove(folder + "\\" + name);
        for (int i = 0; i < count; ++i) {
            OrderMarkerValues v;
            v.number = kHall;
            v.table = 1 + i % kTables;
            v.field5 = i % 3 ? "me" : "other";
            v.field7 = i;
            v.sum = 1250 + i;
            v.guests = 2;
            files.WriteAll(folder + "\\" + FormatOrderMarker(v), "");
        }
    }

    HallViewParams Params() const {
        HallViewParams p;
        p.kind = PlanKind::Hall;
        p.number = kHall;
        p.rights = std::string(100, '1');
        p.leadMinutes = 60;
        p.holdMinutes = 30;
        for (int n = 1; n <= kTables; ++n) p.visibilityList += text::Format("|\xC7%d\xD1%d|", kHall, n);
        return p;
    }

  private:
    bench::ScratchBase base_{"klt-view-bench-"};
    std::string ib_ = base_.ib();
    std::unique_ptr<emu::EmulatedHost> host_;
};

Base& TheBase() {
    static Base base;
    return base;
}

using Clock = std::chrono::steady_clock;

// Each run's time as the benchmark's own, and the median and 99th percentile of them.
class Runs {
  public:
    explicit Runs(benchmark::State& state) : state_(state) {}
    ~Runs() {
        if (micros_.empty()) return;
        std::sort(micros_.begin(), micros_.end());
        state_.counters["p50_us"] = micros_[micros_.size() / 2];
        state_.counters["p99_us"] = micros_[std::min(micros_.size() - 1, micros_.size() * 99 / 100)];
    }
    void Add(Clock::time_point start) {
        const std::chrono::duration<double> d = Clock::now() - start;
        state_.SetIterationTime(d.count());
        micros_.push_back(d.count() * 1e6);
    }

  private:
    benchmark::State& state_;
    std::vector<double> micros_;
};

#ifdef _WIN32

// A memory bitmap of the screen's format, selected into a context of its own.
class MemorySurface {
  public:
    MemorySurface(int width, int height) {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        if (dc_ && bitmap_) previous_ = SelectObject(dc_, bitmap_);
    }
    ~MemorySurface() {
        if (previous_) SelectObject(dc_, previous_);
        if (bitmap_) DeleteObject(bitmap_);
        if (dc_) DeleteDC(dc_);
    }
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;
    bool ok() const { return previous_ != nullptr; }
    HDC dc() const { return dc_; }

  private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// The full view painted as the window system asks it to: the controller's OnPaint on a GDI canvas,
// here over a memory bitmap of the view's client size; with 200 open orders, so sums are drawn.
void BM_HallViewPaintGdi(benchmark::State& state) {
    Base& base = TheBase();
    base.SetOrders(kTables);
    ui::ScopedHeadlessWindowing windowing;
    HallView view(base.Params(), false);
    ui::HeadlessDialog dialog(res::kHallViewTemplate, view);
    dialog.Open();
    const ui::Rect client = dialog.ClientRect();
    MemorySurface surface(client.Width(), client.Height());
    if (!view.picture() || view.plan().tables.size() != kTables || !surface.ok()) {
        state.SkipWithError("no plan, picture or bitmap");
        return;
    }
    state.counters["width"] = client.Width();
    state.counters["height"] = client.Height();
    Runs runs(state);
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        {
            ui::win32::GdiCanvas canvas(surface.dc());
            view.OnPaint(dialog, canvas);
        }
        GdiFlush();
        runs.Add(start);
    }
}
BENCHMARK(BM_HallViewPaintGdi)->UseManualTime()->Unit(benchmark::kMillisecond);

// The paint in parts, to see where its time goes: 0 the background (fill and picture), 1 the 200
// tables' shapes alone, 2 the tables with their sums and names.
void BM_HallViewPaintParts(benchmark::State& state) {
    Base& base = TheBase();
    base.SetOrders(kTables);
    ui::ScopedHeadlessWindowing windowing;
    HallView view(base.Params(), false);
    ui::HeadlessDialog dialog(res::kHallViewTemplate, view);
    dialog.Open();
    const ui::Rect client = dialog.ClientRect();
    MemorySurface surface(client.Width(), client.Height());
    if (!view.picture() || !surface.ok()) {
        state.SkipWithError("no picture or bitmap");
        return;
    }
    const int part = static_cast<int>(state.range(0));
    Plan plan = view.plan();
    auto header = std::make_shared<HallHeader>(*plan.header);
    if (part == 1) header->showSums = header->showNames = 0;
    for (TableItem& t : plan.tables) t.header = header;
    const ui::Bitmap& picture = *view.picture();
    Runs runs(state);
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        {
            ui::win32::GdiCanvas canvas(surface.dc());
            canvas.BeginBuffer(client);
            canvas.Clip(client);
            if (part == 0) {
                canvas.FillRect(client, ui::Rgb(192, 192, 192));
                canvas.DrawBitmap(picture, {0, 0, picture.width, picture.height},
                                  {0, 0, client.Width(), client.Height() * 489 / 577});
            } else {
                for (const TableItem& t : plan.tables) DrawTable(canvas, t);
            }
            canvas.ClearClip();
            canvas.EndBuffer();
        }
        GdiFlush();
        runs.Add(start);
    }
}
BENCHMARK(BM_HallViewPaintParts)->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);

// What no paint can go below: one copy of the same area between two memory bitmaps.
void BM_BareBitBltOfTheViewArea(benchmark::State& state) {
    Base& base = TheBase();
    ui::ScopedHeadlessWindowing windowing;
    HallView view(base.Params(), false);
    ui::HeadlessDialog dialog(res::kHallViewTemplate, view);
    dialog.Open();
    const ui::Rect client = dialog.ClientRect();
    MemorySurface from(client.Width(), client.Height()), to(client.Width(), client.Height());
    if (!from.ok() || !to.ok()) {
        state.SkipWithError("no bitmap");
        return;
    }
    Runs runs(state);
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        BitBlt(to.dc(), 0, 0, client.Width(), client.Height(), from.dc(), 0, 0, SRCCOPY);
        GdiFlush();
        runs.Add(start);
    }
}
BENCHMARK(BM_BareBitBltOfTheViewArea)->UseManualTime()->Unit(benchmark::kMillisecond);

#else

// A namespace of our own has no interface but loopback: nothing sent here can leave the machine.
bool OnlyLoopback() {
    struct if_nameindex* all = ::if_nameindex();
    if (!all) return false;
    bool only = true;
    for (const struct if_nameindex* i = all; i->if_index != 0; ++i)
        only = only && std::strcmp(i->if_name, "lo") == 0;
    ::if_freenameindex(all);
    return only;
}

// A notice of the view's own key, sent to it on loopback as another workstation's would arrive,
// until the view asks for its tables to be repainted; `range(0)` open orders in the folder.
void BM_NoticeToRepaintRequest(benchmark::State& state) {
    if (!OnlyLoopback()) {
        state.SkipWithError("runs only in a network namespace of its own");
        return;
    }
    Base& base = TheBase();
    base.SetOrders(static_cast<int>(state.range(0)));
    ui::ScopedHeadlessWindowing windowing;
    HallView view(base.Params(), false);
    ui::HeadlessDialog dialog(res::kHallViewTemplate, view);
    dialog.Open();
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // unicast to this machine, never a broadcast
    to.sin_port = htons(view.listeningPort());
    if (fd < 0 || view.listeningPort() == 0 || !view.picture() ||
        ::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        if (fd >= 0) ::close(fd);
        state.SkipWithError("no socket, listener or picture");
        return;
    }
    const std::string key = OwnKey(ViewKind::Hall, kHall);
    platform::Loop* loop = platform::Get().loop;
    {
        Runs runs(state);
        for (auto _ : state) {
            const std::size_t before = dialog.invalidatedAreas().size();
            const Clock::time_point start = Clock::now();
            if (::send(fd, key.data(), key.size(), 0) != static_cast<ssize_t>(key.size())) {
                state.SkipWithError("send failed");
                break;
            }
            if (!loop->RunUntil([&] { return dialog.invalidatedAreas().size() > before; }, 1000)) {
                state.SkipWithError("no repaint requested");
                break;
            }
            runs.Add(start);
        }
    }
    ::close(fd);
    const auto occupied = std::count_if(view.plan().tables.begin(), view.plan().tables.end(),
                                        [](const TableItem& t) { return t.state == TableState::Occupied; });
    if (occupied == 0) state.SkipWithError("order states not derived");
}
BENCHMARK(BM_NoticeToRepaintRequest)->Arg(200)->Arg(2000)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Moves the program into a network namespace of its own, loopback up, unless it is in one.
void EnterPrivateNetwork(int argc, char** argv) {
    if (OnlyLoopback()) return;
    if (std::getenv("KLT_BENCH_NETNS")) return;  // already tried: the benchmark says it cannot run
    ::setenv("KLT_BENCH_NETNS", "1", 1);
    std::vector<char*> args = {const_cast<char*>("unshare"),
                               const_cast<char*>("-n"),
                               const_cast<char*>("sh"),
                               const_cast<char*>("-c"),
                               const_cast<char*>("ip link set lo up && exec \"$0\" \"$@\""),
                               const_cast<char*>("/proc/self/exe")};
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
        self[n] = '\0';
        args.back() = self;
    }
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    args.push_back(nullptr);
    ::execvp("unshare", args.data());
    std::perror("unshare -n (the notice benchmark will be skipped)");
}

#endif

}  // namespace

int main(int argc, char** argv) {
#ifndef _WIN32
    EnterPrivateNetwork(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
