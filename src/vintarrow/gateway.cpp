// Vintarrow's calling form and output structure; the shared runner does the rest.
#include "vintarrow/gateway.h"

#include "core/gateway/fields.h"
#include "core/gateway/runner.h"
#include "pellory/form.h"
#include "vintarrow/driver.h"

namespace vintarrow {

namespace {

constexpr auto kInputs = gateway::join(
    std::array{gateway::record("ag1", &Inputs::ag1), gateway::record("ag2", &Inputs::ag2)},
    pellory::leadRubberInputs<Inputs>());

constexpr auto kFields = gateway::isolatorFields("Qd");

constexpr auto kForm = gateway::makeForm("Vintarrow", kInputs, kFields, getSpectra);

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  gateway::run(kForm, nlhs, plhs, nrhs, prhs);
}

const gateway::Signature& signature() { return gateway::signatureOf<kForm>(); }

}  // namespace vintarrow
