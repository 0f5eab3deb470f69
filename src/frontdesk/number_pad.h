#pragma once
// The numeric keypad: a touch window that asks for a number with picture keys and shows it in a
// colour label, formatted with the precision asked for.
#include <string>
#include <string_view>

#include "frontdesk/colour_label.h"
#include "ui/dialog.h"

namespace klt::frontdesk {

// "%.f" for precision 0, "%.3f" for 3, "%.2f" for anything else; the same text on every build
// and whatever the host's locale.
std::string FormatWithPrecision(double value, int precision);
// The leading decimal number of a text ("1.2.3" gives 1.2, "." or no digits give 0), rounded to
// single precision as the keypad holds it.
float ParseSingle(std::string_view text);
// The same in double precision, as the result of "ЗапросЧисла" is read back.
double ParseDouble(std::string_view text);
// A leading sign and digits as a decimal integer parser reads them ("12.5" gives 12, "7,5" 7, no
// digits 0); beyond the 32-bit range it stops at the limit.
int LeadingInteger(std::string_view text);

// What the keypad answers for a cancelled entry.
inline constexpr std::string_view kNumberPadCancelled = "-1";

class NumberPad final : public ui::DialogController {
  public:
    NumberPad(std::string_view initialText, std::string caption, int precision);

    // Runs the keypad modally in the window system in force; answers the close code.
    int Run();
    // The display's text when confirmed, "-1" when cancelled, empty before it closed.
    const std::string& result() const { return result_; }
    const std::string& entry() const { return entry_; }

    void OnOpen(ui::DialogView& view) override;
    void OnCommand(ui::DialogView& view, int id) override;
    void OnClose(ui::DialogView& view) override;

  private:
    void Show(float value);

    std::string caption_;
    int precision_;
    float initial_;
    std::string entry_;
    std::string result_;
    ColourLabel display_;
};

}  // namespace klt::frontdesk
