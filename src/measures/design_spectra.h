// Target spectra to compare records with: the ASCE/SEI 7-16 and Eurocode 8 design spectra and a
// user table of (T, Sa) pairs, all giving the pseudo-spectral acceleration Sa [g] at period T [s].
#pragma once

#include <limits>
#include <string>
#include <vector>

namespace measures {

// A spectrum defined over a closed period range. sa() throws measures::Error for a period
// outside periodRange() or not finite.
class TargetSpectrum {
 public:
  virtual ~TargetSpectrum() = default;
  virtual double sa(double period) const = 0;           // Sa [g] at T [s]
  virtual double shortestPeriod() const { return 0.0; }  // [s]
  virtual double longestPeriod() const { return std::numeric_limits<double>::infinity(); }
  virtual std::string description() const = 0;  // one line for legends and summaries
};

// ASCE/SEI 7-16 §11.4.6 design response spectrum (5 % damping) from the design spectral
// accelerations SDS and SD1 [g] and the long-period transition period TL [s].
class Asce7Spectrum : public TargetSpectrum {
 public:
  // Error unless SDS > 0, SD1 > 0 and TL ≥ TS = SD1/SDS, all finite.
  Asce7Spectrum(double sds, double sd1, double tl);
  double sa(double period) const override;
  std::string description() const override;
  double t0() const { return t0_; }  // 0.2·SD1/SDS [s]
  double ts() const { return ts_; }  // SD1/SDS [s]

 private:
  double sds_, sd1_, tl_, t0_, ts_;
};

// EN 1998-1:2004 §3.2.2.2: spectrum type and ground type, with the recommended soil factor S
// and corner periods TB, TC, TD of its Tables 3.2 (Type 1) and 3.3 (Type 2).
enum class Eurocode8Type { type1, type2 };
enum class GroundType { A, B, C, D, E };

struct Eurocode8Corners {
  double s;   // soil factor
  double tb;  // [s] start of the constant-acceleration branch
  double tc;  // [s] start of the constant-velocity branch
  double td;  // [s] start of the constant-displacement branch
};

Eurocode8Corners eurocode8Corners(Eurocode8Type type, GroundType ground);

// "1"/"type1"/"Type 1" and "2"/..., and "A".."E" in either case; Error listing the choices.
Eurocode8Type parseEurocode8Type(const std::string& text);
GroundType parseGroundType(const std::string& text);

// Damping correction η = √(10/(5 + ξ)) ≥ 0.55, EN 1998-1 eq. (3.6), with ξ = 100·ζ the viscous
// damping in percent; η = 1 at ζ = 0.05. Error unless 0 ≤ ζ < 1.
double eurocode8DampingCorrection(double dampingRatio);

// EN 1998-1 §3.2.2.2 horizontal elastic response spectrum Se(T), eqs. (3.2)–(3.5), for
// 0 ≤ T ≤ 4 s. ag is the design ground acceleration on type A ground (γI·agR) in g, so Sa is
// in g; the damping is a ratio ζ (0.05 for 5 %), like every damping of this library.
class Eurocode8Spectrum : public TargetSpectrum {
 public:
  Eurocode8Spectrum(Eurocode8Type type, GroundType ground, double ag, double dampingRatio = 0.05);
  double sa(double period) const override;
  double longestPeriod() const override { return 4.0; }
  std::string description() const override;
  const Eurocode8Corners& corners() const { return corners_; }
  double eta() const { return eta_; }

 private:
  Eurocode8Type type_;
  GroundType ground_;
  double ag_, zeta_, eta_;
  Eurocode8Corners corners_;
};

// EN 1998-1 §3.2.2.5(4)P design spectrum Sd(T) for elastic analysis, eqs. (3.13)–(3.16), with
// behaviour factor q ≥ 1 and lower-bound factor β (recommended 0.2); ag in g as above. Its last
// branch holds for every T ≥ TD.
class Eurocode8DesignSpectrum : public TargetSpectrum {
 public:
  Eurocode8DesignSpectrum(Eurocode8Type type, GroundType ground, double ag, double q,
                          double beta = 0.2);
  double sa(double period) const override;
  std::string description() const override;

 private:
  Eurocode8Type type_;
  GroundType ground_;
  double ag_, q_, beta_;
  Eurocode8Corners corners_;
};

// A target given as rows of (T [s], Sa [g]), interpolated linearly in log T – log Sa between
// rows (straight on a log-log plot, as code spectra are). A first row at T = 0 (the peak ground
// acceleration) is allowed: log T has no zero, so from 0 to the next row Sa is linear in T.
// Periods outside the first and last rows are refused, never extrapolated.
class TableSpectrum : public TargetSpectrum {
 public:
  // source names the table in messages (a file name); rows are numbered from 1. Error unless
  // there are at least two rows, periods are finite, non-negative and strictly increasing, and
  // every Sa is finite and positive.
  TableSpectrum(std::vector<double> periods, std::vector<double> sa, std::string source);
  double sa(double period) const override;
  double shortestPeriod() const override { return periods_.front(); }
  double longestPeriod() const override { return periods_.back(); }
  std::string description() const override;

 private:
  std::vector<double> periods_, sa_;
  std::string source_;
};

}  // namespace measures
