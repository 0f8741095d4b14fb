// What the program asks of the processor at start-up.
#pragma once

namespace vorn {

// True when the processor reports a floating-point unit (or cannot report its features at all).
bool ProcessorHasFpu();

}  // namespace vorn
