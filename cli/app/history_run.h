// --history: response histories of chosen oscillators of a run, written beside its outputs.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/app/error.h"
#include "cli/app/measure_targets.h"
#include "cli/writers/history_writer.h"
#include "measures/histories.h"

namespace cli {

// One --history: a period and, when given, the swept value (for the lead-rubber modules possibly
// as a share of the weight, Qd/W).
struct HistoryRequest {
  double period = 0.0;
  std::optional<double> value;
  bool valueIsWeightShare = false;
};

// "T=1.5" or "T=1.5,zeta=0.02" (the key of the swept value is the module's: zeta, frn or Qd, in
// any letter case; "Qd/W=0.05" for a strength as a share of the weight). An Error naming
// --history for anything else.
HistoryRequest parseHistoryRequest(const std::string& text, const std::string& swept);

// Where the histories of a run come from.
struct HistorySource {
  measures::ModuleCall call;
  // The inelastic module: the call's yield forces (nT × nSwept), and, by the largest-strength
  // rule, the yield force of an oscillator outside the call's lists (otherwise the module's own
  // call of that oscillator gives it).
  std::vector<double> yieldForces;
  std::function<double(double period, double value)> ownYieldForce;
  // The lead-rubber modules run with --qd-ratio: the shares of the weight of call.swept.
  std::vector<double> weightShares;
  HistoryDescription description;  // ground is filled in from the call
};

// The history of a request in the source: a period or value within 1e-9 (relative) of one of
// the call's is taken as that one.
measures::ResponseHistory historyOf(const HistorySource& source, const HistoryRequest& request);

// An oscillator that has no history: the module left it at zero (its analysis failed), or no
// yield strength reaches the target ductility.
class NoHistory : public Error {
 public:
  using Error::Error;
};

// The histories of a run's --history requests, and what they are histories of.
struct RunHistories {
  HistoryDescription description;  // its ground points into the source's call
  std::vector<measures::ResponseHistory> histories;
};

// Every --history computed, before anything of the run is written, so that a refused request
// leaves no file behind; an oscillator without a history gets a warning line in `console`
// instead. The source must outlive the result.
RunHistories computeHistories(const std::vector<std::string>& requests, const HistorySource& source,
                              std::string& console);

// The histories written beside the run's data file and plot (NAME-history-T…), each described in
// one line of `summary`. Returns the paths written.
std::vector<std::string> writeHistories(const RunHistories& run, const OutputPaths& beside,
                                        std::string& summary);

// An Error for a malformed --history, before any work.
void checkHistoryRequests(const std::vector<std::string>& requests, const std::string& swept);

}  // namespace cli
