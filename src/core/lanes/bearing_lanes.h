// The lane form of what the isolator force laws share (core::BearingLaw): their state per lane and
// the answers the lane engine reads.
#pragma once

#include <array>
#include <cstddef>

#include "core/lanes/lane_vector.h"
#include "core/numerics/bearing_law.h"

namespace core::lanes {

// core::BearingState of L analyses, lane by lane.
template <std::size_t N, class Ln>
struct BearingLanes {
  static constexpr std::size_t kComponents = N;
  typedef typename Ln::V V;
  typedef typename Ln::M M;
  typedef std::array<V, N> Vs;

  Vs dspT{}, frcT{}, dspPlasticT{}, dspPlasticC{};
  std::array<Vs, N> stiffT{};

  void loadState(int l, const BearingState<N>& s) {
    for (std::size_t i = 0; i < N; ++i) {
      dspT[i][l] = s.dspT[i];
      frcT[i][l] = s.frcT[i];
      dspPlasticT[i][l] = s.dspPlasticT[i];
      dspPlasticC[i][l] = s.dspPlasticC[i];
      for (std::size_t j = 0; j < N; ++j) stiffT[i][j][l] = s.stiffT[i][j];
    }
  }
  void storeState(int l, BearingState<N>& s) const {
    for (std::size_t i = 0; i < N; ++i) {
      s.dspT[i] = dspT[i][l];
      s.frcT[i] = frcT[i][l];
      s.dspPlasticT[i] = dspPlasticT[i][l];
      s.dspPlasticC[i] = dspPlasticC[i][l];
      for (std::size_t j = 0; j < N; ++j) s.stiffT[i][j] = stiffT[i][j][l];
    }
  }
  // BearingLaw::distanceFromLast lane by lane.
  SPECTRA_LANES_INLINE V distanceFromLast(const Vs& x) const {
    V d = absolute(x[0] - dspT[0]);
    for (std::size_t i = 1; i < N; ++i) d = d + absolute(x[i] - dspT[i]);
    return d;
  }
  SPECTRA_LANES_INLINE V force(std::size_t i) const { return frcT[i]; }
  SPECTRA_LANES_INLINE V tangent(std::size_t i, std::size_t j) const { return stiffT[i][j]; }
  SPECTRA_LANES_INLINE void commit(M mask) {
    for (std::size_t i = 0; i < N; ++i)
      dspPlasticC[i] = select(mask, dspPlasticT[i], dspPlasticC[i]);
  }
};

}  // namespace core::lanes
