// Quorvel's calling form and output structure; the shared runner does the rest.
#include "quorvel/gateway.h"

#include "core/gateway/fields.h"
#include "core/gateway/runner.h"
#include "quorvel/driver.h"
#include "quorvel/form.h"

namespace quorvel {

namespace {

constexpr auto kInputs =
    gateway::join(std::array{gateway::record("ag", &Inputs::ag)}, elasticInputs<Inputs>());

constexpr auto kFields = gateway::elasticFields("zeta");

constexpr auto kForm = gateway::makeForm("Quorvel", kInputs, kFields, getSpectra);

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  gateway::run(kForm, nlhs, plhs, nrhs, prhs);
}

const gateway::Signature& signature() { return gateway::signatureOf<kForm>(); }

}  // namespace quorvel
