// Several linear oscillators per vector register: the same recurrences as recform and newmark,
// lane by lane in the same operation order, with the peaks taken as the state advances.
#include "elastic/batch.h"

#include <cmath>

#include "core/newmark.h"
#include "core/recform.h"

namespace quorvel {

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
      const core::RecformCoefficients c = core::recformCoefficients(dt, m, osc[l].zeta, osc[l].k);
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
      const core::NewmarkConstants n =
          core::newmarkConstants(dt, m, osc[l].zeta, osc[l].k, 0.25, 0.5);
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

// One group of W oscillators from sample 0 to the longest of their histories.
template <int W, template <int> class Stepper>
SPECTRA_INLINE void runGroup(const double* ag, std::int32_t nAg, double dt, double m,
                             const Oscillator* osc, OscillatorPeaks* out) {
  typedef typename Lanes<W>::V V;
  typedef typename Lanes<W>::I I;
  Stepper<W> s;
  s.setUp(osc, dt, m);
  std::int32_t shortest = osc[0].nTH, longest = osc[0].nTH;
  I lastSample;
  for (int l = 0; l < W; ++l) {
    shortest = osc[l].nTH < shortest ? osc[l].nTH : shortest;
    longest = osc[l].nTH > longest ? osc[l].nTH : longest;
    lastSample[l] = osc[l].nTH - 1;
  }

  GroupPeaks<W> peaks;
  V a, fs;
  s.start(ag[0], a, fs);
  peaks.take(s.u, s.v, a, fs, V{} + ag[0], I{} - 1, lastSample == 0);

  // Every lane is still running and none ends while sample i + 1 < shortest − 1.
  std::int32_t i = 0;
  for (; i < shortest - 2; ++i) {
    const double p0 = i < nAg ? ag[i] : 0.0;
    const double p1 = i < nAg - 1 ? ag[i + 1] : 0.0;
    s.step(p0, p1, a, fs);
    // After the record the ground is at rest; |a + 0| is |a| bit for bit.
    peaks.take(s.u, s.v, a, fs, V{} + p1);
  }
  for (; i < longest - 1; ++i) {
    const double p0 = i < nAg ? ag[i] : 0.0;
    const double p1 = i < nAg - 1 ? ag[i + 1] : 0.0;
    s.step(p0, p1, a, fs);
    const I sample = I{} + (i + 1);
    peaks.take(s.u, s.v, a, fs, V{} + p1, sample <= lastSample, sample == lastSample);
  }
  for (int l = 0; l < W; ++l)
    out[l] = {peaks.dsp[l], peaks.vel[l], peaks.acc[l], peaks.totAcc[l], peaks.rFrc[l],
              peaks.resDsp[l]};
}

// All oscillators, W at a time; the last group is padded with copies of its first oscillator.
template <int W>
SPECTRA_INLINE void runAll(Method method, const double* ag, std::int32_t nAg, double dt, double m,
                           const Oscillator* osc, std::int32_t count, OscillatorPeaks* out) {
  for (std::int32_t first = 0; first < count; first += W) {
    Oscillator group[W];
    OscillatorPeaks result[W];
    const int used = count - first < W ? count - first : W;
    for (int l = 0; l < W; ++l) group[l] = osc[first + (l < used ? l : 0)];
    if (method == Method::Recform)
      runGroup<W, RecformLanes>(ag, nAg, dt, m, group, result);
    else
      runGroup<W, NewmarkLanes>(ag, nAg, dt, m, group, result);
    for (int l = 0; l < used; ++l) out[first + l] = result[l];
  }
}

#if defined(__x86_64__)
__attribute__((target("avx512f"))) void runAvx512(Method method, const double* ag,
                                                   std::int32_t nAg, double dt, double m,
                                                   const Oscillator* osc, std::int32_t count,
                                                   OscillatorPeaks* out) {
  runAll<8>(method, ag, nAg, dt, m, osc, count, out);
}

__attribute__((target("avx2"))) void runAvx2(Method method, const double* ag, std::int32_t nAg,
                                             double dt, double m, const Oscillator* osc,
                                             std::int32_t count, OscillatorPeaks* out) {
  runAll<4>(method, ag, nAg, dt, m, osc, count, out);
}
#endif

void runSse2(Method method, const double* ag, std::int32_t nAg, double dt, double m,
             const Oscillator* osc, std::int32_t count, OscillatorPeaks* out) {
  runAll<2>(method, ag, nAg, dt, m, osc, count, out);
}

void runScalar(Method method, const double* ag, std::int32_t nAg, double dt, double m,
               const Oscillator* osc, std::int32_t count, OscillatorPeaks* out) {
  runAll<1>(method, ag, nAg, dt, m, osc, count, out);
}

}  // namespace

int lanesOf(core::VectorUnit unit) {
  switch (unit) {
    case core::VectorUnit::AVX512: return 8;
    case core::VectorUnit::AVX2: return 4;
    case core::VectorUnit::SSE2: return 2;
    default: return 1;
  }
}

void batchPeaks(Method method, const double* ag, std::int32_t nAg, double dt, double m,
                const Oscillator* oscillators, std::int32_t count, OscillatorPeaks* peaks,
                core::VectorUnit unit) {
  switch (unit) {
#if defined(__x86_64__)
    case core::VectorUnit::AVX512:
      runAvx512(method, ag, nAg, dt, m, oscillators, count, peaks);
      return;
    case core::VectorUnit::AVX2:
      runAvx2(method, ag, nAg, dt, m, oscillators, count, peaks);
      return;
#endif
    case core::VectorUnit::SSE2:
      runSse2(method, ag, nAg, dt, m, oscillators, count, peaks);
      return;
    default:
      runScalar(method, ag, nAg, dt, m, oscillators, count, peaks);
  }
}

}  // namespace quorvel
