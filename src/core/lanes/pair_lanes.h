// The fast path of the isolator drivers: every (period, swept value) pair analysed in the lanes
// of the nonlinear engine, spread over threads, then the linear reference systems in the lanes of
// the elastic engine, each value written by the module's own formulas in its own order.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/lanes/elastic_batch.h"
#include "core/lanes/lane_jobs.h"
#include "core/lanes/lane_vector.h"
#include "core/runtime/console.h"
#include "core/runtime/execution.h"
#include "core/runtime/parallel.h"
#include "core/spectra/isolator_pair.h"
#include "core/spectra/linear_reference.h"
#include "core/spectra/outputs.h"
#include "core/spectra/series.h"

namespace core::lanes {

// Hands out jobs[first .. last) and keeps each result at the job's position (its id).
template <class Law>
class ListSource final : public JobSource<Law> {
 public:
  ListSource(const std::vector<LaneJob<Law>>& jobs, std::size_t first, std::size_t last,
             std::vector<LaneResult>& results)
      : jobs_(jobs), next_(first), last_(last), results_(results) {}
  const LaneJob<Law>* next() override { return next_ < last_ ? &jobs_[next_++] : nullptr; }
  void finished(std::int64_t id, const LaneResult& result) override {
    results_[static_cast<std::size_t>(id)] = result;
  }

 private:
  const std::vector<LaneJob<Law>>& jobs_;
  std::size_t next_, last_;
  std::vector<LaneResult>& results_;
};

// Calls body(first, last) for blocks of [0, count) spread over the threads: the whole range on one
// thread (so that lanes that finish refill from it), otherwise about two blocks per thread, each a
// multiple of the most lanes a unit advances together.
template <class Body>
void forEachBlock(std::int64_t count, Body&& body) {
  const int threads = threadCount();
  std::int64_t block = count;
  if (threads > 1) {
    const std::int64_t share = (count + 2 * threads - 1) / (2 * threads);
    block = std::max<std::int64_t>(kMostLanes, (share + kMostLanes - 1) / kMostLanes * kMostLanes);
  }
  const std::int64_t blocks = block > 0 ? (count + block - 1) / block : 0;
  parallelFor(blocks, threads, [&](std::int64_t b, int) {
    body(static_cast<std::size_t>(b * block),
         static_cast<std::size_t>(std::min(count, (b + 1) * block)));
  });
}

// Every job run in lanes by runLanes(run, source, unit), over the threads. Results in the order
// of the jobs.
template <class Law, class RunLanes>
std::vector<LaneResult> runJobList(const std::vector<LaneJob<Law>>& jobs,
                                   const LaneRun<Law::kComponents>& run, RunLanes&& runLanes) {
  std::vector<LaneResult> results(jobs.size());
  forEachBlock(static_cast<std::int64_t>(jobs.size()), [&](std::size_t first, std::size_t last) {
    ListSource<Law> source(jobs, first, last, results);
    runLanes(run, source, vectorUnit());
  });
  return results;
}

// The peaks of a converged analysis as the outputs of oscillator idx (zero before).
inline void writeLanePeaks(const SpectraOutputs& out, std::int32_t idx, const LaneResult& r) {
  out.dsp[idx] = r.dsp;
  out.vel[idx] = r.vel;
  out.acc[idx] = r.acc;
  out.totAcc[idx] = r.totAcc;
  out.rFrc[idx] = r.rFrc;
  out.resDsp[idx] = r.resDsp;
}

// What an isolator module gives the fast path (see isolatorSpectraInLanes):
//   using Law;  const char* module;  Periods periods;  std::int32_t swept;  std::int64_t length;
//   LaneRun<N> run() const;  double pga() const;  double referenceMass() const;
//   SubstepOscillator<Law> oscillator(i, j) const;
//   ReferenceSystems values(i, j) const;  // the derived values, once the peaks are written
// and runLanes(run, source, unit), the lane engine of its law.
//
// Writes what core::forEachPair with the module's writePair writes, bit for bit: "pga", then per
// period "f" and every pair whose analysis converged; a pair that failed keeps its zeros and its
// warning is printed in the order of a one-thread run. Fails like the straightforward path when
// the histories would not fit a 32-bit sample count.
template <class Module, class RunLanes>
std::int32_t isolatorSpectraInLanes(const SpectraOutputs& out, const Module& module,
                                    RunLanes&& runLanes) {
  using Law = typename Module::Law;
  if (module.length > std::numeric_limits<std::int32_t>::max()) {
    warn("??? %s::getSpectra - failed to create time-history vectors\n", module.module);
    return -1;
  }
  const std::int32_t nT = module.periods.count;
  const std::int32_t nTH = static_cast<std::int32_t>(module.length);
  const LaneRun<Law::kComponents> run = module.run();
  std::vector<LaneJob<Law>> jobs;
  jobs.reserve(static_cast<std::size_t>(nT) * static_cast<std::size_t>(module.swept));
  for (std::int32_t j = 0; j < module.swept; ++j)
    for (std::int32_t i = 0; i < nT; ++i)
      jobs.push_back({module.oscillator(i, j), nTH, static_cast<std::int64_t>(jobs.size())});
  const std::vector<LaneResult> results = runJobList(jobs, run, runLanes);

  *out.pga = module.pga();
  // The reference systems of every converged pair: elastic, then effective where there is one.
  struct Written {
    std::int32_t idx;
    std::size_t elastic, effective;
    bool hasEffective;
  };
  std::vector<Oscillator> references;
  std::vector<Written> written;
  for (std::int32_t i = 0; i < nT; ++i) {
    out.f[i] = 1.0 / module.periods.data[i];
    for (std::int32_t j = 0; j < module.swept; ++j) {
      const LaneResult& r = results[static_cast<std::size_t>(i + j * nT)];
      if (r.failed) {
        warn("??? %s::newmarkVar - failed to converge: dtSub = %f\n", run.limits.module, r.dtSub);
        continue;
      }
      const std::int32_t idx = i + j * nT;
      writeLanePeaks(out, idx, r);
      const core::ReferenceSystems s = module.values(i, j);
      Written w{idx, references.size(), references.size(), s.effective};
      references.push_back({s.kElastic, s.zetaElastic, nTH});
      if (s.effective) {
        w.effective = references.size();
        references.push_back({s.kEffective, s.zetaEffective, nTH});
      }
      written.push_back(w);
    }
  }
  const std::vector<OscillatorPeaks> peaks =
      Law::kComponents == 1
          ? elasticPeaks(ElasticMethod::Recform, run.ground.ag[0], run.ground.nAg, run.dt,
                         module.referenceMass(), references, vectorUnit(), threadCount())
          : elasticPeaks2(ElasticMethod::Recform, run.ground.ag[0],
                          run.ground.ag[Law::kComponents - 1], run.ground.nAg, run.dt,
                          module.referenceMass(), references, vectorUnit(), threadCount(),
                          PeaksWanted::DisplacementAndForce);
  for (const Written& w : written) {
    const OscillatorPeaks& e = peaks[w.elastic];
    const OscillatorPeaks& f = peaks[w.effective];
    if (w.hasEffective)
      writeReferenceFactors(out, w.idx, LinearPeaks{e.dsp, e.rFrc}, LinearPeaks{f.dsp, f.rFrc});
    else
      writeReferenceFactors(out, w.idx, LinearPeaks{e.dsp, e.rFrc});
  }
  return 0;
}

}  // namespace core::lanes
