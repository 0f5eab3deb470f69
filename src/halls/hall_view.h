#pragma once
// The waiter's and bartender's main screen: one hall or bar counter with its tables coloured by
// their orders, a clock and the command buttons. A touch on a table or a command closes it with a
// result text that the configuration parses. The compact form, for pocket terminals, shows the plan
// turned a quarter and one command.
#include <optional>
#include <string>
#include <string_view>

#include "halls/notice_listener.h"
#include "halls/plan.h"
#include "halls/table_states.h"
#include "ui/bitmap.h"
#include "ui/dialog.h"

namespace klt::halls {

struct HallViewParams {
    PlanKind kind = PlanKind::Hall;
    int number = 0;
    std::string caption228, rights, caption227, caption226;
    int leadMinutes = 0, holdMinutes = 0;  // reservations show this long before and after their time
    int flagPeriodMs = 0;                  // how often "flag.fl" is looked for; 0: never
    std::string flagFolder;
    int listenPort = 0;
    int sumDisplayMode = 0;  // non-zero: sums in whole units
    std::string visibilityList;
    Permission permission;  // empty: the configuration's function
};

// The views' timers.
inline constexpr int kClockTimer = 1;
inline constexpr int kReservationsTimer = 2;
inline constexpr int kFlagTimer = 3;
inline constexpr unsigned kClockPeriodMs = 1000;
inline constexpr unsigned kReservationsPeriodMs = 60000;

class HallView final : public ui::DialogController {
  public:
    HallView(HallViewParams params, bool compact);

    // Runs the view modally in the window system in force; answers the close code.
    int Run();
    // What the user chose; empty when the view closed without a choice.
    const std::string& result() const { return result_; }

    // The plan as the view shows it now, and its background picture (turned in the compact view).
    const Plan& plan() const { return plan_; }
    const std::optional<ui::Bitmap>& picture() const { return picture_; }
    // The port the view hears notices on while it is open (the system's choice for port 0).
    std::uint16_t listeningPort() const { return socket_.Port(); }

    // A notice from another workstation: the view's own key refreshes the order states at once.
    void OnNotice(const std::string& text);

    void OnOpen(ui::DialogView& view) override;
    void OnCommand(ui::DialogView& view, int id) override;
    void OnClick(ui::DialogView& view, ui::Point p) override;
    void OnTimer(ui::DialogView& view, int timerId) override;
    void OnPaint(ui::DialogView& view, ui::Canvas& canvas) override;
    void OnClose(ui::DialogView& view) override;
    std::optional<ui::Point> PlanToClient(ui::Point plan) const override;

  private:
    void Place(ui::DialogView& view);
    void LayOut(ui::DialogView& view, const ui::Rect& designed);
    void Load(ui::DialogView& view);
    void ShowClock(ui::DialogView& view);
    void RefreshOrders();
    void RefreshReservations();
    void InvalidateTables();
    // The part of the picture that lies under the plan, and where it is drawn.
    bool PictureGeometry(ui::Rect& source, ui::Rect& dest) const;
    bool Allowed(int command) const;
    // "<name>_<number><middle>_Из<Зала|Бара>".
    std::string CommandResult(std::string_view name, std::string_view middle = {}) const;

    HallViewParams params_;
    bool compact_;
    RefreshParams refresh_;
    TableStates states_;
    Plan plan_;
    Conversion conversion_;
    std::optional<ui::Bitmap> picture_;
    NoticeSocket socket_;
    ui::DialogView* view_ = nullptr;  // while the window is open
    std::string result_;
};

}  // namespace klt::halls
