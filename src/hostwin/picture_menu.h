#pragma once
// The picture menu of goods on the receipt forms: a tree of the host's value lists drawn one level
// at a time into the receipt form's own fields, twenty buttons a page, with a picture and two text
// lines a button. Button b (1 to 20) is field b - 1; its upper text line is field b + 19 and its
// lower one field b + 39. Each button's formula is "DRV.Картинка(b)", which the configuration
// evaluates as a press through the front-desk object.
//
// A field's control is found among the receipt frame's windows by its control identifier: a child
// of the frame, or a child of one of the frame's children (the form's view), no deeper than that.
//
// Everything here runs on the UI thread. Nothing is drawn or pressed until a root list has been
// given and while no receipt form is shown; a receipt form that has been closed is never touched.
#include <cstdint>

#include "core/host.h"

namespace klt::hostwin {

inline constexpr int kPictureMenuButtons = 20;
inline constexpr int kPictureMenuDepth = 10;  // a press that would go deeper does nothing
inline constexpr int kPictureMenuStep = 4;    // items moved by one page forward or back

// "ОбновитьМеню": a new root list; every button picture goes, every level starts at its first page,
// and the root is drawn.
void ResetPictureMenu(const host::Value& rootList);
// "Картинка"(button) with redraw 0: 0 draws the root again, 1 to 20 presses that button. With a
// nonzero redraw the current level is drawn again as it stands.
void ShowPictureMenu(int button, int redraw);
// "ПрокруткаВВерх" and "ПрокруткаВниз": four items on or back, and the level drawn again.
void PictureMenuForward();
void PictureMenuBack();
// The caption refresh: the lower text lines written into their fields again.
void RefreshPictureCaptions();
// Lets go of the lists and the button pictures (shut-down: the host may free its objects).
void ForgetPictureMenu();

// The goods string of an article, cut into its parts. Laid out as: the code length (three digits),
// the code, the display name, the price (15 characters) and the picture's file name (50 characters).
struct GoodsString {
    std::string code;
    std::string name;     // blanks at both ends removed
    std::string price;    // blanks at both ends removed
    std::string picture;  // a plain file name in the pictures folder, or empty when there is none
};
GoodsString ParseGoodsString(const std::string& text);
// The upper text for a price with the front-office settings: "---" for a gift, the number with two
// decimals (sum display mode 0) or none, or a blank when the price is not a number.
std::string PriceText(const std::string& price, std::int32_t sumDisplayMode);

}  // namespace klt::hostwin
