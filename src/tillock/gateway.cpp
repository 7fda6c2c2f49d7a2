// Tillock's calling form and output structure; the shared runner does the rest.
#include "tillock/gateway.h"

#include "core/gateway/fields.h"
#include "core/gateway/runner.h"
#include "tillock/driver.h"
#include "tillock/form.h"

namespace tillock {

namespace {

constexpr auto kInputs =
    gateway::join(std::array{gateway::record("ag", &Inputs::ag)}, frictionPendulumInputs<Inputs>());

constexpr auto kFields = gateway::isolatorFields("frn");

constexpr auto kForm = gateway::makeForm("Tillock", kInputs, kFields, getSpectra);

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  gateway::run(kForm, nlhs, plhs, nrhs, prhs);
}

const gateway::Signature& signature() { return gateway::signatureOf<kForm>(); }

}  // namespace tillock
