// --target and --range: the target spectrum a run is compared and scaled with.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "measures/design_spectra.h"
#include "measures/scaling.h"

namespace cli {

struct Target {
  std::shared_ptr<const measures::TargetSpectrum> spectrum;
  // The damping ratio the target is defined for (ASCE 7: 5 %; Eurocode 8: its ζ); none for a
  // file, which is compared at the run's first damping ratio.
  std::optional<double> dampingRatio;
};

// "asce7:SDS=1.0,SD1=0.6,TL=8", "ec8:type=1,ground=B,ag=0.25[,zeta=0.05]" (ag in g; keys in any
// letter case), or the path of a file of rows T [s], Sa [g] (comma, semicolon, tab or space
// separated; a header line and lines starting with # or % are skipped). An Error naming --target
// and what to give.
Target parseTarget(const std::string& text);

// "Ta:Tb" with 0 < Ta ≤ Tb; an Error naming --range otherwise.
measures::PeriodRange parseRange(const std::string& text);

}  // namespace cli
