// Every test program runs the kernels on the path VORN_KERNEL_PATH names ("plain", "avx2" or
// "avx512"; a kernel whose body for it does not run here takes the best below it), so that the
// end-to-end tests can be run on each path. Unset, each kernel runs its best path.
#include <cstdlib>
#include <iostream>

#include "core/kernel_paths.h"

namespace {

const bool kPathForced = [] {
  const char* setting = std::getenv("VORN_KERNEL_PATH");
  if (setting == nullptr) return false;
  if (const std::optional<std::string> problem = vorn::ForcePathOfSetting(setting)) {
    std::cerr << *problem << "\n";
    std::exit(2);
  }
  return true;
}();

}  // namespace
