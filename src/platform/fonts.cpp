#include "platform/fonts.h"

namespace tavuro::platform {

QFont fixed_font(int pixelSize) {
  QFont font(QString::fromLatin1(kFixedFamily));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setKerning(false);
  font.setPixelSize(pixelSize + (pixelSize % 2));
  return font;
}

}  // namespace tavuro::platform
