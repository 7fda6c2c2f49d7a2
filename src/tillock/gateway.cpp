// Tillock's calling form and output structure; the shared runner does the rest.
#include "tillock/gateway.h"

#include "core/gateway/fields.h"
#include "core/gateway/runner.h"
#include "tillock/driver.h"

namespace tillock {

namespace {

// An empty frn (0 × 0) is allowed: the call then returns nT × 0 result fields.

constexpr gateway::Input<Inputs> kInputs[] = {
    gateway::record("ag", &Inputs::ag),
    gateway::scalar("dt", &Inputs::dt),
    gateway::scalar("m", &Inputs::m),
    gateway::scalar("g", &Inputs::g),
    gateway::swept("frn", &Inputs::frn, gateway::Empty::Allowed),
    gateway::periods(&Inputs::periods),
    gateway::scalar("uy", &Inputs::uy),
};

constexpr auto kFields = gateway::isolatorFields("frn");

constexpr auto kForm = gateway::makeForm("Tillock", kInputs, kFields, getSpectra);

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  gateway::run(kForm, nlhs, plhs, nrhs, prhs);
}

const gateway::Signature& signature() { return gateway::signatureOf<kForm>(); }

}  // namespace tillock
