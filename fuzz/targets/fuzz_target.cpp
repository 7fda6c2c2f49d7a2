// libFuzzer entry point of one target, chosen when building (SPECTRA_FUZZ_TARGET, a name from
// harness/targets.cpp).
#include <cstddef>
#include <cstdint>

#include "harness/targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::Target& target = fuzz::fuzzTarget(SPECTRA_FUZZ_TARGET);
  fuzz::runOrAbort(target, data, size);
  return 0;
}
