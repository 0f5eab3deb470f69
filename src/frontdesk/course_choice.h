#pragma once
// The cooking-course choice: four picture buttons for the courses 1 to 4 and a cancel button.
#include "ui/dialog.h"

namespace klt::frontdesk {

class CourseChoice final : public ui::DialogController {
  public:
    // Runs the window modally in the window system in force; answers the close code.
    int Run();
    // 1 to 4 for the course pressed, 0 when the window was cancelled.
    int course() const { return course_; }

    void OnOpen(ui::DialogView& view) override;
    void OnCommand(ui::DialogView& view, int id) override;

  private:
    int course_ = 0;
};

}  // namespace klt::frontdesk
