#pragma once

// Work on many independent items (files to read) by several threads at once:
// the calling thread and up to `threads - 1` helpers, started for the call
// and joined before it returns, take the items one at a time in ascending
// order. Nothing of it is visible outside the engine's call.

#include <cstddef>
#include <functional>

namespace lexdex {

// Calls work(thread, item) once for every item in [0, count), where `thread`
// (0 to threads - 1) tells which thread runs it, so that each may keep its own
// buffers. Each thread sees its items in ascending order. With one thread, or
// when a helper cannot be started, the calling thread does what is left. An
// exception thrown by `work` stops the items not yet taken and is thrown again
// here once every thread has ended.
void RunInParallel(std::size_t count, unsigned threads,
                   const std::function<void(unsigned thread, std::size_t item)>& work);

}  // namespace lexdex
