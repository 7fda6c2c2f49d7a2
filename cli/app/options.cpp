// CLI11 definitions. Options exist only on the modules whose calling form uses them.
#include "cli/app/options.h"

#include <fmt/format.h>

#include "cli/app/measure_options.h"
#include "cli/writers/field_units.h"

namespace cli {

namespace {

bool uses(const ModuleSpec& spec, Slot slot) {
  for (Slot s : spec.slots)
    if (s == slot) return true;
  return false;
}

std::string slotName(const ModuleSpec& spec, Slot slot) {
  switch (slot) {
    case Slot::Record: return spec.components == 2 ? "ag1" : "ag";
    case Slot::Record2: return "ag2";
    case Slot::Dt: return "dt";
    case Slot::Mass: return "m";
    case Slot::Weight: return "W";
    case Slot::Gravity: return "g";
    case Slot::Swept: return spec.swept;
    case Slot::Periods: return "T";
    case Slot::Kin: return "kin";
    case Slot::Iso: return "iso";
    case Slot::Strength: return "method";
    case Slot::Para: return "para";
    case Slot::Uy: return "uy";
    case Slot::Alpha: return "alpha";
    case Slot::Method: return "[method]";
  }
  return "";
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

std::string moduleFooter(const ModuleSpec& spec) {
  std::string text = "Calls " + callingForm(spec) +
                     "; --periods a:b:n uses the form with Tstart, Tend, nT.\n"
                     "Output fields: " +
                     joined(spec.fields) +
                     ".\n"
                     "Shown by default: " +
                     joined(spec.mainFields) + "; plotted by default: " + spec.mainFields.front() +
                     ".\n";
  if (spec.command == "fps")
    text += "--weight W calls the weight variant " + callingForm(frictionPendulumWeight()) +
            ", which works in in/s2 (g = 386.1).\n";
  return text;
}

const char* kMainFooter =
    "Records: PEER .AT2 (g), one column (with --dt), two columns time and acceleration, or a\n"
    "table with a header row. Without a file, --demo (or the demo command) runs on a built-in\n"
    "synthetic accelerogram. Several records, or --out-dir, run a batch in parallel.\n"
    "See `spectra MODULE --help` for the options of each module.";

}  // namespace

std::string callingForm(const ModuleSpec& spec) {
  std::string text = spec.name + "(";
  for (std::size_t i = 0; i < spec.slots.size(); ++i) {
    const std::string name = slotName(spec, spec.slots[i]);
    text += name.front() == '[' ? "[," + name.substr(1) : (i ? "," : "") + name;
  }
  return text + ")";
}

CommandLine::CommandLine() : app_("spectra: response spectra of accelerogram files", "spectra") {
  app_.require_subcommand(1);
  app_.footer(kMainFooter);
  app_.set_version_flag("--version", "spectra 0.1.0");
  for (const ModuleSpec& spec : moduleTable()) addModule(spec, spec.command, false);
  addModule(*findModule("elastic"), "demo", true);
}

namespace {

void addDemoOptions(CLI::App* sub, Request& r, bool demoCommand) {
  auto* records = sub->add_option("records", r.files,
                                  "record files (two per analysis for a two-component module)");
  auto* demoFlag = sub->add_flag("--demo", r.demo.enabled, "use the built-in synthetic record");
  if (demoCommand)
    records->description("not used: demo runs on the synthetic record");
  else
    demoFlag->excludes(records);
  auto* group = sub->add_option_group("demo");
  group->add_option("--seed", r.demo.seed, "seed of the synthetic record")->capture_default_str();
  group->add_option("--peak", r.demo.peak, "peak ground acceleration [g]")->capture_default_str();
  group->add_option("--duration", r.demo.duration, "duration [s]")->capture_default_str();
  group->add_option("--demo-dt", r.demo.dt, "time step [s]")->capture_default_str();
}

void addRecordOptions(CLI::App* sub, Request& r) {
  auto* group = sub->add_option_group("records");
  group->add_option("--format", r.read.format, "record format")
      ->check(CLI::IsMember({"auto", "at2", "columns", "csv"}))
      ->capture_default_str();
  group->add_option("--column", r.read.column,
                    "acceleration column of a table (header name or number)");
  group->add_option("--dt", r.read.dt, "time step [s] of files that do not state one");
  group->add_option("--units", r.units.units, "units of files that do not state them (default g)");
  group->add_option("--out-units", r.units.outUnits,
                    "acceleration units of the analysis and outputs (default m/s2)");
  group->add_option("--scale", r.units.scale, "factor applied to the samples")
      ->capture_default_str();
}

std::string sweptHelp(const std::string& swept) {
  if (swept == "zeta") return "damping ratios, list (default 0.05)";
  if (swept == "frn") return "friction coefficients, list (default 0.05)";
  return "characteristic strengths, list (default 5 % of m*g)";
}

void addStrengthOptions(CLI::Option_group* group, ModuleOptions& p) {
  group->add_option("--kin", p.kin, "kinematic hardening ratio (default 0)");
  group->add_option("--iso", p.iso, "isotropic hardening ratio (default 0)");
  group->add_option("--R", p.rFactor, "strength by reduction factor");
  group->add_option("--mu", p.ductility, "strength by target ductility");
  group->add_option("--fy", p.yieldForce, "strength by yield force");
  group->add_option("--uy", p.yieldDisplacement, "strength by yield displacement");
  group->add_option("--strength", p.strength,
                    "strength definition by name (yieldStrength, yieldDisplacement, "
                    "strengthReductionFactor, ductilityFactor)");
  group->add_option("--para", p.para, "value of --strength");
}

void addParameterOptions(CLI::App* sub, const ModuleSpec& spec, ModuleOptions& p) {
  auto* group = sub->add_option_group("parameters");
  auto* periods =
      group->add_option("--periods", p.periods,
                        fmt::format("periods [s]: list a,b,c or range start:end:count (default {})",
                                    spec.defaultPeriods));
  group->add_option("--log-periods", p.logPeriods, "log-spaced periods start:end:count [s]")
      ->excludes(periods);
  group->add_option(spec.swept == "Qd" ? "--qd,--Qd" : "--" + spec.swept, p.swept,
                    sweptHelp(spec.swept));
  auto* mass = group->add_option("--mass,-m", p.mass, "mass (default 1)");
  if (uses(spec, Slot::Gravity))
    group->add_option("--g", p.gravity, "gravity (default: standard gravity in --out-units)");
  if (spec.command == "fps")
    group->add_option("--weight,-W", p.weight, "weight: calls the weight variant (in/s2)")
        ->excludes(mass);
  if (uses(spec, Slot::Uy))
    group->add_option("--uy", p.uy, "pre-sliding displacement (default 1 mm)");
  if (uses(spec, Slot::Alpha))
    group->add_option("--alpha", p.alpha, "post-yield to elastic stiffness ratio (default 0.1)");
  if (uses(spec, Slot::Method))
    group->add_option("--method", p.method, "integration method (default recform)")
        ->check(CLI::IsMember({"recform", "newmark"}));
  if (uses(spec, Slot::Strength)) addStrengthOptions(group, p);
}

void addOutputOptions(CLI::App* sub, OutputOptions& o) {
  auto* group = sub->add_option_group("outputs");
  group->add_option("--out,-o", o.out, "write FILE.csv or FILE.json");
  group->add_option("--plot,-p", o.plot, "plot to FILE.png or FILE.svg");
  group->add_option("--fields", o.fields, "fields for the table and plot, comma-separated");
  group->add_option("--axes", o.axes, "plot axes")
      ->check(CLI::IsMember({"lin", "logx", "logy", "loglog"}))
      ->capture_default_str();
  group->add_flag("--quiet,-q", o.quiet, "no table on stdout");
  group->add_option("--out-dir", o.outDir, "batch: folder for one output per record");
  group->add_option("--out-format", o.outFormat, "batch: data format")
      ->check(CLI::IsMember({"csv", "json"}))
      ->capture_default_str();
  group->add_option("--plot-format", o.plotFormat, "batch: also plot each record")
      ->check(CLI::IsMember({"png", "svg"}));
  group->add_option("--jobs,-j", o.jobs, "batch: records processed at once (default: all cores)")
      ->check(CLI::Range(1, 1024));
}

}  // namespace

void CommandLine::addModule(const ModuleSpec& spec, const std::string& command, bool demo) {
  const std::string description = demo ? "the elastic module on the built-in synthetic record "
                                         "(try: spectra demo --plot demo.png)"
                                       : spec.summary + " (" + spec.name + ")";
  CLI::App* sub = app_.add_subcommand(command, description);
  sub->ignore_case();
  if (!demo) sub->alias(spec.name);
  sub->footer(moduleFooter(spec));
  commands_.emplace_back(sub, &spec);
  addDemoOptions(sub, request_, demo);
  addRecordOptions(sub, request_);
  addParameterOptions(sub, spec, request_.parameters);
  addOutputOptions(sub, request_.output);
  addMeasureOptions(sub, spec, request_.measures);
}

void CommandLine::parse(int argc, const char* const* argv) {
  app_.parse(argc, argv);
  applyMeasureCommand(argc > 1 ? argv[1] : "", request_);
  for (const auto& [sub, spec] : commands_) {
    if (!sub->parsed()) continue;
    request_.module = spec;
    if (sub->get_name() != "demo") continue;
    request_.demo.enabled = true;
    if (!request_.parameters.swept) request_.parameters.swept = "0.02,0.05,0.1";
  }
}

std::string CommandLine::help() const { return app_.help(); }

int CommandLine::exit(const CLI::ParseError& error) { return app_.exit(error); }

}  // namespace cli
