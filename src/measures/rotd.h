// Orientation-independent elastic spectra of two horizontal components: RotDnn (Boore 2010),
// GMRotI50 (Boore, Watson-Lazarevic and Abrahamson 2006) and the geometric mean of the components.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace measures {

struct RotDSettings {
  // The nn of RotDnn, each 0 … 100: 0 is the smallest peak over the angles, 50 the median, 100
  // the largest.
  std::vector<double> percentiles = {0.0, 50.0, 100.0};
  // Step between rotation angles [°], 0.001 … 90: the angles are 0, step, 2·step, … below 180°.
  double angleStepDegrees = 1.0;
};

// Every spectrum is laid out like the elastic module's outputs, nT × nZeta column-major (period i
// and damping ratio j at i + j·nT); RotDnn has one such block per percentile.
struct RotDSpectra {
  std::vector<double> periods;        // T [s]
  std::vector<double> dampingRatios;  // ζ
  std::vector<double> percentiles;    // nn of RotDnn
  std::vector<double> angles;         // rotation angles θ [°]

  // RotDnn of displacement Sd, pseudo-velocity PSV = ω·Sd and pseudo-acceleration
  // PSA = (ω·Sd)·ω, ω = 2π/T, at rotDIndex(p, i, j). Units: Sd in record units × s², PSV in
  // record units × s, PSA in record units.
  std::vector<double> sd, psv, psa;
  // Angles [°] at which the smallest (RotD00) and the largest (RotD100) peak occur; the first
  // such angle when several share the value.
  std::vector<double> angleRotD00, angleRotD100;
  // Peak displacement at every angle, at angleIndex(k, i, j).
  std::vector<double> sdAtAngle;

  // Geometric mean of the as-recorded components: √(Sd1·Sd2), √(PSV1·PSV2), √(PSA1·PSA2), each
  // component's value being the elastic module's for that component alone.
  std::vector<double> geoMeanSd, geoMeanPsv, geoMeanPsa;

  // GMRotI50: the geometric mean √(Sd(θ)·Sd(θ + 90°)) at the one angle θ_I (per damping ratio,
  // over all the periods) that minimises (1/nT)·Σ_T (GM(θ, T)/GMRotD50(T) − 1)², where GMRotD50
  // is the median of GM(θ, T) over 0 ≤ θ < 90°; periods with GMRotD50 = 0 are left out of the sum.
  // PSV and PSA follow from Sd as for RotDnn. Available only when the angle step divides 90°
  // (so θ + 90° is in the set); NaN otherwise.
  std::vector<double> gmRotI50Sd, gmRotI50Psv, gmRotI50Psa;
  std::vector<double> gmRotD50Sd;      // GMRotD50 of displacement, nT × nZeta
  std::vector<double> gmRotI50Angle;   // θ_I [°], one per damping ratio

  std::size_t rotDIndex(std::size_t p, std::size_t i, std::size_t j) const {
    return i + periods.size() * (j + dampingRatios.size() * p);
  }
  std::size_t angleIndex(std::size_t k, std::size_t i, std::size_t j) const {
    return k + angles.size() * (i + periods.size() * j);
  }
};

// RotD spectra of the pair ag1, ag2 (same step dt [s]; when their lengths differ, the common
// length is analysed, like the two-component modules). For every period and damping ratio, each
// component goes once through the exact recurrence (core::recform, mass 1, k = ω·ω) over the
// analysis length of the elastic module for the same periods and damping ratios in the same
// order (record plus free-vibration tail, core::historyLength), so the displacement history of a
// component is bit for bit the elastic module's. The rotated response u1·cos θ + u2·sin θ is then
// formed sample by sample for all angles at once (rotatedPeaks); no analysis is repeated per
// angle. RotDnn is the percentile of the peaks over the angle set by linear interpolation between
// order statistics at rank nn/100·(N − 1) (percentileOfSorted), N the number of angles; with the
// default 1° step RotD50 is the median of the 180 peaks, as in Boore (2010), BSSA 100(4),
// 1830-1835. Oscillators are spread over core::threadCount() threads; the results do not depend
// on the thread count.
//
// Throws std::invalid_argument, with a message for the user, for an empty record, a step that is
// not a positive number, a period that is not a positive number, a damping ratio outside
// 0 ≤ ζ < 1, a percentile outside 0 … 100 or an angle step outside 0.001 … 90°; std::bad_alloc
// when the histories do not fit in memory.
RotDSpectra rotdSpectra(const std::vector<double>& ag1, const std::vector<double>& ag2, double dt,
                        const std::vector<double>& periods,
                        const std::vector<double>& dampingRatios,
                        const RotDSettings& settings = RotDSettings());

}  // namespace measures
