// Pellory's calling form and output structure; the shared runner does the rest.
#include "pellory/gateway.h"

#include "core/gateway/fields.h"
#include "core/gateway/runner.h"
#include "pellory/driver.h"
#include "pellory/form.h"

namespace pellory {

namespace {

constexpr auto kInputs =
    gateway::join(std::array{gateway::record("ag", &Inputs::ag)}, leadRubberInputs<Inputs>());

constexpr auto kFields = gateway::isolatorFields("Qd");

constexpr auto kForm = gateway::makeForm("Pellory", kInputs, kFields, getSpectra);

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  gateway::run(kForm, nlhs, plhs, nrhs, prhs);
}

const gateway::Signature& signature() { return gateway::signatureOf<kForm>(); }

}  // namespace pellory
