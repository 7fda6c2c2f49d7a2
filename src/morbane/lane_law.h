// The hardening material in vector lanes, for the lane engine (core/lanes/): the force law of
// Morbane, of Tillock's weight variant and of the constant-ductility trials.
#pragma once

#include <array>

#include "core/lanes/lane_vector.h"
#include "morbane/newmark_var.h"

namespace morbane {

// ForceLaw (HardeningState with its moduli) of several analyses: every lane evaluates exactly as
// evaluateHardening and returnMapHardening do.
template <class Ln>
struct LaneLaw {
  using Law = ForceLaw;
  static constexpr std::size_t kComponents = 1;
  typedef typename Ln::V V;
  typedef typename Ln::M M;
  typedef std::array<V, 1> Vs;
  V strainPlasticC{}, stressBackC{}, hardeningC{};
  V strainPlasticT{}, stressBackT{}, hardeningT{};
  V strainT{}, stressT{}, tangentT{};
  V E{}, fy{}, Hkin{}, Hiso{};
  V stiffness{}, plasticTangent{};  // (E + Hkin) + Hiso and the plastic tangent, formed as there

  void load(int l, const Law& law) {
    const HardeningState& s = law.state;
    strainPlasticC[l] = s.strainPlasticC, stressBackC[l] = s.stressBackC;
    hardeningC[l] = s.hardeningC;
    strainPlasticT[l] = s.strainPlasticT, stressBackT[l] = s.stressBackT;
    hardeningT[l] = s.hardeningT;
    strainT[l] = s.strainT, stressT[l] = s.stressT, tangentT[l] = s.tangentT;
    const HardeningModuli& h = law.moduli;
    E[l] = h.E, fy[l] = h.fy, Hkin[l] = h.Hkin, Hiso[l] = h.Hiso;
    stiffness[l] = (h.E + h.Hkin) + h.Hiso;
    plasticTangent[l] = h.E * (h.Hiso + h.Hkin) / ((h.E + h.Hkin) + h.Hiso);
  }
  void store(int l, Law& law) const {
    HardeningState& s = law.state;
    s.strainPlasticC = strainPlasticC[l], s.stressBackC = stressBackC[l];
    s.hardeningC = hardeningC[l];
    s.strainPlasticT = strainPlasticT[l], s.stressBackT = stressBackT[l];
    s.hardeningT = hardeningT[l];
    s.strainT = strainT[l], s.stressT = stressT[l], s.tangentT = tangentT[l];
  }

  // evaluateHardening in the masked lanes: the return mapping where the strain has moved, its
  // plastic correction where the relative stress lies outside the yield surface (or is NaN).
  SPECTRA_LANES_INLINE void evaluate(const Vs& at, M mask) {
    using core::lanes::select;
    const V strain = at[0];
    const M update = mask & (core::lanes::absolute(strainT - strain) > core::kSameDisplacement);
    const V trial = (strain - strainPlasticC) * E;
    const V xi = trial - stressBackC;
    const V f = core::lanes::absolute(xi) - (hardeningC * Hiso + fy);
    const M plastic = update & ~(f <= 0.0);
    strainT = select(update, strain, strainT);
    stressT = select(update, trial, stressT);
    tangentT = select(update, E, tangentT);
    if (core::lanes::any(plastic)) correct(xi, f, plastic);
  }
  SPECTRA_LANES_INLINE V force(std::size_t) const { return stressT; }
  SPECTRA_LANES_INLINE V tangent(std::size_t, std::size_t) const { return tangentT; }
  // The plastic correction of returnMapHardening in the lanes where it applies.
  SPECTRA_LANES_INLINE void correct(V xi, V f, M plastic) {
    using core::lanes::select;
    const V dGamma = f / stiffness;
    const V s = select(xi < 0.0, core::lanes::splat<V>(-1.0), core::lanes::splat<V>(1.0));
    stressT = select(plastic, stressT - (E * dGamma) * s, stressT);
    strainPlasticT = select(plastic, s * dGamma + strainPlasticC, strainPlasticT);
    hardeningT = select(plastic, dGamma + hardeningC, hardeningT);
    stressBackT = select(plastic, s * (Hkin * dGamma) + stressBackC, stressBackT);
    tangentT = select(plastic, plasticTangent, tangentT);
  }

  // commitHardening in the masked lanes.
  SPECTRA_LANES_INLINE void commit(M mask) {
    using core::lanes::select;
    strainPlasticC = select(mask, strainPlasticT, strainPlasticC);
    stressBackC = select(mask, stressBackT, stressBackC);
    hardeningC = select(mask, hardeningT, hardeningC);
  }
};

}  // namespace morbane
