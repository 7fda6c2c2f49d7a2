// Tillock gateway (mass and gravity): checks and reads the inputs, creates the 26 output arrays,
// runs the driver and returns them in one structure.
#include "tillock/gateway.h"

#include "core/gateway/arguments.h"
#include "tillock/driver.h"

namespace tillock {

namespace {

constexpr const char* kModule = "Tillock";
constexpr int kFields = 26;
const char* const kFieldNames[kFields] = {
    "pga",      "mass",        "frn",         "T",        "f",       "dsp",    "vel",
    "acc",      "totAcc",      "psdVel",      "psdAcc",   "resDsp",  "iFrc",   "dFrc",
    "rFrc",     "yieldDsp",    "psdYieldVel", "psdYieldAcc", "yieldFrc", "muFact", "RFact",
    "gammaFact", "effT",       "effZeta",     "effRFact", "effGammaFact"};

struct Inputs {
  const double* ag = nullptr;
  std::int32_t nAg = 0;
  double dt = 0.0;
  double m = 0.0;
  double g = 0.0;
  const double* frn = nullptr;
  std::int32_t nFrn = 0;
  gateway::Periods periods;
  double uy = 0.0;
};

// An empty frn (0 × 0) is allowed: the call then returns nT × 0 result fields.
bool readInputs(int nrhs, const mxArray* prhs[], Inputs& in, gateway::Failure& failure) {
  using gateway::Empty;
  if (!gateway::readVector(prhs[0], kModule, "ag", Empty::Rejected, &in.ag, &in.nAg, failure) ||
      !gateway::readScalar(prhs[1], kModule, "dt", &in.dt, failure) ||
      !gateway::readScalar(prhs[2], kModule, "m", &in.m, failure) ||
      !gateway::readScalar(prhs[3], kModule, "g", &in.g, failure) ||
      !gateway::readVector(prhs[4], kModule, "frn", Empty::Allowed, &in.frn, &in.nFrn, failure))
    return false;
  const bool generated = nrhs == 9;
  if (!gateway::readPeriods(prhs, 5, generated, kModule, &in.periods, failure)) return false;
  return gateway::readScalar(prhs[nrhs - 1], kModule, "uy", &in.uy, failure);
}

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  if (nlhs != 1 || (nrhs != 7 && nrhs != 9)) {
    mexErrMsgTxt(
        "Tillock::mexFunction - wrong number of arguments received\n"
        "expecting: spectra = Tillock(ag,dt,m,g,frn,T,uy);\n");
    return;
  }
  gateway::Failure failure;
  Inputs in;
  if (!readInputs(nrhs, prhs, in, failure)) {
    mexErrMsgTxt(failure.text);
    return;
  }

  const std::int32_t nT = in.periods.count;
  mxArray* fields[kFields];
  double* out[kFields];
  gateway::createOutputs(kFields, fields, out, prhs[2], prhs[4], in.nFrn, prhs[5],
                         &in.periods);
  const std::int32_t status = getSpectra(
      out[0], out[4], out[5], out[6], out[7], out[8], out[9], out[10], out[11], out[12], out[13],
      out[14], out[15], out[16], out[17], out[18], out[19], out[20], out[21], out[22], out[23],
      out[24], out[25], in.ag, in.nAg, in.dt, in.periods.data, nT, in.m, in.frn, in.nFrn, in.uy,
      in.g);
  if (status != 0) {
    mexErrMsgTxt("Tillock::mexFunction - errors encountered during spectra generation\n");
    return;
  }
  gateway::storeStructure(plhs, kFields, kFieldNames, fields);
}

}  // namespace tillock
