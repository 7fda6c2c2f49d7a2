// The lane engine of a force law compiled for each vector unit, chosen at run time: include in the
// one source file of a module that instantiates it (compiled with -Wno-psabi).
#pragma once

#include "core/lanes/substep_lanes.h"
#include "core/runtime/execution.h"

namespace core::lanes {

namespace dispatch_detail {

template <template <class> class LaneLaw>
using LawOf = typename LaneLaw<Lanes<1, 1>>::Law;

template <template <class> class LaneLaw>
using RunOf = LaneRun<LawOf<LaneLaw>::kComponents>;

#if defined(__x86_64__)
template <template <class> class LaneLaw>
__attribute__((target("avx512f"))) void runAvx512(const RunOf<LaneLaw>& run,
                                                   JobSource<LawOf<LaneLaw>>& source) {
  runJobs<LaneLaw<LanesOf<VectorUnit::AVX512>>, LanesOf<VectorUnit::AVX512>>(
      
      run, source);
}

template <template <class> class LaneLaw>
__attribute__((target("avx2"))) void runAvx2(const RunOf<LaneLaw>& run,
                                             JobSource<LawOf<LaneLaw>>& source) {
  runJobs<LaneLaw<LanesOf<VectorUnit::AVX2>>, LanesOf<VectorUnit::AVX2>>(
      run,
                                                                                        source);
}
#endif

template <template <class> class LaneLaw>
void runSse2(const RunOf<LaneLaw>& run, JobSource<LawOf<LaneLaw>>& source) {
  runJobs<LaneLaw<LanesOf<VectorUnit::SSE2>>, LanesOf<VectorUnit::SSE2>>(
      run,
                                                                                        source);
}

template <template <class> class LaneLaw>
void runScalar(const RunOf<LaneLaw>& run, JobSource<LawOf<LaneLaw>>& source) {
  runJobs<LaneLaw<LanesOf<VectorUnit::None>>, LanesOf<VectorUnit::None>>(run, source);
}

}  // namespace dispatch_detail

// Runs every job of the source in the lanes of the vector unit (one lane without one).
template <template <class> class LaneLaw>
void runSubstepJobs(const dispatch_detail::RunOf<LaneLaw>& run,
                    JobSource<dispatch_detail::LawOf<LaneLaw>>& source, VectorUnit unit) {
  switch (unit) {
#if defined(__x86_64__)
    case VectorUnit::AVX512: dispatch_detail::runAvx512<LaneLaw>(run, source); return;
    case VectorUnit::AVX2: dispatch_detail::runAvx2<LaneLaw>(run, source); return;
#endif
    case VectorUnit::SSE2: dispatch_detail::runSse2<LaneLaw>(run, source); return;
    default: dispatch_detail::runScalar<LaneLaw>(run, source);
  }
}

}  // namespace core::lanes
