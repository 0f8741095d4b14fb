// Long computations call KeepResponsive() now and then; a desktop host registers a handler that
// repaints its window, so a command that runs for seconds does not leave it frozen. Calls from
// other threads than the one that registered the handler are ignored (parallel loops may call
// it from any thread), and the handler runs at most every 50 ms. Computations that count their
// steps also tell them to a StepProgress, through which the user can stop them.
#pragma once

#include <cstddef>
#include <functional>

namespace vorn {

// Told by a long analysis, on the thread that called it, how many of its steps are done; false
// asks it to stop, which it does after the steps in work, with a failure without message.
using StepProgress = std::function<bool(std::size_t done)>;

// Registers the handler for the calling thread; an empty function removes it.
void SetResponsivenessHandler(std::function<void()> handler);

// Cheap when no handler is registered or the last call was less than 50 ms ago.
void KeepResponsive();

}  // namespace vorn
