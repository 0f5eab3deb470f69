#pragma once
// Resource numbers of the module's pictures. The pictures themselves are drawn by pictures.cpp.
namespace klt::res {

// 48 × 48 key tiles.
inline constexpr int kPictureKey1 = 294;
inline constexpr int kPictureKey4 = 295;
inline constexpr int kPictureKey2 = 296;
inline constexpr int kPictureKey3 = 297;
inline constexpr int kPictureKey5 = 298;
inline constexpr int kPictureKey6 = 299;
inline constexpr int kPictureKey7 = 300;
inline constexpr int kPictureKey8 = 301;
inline constexpr int kPictureKey9 = 302;
inline constexpr int kPictureKey0 = 303;
inline constexpr int kPictureKeyPoint = 304;
inline constexpr int kPictureKey00 = 305;
inline constexpr int kPictureKeyClear = 306;
// 64 × 122.
inline constexpr int kPictureConfirm = 307;
// 45 × 45.
inline constexpr int kPictureCancel = 313;

// Command buttons of the hall views.
inline constexpr int kPictureHallClose = 252;     // leave the hall
inline constexpr int kPictureReserve = 253;       // "Бронь"
inline constexpr int kPictureMerge = 254;         // "Объединить"
inline constexpr int kPictureReturn = 255;        // "Возврат"
inline constexpr int kPictureSummary = 256;       // the user's active orders
inline constexpr int kPictureToHall = 257;        // change to a hall
inline constexpr int kPictureToBar = 258;         // change to a bar counter
inline constexpr int kPictureBatchPayment = 259;  // "Пакетная оплата"
inline constexpr int kPictureService = 260;       // "Сервис"
// Buttons of the zone-change window.
inline constexpr int kPictureZoneChange = 289;  // "Смена зала"
inline constexpr int kPictureUserChange = 290;  // "Смена пользователя"
inline constexpr int kPictureMoveToHall = 312;  // "Перевести в ЗАЛ"

// 48 × 48 pictures of the picture menu of goods: a submenu (a folder), an article without a
// picture of its own (a covered dish), the way back up (an arrow).
inline constexpr int kPictureMenuSubmenu = 221;
inline constexpr int kPictureMenuArticle = 222;
inline constexpr int kPictureMenuBack = 224;

// 13 × 13 icons of the computer choice's tree.
inline constexpr int kIconNetwork = 228;   // the whole network: a globe
inline constexpr int kIconDomain = 215;    // a network provider or a domain: linked computers
inline constexpr int kIconComputer = 214;  // a computer: a screen on its stand

// 16 × 16 pictures of the hall editor's add buttons: a rectangle, a rhombus, an ellipse.
inline constexpr int kPictureAddRectangle = 263;
inline constexpr int kPictureAddRhombus = 264;
inline constexpr int kPictureAddEllipse = 265;
// 13 × 13 pictures of the hall editor's context-menu items: command N has picture 269 + N.
inline constexpr int kPictureEditCommandBase = 269;
inline constexpr int kEditCommandPictures = 15;

}  // namespace klt::res
