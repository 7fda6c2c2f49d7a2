// Storage for every output of one driver call, for callers that run a driver directly (tests,
// benchmarks, measures) rather than through a gateway.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/spectra/outputs.h"

namespace core {

class OutputStore {
 public:
  // Zero-filled storage: "pga" one value, "f" nT values, every other quantity nT × nSwept.
  OutputStore(std::int32_t nT, std::int32_t nSwept)
      : pga_(1, 0.0), f_(static_cast<std::size_t>(nT), 0.0) {
    const auto n = static_cast<std::size_t>(nT) * static_cast<std::size_t>(nSwept);
    for (std::vector<double>& m : matrices_) m.assign(n, 0.0);
    out_.pga = pga_.data();
    out_.f = f_.data();
    double* SpectraOutputs::*const slots[] = {
        &SpectraOutputs::dsp,         &SpectraOutputs::vel,       &SpectraOutputs::acc,
        &SpectraOutputs::totAcc,      &SpectraOutputs::psdVel,    &SpectraOutputs::psdAcc,
        &SpectraOutputs::resDsp,      &SpectraOutputs::iFrc,      &SpectraOutputs::dFrc,
        &SpectraOutputs::rFrc,        &SpectraOutputs::yieldDsp,  &SpectraOutputs::psdYieldVel,
        &SpectraOutputs::psdYieldAcc, &SpectraOutputs::yieldFrc,  &SpectraOutputs::RFact,
        &SpectraOutputs::muFact,      &SpectraOutputs::gammaFact, &SpectraOutputs::effT,
        &SpectraOutputs::effZeta,     &SpectraOutputs::effRFact,  &SpectraOutputs::effGammaFact};
    static_assert(std::size(slots) == kMatrices);
    for (std::size_t i = 0; i < kMatrices; ++i) out_.*slots[i] = matrices_[i].data();
  }
  OutputStore(const OutputStore&) = delete;
  OutputStore& operator=(const OutputStore&) = delete;

  const SpectraOutputs& outputs() const { return out_; }
  double pga() const { return pga_[0]; }
  const std::vector<double>& f() const { return f_; }
  // The values of a matrix quantity, e.g. values(&SpectraOutputs::dsp).
  std::vector<double> values(double* SpectraOutputs::*slot) const {
    const double* data = out_.*slot;
    return std::vector<double>(data, data + matrices_[0].size());
  }

 private:
  static constexpr std::size_t kMatrices = 21;
  std::vector<double> pga_, f_;
  std::array<std::vector<double>, kMatrices> matrices_;
  SpectraOutputs out_;
};

}  // namespace core
