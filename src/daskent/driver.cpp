// Two-component elastic spectra driver: both components through the same linear oscillator, peaks
// taken on the magnitude of the horizontal response vector.
#include "daskent/driver.h"

#include <cmath>
#include <cstring>

#include "core/lanes/elastic_spectra.h"
#include "core/numerics/history_length.h"
#include "core/numerics/magnitude.h"
#include "core/numerics/newmark.h"
#include "core/numerics/recform.h"
#include "core/runtime/console.h"
#include "core/runtime/execution.h"
#include "core/runtime/scratch.h"
#include "core/spectra/derived.h"
#include "daskent/oscillator.h"

namespace daskent {

namespace {

// Integrates one component over o.nTH samples with the named method; any other keyword
// integrates nothing (the gateway never passes one).
void integrate(const core::Histories& c, const double* ag, std::int32_t nAg, const Inputs& in,
               const core::ElasticOscillator& o) {
  if (std::strcmp(in.method, "recform") == 0)
    core::recform(c.u, c.v, c.a, c.fs, ag, nAg, o.nTH, in.dt, in.m, o.zeta, o.k);
  else if (std::strcmp(in.method, "newmark") == 0)
    core::newmark(c.u, c.v, c.a, c.fs, ag, nAg, o.nTH, in.dt, in.m, o.zeta, o.k, 0.25, 0.5);
}

constexpr const char* kAllocationWarning =
    "??? Daskent::getSpectra - failed to create time-history vectors\n";

}  // namespace

core::ElasticOscillator oscillatorOf(const Inputs& in, std::int32_t i, std::int32_t j) {
  const std::int32_t nAg = core::commonLength(in.ag1, in.ag2);
  return core::elasticOscillator(nAg, in.dt, in.m, in.zeta, in.periods, i, j,
                                 core::callCapacity(nAg, in.zeta, in.periods, in.dt));
}

void analyseOscillator(const Inputs& in, const core::ElasticOscillator& o,
                       const core::Histories2& h) {
  const std::int32_t nAg = core::commonLength(in.ag1, in.ag2);
  integrate(h.c1, in.ag1.data, nAg, in, o);
  integrate(h.c2, in.ag2.data, nAg, in, o);
}

std::int32_t getSpectraStraightforward(const core::SpectraOutputs& out, const Inputs& in) {
  const std::int32_t nAg = core::commonLength(in.ag1, in.ag2);
  const std::int64_t nMax = core::callCapacity(nAg, in.zeta, in.periods, in.dt);
  core::Scratch histories;
  if (!core::allocateScratch(histories, 8, nMax)) {
    core::warn("%s", kAllocationWarning);
    return -1;
  }
  const core::Histories2 h = core::histories2Of(histories);
  const core::Histories& c1 = h.c1;
  const core::Histories& c2 = h.c2;

  // The peak of the resultant horizontal ground acceleration, not the larger component peak.
  *out.pga = core::peakMagnitude(in.ag1.data, in.ag2.data, nAg);

  for (std::int32_t i = 0; i < in.periods.count; ++i) {
    out.f[i] = 1.0 / in.periods.data[i];
    for (std::int32_t j = 0; j < in.zeta.count; ++j) {
      const std::int32_t idx = i + j * in.periods.count;
      const core::ElasticOscillator o =
          core::elasticOscillator(nAg, in.dt, in.m, in.zeta, in.periods, i, j, nMax);
      analyseOscillator(in, o, h);
      core::updateResultantPeaks(
          {c1.u, c2.u, c1.v, c2.v, c1.a, c2.a, c1.fs, c2.fs}, in.ag1.data, in.ag2.data, nAg, o.nTH,
          {out.dsp + idx, out.vel + idx, out.acc + idx, out.totAcc + idx, out.rFrc + idx});
      core::writePseudoQuantities(out, idx, o.omega, in.m);
      out.resDsp[idx] = core::magnitude(c1.u[o.nTH - 1], c2.u[o.nTH - 1]);
      core::writeDampingForce(out, idx, o.zeta, std::sqrt(in.m * o.k));
    }
  }
  return 0;
}

std::int32_t getSpectra(const core::SpectraOutputs& out, const Inputs& in) {
  const bool recform = std::strcmp(in.method, "recform") == 0;
  const bool newmark = std::strcmp(in.method, "newmark") == 0;
  if (core::straightforward() || (!recform && !newmark)) return getSpectraStraightforward(out, in);
  const std::int32_t nAg = core::commonLength(in.ag1, in.ag2);
  const std::int32_t status = core::fastElasticSpectra(
      out, in.ag1.data, in.ag2.data, nAg, in.dt, in.periods.data, in.periods.count, in.m,
      in.zeta.data, in.zeta.count, recform, kAllocationWarning);
  // The peak of the resultant horizontal ground acceleration, not the larger component peak.
  if (status == 0) *out.pga = core::peakMagnitude(in.ag1.data, in.ag2.data, nAg);
  return status;
}

}  // namespace daskent
