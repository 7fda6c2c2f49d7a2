// RotD driver: one exact-recurrence history per component and oscillator, the peaks of the rotated
// response at every angle, their percentiles, the geometric mean and GMRotI50.
#include "measures/rotd.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>

#include "core/numerics/history_length.h"
#include "core/numerics/peaks.h"
#include "core/numerics/recform.h"
#include "core/runtime/execution.h"
#include "core/runtime/parallel.h"
#include "core/runtime/scratch.h"
#include "measures/rotd_angles.h"

namespace measures {

namespace {

constexpr double kSmallestStep = 0.001;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

[[noreturn]] void refuse(const std::string& what) { throw std::invalid_argument(what); }

std::string number(double x) {
  std::ostringstream text;
  text << x;
  return text.str();
}

void checkInputs(const std::vector<double>& ag1, const std::vector<double>& ag2, double dt,
                 const std::vector<double>& periods, const std::vector<double>& zeta,
                 const RotDSettings& settings) {
  if (ag1.empty() || ag2.empty())
    refuse("RotD needs two horizontal components with at least one sample each; a component "
           "is empty");
  if (std::min(ag1.size(), ag2.size()) > static_cast<std::size_t>(INT32_MAX))
    refuse("RotD: the records are longer than 2^31 - 1 samples; shorten them");
  if (!(dt > 0.0) || !std::isfinite(dt))
    refuse("RotD: the time step dt = " + number(dt) + " s must be a positive number");
  if (periods.empty()) refuse("RotD needs at least one period T");
  for (double T : periods)
    if (!(T > 0.0) || !std::isfinite(T))
      refuse("RotD: period T = " + number(T) + " s must be a positive number");
  if (zeta.empty()) refuse("RotD needs at least one damping ratio");
  for (double z : zeta)
    if (!(z >= 0.0 && z < 1.0))
      refuse("RotD: damping ratio " + number(z) + " must lie in 0 <= zeta < 1 (5 % is 0.05)");
  if (settings.percentiles.empty()) refuse("RotD needs at least one percentile (e.g. 50)");
  for (double p : settings.percentiles)
    if (!(p >= 0.0 && p <= 100.0))
      refuse("RotD: percentile " + number(p) + " must lie in 0 ... 100 (RotD50 is 50)");
  const double step = settings.angleStepDegrees;
  if (!(step >= kSmallestStep && step <= 90.0))
    refuse("RotD: the angle step " + number(step) + " deg must lie in 0.001 ... 90 deg");
}

// What every oscillator of a call shares.
struct Call {
  const double* ag1;
  const double* ag2;
  std::int32_t nAg;
  double dt;
  std::int64_t nMax;
  const AngleSet* angles;
  RotDSpectra* out;
};

// The scratch of one worker: the four histories of each component and the sorted peaks.
struct Worker {
  core::Scratch histories;
  std::vector<double> sorted;
};

std::vector<Worker> allocateWorkers(int workers, std::int64_t nMax, std::int32_t nAngles) {
  std::vector<core::Scratch> sets = core::allocateWorkerScratch(workers, 8, nMax);
  if (sets.empty()) throw std::bad_alloc();
  std::vector<Worker> scratch(sets.size());
  for (std::size_t w = 0; w < sets.size(); ++w) {
    scratch[w].histories = std::move(sets[w]);
    scratch[w].sorted.resize(static_cast<std::size_t>(nAngles));
  }
  return scratch;
}

// Oscillator i (period), j (damping ratio): integrates both components, takes the peak at every
// angle, their percentiles and extreme angles, and the components' own peaks.
void analyseOscillator(const Call& call, std::size_t i, std::size_t j, Worker& worker) {
  RotDSpectra& out = *call.out;
  const double pi = std::acos(-1.0);
  const double twoPi = pi + pi;
  const double omega = twoPi / out.periods[i];
  const double k = omega * (omega * 1.0);
  const double z = out.dampingRatios[j];
  const std::int32_t nTH = core::historyLength(call.nAg, z, omega, call.dt, call.nMax);

  const core::Scratch& h = worker.histories;
  double* u1 = h.vector(0);
  double* u2 = h.vector(4);
  core::recform(u1, h.vector(1), h.vector(2), h.vector(3), call.ag1, call.nAg, nTH, call.dt, 1.0,
                z, k);
  core::recform(u2, h.vector(5), h.vector(6), h.vector(7), call.ag2, call.nAg, nTH, call.dt, 1.0,
                z, k);

  const std::int32_t nAngles = call.angles->size();
  double* peaks = &out.sdAtAngle[out.angleIndex(0, i, j)];
  rotatedPeaks(u1, u2, nTH, *call.angles, peaks);

  const std::size_t at = i + out.periods.size() * j;
  const double* first = peaks;
  const double* last = peaks + nAngles;
  out.angleRotD00[at] = out.angles[static_cast<std::size_t>(std::min_element(first, last) - first)];
  out.angleRotD100[at] = out.angles[static_cast<std::size_t>(std::max_element(first, last) - first)];

  std::copy(first, last, worker.sorted.begin());
  std::sort(worker.sorted.begin(), worker.sorted.end());
  for (std::size_t p = 0; p < out.percentiles.size(); ++p) {
    const std::size_t idx = out.rotDIndex(p, i, j);
    out.sd[idx] = percentileOfSorted(worker.sorted.data(), nAngles, out.percentiles[p]);
    out.psv[idx] = omega * out.sd[idx];
    out.psa[idx] = (omega * out.sd[idx]) * omega;
  }

  // The components' own values, in the elastic module's order of operations.
  const double sd1 = core::peakAbs(u1, nTH);
  const double sd2 = core::peakAbs(u2, nTH);
  out.geoMeanSd[at] = std::sqrt(sd1 * sd2);
  out.geoMeanPsv[at] = std::sqrt((omega * sd1) * (omega * sd2));
  out.geoMeanPsa[at] = std::sqrt(((omega * sd1) * omega) * ((omega * sd2) * omega));
}

// Geometric means √(Sd(θ)·Sd(θ + 90°)) of oscillator (i, j) for the `quarter` angles below 90°.
void orthogonalMeans(const RotDSpectra& out, std::size_t quarter, std::size_t i, std::size_t j,
                     double* gm) {
  const double* peaks = &out.sdAtAngle[out.angleIndex(0, i, j)];
  for (std::size_t k = 0; k < quarter; ++k) gm[k] = std::sqrt(peaks[k] * peaks[k + quarter]);
}

// GMRotD50 and GMRotI50 of damping ratio j; `quarter` angles span 0 … 90°.
void gmRotI50(RotDSpectra& out, std::size_t quarter, std::size_t j) {
  const std::size_t nT = out.periods.size();
  std::vector<double> gm(quarter * nT), sorted(quarter);
  for (std::size_t i = 0; i < nT; ++i) {
    orthogonalMeans(out, quarter, i, j, &gm[quarter * i]);
    std::copy(&gm[quarter * i], &gm[quarter * i] + quarter, sorted.begin());
    std::sort(sorted.begin(), sorted.end());
    out.gmRotD50Sd[i + nT * j] =
        percentileOfSorted(sorted.data(), static_cast<std::int32_t>(quarter), 50.0);
  }
  std::size_t best = 0;
  double bestPenalty = std::numeric_limits<double>::infinity();
  for (std::size_t k = 0; k < quarter; ++k) {
    double sum = 0.0;
    for (std::size_t i = 0; i < nT; ++i) {
      const double median = out.gmRotD50Sd[i + nT * j];
      if (!(median > 0.0)) continue;
      const double misfit = gm[quarter * i + k] / median - 1.0;
      sum += misfit * misfit;
    }
    const double penalty = sum / static_cast<double>(nT);
    if (penalty < bestPenalty) {
      bestPenalty = penalty;
      best = k;
    }
  }
  const double twoPi = std::acos(-1.0) + std::acos(-1.0);
  out.gmRotI50Angle[j] = out.angles[best];
  for (std::size_t i = 0; i < nT; ++i) {
    const double omega = twoPi / out.periods[i];
    const double sd = gm[quarter * i + best];
    out.gmRotI50Sd[i + nT * j] = sd;
    out.gmRotI50Psv[i + nT * j] = omega * sd;
    out.gmRotI50Psa[i + nT * j] = (omega * sd) * omega;
  }
}

// The number of angles below 90° when the step divides 90° (θ + 90° then lies in the set), else 0.
std::size_t quarterOf(const AngleSet& angles, double step) {
  const double quotient = 90.0 / step;
  const double whole = std::round(quotient);
  if (std::fabs(quotient - whole) > 1e-9 * whole) return 0;
  const std::size_t quarter = static_cast<std::size_t>(whole);
  return 2 * quarter == angles.degrees.size() ? quarter : 0;
}

RotDSpectra emptySpectra(const std::vector<double>& periods, const std::vector<double>& zeta,
                         const RotDSettings& settings, const AngleSet& angles) {
  RotDSpectra out;
  out.periods = periods;
  out.dampingRatios = zeta;
  out.percentiles = settings.percentiles;
  out.angles = angles.degrees;
  const std::size_t oscillators = periods.size() * zeta.size();
  const std::size_t rotD = oscillators * settings.percentiles.size();
  for (std::vector<double>* v : {&out.sd, &out.psv, &out.psa}) v->assign(rotD, 0.0);
  for (std::vector<double>* v : {&out.angleRotD00, &out.angleRotD100, &out.geoMeanSd,
                                 &out.geoMeanPsv, &out.geoMeanPsa, &out.gmRotI50Sd,
                                 &out.gmRotI50Psv, &out.gmRotI50Psa, &out.gmRotD50Sd})
    v->assign(oscillators, kNaN);
  out.gmRotI50Angle.assign(zeta.size(), kNaN);
  out.sdAtAngle.assign(oscillators * angles.degrees.size(), 0.0);
  return out;
}

}  // namespace

RotDSpectra rotdSpectra(const std::vector<double>& ag1, const std::vector<double>& ag2, double dt,
                        const std::vector<double>& periods,
                        const std::vector<double>& dampingRatios, const RotDSettings& settings) {
  checkInputs(ag1, ag2, dt, periods, dampingRatios, settings);
  const AngleSet angles = rotationAngles(settings.angleStepDegrees);
  RotDSpectra out = emptySpectra(periods, dampingRatios, settings, angles);

  const std::int32_t nAg = static_cast<std::int32_t>(std::min(ag1.size(), ag2.size()));
  const std::int64_t nMax = core::historyCapacity(nAg, dampingRatios[0], periods.back(), dt);
  const std::int64_t oscillators = static_cast<std::int64_t>(periods.size() * dampingRatios.size());
  std::vector<Worker> workers =
      allocateWorkers(core::workersFor(oscillators), nMax, angles.size());
  const Call call{ag1.data(), ag2.data(), nAg, dt, nMax, &angles, &out};

  const std::size_t nT = periods.size();
  core::parallelFor(oscillators, static_cast<int>(workers.size()),
                    [&](std::int64_t item, int worker) {
                      const std::size_t index = static_cast<std::size_t>(item);
                      analyseOscillator(call, index % nT, index / nT, workers[worker]);
                    });

  const std::size_t quarter = quarterOf(angles, settings.angleStepDegrees);
  if (quarter > 0)
    for (std::size_t j = 0; j < dampingRatios.size(); ++j) gmRotI50(out, quarter, j);
  return out;
}

}  // namespace measures
