// Where a spectra driver writes: one named pointer per output quantity. Every module writes a
// subset (its field table says which); the others stay null.
#pragma once

namespace core {

// "pga" is one value; "f" one per period; every other quantity an nT × nSwept column-major
// matrix, element i + j·nT for period i and swept value j, zero on entry.
struct SpectraOutputs {
  double* pga = nullptr;
  double* f = nullptr;
  // Peaks of the analysis and the quantities derived from them.
  double* dsp = nullptr;
  double* vel = nullptr;
  double* acc = nullptr;
  double* totAcc = nullptr;
  double* psdVel = nullptr;
  double* psdAcc = nullptr;
  double* resDsp = nullptr;
  double* iFrc = nullptr;
  double* dFrc = nullptr;
  double* rFrc = nullptr;
  // Yield and the factors to the linear reference system (nonlinear modules).
  double* yieldDsp = nullptr;
  double* psdYieldVel = nullptr;
  double* psdYieldAcc = nullptr;
  double* yieldFrc = nullptr;
  double* RFact = nullptr;
  double* muFact = nullptr;
  double* gammaFact = nullptr;
  // The equivalent linear system (isolators).
  double* effT = nullptr;
  double* effZeta = nullptr;
  double* effRFact = nullptr;
  double* effGammaFact = nullptr;
};

}  // namespace core
