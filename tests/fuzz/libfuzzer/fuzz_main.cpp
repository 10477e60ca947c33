// One libFuzzer program per target; FUZZ_TARGET names the target's function.

#include "targets/fuzz_targets.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return tavuro::fuzz::FUZZ_TARGET(data, size);
}
