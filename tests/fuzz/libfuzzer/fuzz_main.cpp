// One libFuzzer program per target; FUZZ_TARGET names the target's function.

#include "targets/fuzz_targets.h"

#include <QGuiApplication>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // Documents lay out their text with fonts, which need the GUI application.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return tavuro::fuzz::FUZZ_TARGET(data, size);
}
