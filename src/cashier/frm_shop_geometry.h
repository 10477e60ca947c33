#pragma once
// Positions and sizes of the cashier window's controls, in pixels. The heights that
// depend on the mask setting are given in twips, as the design gives them, and converted
// at 15 twips per pixel.

#include <array>
#include <utility>

namespace tavuro::cashier {

constexpr int twips_to_pixels(int twips) { return twips / 15; }

// The design's window heights count the caption bar and the borders, which the window
// system draws around the client area.
inline constexpr int kCaptionPixels = 30;

struct MaskLayout {
  int window_twips;
  int frame1_twips;
  int list1_twips;
  bool records_visible;
};
inline constexpr MaskLayout kUnmasked{8400, 2655, 2040, true};
inline constexpr MaskLayout kMasked{5340, 3495, 2760, false};

inline constexpr int kListFontPixels = 14;

inline constexpr int kWindowWidth = 814;

inline constexpr int kEntryLabelY = 4;
inline constexpr int kEntryBoxY = 22;
inline constexpr int kLabelHeight = 18;
inline constexpr int kBoxHeight = 26;
inline constexpr int kGoodsX = 8;
inline constexpr int kGoodsWidth = 190;
inline constexpr int kQuantityX = 206;
inline constexpr int kPriceX = 304;
inline constexpr int kNumberWidth = 90;
inline constexpr int kAmountX = 402;
inline constexpr int kAmountWidth = 100;
inline constexpr int kCustomerX = 510;
inline constexpr int kCustomerWidth = 142;

inline constexpr int kListFrameX = 8;
inline constexpr int kListFrameWidth = 644;
inline constexpr int kFrame1Y = 54;
inline constexpr int kFrame2Y = 236;
inline constexpr int kFrame2Height = 258;
inline constexpr int kHeaderY = 19;
inline constexpr int kHeaderHeight = 20;
inline constexpr int kListX = 8;
inline constexpr int kListY = 39;
inline constexpr int kListWidth = 628;
inline constexpr int kList2Height = 192;
inline constexpr int kTotalsY = 234;

inline constexpr int kSideX = 660;
inline constexpr int kSideWidth = 146;
// The commands in the right-hand column: the four of sale entry, then the window's two.
inline constexpr int kCommandsY = 104;
inline constexpr int kWindowCommandsY = 236;
inline constexpr int kCommandStep = 32;
inline constexpr int kCommandHeight = 28;

// The columns each header button spans in a list line: sequence number, goods, quantity,
// unit price, amount, operator.
inline constexpr std::array<std::pair<int, int>, 6> kHeaderColumns{
    {{0, 9}, {9, 28}, {28, 40}, {40, 52}, {52, 66}, {66, 77}}};

}  // namespace tavuro::cashier
