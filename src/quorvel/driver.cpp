// Elastic spectra driver: one linear analysis per period and damping ratio, peaks and the pseudo
// quantities derived from them.
#include "quorvel/driver.h"

#include <cmath>
#include <cstring>

#include "core/lanes/elastic_spectra.h"
#include "core/numerics/history_length.h"
#include "core/numerics/newmark.h"
#include "core/numerics/peaks.h"
#include "core/numerics/recform.h"
#include "core/runtime/console.h"
#include "core/runtime/execution.h"
#include "core/runtime/scratch.h"
#include "core/spectra/derived.h"
#include "quorvel/oscillator.h"

namespace quorvel {

namespace {

constexpr const char* kAllocationWarning =
    "??? Quorvel::getSpectra - failed to create time-history vectors\n";

}  // namespace

core::ElasticOscillator oscillatorOf(const Inputs& in, std::int32_t i, std::int32_t j) {
  return core::elasticOscillator(in.ag.count, in.dt, in.m, in.zeta, in.periods, i, j,
                                 core::callCapacity(in.ag.count, in.zeta, in.periods, in.dt));
}

void analyseOscillator(const Inputs& in, const core::ElasticOscillator& o,
                       const core::Histories& h) {
  if (std::strcmp(in.method, "recform") == 0)
    core::recform(h.u, h.v, h.a, h.fs, in.ag.data, in.ag.count, o.nTH, in.dt, in.m, o.zeta, o.k);
  else if (std::strcmp(in.method, "newmark") == 0)
    core::newmark(h.u, h.v, h.a, h.fs, in.ag.data, in.ag.count, o.nTH, in.dt, in.m, o.zeta, o.k,
                  0.25, 0.5);
}

std::int32_t getSpectraStraightforward(const core::SpectraOutputs& out, const Inputs& in) {
  const std::int64_t nMax = core::callCapacity(in.ag.count, in.zeta, in.periods, in.dt);
  core::Scratch histories;
  if (!core::allocateScratch(histories, 4, nMax)) {
    core::warn("%s", kAllocationWarning);
    return -1;
  }
  const core::Histories h = core::historiesOf(histories);

  *out.pga = core::peakGroundAcceleration(in.ag.data, in.ag.count);

  for (std::int32_t i = 0; i < in.periods.count; ++i) {
    out.f[i] = 1.0 / in.periods.data[i];
    for (std::int32_t j = 0; j < in.zeta.count; ++j) {
      const std::int32_t idx = i + j * in.periods.count;
      const core::ElasticOscillator o =
          core::elasticOscillator(in.ag.count, in.dt, in.m, in.zeta, in.periods, i, j, nMax);
      analyseOscillator(in, o, h);
      core::updatePeaks(
          h.u, h.v, h.a, h.fs, in.ag.data, in.ag.count, o.nTH,
          {out.dsp + idx, out.vel + idx, out.acc + idx, out.totAcc + idx, out.rFrc + idx});
      core::writePseudoQuantities(out, idx, o.omega, in.m);
      out.resDsp[idx] = std::fabs(h.u[o.nTH - 1]);
      core::writeDampingForce(out, idx, o.zeta, std::sqrt(in.m * o.k));
    }
  }
  return 0;
}

std::int32_t getSpectra(const core::SpectraOutputs& out, const Inputs& in) {
  const bool recform = std::strcmp(in.method, "recform") == 0;
  const bool newmark = std::strcmp(in.method, "newmark") == 0;
  if (core::straightforward() || (!recform && !newmark)) return getSpectraStraightforward(out, in);
  const std::int32_t status = core::fastElasticSpectra(
      out, in.ag.data, nullptr, in.ag.count, in.dt, in.periods.data, in.periods.count, in.m,
      in.zeta.data, in.zeta.count, recform, kAllocationWarning);
  if (status == 0) *out.pga = core::peakGroundAcceleration(in.ag.data, in.ag.count);
  return status;
}

}  // namespace quorvel
