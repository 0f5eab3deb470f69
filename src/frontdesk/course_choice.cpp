#include "frontdesk/course_choice.h"

#include "res/dialogs.h"

namespace klt::frontdesk {

int CourseChoice::Run() {
    return ui::CurrentWindowing().RunModal(res::kCourseTemplate, *this);
}

void CourseChoice::OnOpen(ui::DialogView& view) {
    (void)view;
}

void CourseChoice::OnCommand(ui::DialogView& view, int id) {
    switch (id) {
        case res::kCourse1:
        case res::kCourse2:
        case res::kCourse3:
        case res::kCourse4:
            course_ = id - res::kCourse1 + 1;
            view.Close(ui::kIdOk);
            break;
        case res::kCourseCancel:
            view.Close(ui::kIdCancel);
            break;
        default:
            // Enter chooses nothing: a stray key must not pick a course for the cook.
            break;
    }
}

}  // namespace klt::frontdesk
