// Worker threads kept for the life of the process (or of the loaded plug-in: the pool's
// destructor joins them when the library is unloaded).
#include "core/runtime/parallel.h"

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace core {

namespace {

class Pool {
 public:
  ~Pool() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_) t.join();
  }

  // False when another call is using the pool.
  bool run(int workers, const std::function<void(int)>& work) {
    std::unique_lock<std::mutex> own(busy_, std::try_to_lock);
    if (!own) return false;
    try {
      while (static_cast<int>(threads_.size()) < workers - 1)
        threads_.emplace_back(&Pool::serve, this, static_cast<int>(threads_.size()) + 1);
    } catch (const std::exception&) {
      // Fewer threads (none could be started, or not stored): the ones there share the work.
    }
    const int helpers = std::min(workers - 1, static_cast<int>(threads_.size()));
    {
      std::lock_guard<std::mutex> lock(mutex_);
      job_ = &work;
      wanted_ = helpers + 1;
      running_ = helpers;
      ++generation_;
    }
    wake_.notify_all();
    work(0);
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [this] { return running_ == 0; });
    job_ = nullptr;
    return true;
  }

 private:
  void serve(int id) {
    std::uint64_t seen = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return stopping_ || (generation_ != seen && id < wanted_); });
      if (stopping_) return;
      seen = generation_;
      const std::function<void(int)>* job = job_;
      lock.unlock();
      (*job)(id);
      lock.lock();
      if (--running_ == 0) finished_.notify_all();
    }
  }

  std::mutex busy_;  // one call at a time
  std::mutex mutex_;
  std::condition_variable wake_, finished_;
  std::vector<std::thread> threads_;
  const std::function<void(int)>* job_ = nullptr;
  std::uint64_t generation_ = 0;
  int wanted_ = 0;
  int running_ = 0;
  bool stopping_ = false;
};

Pool& pool() {
  static Pool instance;
  return instance;
}

// A call that finds the pool busy (a batch of records analysed in parallel, say) starts threads
// of its own.
void runOnFreshThreads(int workers, const std::function<void(int)>& work) {
  std::vector<std::thread> threads;
  try {
    threads.reserve(static_cast<std::size_t>(workers));
    for (int w = 1; w < workers; ++w) threads.emplace_back(work, w);
  } catch (const std::exception&) {
    // Fewer threads than asked for.
  }
  // Workers that could not start are run here, after worker 0, so every id is served.
  for (int w = static_cast<int>(threads.size()) + 1; w < workers; ++w) work(w);
  work(0);
  for (std::thread& t : threads) t.join();
}

// The first exception any worker throws, kept until every worker is done: an exception must not
// end a worker thread (that would end the process) nor leave the others running on the caller's
// data.
class FirstException {
 public:
  void run(const std::function<void(int)>& work, int worker) noexcept {
    try {
      work(worker);
    } catch (...) {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!first_) first_ = std::current_exception();
    }
  }
  void rethrow() const {
    if (first_) std::rethrow_exception(first_);
  }

 private:
  std::mutex mutex_;
  std::exception_ptr first_;
};

}  // namespace

void runWorkers(int workers, const std::function<void(int)>& work) {
  if (workers <= 1) {
    work(0);
    return;
  }
  FirstException exceptions;
  const std::function<void(int)> guarded = [&](int worker) { exceptions.run(work, worker); };
  if (!pool().run(workers, guarded)) runOnFreshThreads(workers, guarded);
  exceptions.rethrow();
}

}  // namespace core
