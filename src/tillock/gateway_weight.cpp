// Tillock gateway (weight): checks and reads the inputs, creates the 22 output arrays, runs the
// driver and returns them in one structure.
#include "tillock/gateway_weight.h"

#include "core/gateway/arguments.h"
#include "tillock/driver_weight.h"

namespace tillock::weight {

namespace {

constexpr const char* kModule = "Tillock";
constexpr int kFields = 22;
const char* const kFieldNames[kFields] = {
    "pga",    "W",      "frn",         "T",           "f",        "dsp",   "vel",   "acc",
    "totAcc", "psdVel", "psdAcc",      "resDsp",      "iFrc",     "dFrc",  "rFrc",  "yieldDsp",
    "psdYieldVel", "psdYieldAcc", "yieldFrc", "RFact", "muFact", "gammaFact"};

struct Inputs {
  const double* ag = nullptr;
  std::int32_t nAg = 0;
  double dt = 0.0;
  double W = 0.0;
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
      !gateway::readScalar(prhs[2], kModule, "W", &in.W, failure) ||
      !gateway::readVector(prhs[3], kModule, "frn", Empty::Allowed, &in.frn, &in.nFrn, failure))
    return false;
  const bool generated = nrhs == 8;
  if (!gateway::readPeriods(prhs, 4, generated, kModule, &in.periods, failure)) return false;
  return gateway::readScalar(prhs[nrhs - 1], kModule, "uy", &in.uy, failure);
}

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  if (nlhs != 1 || (nrhs != 6 && nrhs != 8)) {
    mexErrMsgTxt(
        "Tillock::mexFunction - wrong number of arguments received\n"
        "expecting: spectra = Tillock(ag,dt,W,frn,T,uy);\n");
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
  gateway::createOutputs(kFields, fields, out, prhs[2], prhs[3], in.nFrn, prhs[4],
                         &in.periods);
  const std::int32_t status = getSpectra(
      out[0], out[4], out[5], out[6], out[7], out[8], out[9], out[10], out[11], out[12], out[13],
      out[14], out[15], out[16], out[17], out[18], out[19], out[20], out[21], in.ag, in.nAg,
      in.dt, in.periods.data, nT, in.W, in.frn, in.nFrn, in.uy, kGravity);
  if (status != 0) {
    mexErrMsgTxt("Tillock::mexFunction - errors encountered during spectra generation\n");
    return;
  }
  gateway::storeStructure(plhs, kFields, kFieldNames, fields);
}

}  // namespace tillock::weight
