// The lead-rubber-bearing force law in vector lanes, for the lane engine (core/lanes/).
#pragma once

#include "core/lanes/bearing_lanes.h"
#include "pellory/newmark_var.h"

namespace pellory {

// ForceLaw of several analyses: every lane evaluates exactly as ForceLaw::evaluate does.
template <class Ln>
struct LaneLaw : core::lanes::BearingLanes<1, Ln> {
  using Law = ForceLaw;
  typedef typename Ln::V V;
  typedef typename Ln::M M;
  typedef std::array<V, 1> Vs;
  V k{}, Qd{};
  V kh{}, kd{};  // (1 − alpha)·k and alpha·k, formed as ForceLaw forms them

  void load(int l, const Law& law) {
    this->loadState(l, law.state);
    const Bearing& b = law.bearing;
    k[l] = b.k;
    Qd[l] = b.Qd;
    kh[l] = (1.0 - b.alpha) * b.k;
    kd[l] = b.alpha * b.k;
  }
  void store(int l, Law& law) const { this->storeState(l, law.state); }

  // ForceLaw::evaluate and returnMapping in the masked lanes, both branches formed.
  SPECTRA_LANES_INLINE void evaluate(const Vs& at, M mask) {
    using core::lanes::select;
    const M update = mask & ~(this->distanceFromLast(at) <= core::kSameDisplacement);
    const V x = at[0];
    this->dspT[0] = select(update, x, this->dspT[0]);
    const V fh = (x - this->dspPlasticC[0]) * kh;
    const V d = core::lanes::absolute(fh) - Qd;
    const M yields = update & (d > 0.0);
    this->frcT[0] = select(update, kd * x + fh, this->frcT[0]);
    this->stiffT[0][0] = select(update, k, this->stiffT[0][0]);
    if (!core::lanes::any(yields)) return;
    const V sign = select(fh >= 0.0, core::lanes::splat<V>(1.0), core::lanes::splat<V>(-1.0));
    this->dspPlasticT[0] =
        select(yields, sign * (d / kh) + this->dspPlasticC[0], this->dspPlasticT[0]);
    this->frcT[0] = select(yields, kd * x + sign * Qd, this->frcT[0]);
    this->stiffT[0][0] = select(yields, kd, this->stiffT[0][0]);
  }
};

}  // namespace pellory
