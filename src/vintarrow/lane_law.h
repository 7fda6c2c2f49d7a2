// The two-component lead-rubber-bearing force law in vector lanes, for the lane engine
// (core/lanes/).
#pragma once

#include "core/lanes/bearing_lanes.h"
#include "core/numerics/magnitude.h"
#include "vintarrow/newmark_var.h"

namespace vintarrow {

// ForceLaw of several analyses: every lane evaluates exactly as ForceLaw::evaluate does; the cube
// of the resultant comes from the library power function, lane by lane where a lane yields.
template <class Ln>
struct LaneLaw : core::lanes::BearingLanes<2, Ln> {
  using Law = ForceLaw;
  typedef typename Ln::V V;
  typedef typename Ln::M M;
  typedef std::array<V, 2> Vs;
  V k{}, Qd{};
  V kh{}, kd{};  // (1 − alpha)·k and alpha·k, formed as ForceLaw forms them

  void load(int l, const Law& law) {
    this->loadState(l, law.state);
    const Bearing& b = law.bearing;
    k[l] = b.k, Qd[l] = b.Qd;
    kh[l] = (1.0 - b.alpha) * b.k;
    kd[l] = b.alpha * b.k;
  }
  void store(int l, Law& law) const { this->storeState(l, law.state); }

  // ForceLaw::evaluate and returnMapping in the masked lanes, both branches formed.
  SPECTRA_LANES_INLINE void evaluate(const Vs& x, M mask) {
    using core::lanes::select;
    const M update = mask & (this->distanceFromLast(x) > core::kSameDisplacement);
    if (!core::lanes::any(update)) return;
    const V x1 = x[0], x2 = x[1];
    this->dspT[0] = select(update, x1, this->dspT[0]);
    this->dspT[1] = select(update, x2, this->dspT[1]);
    const V f1 = (x1 - this->dspPlasticC[0]) * kh;
    const V f2 = kh * (x2 - this->dspPlasticC[1]);
    const V q = core::lanes::squareRoot(f1 * f1 + f2 * f2);
    const M yields = update & ((q - Qd) > 0.0);
    this->frcT[0] = select(update, x1 * kd + f1, this->frcT[0]);
    this->frcT[1] = select(update, kd * x2 + f2, this->frcT[1]);
    this->stiffT[0][0] = select(update, k, this->stiffT[0][0]);
    this->stiffT[1][1] = select(update, k, this->stiffT[1][1]);
    this->stiffT[0][1] = select(update, V{}, this->stiffT[0][1]);
    this->stiffT[1][0] = select(update, V{}, this->stiffT[1][0]);
    if (core::lanes::any(yields)) yield(x1, x2, f1, f2, q, yields);
  }

 private:
  // The yielding branch of returnMapping (radial return) in the lanes that yield.
  SPECTRA_LANES_INLINE void yield(V x1, V x2, V f1, V f2, V q, M yields) {
    using core::lanes::select;
    const V delta = (q - Qd) / kh;
    this->dspPlasticT[0] =
        select(yields, (delta * f1) / q + this->dspPlasticC[0], this->dspPlasticT[0]);
    this->dspPlasticT[1] =
        select(yields, (delta * f2) / q + this->dspPlasticC[1], this->dspPlasticT[1]);
    this->frcT[0] = select(yields, (f1 * Qd) / q + x1 * kd, this->frcT[0]);
    this->frcT[1] = select(yields, (Qd * f2) / q + kd * x2, this->frcT[1]);
    V Q3 = q;
    for (int l = 0; l < Ln::kCount; ++l)
      if (yields[l]) Q3[l] = core::power(q[l], 3.0);
    const V A = kh * Qd;
    const V s12 = -((f2 * (A * f1)) / Q3);
    this->stiffT[0][0] = select(yields, ((f2 * A) * f2) / Q3 + kd, this->stiffT[0][0]);
    this->stiffT[0][1] = select(yields, s12, this->stiffT[0][1]);
    this->stiffT[1][0] = select(yields, s12, this->stiffT[1][0]);
    this->stiffT[1][1] = select(yields, ((A * f1) * f1) / Q3 + kd, this->stiffT[1][1]);
  }
};

}  // namespace vintarrow
