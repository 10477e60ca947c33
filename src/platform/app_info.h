#pragma once
// What the program says about itself: title and version.

#include <QString>

namespace tavuro::platform {

inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 1;
inline constexpr int kVersionRevision = 0;

// "Tavuro收银机"
QString app_title();

}  // namespace tavuro::platform
