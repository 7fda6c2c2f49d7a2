// The meaning of every field and input of the modules, in the words of structural dynamics.
#include "core/spectra/quantities.h"

namespace core {

namespace {

using Q = Quantity;

constexpr QuantityInfo kAll[] = {
    {"pga", Q::Acceleration, "PGA", "peak ground acceleration"},
    {"mass", Q::Mass, "m", "mass"},
    {"m", Q::Mass, "m", "mass"},
    {"W", Q::Force, "W", "weight"},
    {"g", Q::Acceleration, "g", "acceleration of gravity"},
    {"dt", Q::Period, "Δt", "time step"},
    {"para", Q::Ratio, "", "value of the strength definition"},
    {"zeta", Q::Ratio, "ζ", "damping ratio"},
    {"frn", Q::Ratio, "μ", "friction coefficient"},
    {"Qd", Q::Force, "Qd", "characteristic strength"},
    {"alpha", Q::Ratio, "α", "post-yield to elastic stiffness ratio"},
    {"uy", Q::Displacement, "uy", "yield displacement"},
    {"kin", Q::Ratio, "kin", "kinematic hardening ratio"},
    {"iso", Q::Ratio, "iso", "isotropic hardening ratio"},
    {"T", Q::Period, "T", "period"},
    {"f", Q::Frequency, "f", "frequency"},
    {"dsp", Q::Displacement, "Sd", "spectral displacement"},
    {"vel", Q::Velocity, "Sv", "peak relative velocity"},
    {"acc", Q::Acceleration, "a", "peak relative acceleration"},
    {"totAcc", Q::Acceleration, "A", "peak total acceleration"},
    {"psdVel", Q::Velocity, "PSV", "pseudo-spectral velocity"},
    {"psdAcc", Q::Acceleration, "Sa", "pseudo-spectral acceleration"},
    {"resDsp", Q::Displacement, "ures", "residual displacement"},
    {"iFrc", Q::Force, "FI", "peak inertial force"},
    {"dFrc", Q::Force, "FD", "peak damping force"},
    {"rFrc", Q::Force, "FS", "peak restoring force"},
    {"yieldDsp", Q::Displacement, "uy", "yield displacement"},
    {"psdYieldVel", Q::Velocity, "Vy", "pseudo-velocity at yield"},
    {"psdYieldAcc", Q::Acceleration, "Ay", "yield strength per unit mass"},
    {"yieldFrc", Q::Force, "fy", "yield strength"},
    {"RFact", Q::Ratio, "R", "strength reduction factor"},
    {"muFact", Q::Ratio, "μΔ", "ductility factor"},
    {"gammaFact", Q::Ratio, "γ", "displacement ratio to the elastic system"},
    {"effT", Q::Period, "Teff", "effective period"},
    {"effZeta", Q::Ratio, "ζeff", "effective damping ratio"},
    {"effRFact", Q::Ratio, "Reff", "force ratio of the equivalent linear system"},
    {"effGammaFact", Q::Ratio, "γeff", "displacement ratio to the equivalent linear system"},
};

}  // namespace

const QuantityInfo* quantityOf(const std::string& name) {
  for (const QuantityInfo& info : kAll)
    if (name == info.name) return &info;
  return nullptr;
}

}  // namespace core
