// Response histories of one oscillator of any module, whose peaks are the module's own outputs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace measures {

// The seven modules, with Tillock's two calling variants.
enum class ModuleKind {
  Quorvel,        // elastic
  Daskent,        // elastic, two components
  Morbane,        // inelastic with hardening
  Tillock,        // friction pendulum, mass and gravity
  TillockWeight,  // friction pendulum, weight variant (in/s², g = 386.1)
  Granwick,       // friction pendulum, two components
  Pellory,        // lead-rubber bearing
  Vintarrow,      // lead-rubber bearing, two components
};

// True for the modules that take two horizontal components.
bool isTwoComponent(ModuleKind module);

// One call of a module: what its calling form takes, in the unit of its record. Only the members
// the module uses are read.
struct ModuleCall {
  ModuleKind module = ModuleKind::Quorvel;
  std::vector<double> ag1;         // ag, or the first horizontal component
  std::vector<double> ag2;         // the second horizontal component
  double dt = 0.0;                 // step of the record(s) [s]
  std::vector<double> periods;     // T [s], as the call's "T" output lists them
  std::vector<double> swept;       // damping ratios ζ, friction coefficients μ or strengths Qd
  double mass = 1.0;               // m (all but Tillock's weight variant)
  double weight = 0.0;             // W (Tillock's weight variant)
  double gravity = 0.0;            // g (Tillock, Granwick)
  std::string method = "recform";  // Quorvel, Daskent: "recform" or "newmark"
  double kin = 0.0;                // Morbane: kinematic hardening ratio
  double iso = 0.0;                // Morbane: isotropic hardening ratio
  std::string strength;            // Morbane: strength keyword ("fy", "uy", "R", "mu", long forms)
  double para = 0.0;               // Morbane: its value
  double uy = 0.0;                 // Tillock, Granwick: pre-sliding displacement
  double alpha = 0.0;              // Pellory, Vintarrow: post-yield to elastic stiffness ratio
};

// The time series of one component of the oscillator, one value per sample.
struct ComponentHistory {
  std::vector<double> displacement;       // u, relative to the ground
  std::vector<double> velocity;           // v = u̇
  std::vector<double> acceleration;       // a = ü, relative
  std::vector<double> totalAcceleration;  // a + ag while the record lasts, a after it
  std::vector<double> restoringForce;     // fs
};

// The histories of one oscillator: sample s is at time s·dt; the first recordSamples samples are
// under ground motion, the rest is free vibration with the ground at rest.
struct ResponseHistory {
  double period = 0.0;      // T [s]
  double sweptValue = 0.0;  // ζ, μ or Qd
  double dt = 0.0;          // [s]
  std::int32_t recordSamples = 0;
  // Morbane: the yield force the final analysis used (the call's "yieldFrc"); NaN otherwise.
  double yieldForce = 0.0;
  // True when the period or the value is not in the call's lists, so the oscillator was analysed
  // in a call of that one period and value (whose outputs its peaks then equal).
  bool ownCall = false;
  std::vector<ComponentHistory> components;  // one, or two for the two-component modules

  std::size_t samples() const { return components.front().displacement.size(); }
};

// The history of oscillator (period i, swept value j) of the call, over the samples the module's
// driver analyses it (elastic and inelastic: the record plus a free-vibration tail that depends on
// every period and damping ratio of the call; isolators: twice the record), by the module's own
// analysis of one oscillator (src/<module>/oscillator.h), so that the peak of |u| (of the
// resultant core::magnitude(u1, u2) for two components) is the module's "dsp" bit for bit, and
// the peak of |fs| its "rFrc". yieldForce is Morbane's: the call's "yieldFrc" of (i, j).
//
// Throws measures::Error when an index is out of range, for a record shorter than two samples or
// a step that is not positive, an unknown method keyword, and when the analysis does not
// converge (the module leaves that oscillator's outputs at zero; the module's warning is quoted).
ResponseHistory oscillatorHistory(const ModuleCall& call, std::int32_t i, std::int32_t j,
                                  double yieldForce = 0.0);

// The call that analyses exactly one period and one swept value, all else as in `call`.
ModuleCall singleOscillatorCall(const ModuleCall& call, double period, double value);

// Morbane's "yieldFrc" output (nT × nSwept, period i and value j at i + j·nT) of the call, from
// its driver. Throws measures::Error with the module's warning when the call fails (a ductility
// search that does not converge).
std::vector<double> morbaneYieldForces(const ModuleCall& call);

// The history of the oscillator of the given period [s] and swept value. When both are in the
// call's lists (bit for bit), it is that oscillator of the call; otherwise it is the oscillator of
// singleOscillatorCall(call, period, value) and ownCall is set. Morbane's yield force comes from
// callYieldForces (the call's "yieldFrc", when the caller has it) or from running the module on
// the call the oscillator belongs to, so every strength definition, the ductility search
// included, gives the module's own oscillator.
ResponseHistory responseHistory(const ModuleCall& call, double period, double value,
                                const std::vector<double>& callYieldForces = {});

}  // namespace measures
