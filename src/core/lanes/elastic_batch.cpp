// Several linear oscillators per vector register: the same recurrences as recform and newmark,
// lane by lane in the same operation order, with the peaks taken as the state advances.
#include "core/lanes/elastic_batch.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/numerics/magnitude.h"
#include "core/numerics/newmark.h"
#include "core/runtime/parallel.h"
#include "core/numerics/recform.h"

namespace core {

namespace {

#define SPECTRA_INLINE inline __attribute__((always_inline))

template <int W>
struct Lanes {
  typedef double V __attribute__((vector_size(8 * W)));
  typedef long long I __attribute__((vector_size(8 * W)));
};

template <int W>
SPECTRA_INLINE typename Lanes<W>::V absolute(typename Lanes<W>::V x) {
  typedef typename Lanes<W>::I I;
  const I magnitudeBits = (I{} + 0x7fffffffffffffffLL);
  return (typename Lanes<W>::V)((I)x & magnitudeBits);
}

// Running peaks of a group. A strict comparison so that NaN never becomes a peak; `live` masks the
// lanes whose analysis has ended, `last` marks the lanes whose final sample this is.
template <int W>
struct GroupPeaks {
  typedef typename Lanes<W>::V V;
  typedef typename Lanes<W>::I I;
  V dsp{}, vel{}, acc{}, totAcc{}, rFrc{}, resDsp{};

  SPECTRA_INLINE void take(V u, V v, V a, V fs, V ground) {
    raise(dsp, absolute<W>(u));
    raise(vel, absolute<W>(v));
    raise(acc, absolute<W>(a));
    raise(totAcc, absolute<W>(a + ground));
    raise(rFrc, absolute<W>(fs));
  }
  SPECTRA_INLINE void take(V u, V v, V a, V fs, V ground, I live, I last) {
    raiseWhere(dsp, absolute<W>(u), live);
    raiseWhere(vel, absolute<W>(v), live);
    raiseWhere(acc, absolute<W>(a), live);
    raiseWhere(totAcc, absolute<W>(a + ground), live);
    raiseWhere(rFrc, absolute<W>(fs), live);
    resDsp = last ? absolute<W>(u) : resDsp;
  }
  // Without the force: its peak follows from the displacement's (see runGroupFrozen).
  SPECTRA_INLINE void takeMotion(V u, V v, V a, V ground) {
    raise(dsp, absolute<W>(u));
    raise(vel, absolute<W>(v));
    raise(acc, absolute<W>(a));
    raise(totAcc, absolute<W>(a + ground));
  }
  static SPECTRA_INLINE void raise(V& peak, V candidate) {
    peak = candidate > peak ? candidate : peak;
  }
  static SPECTRA_INLINE void raiseWhere(V& peak, V candidate, I live) {
    peak = ((candidate > peak) & live) ? candidate : peak;
  }
};

// Per-lane constants of the exact recursive recurrence, from the same coefficient routine as
// recform itself.
template <int W>
struct RecformLanes {
  typedef typename Lanes<W>::V V;
  V A, B, C, D, Ap, Bp, Cp, Dp, rate, k;
  V u, v;
  double m;

  void setUp(const Oscillator* osc, double dt, double mass) {
    m = mass;
    for (int l = 0; l < W; ++l) {
      const RecformCoefficients c = recformCoefficients(dt, m, osc[l].zeta, osc[l].k);
      A[l] = c.A, B[l] = c.B, C[l] = c.C, D[l] = c.D;
      Ap[l] = c.Ap, Bp[l] = c.Bp, Cp[l] = c.Cp, Dp[l] = c.Dp;
      rate[l] = c.dampingRate;
      k[l] = osc[l].k;
    }
  }
  // State at rest; returns a, fs of sample 0 through the arguments.
  SPECTRA_INLINE void start(double ag0, V& a, V& fs) {
    u = V{} + 0.0;
    v = V{} + 0.0;
    fs = k * u;
    a = rate * v - ag0 - fs / m;
  }
  // Holds lane l at rest once its analysis has ended (the caller has kept its displacement):
  // every later response is zero, so no candidate can raise a peak. Valid while the ground is
  // at rest and finite, as after the record.
  void freeze(int l) {
    A[l] = 1.0, B[l] = 0.0, C[l] = 0.0, D[l] = 0.0;
    Ap[l] = 0.0, Bp[l] = 0.0, Cp[l] = 0.0, Dp[l] = 0.0;
    rate[l] = 0.0, k[l] = 0.0;
    u[l] = 0.0, v[l] = 0.0;
  }
  SPECTRA_INLINE void step(double p0, double p1, V& a, V& fs) {
    const V un = A * u + B * v + C * p0 + D * p1;
    const V vn = Ap * u + Bp * v + Cp * p0 + Dp * p1;
    u = un;
    v = vn;
    fs = k * u;
    a = rate * v - p1 - fs / m;
  }
};

// Per-lane constants of the linear Newmark integration (average acceleration).
template <int W>
struct NewmarkLanes {
  typedef typename Lanes<W>::V V;
  V c, c1, c2, kEff, bv, ba, av, aa, k;
  V u, v, a, fs;
  double m;

  void setUp(const Oscillator* osc, double dt, double mass) {
    m = mass;
    for (int l = 0; l < W; ++l) {
      const NewmarkConstants n =
          newmarkConstants(dt, m, osc[l].zeta, osc[l].k, 0.25, 0.5);
      c[l] = n.c, c1[l] = n.c1, c2[l] = n.c2, kEff[l] = n.kEff;
      bv[l] = n.bv, ba[l] = n.ba, av[l] = n.av, aa[l] = n.aa;
      k[l] = osc[l].k;
    }
  }
  SPECTRA_INLINE void start(double ag0, V& aOut, V& fsOut) {
    u = V{} + 0.0;
    v = V{} + 0.0;
    fs = k * u;
    a = (-ag0 - (c / m) * v) - fs / m;
    aOut = a;
    fsOut = fs;
  }
  // As for the recurrence: lane l at rest (every correction is −0). Needs a finite mass.
  void freeze(int l) {
    c[l] = 0.0, c1[l] = 0.0, c2[l] = 0.0, kEff[l] = 1.0;
    bv[l] = 0.0, ba[l] = 0.0, av[l] = 0.0, aa[l] = 0.0, k[l] = 0.0;
    u[l] = 0.0, v[l] = 0.0, a[l] = 0.0, fs[l] = 0.0;
  }
  SPECTRA_INLINE void step(double, double p1, V& aOut, V& fsOut) {
    V un = u;
    V vn = bv * v + ba * a;
    V an = av * v + aa * a;
    const V du = -(((p1 + an) * m + c * vn) + fs) / kEff;
    un = du + un;
    vn = c1 * du + vn;
    an = du * c2 + an;
    u = un;
    v = vn;
    a = an;
    fs = k * u;
    aOut = a;
    fsOut = fs;
  }
};

// The five quantities whose magnitudes the two-component drivers peak: displacement, velocity,
// relative and total acceleration, restoring force.
enum { kDsp, kVel, kAcc, kTotAcc, kRFrc, kQuantities };

// Peaks of magnitudes in two passes over the same (deterministic) analysis. The first keeps,
// per quantity, the largest product estimate x·x + y·y; the second forms the exact magnitude
// √(pow(x, 2) + pow(y, 2)) only for samples whose estimate comes within the padding of that
// largest one (kEstimateRelativeMargin, and kEstimateAbsoluteMargin for subnormal squares). A product and pow(·, 2) differ by
// less than one unit in the last place, so every other sample's exact magnitude is at most that
// of the sample with the largest estimate, which is formed: the peaks are those of forming every
// magnitude, with strict comparisons. NaN estimates are skipped; their magnitude is NaN too. With
// AllQuantities false only the displacement and the force are peaked (the others stay 0).
template <int W, bool AllQuantities>
struct GroupPeaks2 {
  typedef typename Lanes<W>::V V;
  typedef typename Lanes<W>::I I;
  V largest[kQuantities] = {};  // first pass
  V threshold[kQuantities];     // second pass
  V peak[kQuantities] = {};
  V lastU1{}, lastU2{};

  static SPECTRA_INLINE V estimate(V x, V y) { return x * x + y * y; }

  static constexpr bool wanted(int q) { return AllQuantities || q == kDsp || q == kRFrc; }

  SPECTRA_INLINE void survey(const V (&x)[kQuantities], const V (&y)[kQuantities], I live) {
    for (int q = 0; q < kQuantities; ++q) {
      if (!wanted(q)) continue;
      const V e = estimate(x[q], y[q]);
      largest[q] = ((e > largest[q]) & live) ? e : largest[q];
    }
  }
  void setThresholds() {
    for (int q = 0; q < kQuantities; ++q)
      threshold[q] = largest[q] * (1.0 - kEstimateRelativeMargin) - kEstimateAbsoluteMargin;
  }
  SPECTRA_INLINE void take(const V (&x)[kQuantities], const V (&y)[kQuantities], I live) {
    I open[kQuantities];
    I any = I{};
    for (int q = 0; q < kQuantities; ++q) {
      open[q] = I{};
      if (!wanted(q)) continue;
      open[q] = (estimate(x[q], y[q]) >= threshold[q]) & live;
      any |= open[q];
    }
    long long anyLane = 0;
    for (int l = 0; l < W; ++l) anyLane |= any[l];
    if (anyLane == 0) return;
    for (int q = 0; q < kQuantities; ++q)
      for (int l = 0; l < W; ++l)
        if (open[q][l]) {
          const double candidate = magnitude(x[q][l], y[q][l]);
          if (candidate > peak[q][l]) peak[q][l] = candidate;
        }
  }
};

// Lengths of a group: the shortest and longest analysis, and each lane's last sample.
template <int W>
SPECTRA_INLINE void groupLengths(const Oscillator* osc, std::int32_t& shortest,
                                 std::int32_t& longest, typename Lanes<W>::I& lastSample) {
  shortest = osc[0].nTH;
  longest = osc[0].nTH;
  for (int l = 0; l < W; ++l) {
    shortest = osc[l].nTH < shortest ? osc[l].nTH : shortest;
    longest = osc[l].nTH > longest ? osc[l].nTH : longest;
    lastSample[l] = osc[l].nTH - 1;
  }
}

// Ground acceleration at both ends of step i: zero after the record, which the last step of the
// record ramps down to.
SPECTRA_INLINE void groundAt(const double* ag, std::int32_t nAg, std::int32_t i, double& p0,
                             double& p1) {
  p0 = i < nAg ? ag[i] : 0.0;
  p1 = i < nAg - 1 ? ag[i + 1] : 0.0;
}

// G groups of W oscillators under one component, from sample 0 to the longest history. Two
// groups side by side give the processor two independent recurrences to overlap.
template <int W, int G, template <int> class Stepper>
SPECTRA_INLINE void runGroup(const double* ag, std::int32_t nAg, double dt, double m,
                             const Oscillator* osc, OscillatorPeaks* out) {
  typedef typename Lanes<W>::V V;
  typedef typename Lanes<W>::I I;
  Stepper<W> s[G];
  I lastSample[G];
  std::int32_t shortest = osc[0].nTH, longest = osc[0].nTH;
  for (int g = 0; g < G; ++g) {
    s[g].setUp(osc + g * W, dt, m);
    std::int32_t lo, hi;
    groupLengths<W>(osc + g * W, lo, hi, lastSample[g]);
    shortest = lo < shortest ? lo : shortest;
    longest = hi > longest ? hi : longest;
  }

  GroupPeaks<W> peaks[G];
  V a[G], fs[G];
  for (int g = 0; g < G; ++g) {
    s[g].start(ag[0], a[g], fs[g]);
    peaks[g].take(s[g].u, s[g].v, a[g], fs[g], V{} + ag[0], I{} - 1, lastSample[g] == 0);
  }

  // Every lane is still running and none ends while sample i + 1 < shortest − 1.
  std::int32_t i = 0;
  double p0, p1;
  for (; i < shortest - 2; ++i) {
    groundAt(ag, nAg, i, p0, p1);
    for (int g = 0; g < G; ++g) s[g].step(p0, p1, a[g], fs[g]);
    // After the record the ground is at rest; |a + 0| is |a| bit for bit.
    for (int g = 0; g < G; ++g) peaks[g].take(s[g].u, s[g].v, a[g], fs[g], V{} + p1);
  }
  for (; i < longest - 1; ++i) {
    groundAt(ag, nAg, i, p0, p1);
    const I sample = I{} + (i + 1);
    for (int g = 0; g < G; ++g) {
      s[g].step(p0, p1, a[g], fs[g]);
      peaks[g].take(s[g].u, s[g].v, a[g], fs[g], V{} + p1, sample <= lastSample[g],
                    sample == lastSample[g]);
    }
  }
  for (int g = 0; g < G; ++g)
    for (int l = 0; l < W; ++l)
      out[g * W + l] = {peaks[g].dsp[l], peaks[g].vel[l],  peaks[g].acc[l],
                        peaks[g].totAcc[l], peaks[g].rFrc[l], peaks[g].resDsp[l]};
}

// The two components of a group at every sample, in the order of the five quantities.
template <int W, template <int> class Stepper>
struct TwoComponents {
  typedef typename Lanes<W>::V V;
  Stepper<W> s1, s2;
  V a1, fs1, a2, fs2;

  void setUp(const Oscillator* osc, double dt, double m) {
    s1.setUp(osc, dt, m);
    s2 = s1;
  }
  SPECTRA_INLINE void start(double g1, double g2, V (&x)[kQuantities], V (&y)[kQuantities]) {
    s1.start(g1, a1, fs1);
    s2.start(g2, a2, fs2);
    collect(g1, g2, x, y);
  }
  SPECTRA_INLINE void step(const double* ag1, const double* ag2, std::int32_t nAg, std::int32_t i,
                           V (&x)[kQuantities], V (&y)[kQuantities]) {
    double p01, p11, p02, p12;
    groundAt(ag1, nAg, i, p01, p11);
    groundAt(ag2, nAg, i, p02, p12);
    s1.step(p01, p11, a1, fs1);
    s2.step(p02, p12, a2, fs2);
    collect(p11, p12, x, y);
  }
  // After the record the ground is at rest; a + 0 has the magnitude of a, bit for bit.
  SPECTRA_INLINE void collect(double g1, double g2, V (&x)[kQuantities], V (&y)[kQuantities]) {
    x[kDsp] = s1.u, y[kDsp] = s2.u;
    x[kVel] = s1.v, y[kVel] = s2.v;
    x[kAcc] = a1, y[kAcc] = a2;
    x[kTotAcc] = a1 + g1, y[kTotAcc] = a2 + g2;
    x[kRFrc] = fs1, y[kRFrc] = fs2;
  }
};

// One group of W oscillators under two components, each integrated on its own; run twice, first
// for the largest estimates, then for the exact magnitudes near them.
template <int W, template <int> class Stepper, bool AllQuantities>
SPECTRA_INLINE void runGroup2(const double* ag1, const double* ag2, std::int32_t nAg, double dt,
                              double m, const Oscillator* osc, OscillatorPeaks* out) {
  typedef typename Lanes<W>::V V;
  typedef typename Lanes<W>::I I;
  std::int32_t shortest, longest;
  I lastSample;
  groupLengths<W>(osc, shortest, longest, lastSample);
  GroupPeaks2<W, AllQuantities> peaks;
  V x[kQuantities], y[kQuantities];
  for (int pass = 0; pass < 2; ++pass) {
    TwoComponents<W, Stepper> c;
    c.setUp(osc, dt, m);
    c.start(ag1[0], ag2[0], x, y);
    if (pass == 0) {
      peaks.survey(x, y, I{} - 1);
      peaks.lastU1 = lastSample == 0 ? x[kDsp] : peaks.lastU1;
      peaks.lastU2 = lastSample == 0 ? y[kDsp] : peaks.lastU2;
    } else {
      peaks.setThresholds();
      peaks.take(x, y, I{} - 1);
    }
    for (std::int32_t i = 0; i < longest - 1; ++i) {
      c.step(ag1, ag2, nAg, i, x, y);
      const I sample = I{} + (i + 1);
      const I live = sample <= lastSample;
      if (pass == 0) {
        peaks.survey(x, y, live);
        const I last = sample == lastSample;
        peaks.lastU1 = last ? x[kDsp] : peaks.lastU1;
        peaks.lastU2 = last ? y[kDsp] : peaks.lastU2;
      } else {
        peaks.take(x, y, live);
      }
    }
  }
  for (int l = 0; l < W; ++l)
    out[l] = {peaks.peak[kDsp][l],    peaks.peak[kVel][l],  peaks.peak[kAcc][l],
              peaks.peak[kTotAcc][l], peaks.peak[kRFrc][l],
              magnitude(peaks.lastU1[l], peaks.lastU2[l])};
}

// The records of a batch: one component, or two.
struct Records {
  const double* ag1;
  const double* ag2;  // null for one component
  std::int32_t nAg;
  double dt, m;
  bool finite;  // every sample and the mass finite: lanes may be frozen after their end
  bool all;     // every peak wanted, or (two components) only the displacement and the force
};

// G groups of W oscillators whose analyses all end after the record, on a finite record: each
// lane is brought to rest once its last sample is reached, so no lane needs masking. When every stiffness
// is finite and not zero the peak force is not tracked: |fs| = |k|·|u| rounded, and rounding is
// monotone, so the peak of |fs| is |k| times the peak of |u|, rounded. Peaks are those of the
// masked runner bit for bit.
template <int W, int G, template <int> class Stepper, bool TrackForce>
SPECTRA_INLINE void runGroupFrozen(const double* ag, std::int32_t nAg, double dt, double m,
                                   const Oscillator* osc, OscillatorPeaks* out) {
  typedef typename Lanes<W>::V V;
  Stepper<W> s[G];
  std::int32_t ends[G * W];  // last sample of every lane, ascending
  for (int g = 0; g < G; ++g) s[g].setUp(osc + g * W, dt, m);
  for (int l = 0; l < G * W; ++l) ends[l] = osc[l].nTH - 1;
  std::sort(ends, ends + G * W);

  GroupPeaks<W> peaks[G];
  V a[G], fs[G];
  for (int g = 0; g < G; ++g) {
    s[g].start(ag[0], a[g], fs[g]);
    peaks[g].take(s[g].u, s[g].v, a[g], fs[g], V{} + ag[0]);
  }
  std::int32_t i = 0;
  double p0, p1;
  for (int e = 0; e < G * W; ++e) {
    // Steps up to the next lane's last sample, then that lane (or those lanes) freeze.
    for (; i < ends[e]; ++i) {
      groundAt(ag, nAg, i, p0, p1);
      for (int g = 0; g < G; ++g) {
        s[g].step(p0, p1, a[g], fs[g]);
        if (TrackForce)
          peaks[g].take(s[g].u, s[g].v, a[g], fs[g], V{} + p1);
        else
          peaks[g].takeMotion(s[g].u, s[g].v, a[g], V{} + p1);
      }
    }
    // The residual displacement is taken at the lane's last sample; the lane then rests at zero
    // (holding the displacement itself could turn an infinite one into NaN). Lanes that end
    // together are handled at the first of their equal ends.
    if (e > 0 && ends[e] == ends[e - 1]) continue;
    for (int l = 0; l < G * W; ++l)
      if (osc[l].nTH - 1 == ends[e]) {
        peaks[l / W].resDsp[l % W] = std::fabs(s[l / W].u[l % W]);
        s[l / W].freeze(l % W);
      }
  }
  for (int g = 0; g < G; ++g)
    for (int l = 0; l < W; ++l) {
      const double rFrc = TrackForce ? peaks[g].rFrc[l] : std::fabs(osc[g * W + l].k) * peaks[g].dsp[l];
      out[g * W + l] = {peaks[g].dsp[l], peaks[g].vel[l], peaks[g].acc[l], peaks[g].totAcc[l],
                        rFrc, peaks[g].resDsp[l]};
    }
}

// One component: two groups at a time while at least two remain.
template <int W, template <int> class Stepper>
SPECTRA_INLINE void runOneComponent(const Records& r, const Oscillator* osc, int groups,
                                    OscillatorPeaks* out) {
  bool frozen = r.finite, forceFromDisplacement = true;
  for (int l = 0; l < groups * W; ++l) {
    frozen = frozen && osc[l].nTH >= r.nAg;
    forceFromDisplacement = forceFromDisplacement && std::isfinite(osc[l].k) && osc[l].k != 0.0;
  }
  if (frozen && forceFromDisplacement && groups == 2)
    runGroupFrozen<W, 2, Stepper, false>(r.ag1, r.nAg, r.dt, r.m, osc, out);
  else if (frozen && forceFromDisplacement)
    runGroupFrozen<W, 1, Stepper, false>(r.ag1, r.nAg, r.dt, r.m, osc, out);
  else if (frozen && groups == 2)
    runGroupFrozen<W, 2, Stepper, true>(r.ag1, r.nAg, r.dt, r.m, osc, out);
  else if (frozen)
    runGroupFrozen<W, 1, Stepper, true>(r.ag1, r.nAg, r.dt, r.m, osc, out);
  else if (groups == 2)
    runGroup<W, 2, Stepper>(r.ag1, r.nAg, r.dt, r.m, osc, out);
  else
    runGroup<W, 1, Stepper>(r.ag1, r.nAg, r.dt, r.m, osc, out);
}

// All oscillators, W (or 2W) at a time; the last group is padded with copies of its first
// oscillator.
template <int W>
SPECTRA_INLINE void runAll(ElasticMethod method, const Records& r, const Oscillator* osc,
                           std::int32_t count, OscillatorPeaks* out) {
  const bool recform = method == ElasticMethod::Recform;
  const int maxGroups = r.ag2 == nullptr ? 2 : 1;
  for (std::int32_t first = 0; first < count;) {
    const int groups = count - first > W && maxGroups == 2 ? 2 : 1;
    Oscillator group[2 * W];
    OscillatorPeaks result[2 * W];
    const int size = groups * W;
    const int used = count - first < size ? count - first : size;
    for (int l = 0; l < size; ++l) group[l] = osc[first + (l < used ? l : 0)];
    if (r.ag2 == nullptr && recform)
      runOneComponent<W, RecformLanes>(r, group, groups, result);
    else if (r.ag2 == nullptr)
      runOneComponent<W, NewmarkLanes>(r, group, groups, result);
    else if (recform && r.all)
      runGroup2<W, RecformLanes, true>(r.ag1, r.ag2, r.nAg, r.dt, r.m, group, result);
    else if (recform)
      runGroup2<W, RecformLanes, false>(r.ag1, r.ag2, r.nAg, r.dt, r.m, group, result);
    else
      runGroup2<W, NewmarkLanes, true>(r.ag1, r.ag2, r.nAg, r.dt, r.m, group, result);
    for (int l = 0; l < used; ++l) out[first + l] = result[l];
    first += used;
  }
}

#if defined(__x86_64__)
__attribute__((target("avx512f"))) void runAvx512(ElasticMethod method, const Records& r,
                                                   const Oscillator* osc, std::int32_t count,
                                                   OscillatorPeaks* out) {
  runAll<8>(method, r, osc, count, out);
}

__attribute__((target("avx2"))) void runAvx2(ElasticMethod method, const Records& r,
                                             const Oscillator* osc, std::int32_t count,
                                             OscillatorPeaks* out) {
  runAll<4>(method, r, osc, count, out);
}
#endif

void runSse2(ElasticMethod method, const Records& r, const Oscillator* osc, std::int32_t count,
             OscillatorPeaks* out) {
  runAll<2>(method, r, osc, count, out);
}

void runScalar(ElasticMethod method, const Records& r, const Oscillator* osc, std::int32_t count,
               OscillatorPeaks* out) {
  runAll<1>(method, r, osc, count, out);
}

void runBatch(ElasticMethod method, const Records& r, const Oscillator* osc, std::int32_t count,
              OscillatorPeaks* out, VectorUnit unit) {
  switch (unit) {
#if defined(__x86_64__)
    case VectorUnit::AVX512:
      runAvx512(method, r, osc, count, out);
      return;
    case VectorUnit::AVX2:
      runAvx2(method, r, osc, count, out);
      return;
#endif
    case VectorUnit::SSE2:
      runSse2(method, r, osc, count, out);
      return;
    default:
      runScalar(method, r, osc, count, out);
  }
}

// Sorts by decreasing length so that the lanes of a group run for similar lengths, hands blocks
// of one group to the threads (longest first, so the threads finish together), and returns the
// peaks in the order given.
std::vector<OscillatorPeaks> runSorted(ElasticMethod method, const Records& r,
                                       const std::vector<Oscillator>& oscillators,
                                       VectorUnit unit, int threads) {
  const std::size_t count = oscillators.size();
  std::vector<std::int32_t> order(count);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
    return oscillators[a].nTH > oscillators[b].nTH;
  });
  std::vector<Oscillator> sorted(count);
  for (std::size_t p = 0; p < count; ++p) sorted[p] = oscillators[order[p]];
  std::vector<OscillatorPeaks> sortedPeaks(count);
  const std::int64_t block = 2 * lanesOf(unit);
  const std::int64_t blocks = (static_cast<std::int64_t>(count) + block - 1) / block;
  parallelFor(blocks, threads, [&](std::int64_t b, int) {
    const std::int64_t first = b * block;
    const auto size = static_cast<std::int32_t>(std::min<std::int64_t>(block, count - first));
    runBatch(method, r, sorted.data() + first, size, sortedPeaks.data() + first, unit);
  });
  std::vector<OscillatorPeaks> peaks(count);
  for (std::size_t p = 0; p < count; ++p) peaks[order[p]] = sortedPeaks[p];
  return peaks;
}

}  // namespace

int lanesOf(VectorUnit unit) {
  switch (unit) {
    case VectorUnit::AVX512: return 8;
    case VectorUnit::AVX2: return 4;
    case VectorUnit::SSE2: return 2;
    default: return 1;
  }
}

std::vector<OscillatorPeaks> elasticPeaks(ElasticMethod method, const double* ag,
                                          std::int32_t nAg, double dt, double m,
                                          const std::vector<Oscillator>& oscillators,
                                          VectorUnit unit, int threads) {
  bool finite = std::isfinite(m);
  for (std::int32_t s = 0; s < nAg && finite; ++s) finite = std::isfinite(ag[s]);
  return runSorted(method, {ag, nullptr, nAg, dt, m, finite, true}, oscillators, unit, threads);
}

std::vector<OscillatorPeaks> elasticPeaks2(ElasticMethod method, const double* ag1,
                                           const double* ag2, std::int32_t nAg, double dt,
                                           double m, const std::vector<Oscillator>& oscillators,
                                           VectorUnit unit, int threads, PeaksWanted wanted) {
  // The Newmark lanes always take every peak.
  const bool all = wanted == PeaksWanted::All || method != ElasticMethod::Recform;
  return runSorted(method, {ag1, ag2, nAg, dt, m, false, all}, oscillators, unit, threads);
}

}  // namespace core
