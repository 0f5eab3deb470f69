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

}  // namespace klt::res
