// Vintarrow gateway: checks and reads the inputs, creates the 26 output arrays, runs the driver
// and returns them in one structure.
#include "vintarrow/gateway.h"

#include "core/gateway/arguments.h"
#include "vintarrow/driver.h"

namespace vintarrow {

namespace {

constexpr const char* kModule = "Vintarrow";
constexpr int kFields = 26;
// clang-format off
const char* const kFieldNames[kFields] = {
    "pga", "mass", "Qd", "T", "f",
    "dsp", "vel", "acc", "totAcc", "psdVel", "psdAcc", "resDsp", "iFrc", "dFrc", "rFrc",
    "yieldDsp", "psdYieldVel", "psdYieldAcc", "yieldFrc", "muFact", "RFact", "gammaFact",
    "effT", "effZeta", "effRFact", "effGammaFact"};
// clang-format on

struct Inputs {
  const double* ag1 = nullptr;
  const double* ag2 = nullptr;
  std::int32_t nAg = 0;  // the shorter record's length
  double dt = 0.0;
  double m = 0.0;
  const double* Qd = nullptr;
  std::int32_t nQd = 0;
  gateway::Periods periods;
  double alpha = 0.0;
};

bool readInputs(int nrhs, const mxArray* prhs[], Inputs& in, gateway::Failure& failure) {
  using gateway::Empty;
  // A 0 × 0 Qd is a defined call: spectra with no strength columns.
  if (!gateway::readRecordPair(prhs, kModule, &in.ag1, &in.ag2, &in.nAg, failure) ||
      !gateway::readScalar(prhs[2], kModule, "dt", &in.dt, failure) ||
      !gateway::readScalar(prhs[3], kModule, "m", &in.m, failure) ||
      !gateway::readVector(prhs[4], kModule, "Qd", Empty::Allowed, &in.Qd, &in.nQd, failure))
    return false;
  const bool generated = nrhs == 9;
  if (!gateway::readPeriods(prhs, 5, generated, kModule, &in.periods, failure)) return false;
  // 0 ≤ alpha ≤ 1: the ends give infinite stiffness or strength (infinities and NaN in the
  // results); anything else, NaN included, would give numbers without physical meaning.
  return gateway::readFraction(prhs[nrhs - 1], kModule, "alpha", &in.alpha, failure);
}

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  if (nlhs != 1 || (nrhs != 7 && nrhs != 9)) {
    mexErrMsgTxt(
        "Vintarrow::mexFunction - wrong number of arguments received\n"
        "expecting: spectra = Vintarrow(ag1,ag2,dt,m,Qd,T,alpha);\n");
    return;
  }
  gateway::Failure failure;
  Inputs in;
  if (!readInputs(nrhs, prhs, in, failure)) {
    mexErrMsgTxt(failure.text);
    return;
  }
  // Records of different lengths are both cut to the shorter one.
  const std::int32_t nAg = in.nAg;

  const std::int32_t nT = in.periods.count;
  mxArray* fields[kFields];
  double* out[kFields];
  gateway::createOutputs(kFields, fields, out, prhs[3], prhs[4], in.nQd, prhs[5],
                         &in.periods);
  const std::int32_t status = getSpectra(
      out[0], out[4], out[5], out[6], out[7], out[8], out[9], out[10], out[11], out[12], out[13],
      out[14], out[15], out[16], out[17], out[18], out[19], out[20], out[21], out[22], out[23],
      out[24], out[25], in.ag1, in.ag2, nAg, in.dt, in.periods.data, nT, in.m, in.Qd, in.nQd,
      in.alpha);
  if (status != 0) {
    mexErrMsgTxt("Vintarrow::mexFunction - errors encountered during spectra generation\n");
    return;
  }
  gateway::storeStructure(plhs, kFields, kFieldNames, fields);
}

}  // namespace vintarrow
