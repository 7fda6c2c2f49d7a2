// Daskent's calling form and output structure; the shared runner does the rest.
#include "daskent/gateway.h"

#include "core/gateway/fields.h"
#include "core/gateway/runner.h"
#include "daskent/driver.h"
#include "quorvel/form.h"

namespace daskent {

namespace {

constexpr auto kInputs = gateway::join(
    std::array{gateway::record("ag1", &Inputs::ag1), gateway::record("ag2", &Inputs::ag2)},
    quorvel::elasticInputs<Inputs>());

constexpr auto kFields = gateway::elasticFields("zeta");

constexpr auto kForm = gateway::makeForm("Daskent", kInputs, kFields, getSpectra);

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  gateway::run(kForm, nlhs, plhs, nrhs, prhs);
}

const gateway::Signature& signature() { return gateway::signatureOf<kForm>(); }

}  // namespace daskent
