// The bidirectional friction-pendulum force law in vector lanes, for the lane engine (core/lanes/).
#pragma once

#include "core/lanes/bearing_lanes.h"
#include "core/numerics/magnitude.h"
#include "granwick/newmark_var.h"

namespace granwick {

// ForceLaw of several analyses: every lane evaluates exactly as ForceLaw::evaluate does; the cube
// of the resultant comes from the library power function, lane by lane where a lane slides.
template <class Ln>
struct LaneLaw : core::lanes::BearingLanes<2, Ln> {
  using Law = ForceLaw;
  typedef typename Ln::V V;
  typedef typename Ln::M M;
  typedef std::array<V, 2> Vs;
  V k1{};
  V kp{}, ke{}, sliding{};  // W/R, k1 − kp and W·frn, formed as ForceLaw forms them

  void load(int l, const Law& law) {
    this->loadState(l, law.state);
    const Bearing& b = law.bearing;
    k1[l] = b.k1;
    kp[l] = b.W / b.R;
    ke[l] = b.k1 - kp[l];
    sliding[l] = b.W * b.frn;
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
    const V f1 = (x1 - this->dspPlasticC[0]) * ke;
    const V f2 = (x2 - this->dspPlasticC[1]) * ke;
    const V q = core::lanes::squareRoot(f1 * f1 + f2 * f2);
    const V phi = q - sliding;
    const M slides = update & (phi > 0.0);
    this->frcT[0] = select(update, x1 * kp + f1, this->frcT[0]);
    this->frcT[1] = select(update, kp * x2 + f2, this->frcT[1]);
    this->stiffT[0][0] = select(update, k1, this->stiffT[0][0]);
    this->stiffT[0][1] = select(update, V{}, this->stiffT[0][1]);
    this->stiffT[1][0] = select(update, V{}, this->stiffT[1][0]);
    this->stiffT[1][1] = select(update, k1, this->stiffT[1][1]);
    if (core::lanes::any(slides)) slide(x1, x2, f1, f2, q, phi, slides);
  }

 private:
  // The sliding branch of returnMapping in the lanes that slide.
  SPECTRA_LANES_INLINE void slide(V x1, V x2, V f1, V f2, V q, V phi, M slides) {
    using core::lanes::select;
    const V lambda = phi / ke;
    this->dspPlasticT[0] =
        select(slides, (lambda * f1) / q + this->dspPlasticC[0], this->dspPlasticT[0]);
    this->dspPlasticT[1] =
        select(slides, (lambda * f2) / q + this->dspPlasticC[1], this->dspPlasticT[1]);
    this->frcT[0] = select(slides, x1 * kp + (f1 * sliding) / q, this->frcT[0]);
    this->frcT[1] = select(slides, kp * x2 + (f2 * sliding) / q, this->frcT[1]);
    V Q3 = q;
    for (int l = 0; l < Ln::kCount; ++l)
      if (slides[l]) Q3[l] = core::power(q[l], 3.0);
    const V A = sliding * ke;
    const V s12 = -((f2 * (f1 * A)) / Q3);
    this->stiffT[0][0] = select(slides, ((f2 * A) * f2) / Q3 + kp, this->stiffT[0][0]);
    this->stiffT[0][1] = select(slides, s12, this->stiffT[0][1]);
    this->stiffT[1][0] = select(slides, s12, this->stiffT[1][0]);
    this->stiffT[1][1] = select(slides, kp + (f1 * (f1 * A)) / Q3, this->stiffT[1][1]);
  }
};

}  // namespace granwick
