#include "core/processor.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace vorn {

bool ProcessorHasFpu() {
#if defined(__i386__) || defined(__x86_64__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return true;
  return (edx & 1u) != 0;  // CPUID.1:EDX bit 0 reports the x87 unit
#else
  return true;
#endif
}

}  // namespace vorn
