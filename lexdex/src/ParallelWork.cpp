#include "ParallelWork.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace lexdex {

void RunInParallel(std::size_t count, unsigned threads,
                   const std::function<void(unsigned thread, std::size_t item)>& work) {
  threads = static_cast<unsigned>(std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(count, 1)));
  std::atomic<std::size_t> next{0};
  std::mutex failureGuard;
  std::exception_ptr failure;
  auto takeItems = [&](unsigned thread) {
    try {
      for (std::size_t item; (item = next.fetch_add(1, std::memory_order_relaxed)) < count;) work(thread, item);
    } catch (...) {
      // Out of memory, most likely: the others stop too, and the caller sees it.
      next = count;
      std::lock_guard<std::mutex> lock(failureGuard);
      if (!failure) failure = std::current_exception();
    }
  };
  std::vector<std::thread> helpers;
  helpers.reserve(threads - 1);
  for (unsigned thread = 1; thread < threads; ++thread) {
    try {
      helpers.emplace_back(takeItems, thread);
    } catch (const std::system_error&) {
      break;  // out of threads: fewer hands, same work
    }
  }
  takeItems(0);
  for (std::thread& helper : helpers) helper.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace lexdex
