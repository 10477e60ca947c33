#pragma once
// The fixed-pitch CJK face of every list, receipt, report and document: in it an ASCII
// character advances exactly one column and a CJK character, full-width punctuation or a
// box-drawing character exactly two, so the columns of the program's tables line up.

#include <QFont>

namespace tavuro::platform {

inline constexpr const char* kFixedFamily = "WenQuanYi Zen Hei Mono";

// The face at an even pixel size (advances stay whole pixels).
QFont fixed_font(int pixelSize = 14);

}  // namespace tavuro::platform
