// CLI11 definitions. Options exist only on the modules whose calling form uses them.
#include "cli/app/options.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "cli/app/suggestions.h"
#include "records/record_reader.h"

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
                     joined(spec.mainFields) + "; plotted by default: " + joined(spec.plotFields) +
                     ".\n";
  if (spec.command == "fps")
    text += "--weight W calls the weight variant " + callingForm(frictionPendulumWeight()) +
            ", which works in inches and pounds (W in lbf, g = 386.1 in/s2).\n";
  text +=
      "The analysis runs in kg, m/s2, m and N; --acc-units, --vel-units, --disp-units, "
      "--force-units\nor --unit-system convert the outputs.\n";
  return text;
}

const char* kMainFooter =
    "Records: PEER .AT2, COSMOS V1/V2, USGS SMC, K-NET/KiK-net and ESM ASCII (chosen by content),\n"
    "one column (with --dt), two columns time and acceleration, or a table with a header row.\n"
    "Without a file, --demo (or the demo command) runs on a built-in synthetic accelerogram.\n"
    "Several records, or --out-dir, run a batch in parallel.\n"
    "See `spectra MODULE --help` for the options of each module.";

// A check that the value is one of names, naming the nearest one when it is not.
CLI::Validator memberOf(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
  return CLI::Validator(
      [names, list](std::string& value) -> std::string {
        if (std::find(names.begin(), names.end(), value) != names.end()) return "";
        return "'" + value + "' is not one of " + list + didYouMean(value, names);
      },
      "{" + list + "}");
}

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
  group->add_option("--format", r.read.format, "record format (auto: by the file's content)")
      ->check(memberOf(records::recordFormats()))
      ->capture_default_str();
  group->add_option("--channel", r.read.channel,
                    "channel of a COSMOS file that holds several (1, 2, ...)")
      ->check(CLI::Range(1, 1000));
  group->add_option("--column", r.read.column,
                    "acceleration column of a table (header name or number)");
  group->add_option("--dt", r.read.dt, "time step [s] of files that do not state one");
  group->add_option("--units", r.units.units,
                    "unit of the samples of files that do not state one (default g)");
  group->add_option("--scale", r.units.scale, "factor applied to the samples")
      ->capture_default_str();
}

void addUnitOptions(CLI::App* sub, UnitRequest& u) {
  auto* group = sub->add_option_group("output units");
  auto* acc = group->add_option("--acc-units", u.acceleration,
                                "accelerations: g, mg, m/s2, cm/s2, mm/s2, in/s2, ft/s2");
  group->add_option("--out-units", u.acceleration, "the same as --acc-units")->excludes(acc);
  group->add_option("--vel-units", u.velocity, "velocities: m/s, cm/s, mm/s, in/s, ft/s");
  group->add_option("--disp-units", u.displacement, "displacements: m, cm, mm, in, ft");
  group->add_option("--force-units", u.force, "forces: N, kN, MN, lbf, kip");
  group->add_option("--unit-system", u.system,
                    "SI (m/s2, m/s, m, N) or US (g, in/s, in, kip); the options above override it");
}

std::string sweptHelp(const std::string& swept) {
  if (swept == "zeta") return "damping ratios ζ, list (default 0.05, i.e. 5 %)";
  if (swept == "frn") return "friction coefficients μ, list (default 0.05)";
  return "characteristic strengths Qd [N], list";
}

void addStrengthOptions(CLI::Option_group* group, ModuleOptions& p) {
  group->add_option("--kin", p.kin, "kinematic hardening ratio (default 0)");
  group->add_option("--iso", p.iso, "isotropic hardening ratio (default 0)");
  group->add_option("--R", p.rFactor, "strength by reduction factor R > 0");
  group->add_option("--mu", p.ductility, "strength by target ductility μ >= 1");
  group->add_option("--fy", p.yieldForce, "strength by yield force fy [N]");
  group->add_option("--uy", p.yieldDisplacement, "strength by yield displacement uy [m]");
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
  auto* swept = group->add_option(spec.swept == "Qd" ? "--qd,--Qd" : "--" + spec.swept,
                                  p.swept, sweptHelp(spec.swept));
  if (spec.swept == "Qd")
    group
        ->add_option("--qd-ratio", p.qdRatio,
                     "characteristic strengths as shares of the weight Qd/W, list (default 0.05)")
        ->excludes(swept);
  auto* mass = group->add_option("--mass,-m", p.mass, "mass [kg] (default 1)");
  if (uses(spec, Slot::Gravity))
    group->add_option("--g", p.gravity, "gravity [m/s2] (default 9.80665)");
  if (spec.command == "fps")
    group
        ->add_option("--weight,-W", p.weight,
                     "weight [lbf]: calls the weight variant, in inches and pounds")
        ->excludes(mass);
  if (uses(spec, Slot::Uy))
    group->add_option("--uy", p.uy, "pre-sliding displacement [m] (default 0.001; in with --weight)");
  if (uses(spec, Slot::Alpha))
    group->add_option("--alpha", p.alpha, "post-yield to elastic stiffness ratio α (default 0.1)");
  if (uses(spec, Slot::Method))
    group->add_option("--method", p.method, "integration method (default recform)")
        ->check(memberOf({"recform", "newmark"}));
  if (uses(spec, Slot::Strength)) addStrengthOptions(group, p);
}

void addOutputOptions(CLI::App* sub, OutputOptions& o) {
  auto* group = sub->add_option_group("outputs");
  group->add_option("--out,-o", o.out, "write FILE.csv or FILE.json");
  group->add_option("--plot,-p", o.plot, "plot to FILE.png or FILE.svg");
  group->add_option("--fields", o.fields, "fields for the table and plot, comma-separated");
  group->add_option("--axes", o.axes, "plot axes")
      ->check(memberOf({"lin", "logx", "logy", "loglog"}))
      ->capture_default_str();
  group->add_flag("--tripartite", o.tripartite,
                  "plot the pseudo-velocity on a tripartite grid of displacement and acceleration");
  group->add_flag("--quiet,-q", o.quiet, "no table on stdout");
  group->add_option("--out-dir", o.outDir, "batch: folder for one output per record");
  group->add_option("--out-format", o.outFormat, "batch: data format")
      ->check(memberOf({"csv", "json"}))
      ->capture_default_str();
  group->add_option("--plot-format", o.plotFormat, "batch: also plot each record")
      ->check(memberOf({"png", "svg"}));
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
  addUnitOptions(sub, request_.outputUnits);
  addParameterOptions(sub, spec, request_.parameters);
  addOutputOptions(sub, request_.output);
}

void CommandLine::parse(int argc, const char* const* argv) {
  app_.parse(argc, argv);
  for (const auto& [sub, spec] : commands_) {
    if (!sub->parsed()) continue;
    request_.module = spec;
    if (sub->get_name() != "demo") continue;
    request_.demo.enabled = true;
    if (!request_.parameters.swept) request_.parameters.swept = "0.02,0.05,0.1";
  }
}

std::string CommandLine::help() const { return app_.help(); }

namespace {

// "--zeta", "-m", ... of a command and its option groups.
std::vector<std::string> optionNames(const CLI::App* command) {
  std::vector<const CLI::App*> apps = {command};
  for (const CLI::App* group : command->get_subcommands({})) apps.push_back(group);
  std::vector<std::string> names;
  for (const CLI::App* app : apps)
    for (const CLI::Option* option : app->get_options()) {
      for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
      for (const std::string& name : option->get_snames()) names.push_back("-" + name);
    }
  return names;
}

bool isNumber(const std::string& token) {
  char* end = nullptr;
  std::strtod(token.c_str(), &end);
  return end != token.c_str() && *end == '\0';
}

// "--zeta" of "--zeta=0.05", "-m" of "-m2"; "" for what is not an option (a negative number).
std::string optionOf(const std::string& token) {
  if (token.size() < 2 || token[0] != '-' || token == "--" || isNumber(token)) return "";
  if (token[1] == '-') return token.substr(0, token.find('='));
  return token.substr(0, 2);
}

}  // namespace

std::string CommandLine::unknownOption(int argc, const char* const* argv) const {
  if (argc < 2) return "";
  const CLI::App* command = nullptr;
  for (const auto& entry : commands_)
    if (entry.first->check_name(argv[1])) command = entry.first;
  if (command == nullptr) return "";
  const std::vector<std::string> known = optionNames(command);
  for (int i = 2; i < argc; ++i) {
    const std::string option = optionOf(argv[i]);
    if (option.empty() || std::find(known.begin(), known.end(), option) != known.end()) continue;
    std::string owners;
    for (const auto& entry : commands_) {
      const std::vector<std::string> theirs = optionNames(entry.first);
      if (entry.first->get_name() != "demo" &&
          std::find(theirs.begin(), theirs.end(), option) != theirs.end())
        owners += (owners.empty() ? "" : ", ") + entry.first->get_name();
    }
    if (!owners.empty())
      return option + " is not an option of " + command->get_name() + " (it is one of " + owners +
             ")";
    return "unknown option " + option + didYouMean(option, known);
  }
  return "";
}

std::string unknownModule(const std::string& name) {
  std::vector<std::string> names = {"demo"};
  for (const ModuleSpec& spec : moduleTable()) names.insert(names.end(), {spec.command, spec.name});
  return "unknown module '" + name + "'" + didYouMean(name, names);
}

int CommandLine::exit(const CLI::ParseError& error) { return app_.exit(error); }

}  // namespace cli
