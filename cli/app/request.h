// Everything the command line asked for, before defaults that depend on units are filled in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/app/module_table.h"
#include "cli/writers/quantity_units.h"
#include "records/record_reader.h"

namespace cli {

struct DemoOptions {
  bool enabled = false;
  std::uint64_t seed = 1;
  double peak = 0.4;       // g
  double duration = 20.0;  // s
  double dt = 0.01;        // s
};

struct OutputOptions {
  std::string out;     // FILE.csv or FILE.json
  std::string plot;    // FILE.png or FILE.svg
  std::string outDir;  // batch: one output per record
  std::string outFormat = "csv";
  std::string plotFormat;  // batch: png or svg, "" for none
  std::string fields;      // table and plot fields, comma-separated
  std::string axes = "lin";
  bool tripartite = false;  // the plot: pseudo-velocity on a D-V-A grid
  bool quiet = false;
  int jobs = 0;  // 0: all cores
};

struct ModuleOptions {
  // Unset when not given; a given but empty value is an error, not the default.
  std::optional<std::string> periods;
  std::optional<std::string> logPeriods;
  std::optional<std::string> swept;  // zeta, frn or Qd list
  std::optional<std::string> qdRatio;  // Qd as shares of the weight m*g
  std::optional<double> mass, weight, gravity, uy, alpha, kin, iso;
  std::string method;
  // Morbane's strength definition: a shortcut option or --strength NAME --para V.
  std::optional<double> rFactor, ductility, yieldForce, yieldDisplacement, para;
  std::string strength;
};

struct Request {
  const ModuleSpec* module = nullptr;
  std::vector<std::string> files;
  DemoOptions demo;
  records::ReadOptions read;
  records::UnitOptions units;  // units.outUnits is set to the analysis unit, not from the command line
  UnitRequest outputUnits;
  ModuleOptions parameters;
  OutputOptions output;
  // Two components at different steps are brought to the finer one (measures::pairComponents)
  // only when resampling was asked for (--resample).
  bool resample = false;
};

}  // namespace cli
