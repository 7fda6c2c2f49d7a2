// The code design spectra and the tabulated target: parameters checked once, then Sa(T) by the
// branch formulas in the order the codes write them.
#include "measures/design_spectra.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "measures/error.h"

namespace measures {

namespace {

// Lower case without blanks, so that "Type 1" and "type1" read alike.
std::string folded(const std::string& text) {
  std::string out;
  for (const char c : text)
    if (!std::isspace(static_cast<unsigned char>(c)))
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

void requirePositive(const std::string& spectrum, const std::string& what, double value,
                     const std::string& unit) {
  if (!(std::isfinite(value) && value > 0.0))
    throw Error(fmt::format("{}: {} = {:g}{} must be positive", spectrum, what, value, unit));
}

// Every spectrum refuses a period that is not a number, or lies before its first or beyond its
// last branch.
void requirePeriodWithin(const TargetSpectrum& spectrum, double period) {
  if (std::isnan(period))
    throw Error(fmt::format("{}: period T = {:g} s is not a number", spectrum.description(),
                            period));
  if (period >= spectrum.shortestPeriod() && period <= spectrum.longestPeriod()) return;
  const std::string defined =
      std::isinf(spectrum.longestPeriod())
          ? fmt::format("T ≥ {:g} s", spectrum.shortestPeriod())
          : fmt::format("T = {:g} to {:g} s", spectrum.shortestPeriod(), spectrum.longestPeriod());
  throw Error(fmt::format("{}: period T = {:g} s lies outside the periods it defines ({}); "
                          "choose periods within them",
                          spectrum.description(), period, defined));
}

const char* groundName(GroundType ground) {
  static const std::array<const char*, 5> names = {"A", "B", "C", "D", "E"};
  return names[static_cast<std::size_t>(ground)];
}

int typeNumber(Eurocode8Type type) { return type == Eurocode8Type::type1 ? 1 : 2; }

}  // namespace

// --- ASCE/SEI 7-16 ----------------------------------------------------------------------------

Asce7Spectrum::Asce7Spectrum(double sds, double sd1, double tl)
    : sds_(sds), sd1_(sd1), tl_(tl), t0_(0.0), ts_(0.0) {
  const std::string name = "ASCE 7-16 design spectrum";
  requirePositive(name, "SDS", sds, " g");
  requirePositive(name, "SD1", sd1, " g");
  requirePositive(name, "TL", tl, " s");
  t0_ = 0.2 * sd1_ / sds_;
  ts_ = sd1_ / sds_;
  if (tl_ < ts_)
    throw Error(fmt::format("{}: TL = {:g} s is shorter than TS = SD1/SDS = {:g} s; the "
                            "long-period transition period (4 to 16 s on the maps) must not "
                            "be shorter than TS",
                            name, tl_, ts_));
}

// Sa [g] of ASCE/SEI 7-16 §11.4.6: the ramp of eq. (11.4-5) from 0.4·SDS at T = 0 to SDS at
// T0, the plateau SDS to TS, then SD1/T (eq. 11.4-6) to TL and SD1·TL/T² (eq. 11.4-7) beyond.
double Asce7Spectrum::sa(double period) const {
  requirePeriodWithin(*this, period);
  if (period < t0_) return sds_ * (0.4 + 0.6 * period / t0_);
  if (period <= ts_) return sds_;
  if (period <= tl_) return sd1_ / period;
  return sd1_ * tl_ / (period * period);
}

std::string Asce7Spectrum::description() const {
  return fmt::format("ASCE 7-16 design spectrum (SDS = {:g} g, SD1 = {:g} g, TL = {:g} s)", sds_,
                     sd1_, tl_);
}

// --- Eurocode 8 -------------------------------------------------------------------------------

// Recommended values of EN 1998-1:2004 Table 3.2 (Type 1) and Table 3.3 (Type 2).
Eurocode8Corners eurocode8Corners(Eurocode8Type type, GroundType ground) {
  static const std::array<Eurocode8Corners, 5> type1 = {{{1.00, 0.15, 0.40, 2.0},
                                                         {1.20, 0.15, 0.50, 2.0},
                                                         {1.15, 0.20, 0.60, 2.0},
                                                         {1.35, 0.20, 0.80, 2.0},
                                                         {1.40, 0.15, 0.50, 2.0}}};
  static const std::array<Eurocode8Corners, 5> type2 = {{{1.00, 0.05, 0.25, 1.2},
                                                         {1.35, 0.05, 0.25, 1.2},
                                                         {1.50, 0.10, 0.25, 1.2},
                                                         {1.80, 0.10, 0.30, 1.2},
                                                         {1.60, 0.05, 0.25, 1.2}}};
  const auto index = static_cast<std::size_t>(ground);
  return type == Eurocode8Type::type1 ? type1[index] : type2[index];
}

Eurocode8Type parseEurocode8Type(const std::string& text) {
  const std::string key = folded(text);
  if (key == "1" || key == "type1") return Eurocode8Type::type1;
  if (key == "2" || key == "type2") return Eurocode8Type::type2;
  throw Error("unknown Eurocode 8 spectrum type '" + text +
              "' (choose 1 for earthquakes of surface-wave magnitude above 5.5, otherwise 2)");
}

GroundType parseGroundType(const std::string& text) {
  const std::string key = folded(text);
  if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'e')
    return static_cast<GroundType>(key[0] - 'a');
  throw Error("unknown Eurocode 8 ground type '" + text +
              "' (choose A, B, C, D or E; ground types S1 and S2 need a site-specific spectrum)");
}

double eurocode8DampingCorrection(double dampingRatio) {
  if (!(std::isfinite(dampingRatio) && dampingRatio >= 0.0 && dampingRatio < 1.0))
    throw Error(fmt::format("Eurocode 8 damping correction: damping ratio ζ = {:g} must lie in "
                            "[0, 1) (0.05 for 5 %)",
                            dampingRatio));
  const double xi = 100.0 * dampingRatio;  // viscous damping in percent, as eq. (3.6) takes it
  return std::max(std::sqrt(10.0 / (5.0 + xi)), 0.55);
}

Eurocode8Spectrum::Eurocode8Spectrum(Eurocode8Type type, GroundType ground, double ag,
                                     double dampingRatio)
    : type_(type),
      ground_(ground),
      ag_(ag),
      zeta_(dampingRatio),
      eta_(eurocode8DampingCorrection(dampingRatio)),
      corners_(eurocode8Corners(type, ground)) {
  requirePositive("Eurocode 8 elastic spectrum", "ag", ag, " g");
}

// Se [g] of EN 1998-1 eqs. (3.2)–(3.5): the ramp from ag·S at T = 0 to 2.5·η·ag·S at TB, the
// plateau to TC, then falling as TC/T to TD and as TC·TD/T² to 4 s.
double Eurocode8Spectrum::sa(double period) const {
  requirePeriodWithin(*this, period);
  const auto& [s, tb, tc, td] = corners_;
  if (period <= tb) return ag_ * s * (1.0 + period / tb * (eta_ * 2.5 - 1.0));
  if (period <= tc) return ag_ * s * eta_ * 2.5;
  if (period <= td) return ag_ * s * eta_ * 2.5 * (tc / period);
  return ag_ * s * eta_ * 2.5 * (tc * td / (period * period));
}

std::string Eurocode8Spectrum::description() const {
  return fmt::format("EN 1998-1 Type {} elastic spectrum (ground type {}, ag = {:g} g, ζ = {:g} %)",
                     typeNumber(type_), groundName(ground_), ag_, 100.0 * zeta_);
}

Eurocode8DesignSpectrum::Eurocode8DesignSpectrum(Eurocode8Type type, GroundType ground,
                                                 double ag, double q, double beta)
    : type_(type), ground_(ground), ag_(ag), q_(q), beta_(beta),
      corners_(eurocode8Corners(type, ground)) {
  const std::string name = "Eurocode 8 design spectrum";
  requirePositive(name, "ag", ag, " g");
  if (!(std::isfinite(q) && q >= 1.0))
    throw Error(fmt::format("{}: behaviour factor q = {:g} must be at least 1", name, q));
  if (!(std::isfinite(beta) && beta >= 0.0))
    throw Error(fmt::format("{}: lower-bound factor β = {:g} must not be negative (0.2 is "
                            "recommended)",
                            name, beta));
}

// Sd [g] of EN 1998-1 eqs. (3.13)–(3.16): from 2/3·ag·S at T = 0 to 2.5/q·ag·S at TB, the
// plateau to TC, then the TC/T and TC·TD/T² branches, never below β·ag.
double Eurocode8DesignSpectrum::sa(double period) const {
  requirePeriodWithin(*this, period);
  const auto& [s, tb, tc, td] = corners_;
  if (period <= tb) return ag_ * s * (2.0 / 3.0 + period / tb * (2.5 / q_ - 2.0 / 3.0));
  if (period <= tc) return ag_ * s * 2.5 / q_;
  if (period <= td) return std::max(ag_ * s * 2.5 / q_ * (tc / period), beta_ * ag_);
  return std::max(ag_ * s * 2.5 / q_ * (tc * td / (period * period)), beta_ * ag_);
}

std::string Eurocode8DesignSpectrum::description() const {
  return fmt::format("EN 1998-1 Type {} design spectrum (ground type {}, ag = {:g} g, q = {:g})",
                     typeNumber(type_), groundName(ground_), ag_, q_);
}

// --- Tabulated target -------------------------------------------------------------------------

TableSpectrum::TableSpectrum(std::vector<double> periods, std::vector<double> sa,
                             std::string source)
    : periods_(std::move(periods)), sa_(std::move(sa)), source_(std::move(source)) {
  if (periods_.size() != sa_.size())
    throw Error(fmt::format("target spectrum {}: {} periods but {} values of Sa", source_,
                            periods_.size(), sa_.size()));
  if (periods_.size() < 2)
    throw Error(fmt::format("target spectrum {}: {} row(s); a target table needs at least two "
                            "rows of period T [s] and Sa [g]",
                            source_, periods_.size()));
  for (std::size_t row = 0; row < periods_.size(); ++row) {
    const double period = periods_[row];
    if (!(std::isfinite(period) && period >= 0.0))
      throw Error(fmt::format("target spectrum {}, row {}: period T = {:g} s must be a "
                              "non-negative number",
                              source_, row + 1, period));
    if (row > 0 && !(period > periods_[row - 1]))
      throw Error(fmt::format("target spectrum {}, row {}: period T = {:g} s does not follow "
                              "T = {:g} s; periods must increase strictly from row to row",
                              source_, row + 1, period, periods_[row - 1]));
    if (!(std::isfinite(sa_[row]) && sa_[row] > 0.0))
      throw Error(fmt::format("target spectrum {}, row {}: Sa = {:g} g must be positive",
                              source_, row + 1, sa_[row]));
  }
}

// Sa [g] between the rows around T: a row's own value at its period; from a row at T = 0,
// linear in T; otherwise linear in ln T – ln Sa.
double TableSpectrum::sa(double period) const {
  requirePeriodWithin(*this, period);
  const auto above = std::lower_bound(periods_.begin(), periods_.end(), period);
  const auto upper = static_cast<std::size_t>(above - periods_.begin());
  if (periods_[upper] == period) return sa_[upper];
  const std::size_t lower = upper - 1;
  const double t0 = periods_[lower], t1 = periods_[upper];
  const double s0 = sa_[lower], s1 = sa_[upper];
  if (t0 == 0.0) return s0 + (s1 - s0) * (period / t1);
  const double fraction = (std::log(period) - std::log(t0)) / (std::log(t1) - std::log(t0));
  return std::exp(std::log(s0) + fraction * (std::log(s1) - std::log(s0)));
}

std::string TableSpectrum::description() const {
  return fmt::format("target spectrum {}", source_);
}

}  // namespace measures
