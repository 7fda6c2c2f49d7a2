// The friction-pendulum force law in vector lanes, for the lane engine (core/lanes/).
#pragma once

#include "core/lanes/bearing_lanes.h"
#include "tillock/newmark_var.h"

namespace tillock {

using core::lanes::absolute;
using core::lanes::select;
using core::lanes::splat;

// ForceLaw of L analyses: every lane evaluates exactly as ForceLaw::evaluate does.
template <class Ln>
struct LaneLaw : core::lanes::BearingLanes<1, Ln> {
  using Law = ForceLaw;
  using Base = core::lanes::BearingLanes<1, Ln>;
  typedef typename Base::V V;
  typedef typename Base::M M;
  typedef typename Base::Vs Vs;
  V k1{}, kp{};
  V ke{}, sliding{};  // k1 − kp and the sliding force W·frn, formed as ForceLaw forms them

  void load(int l, const Law& law) {
    this->loadState(l, law.state);
    const Bearing& b = law.bearing;
    k1[l] = b.k1;
    kp[l] = b.kp;
    ke[l] = b.k1 - b.kp;
    sliding[l] = b.W * b.frn;
  }
  void store(int l, Law& law) const { this->storeState(l, law.state); }

  // ForceLaw::evaluate and returnMapping in the masked lanes: both branches formed, each lane
  // keeping its own.
  SPECTRA_LANES_INLINE void evaluate(const Vs& at, M mask) {
    const M update = mask & (this->distanceFromLast(at) > core::kSameDisplacement);
    const V x = at[0];
    const V ft = (x - this->dspPlasticC[0]) * ke;
    const V phi = absolute(ft) - sliding;
    const M slides = update & (phi > 0.0);
    this->dspT[0] = select(update, x, this->dspT[0]);
    this->frcT[0] = select(update, ft + kp * x, this->frcT[0]);
    this->stiffT[0][0] = select(update, k1, this->stiffT[0][0]);
    if (!core::lanes::any(slides)) return;
    const V sign = select(ft < 0.0, splat<V>(-1.0), splat<V>(1.0));
    this->dspPlasticT[0] =
        select(slides, sign * (phi / ke) + this->dspPlasticC[0], this->dspPlasticT[0]);
    this->frcT[0] = select(slides, sign * sliding + kp * x, this->frcT[0]);
    this->stiffT[0][0] = select(slides, kp, this->stiffT[0][0]);
  }
};

}  // namespace tillock
