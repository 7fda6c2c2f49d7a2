// Vintarrow's calling form and output structure; the shared runner does the rest.
#include "vintarrow/gateway.h"

#include "core/gateway/fields.h"
#include "core/gateway/runner.h"
#include "vintarrow/driver.h"

namespace vintarrow {

namespace {

// A 0 × 0 Qd is a defined call: spectra with no strength columns. 0 ≤ alpha ≤ 1, as for Pellory.

constexpr gateway::Input<Inputs> kInputs[] = {
    gateway::record("ag1", &Inputs::ag1),
    gateway::record("ag2", &Inputs::ag2),
    gateway::scalar("dt", &Inputs::dt),
    gateway::scalar("m", &Inputs::m),
    gateway::swept("Qd", &Inputs::Qd, gateway::Empty::Allowed),
    gateway::periods(&Inputs::periods),
    gateway::fraction("alpha", &Inputs::alpha),
};

constexpr auto kFields = gateway::isolatorFields("Qd");

constexpr auto kForm = gateway::makeForm("Vintarrow", kInputs, kFields, getSpectra);

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  gateway::run(kForm, nlhs, plhs, nrhs, prhs);
}

const gateway::Signature& signature() { return gateway::signatureOf<kForm>(); }

}  // namespace vintarrow
