#pragma once
// The administrator's hall editor: draws a hall or bar counter plan with the mouse, edits its
// tables and colours, and loads and saves the plan file with its background picture.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "halls/plan.h"
#include "halls/plan_edit.h"
#include "ui/bitmap.h"
#include "ui/dialog.h"

namespace klt::halls {

// The items of the single-table and the multi-table context menus, with their pictures.
std::vector<ui::MenuItem> EditMenu(MenuKind kind);

// What header field 44 keeps of a typed or chosen picture path: the bare file name, which is
// looked for inside ZALY. Nothing that could lead out of that folder is kept.
std::string PictureFileName(const std::string& path);

class HallEditor final : public ui::DialogController {
  public:
    HallEditor();

    // Runs the editor modally in the window system in force; answers the close code.
    int Run();

    const Plan& plan() const { return plan_; }
    const std::optional<ui::Bitmap>& picture() const { return picture_; }

    void OnOpen(ui::DialogView& view) override;
    void OnCommand(ui::DialogView& view, int id) override;
    void OnEditChanged(ui::DialogView& view, int id) override;
    bool OnMouse(ui::DialogView& view, const ui::MouseEvent& event) override;
    void OnPaint(ui::DialogView& view, ui::Canvas& canvas) override;
    void OnClose(ui::DialogView& view) override;
    std::optional<ui::Point> PlanToClient(ui::Point plan) const override;

  private:
    PlanKind Kind() const { return hall_ ? PlanKind::Hall : PlanKind::Bar; }
    int Number(const ui::DialogView& view) const;
    ui::Rect PlanArea() const;
    void Load(ui::DialogView& view);
    void Save(ui::DialogView& view);
    void LoadPicture(ui::DialogView& view);
    void Browse(ui::DialogView& view);
    void AddTable(ui::DialogView& view, Shape shape);
    void ContextMenu(ui::DialogView& view, ui::Point p);
    void ReadChecks(ui::DialogView& view);
    void ShowChecks(ui::DialogView& view);
    void ShowVisibility(ui::DialogView& view);
    void Changed(ui::DialogView& view);
    void Message(const char* cp1251) const;

    Plan plan_;
    PlanEditSession session_{plan_};
    bool hall_ = true;
    Colour tableColour_ = kInitialTableColour;
    std::optional<ui::Bitmap> picture_;
    ui::DialogView* view_ = nullptr;
    ui::Rect planArea_;
    bool filling_ = false;
    std::vector<std::unique_ptr<ui::CustomControl>> swatches_;
};

}  // namespace klt::halls
