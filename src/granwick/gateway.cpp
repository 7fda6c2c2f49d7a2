// Granwick's calling form and output structure; the shared runner does the rest.
#include "granwick/gateway.h"

#include "core/gateway/fields.h"
#include "core/gateway/runner.h"
#include "granwick/driver.h"

namespace granwick {

namespace {

// An empty frn (0 × 0) is allowed: the call then returns nT × 0 result fields.

constexpr gateway::Input<Inputs> kInputs[] = {
    gateway::record("ag1", &Inputs::ag1),
    gateway::record("ag2", &Inputs::ag2),
    gateway::scalar("dt", &Inputs::dt),
    gateway::scalar("m", &Inputs::m),
    gateway::scalar("g", &Inputs::g),
    gateway::swept("frn", &Inputs::frn, gateway::Empty::Allowed),
    gateway::periods(&Inputs::periods),
    gateway::scalar("uy", &Inputs::uy),
};

constexpr auto kFields = gateway::isolatorFields("frn");

constexpr auto kForm = gateway::makeForm("Granwick", kInputs, kFields, getSpectra);

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  gateway::run(kForm, nlhs, plhs, nrhs, prhs);
}

const gateway::Signature& signature() { return gateway::signatureOf<kForm>(); }

}  // namespace granwick
