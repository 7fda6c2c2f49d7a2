// Quorvel's calling form and output structure; the shared runner does the rest.
#include "quorvel/gateway.h"

#include "core/gateway/fields.h"
#include "core/gateway/runner.h"
#include "quorvel/driver.h"

namespace quorvel {

namespace {

constexpr const char* kMethods[] = {"recform", "newmark", nullptr};

constexpr gateway::Input<Inputs> kInputs[] = {
    gateway::record("ag", &Inputs::ag),
    gateway::scalar("dt", &Inputs::dt),
    gateway::scalar("m", &Inputs::m),
    gateway::swept("zeta", &Inputs::zeta, gateway::Empty::Rejected),
    gateway::periods(&Inputs::periods),
    gateway::keyword("method", &Inputs::method, kMethods, true),
};

constexpr auto kFields = gateway::elasticFields("zeta");

constexpr auto kForm = gateway::makeForm("Quorvel", kInputs, kFields, getSpectra);

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  gateway::run(kForm, nlhs, plhs, nrhs, prhs);
}

const gateway::Signature& signature() { return gateway::signatureOf<kForm>(); }

}  // namespace quorvel
