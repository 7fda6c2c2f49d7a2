// Execution settings, read once from the environment and adjustable by tests and benchmarks.
#include "core/runtime/execution.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace core {

namespace {

int hardwareThreads() {
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1 : static_cast<int>(n);
}

int threadsFromEnvironment() {
  const char* text = std::getenv("SPECTRA_THREADS");
  const int n = text != nullptr ? std::atoi(text) : 0;
  return n > 0 ? n : hardwareThreads();
}

VectorUnit unitFromEnvironment() {
  const char* text = std::getenv("SPECTRA_VECTOR");
  const VectorUnit widest = widestVectorUnit();
  if (text == nullptr) return widest;
  VectorUnit wanted = widest;
  if (std::strcmp(text, "none") == 0) wanted = VectorUnit::None;
  if (std::strcmp(text, "sse2") == 0) wanted = VectorUnit::SSE2;
  if (std::strcmp(text, "avx2") == 0) wanted = VectorUnit::AVX2;
  if (std::strcmp(text, "avx512") == 0) wanted = VectorUnit::AVX512;
  return wanted < widest ? wanted : widest;
}

bool pathFromEnvironment() {
  const char* text = std::getenv("SPECTRA_PATH");
  return text != nullptr && std::strcmp(text, "straightforward") == 0;
}

std::atomic<int>& threadSetting() {
  static std::atomic<int> threads{threadsFromEnvironment()};
  return threads;
}

std::atomic<int>& unitSetting() {
  static std::atomic<int> unit{static_cast<int>(unitFromEnvironment())};
  return unit;
}

std::atomic<bool>& pathSetting() {
  static std::atomic<bool> on{pathFromEnvironment()};
  return on;
}

// The count of the innermost ThreadCountScope on this thread; 0 when there is none.
thread_local int scopedThreads = 0;

}  // namespace

int threadCount() { return scopedThreads > 0 ? scopedThreads : threadSetting().load(); }

ThreadCountScope::ThreadCountScope(int threads) : previous_(scopedThreads) {
  scopedThreads = threads > 0 ? threads : 0;
}

ThreadCountScope::~ThreadCountScope() { scopedThreads = previous_; }

void setThreadCount(int threads) {
  threadSetting().store(threads > 0 ? threads : threadsFromEnvironment());
}

VectorUnit widestVectorUnit() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f")) return VectorUnit::AVX512;
  if (__builtin_cpu_supports("avx2")) return VectorUnit::AVX2;
  if (__builtin_cpu_supports("sse2")) return VectorUnit::SSE2;
#endif
  return VectorUnit::None;
}

VectorUnit vectorUnit() { return static_cast<VectorUnit>(unitSetting().load()); }

void setVectorUnit(VectorUnit unit) {
  const VectorUnit widest = widestVectorUnit();
  unitSetting().store(static_cast<int>(unit < widest ? unit : widest));
}

const char* vectorUnitName(VectorUnit unit) {
  switch (unit) {
    case VectorUnit::AVX512: return "avx512";
    case VectorUnit::AVX2: return "avx2";
    case VectorUnit::SSE2: return "sse2";
    default: return "none";
  }
}

bool straightforward() { return pathSetting().load(); }
void setStraightforward(bool on) { pathSetting().store(on); }

}  // namespace core
