// Process-wide choices of how the drivers run: threads, vector unit and the straightforward path.
// None of them changes a single bit of any result.
#pragma once

namespace core {

enum class VectorUnit { None = 0, SSE2 = 1, AVX2 = 2, AVX512 = 3 };

// Threads a driver spreads its oscillators over: the count of a ThreadCountScope alive on the
// calling thread, else the process-wide setting: SPECTRA_THREADS, or every core when it is unset
// or 0. setThreadCount(0) restores that default.
int threadCount();
void setThreadCount(int threads);

// While alive, threadCount() on the constructing thread returns `threads` (the process-wide
// setting when threads ≤ 0), so that one caller can choose the threads of its own calls without
// changing anyone else's. Scopes nest; each restores the count it found.
class ThreadCountScope {
 public:
  explicit ThreadCountScope(int threads);
  ~ThreadCountScope();
  ThreadCountScope(const ThreadCountScope&) = delete;
  ThreadCountScope& operator=(const ThreadCountScope&) = delete;

 private:
  int previous_;
};

// The widest vector unit the fast paths may use: SPECTRA_VECTOR (none, sse2, avx2, avx512) or,
// by default, the widest this processor has. Never wider than the processor supports.
VectorUnit vectorUnit();
void setVectorUnit(VectorUnit unit);
VectorUnit widestVectorUnit();
const char* vectorUnitName(VectorUnit unit);

// The one-oscillator-at-a-time path that follows the written algorithm literally, kept beside the
// fast one for comparison (SPECTRA_PATH=straightforward).
bool straightforward();
void setStraightforward(bool on);

}  // namespace core
