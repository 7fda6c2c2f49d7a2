// Tillock's calling form and output structure, weight variant; the shared runner does the rest.
#include "tillock/gateway_weight.h"

#include "core/gateway/fields.h"
#include "core/gateway/runner.h"
#include "tillock/driver_weight.h"

namespace tillock::weight {

namespace {

// An empty frn (0 × 0) is allowed: the call then returns nT × 0 result fields.
constexpr std::array<gateway::Input<Inputs>, 6> kInputs = {{
    gateway::record("ag", &Inputs::ag),
    gateway::scalar("dt", &Inputs::dt),
    gateway::scalar("W", &Inputs::W),
    gateway::swept("frn", &Inputs::frn, gateway::Empty::Allowed),
    gateway::periods(&Inputs::periods),
    gateway::scalar("uy", &Inputs::uy),
}};

constexpr auto kFields = gateway::inelasticFields("W", "W", "frn");

constexpr auto kForm = gateway::makeForm("Tillock", kInputs, kFields, getSpectra);

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  gateway::run(kForm, nlhs, plhs, nrhs, prhs);
}

const gateway::Signature& signature() { return gateway::signatureOf<kForm>(); }

}  // namespace tillock::weight
