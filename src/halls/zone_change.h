#pragma once
// The windows in which the user picks the table an order moves to: the zone-change window, with
// the plan's tables drawn by number only and the commands of a move, and the compact plan display
// of the pocket terminals, which only shows the plan.
#include <optional>
#include <string>

#include "halls/plan.h"
#include "ui/bitmap.h"
#include "ui/dialog.h"

namespace klt::halls {

struct ZoneChangeParams {
    PlanKind kind = PlanKind::Hall;
    int number = 0;
    std::string name;  // shown in the caption after the kind
    std::string rights;
    std::string caption227, caption226;  // the lower and the upper caption line
    std::string extraTables;             // "|З%dС%d|" entries offered even when occupied
    std::string visibilityList;          // the front desk's list of this workstation's tables
    // Tables show numbers only, so sums are never drawn here; the plan keeps its own field.
    int sumDisplayMode = 0;
};

class ZoneChange final : public ui::DialogController {
  public:
    explicit ZoneChange(ZoneChangeParams params);

    // Runs the window modally in the window system in force; answers the close code.
    int Run();
    // What the user chose, as the configuration parses it; empty until the window closed on a
    // choice or on Cancel.
    const std::string& result() const { return result_; }
    const Plan& plan() const { return plan_; }

    void OnOpen(ui::DialogView& view) override;
    void OnCommand(ui::DialogView& view, int id) override;
    void OnClick(ui::DialogView& view, ui::Point p) override;
    void OnPaint(ui::DialogView& view, ui::Canvas& canvas) override;
    std::optional<ui::Point> PlanToClient(ui::Point plan) const override;

  private:
    void Choose(ui::DialogView& view, std::string result);

    ZoneChangeParams params_;
    Plan plan_;
    ui::Rect area_;  // the plan area in client pixels
    std::optional<ui::Bitmap> picture_;
    bool opened_ = false;
    bool changeHall_ = false, changeUser_ = false, moveToHall_ = false;
    std::string result_;
};

class CompactPlanDisplay final : public ui::DialogController {
  public:
    CompactPlanDisplay(PlanKind kind, int number, int sumDisplayMode);

    int Run();
    // The display chooses nothing: always empty.
    const std::string& result() const { return result_; }
    const Plan& plan() const { return plan_; }

    void OnOpen(ui::DialogView& view) override;
    void OnCommand(ui::DialogView& view, int id) override;
    void OnPaint(ui::DialogView& view, ui::Canvas& canvas) override;
    std::optional<ui::Point> PlanToClient(ui::Point plan) const override;

  private:
    PlanKind kind_;
    int number_;
    int sumDisplayMode_;
    Plan plan_;
    std::optional<ui::Bitmap> picture_;  // already turned
    bool opened_ = false;
    std::string result_;
};

}  // namespace klt::halls
