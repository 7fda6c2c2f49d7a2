// Granwick's calling form and output structure; the shared runner does the rest.
#include "granwick/gateway.h"

#include "core/gateway/fields.h"
#include "core/gateway/runner.h"
#include "granwick/driver.h"
#include "tillock/form.h"

namespace granwick {

namespace {

constexpr auto kInputs = gateway::join(
    std::array{gateway::record("ag1", &Inputs::ag1), gateway::record("ag2", &Inputs::ag2)},
    tillock::frictionPendulumInputs<Inputs>());

constexpr auto kFields = gateway::isolatorFields("frn");

constexpr auto kForm = gateway::makeForm("Granwick", kInputs, kFields, getSpectra);

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  gateway::run(kForm, nlhs, plhs, nrhs, prhs);
}

const gateway::Signature& signature() { return gateway::signatureOf<kForm>(); }

}  // namespace granwick
