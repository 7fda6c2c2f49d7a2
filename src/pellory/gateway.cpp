// Pellory's calling form and output structure; the shared runner does the rest.
#include "pellory/gateway.h"

#include "core/gateway/fields.h"
#include "core/gateway/runner.h"
#include "pellory/driver.h"

namespace pellory {

namespace {

// A 0 × 0 Qd is a defined call: spectra with no strength columns. 0 ≤ alpha ≤ 1: the ends give
// infinite stiffness or strength (infinities and NaN in the results); anything else, NaN
// included, would give numbers without physical meaning.
constexpr gateway::Input<Inputs> kInputs[] = {
    gateway::record("ag", &Inputs::ag), gateway::scalar("dt", &Inputs::dt),
    gateway::scalar("m", &Inputs::m),   gateway::swept("Qd", &Inputs::Qd, gateway::Empty::Allowed),
    gateway::periods(&Inputs::periods), gateway::fraction("alpha", &Inputs::alpha),
};

constexpr auto kFields = gateway::isolatorFields("Qd");

constexpr auto kForm = gateway::makeForm("Pellory", kInputs, kFields, getSpectra);

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  gateway::run(kForm, nlhs, plhs, nrhs, prhs);
}

const gateway::Signature& signature() { return gateway::signatureOf<kForm>(); }

}  // namespace pellory
