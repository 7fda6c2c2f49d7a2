// Quorvel gateway: checks and reads the inputs, creates the 15 output arrays, runs the driver and
// returns them in one structure.
#include "quorvel/gateway.h"

#include <cstring>

#include "core/gateway/arguments.h"
#include "quorvel/driver.h"

namespace quorvel {

namespace {

constexpr const char* kModule = "Quorvel";
constexpr int kFields = 15;
const char* const kFieldNames[kFields] = {"pga",    "mass",   "zeta",   "T",      "f",
                                          "dsp",    "vel",    "acc",    "totAcc", "psdVel",
                                          "psdAcc", "resDsp", "iFrc",   "dFrc",   "rFrc"};

struct Inputs {
  const double* ag = nullptr;
  std::int32_t nAg = 0;
  double dt = 0.0;
  double m = 0.0;
  const double* zeta = nullptr;
  std::int32_t nZeta = 0;
  gateway::Periods periods;
  const char* method = "recform";
};

bool readInputs(int nrhs, const mxArray* prhs[], Inputs& in, gateway::Failure& failure) {
  using gateway::Empty;
  if (!gateway::readVector(prhs[0], kModule, "ag", Empty::Rejected, &in.ag, &in.nAg, failure) ||
      !gateway::readScalar(prhs[1], kModule, "dt", &in.dt, failure) ||
      !gateway::readScalar(prhs[2], kModule, "m", &in.m, failure) ||
      !gateway::readVector(prhs[3], kModule, "zeta", Empty::Rejected, &in.zeta, &in.nZeta,
                           failure))
    return false;
  const bool generated = nrhs >= 7;
  if (!gateway::readPeriods(prhs, 4, generated, kModule, &in.periods, failure)) return false;
  if (nrhs == 6 || nrhs == 8) {
    if (!gateway::readText(prhs[nrhs - 1], kModule, "method", &in.method, failure)) return false;
    if (std::strcmp(in.method, "recform") != 0 && std::strcmp(in.method, "newmark") != 0) {
      gateway::describe(failure, kModule, "invalid time domain analysis method received");
      return false;
    }
  }
  return true;
}

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  if (nlhs != 1 || nrhs < 5 || nrhs > 8) {
    mexErrMsgTxt(
        "Quorvel::mexFunction - wrong number of arguments received\n"
        "expecting: spectra = Quorvel(ag,dt,m,zeta,T);\n");
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
  gateway::createOutputs(kFields, fields, out, prhs[2], prhs[3], in.nZeta, prhs[4],
                         &in.periods);
  const std::int32_t status =
      getSpectra(out[0], out[4], out[5], out[6], out[7], out[8], out[9], out[10], out[11],
                 out[12], out[13], out[14], in.ag, in.nAg, in.dt, in.periods.data, nT, in.m,
                 in.zeta, in.nZeta, in.method);
  if (status != 0) {
    mexErrMsgTxt("Quorvel::mexFunction - errors encountered during spectra generation\n");
    return;
  }
  gateway::storeStructure(plhs, kFields, kFieldNames, fields);
}

}  // namespace quorvel
