// Morbane gateway: checks and reads the inputs, creates the 22 output arrays, runs the driver and
// returns them in one structure.
#include "morbane/gateway.h"

#include "core/gateway/arguments.h"
#include "morbane/driver.h"

namespace morbane {

namespace {

constexpr const char* kModule = "Morbane";
constexpr int kFields = 22;
const char* const kFieldNames[kFields] = {
    "pga",         "mass",        "zeta",     "T",      "f",      "dsp",      "vel",  "acc",
    "totAcc",      "psdVel",      "psdAcc",   "resDsp", "iFrc",   "dFrc",     "rFrc", "yieldDsp",
    "psdYieldVel", "psdYieldAcc", "yieldFrc", "RFact",  "muFact", "gammaFact"};

struct Inputs {
  const double* ag = nullptr;
  std::int32_t nAg = 0;
  double dt = 0.0;
  double m = 0.0;
  const double* zeta = nullptr;
  std::int32_t nZeta = 0;
  gateway::Periods periods;
  double kin = 0.0;
  double iso = 0.0;
  const char* method = nullptr;
  double para = 0.0;
};

bool readInputs(int nrhs, const mxArray* prhs[], Inputs& in, gateway::Failure& failure) {
  using gateway::Empty;
  if (!gateway::readVector(prhs[0], kModule, "ag", Empty::Rejected, &in.ag, &in.nAg, failure) ||
      !gateway::readScalar(prhs[1], kModule, "dt", &in.dt, failure) ||
      !gateway::readScalar(prhs[2], kModule, "m", &in.m, failure) ||
      !gateway::readVector(prhs[3], kModule, "zeta", Empty::Rejected, &in.zeta, &in.nZeta, failure))
    return false;
  const bool generated = nrhs == 11;
  if (!gateway::readPeriods(prhs, 4, generated, kModule, &in.periods, failure)) return false;
  const int rest = generated ? 7 : 5;  // kin, iso, method, para follow the periods
  if (!gateway::readScalar(prhs[rest], kModule, "kin", &in.kin, failure) ||
      !gateway::readScalar(prhs[rest + 1], kModule, "iso", &in.iso, failure) ||
      !gateway::readText(prhs[rest + 2], kModule, "method", &in.method, failure) ||
      !gateway::readScalar(prhs[rest + 3], kModule, "para", &in.para, failure))
    return false;
  // Whole-string comparisons on the host's NUL-terminated copy, so a text of any length is safe.
  if (strengthDefinition(in.method) == Strength::Unknown) {
    gateway::describe(failure, kModule, "invalid time domain analysis method received");
    return false;
  }
  return true;
}

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  if (nlhs != 1 || (nrhs != 9 && nrhs != 11)) {
    mexErrMsgTxt(
        "Morbane::mexFunction - wrong number of arguments received\n"
        "expecting: spectra = Morbane(ag,dt,m,zeta,T,kin,iso,method,para);\n");
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
  const std::int32_t status = getSpectra(
      out[0], out[4], out[5], out[6], out[7], out[8], out[9], out[10], out[11], out[12], out[13],
      out[14], out[15], out[16], out[17], out[18], out[19], out[20], out[21], in.ag, in.nAg, in.dt,
      in.periods.data, nT, in.m, in.zeta, in.nZeta, in.kin, in.iso, in.para, in.method);
  if (status != 0) {
    mexErrMsgTxt("Morbane::mexFunction - errors encountered during spectra generation\n");
    return;
  }
  gateway::storeStructure(plhs, kFields, kFieldNames, fields);
}

}  // namespace morbane
