// Morbane's calling form and output structure; the shared runner does the rest.
#include "morbane/gateway.h"

#include "core/gateway/fields.h"
#include "core/gateway/runner.h"
#include "morbane/driver.h"

namespace morbane {

namespace {

constexpr const char* kStrengths[] = {"yieldStrength",
                                      "fy",
                                      "yieldDisplacement",
                                      "uy",
                                      "strengthReductionFactor",
                                      "R",
                                      "ductilityFactor",
                                      "mu",
                                      nullptr};

constexpr std::array<gateway::Input<Inputs>, 9> kInputs = {{
    gateway::record("ag", &Inputs::ag),
    gateway::scalar("dt", &Inputs::dt),
    gateway::scalar("m", &Inputs::m),
    gateway::swept("zeta", &Inputs::zeta, gateway::Empty::Rejected),
    gateway::periods(&Inputs::periods),
    gateway::scalar("kin", &Inputs::kin),
    gateway::scalar("iso", &Inputs::iso),
    gateway::keyword("method", &Inputs::method, kStrengths, false),
    gateway::scalar("para", &Inputs::para),
}};

constexpr auto kFields = gateway::inelasticFields("mass", "m", "zeta");

constexpr auto kForm = gateway::makeForm("Morbane", kInputs, kFields, getSpectra);

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  gateway::run(kForm, nlhs, plhs, nrhs, prhs);
}

const gateway::Signature& signature() { return gateway::signatureOf<kForm>(); }

}  // namespace morbane
