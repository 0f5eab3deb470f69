#pragma once
// The manager's hall monitor: a tab for every hall and bar counter of the ZALY folder, the selected
// plan with every occupied table and its sum, and the figures of active and closed orders of that
// plan and of all plans. Unlike the hall views it shows every order, whoever took it. A touch on
// an occupied table closes it with a result text that the configuration parses.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "halls/notice_listener.h"
#include "halls/orders_summary.h"
#include "halls/plan.h"
#include "ui/bitmap.h"
#include "ui/dialog.h"

namespace klt::halls {

// A plan the monitor offers: "fileZal<N>" or "fileBar<N>" (its file is <key>.ini in ZALY), the
// number text <N>, and the tab's text.
struct MonitorTab {
    PlanKind kind = PlanKind::Hall;
    std::string key;
    std::string numberText;
    std::string caption;
};

// More plan files than this are not offered: the editor numbers 50 of each kind.
inline constexpr std::size_t kMaxMonitorTabs = 1000;

// The plans in ZALY, halls first then bar counters, each kind in the order of its file names. The
// tab's name comes from the configuration's global function "ПолЗал" (number text, 1); without the
// function the number text stands for it.
std::vector<MonitorTab> FindMonitorTabs();

struct MonitorStatistics {
    OrdersTotals planActive, planClosed;  // the selected plan
    OrdersTotals allActive, allClosed;    // all halls and bar counters
};

// Goes through the open and the closed orders once each. The orders of `selected` (nothing when
// there is none) count in its block and give the tables of `plan` their sums and states; every
// table starts free with sum 0. Orders of kind "03" count nowhere; a closed order counts only while
// its field 12 reads as 0.
MonitorStatistics ComputeMonitorStatistics(const std::optional<std::pair<PlanKind, int>>& selected,
                                           Plan& plan);

class HallMonitor final : public ui::DialogController {
  public:
    // `wholeNumberSums` non-zero: sums without decimals. `firstTab` outside the tabs selects the first.
    HallMonitor(int port, int wholeNumberSums, int firstTab);

    // Runs the monitor modally in the window system in force; answers the close code.
    int Run();
    // What the user chose; empty when the monitor closed without a choice.
    const std::string& result() const { return result_; }

    const std::vector<MonitorTab>& tabs() const { return tabs_; }
    const Plan& plan() const { return plan_; }
    const MonitorStatistics& statistics() const { return statistics_; }
    const std::optional<ui::Bitmap>& picture() const { return picture_; }
    // The port the monitor hears notices on while it is open (the system's choice for port 0).
    std::uint16_t listeningPort() const { return socket_.Port(); }

    // Any notice from another workstation: the figures and the tables are read again.
    void OnNotice();

    void OnOpen(ui::DialogView& view) override;
    void OnCommand(ui::DialogView& view, int id) override;
    void OnClick(ui::DialogView& view, ui::Point p) override;
    void OnNotify(ui::DialogView& view, int id, unsigned code) override;
    void OnPaint(ui::DialogView& view, ui::Canvas& canvas) override;
    void OnClose(ui::DialogView& view) override;
    std::optional<ui::Point> PlanToClient(ui::Point plan) const override;

  private:
    void LoadSelected(ui::DialogView& view);
    void Recompute(ui::DialogView& view);
    const MonitorTab* SelectedTab() const;

    int port_;
    int wholeNumberSums_;
    int firstTab_;
    std::vector<MonitorTab> tabs_;
    int selected_ = -1;
    int number_ = 0;  // the selected plan's number
    Plan plan_;
    ui::Rect area_;  // the plan area in client pixels
    std::optional<ui::Bitmap> picture_;
    MonitorStatistics statistics_;
    NoticeSocket socket_;
    ui::DialogView* view_ = nullptr;  // while the window is open
    std::string result_;
};

}  // namespace klt::halls
