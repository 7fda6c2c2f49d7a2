// Daskent's calling form and output structure; the shared runner does the rest.
#include "daskent/gateway.h"

#include "core/gateway/fields.h"
#include "core/gateway/runner.h"
#include "daskent/driver.h"

namespace daskent {

namespace {

constexpr const char* kMethods[] = {"recform", "newmark", nullptr};

constexpr gateway::Input<Inputs> kInputs[] = {
    gateway::record("ag1", &Inputs::ag1),
    gateway::record("ag2", &Inputs::ag2),
    gateway::scalar("dt", &Inputs::dt),
    gateway::scalar("m", &Inputs::m),
    gateway::swept("zeta", &Inputs::zeta, gateway::Empty::Rejected),
    gateway::periods(&Inputs::periods),
    gateway::keyword("method", &Inputs::method, kMethods, true),
};

constexpr auto kFields = gateway::elasticFields("zeta");

constexpr auto kForm = gateway::makeForm("Daskent", kInputs, kFields, getSpectra);

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  gateway::run(kForm, nlhs, plhs, nrhs, prhs);
}

const gateway::Signature& signature() { return gateway::signatureOf<kForm>(); }

}  // namespace daskent
