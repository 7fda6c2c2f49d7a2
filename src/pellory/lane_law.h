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
  V k{}, Qd{}, alpha{};

  void load(int l, const Law& law) {
    this->loadState(l, law.state);
    k[l] = law.bearing.k;
    Qd[l] = law.bearing.Qd;
    alpha[l] = law.bearing.alpha;
  }
  void store(int l, Law& law) const { this->storeState(l, law.state); }

  // ForceLaw::evaluate and returnMapping in the masked lanes, both branches formed.
  SPECTRA_LANES_INLINE void evaluate(const Vs& at, M mask) {
    using core::lanes::select;
    const M update = mask & ~(this->distanceFromLast(at) <= core::kSameDisplacement);
    const V x = at[0];
    this->dspT[0] = select(update, x, this->dspT[0]);
    const V kh = (1.0 - alpha) * k;
    const V fh = (x - this->dspPlasticC[0]) * kh;
    const V d = core::lanes::absolute(fh) - Qd;
    const M yields = update & (d > 0.0);
    const V sign = select(fh >= 0.0, core::lanes::splat<V>(1.0), core::lanes::splat<V>(-1.0));
    this->dspPlasticT[0] =
        select(yields, sign * (d / kh) + this->dspPlasticC[0], this->dspPlasticT[0]);
    const V yielding = (alpha * k) * x + sign * Qd;
    const V elastic = (alpha * k) * x + fh;
    this->frcT[0] = select(update, select(yields, yielding, elastic), this->frcT[0]);
    this->stiffT[0][0] = select(update, select(yields, alpha * k, k), this->stiffT[0][0]);
  }
};

}  // namespace pellory
