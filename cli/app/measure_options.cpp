// CLI11 definitions of the measures' options, grouped under "measures" in each module's help.
#include "cli/app/measure_options.h"

#include <algorithm>
#include <cctype>

namespace cli {

namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

void addHistoryAndRecordOptions(CLI::Option_group* group, const ModuleSpec& spec,
                                MeasureOptions& m) {
  group
      ->add_option("--history", m.histories,
                   "time series of one oscillator, T=PERIOD[," + spec.swept +
                       "=VALUE] (repeatable): written beside --out and --plot as "
                       "NAME-history-T…")
      ->allow_extra_args(false)  // one request per --history; what follows is a record
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  group
      ->add_option("--resample", m.resample,
                   "interpolate the record to a finer step before any analysis: a whole factor, "
                   "or auto (given bare) for at least ten steps per shortest period")
      ->expected(0, 1);
  group->add_option("--shard", m.shard,
                    "batch: process shard I of N (I/N) of the records sorted by path");
}

void addTargetOptions(CLI::Option_group* group, MeasureOptions& m) {
  group->add_option("--target", m.target,
                    "target spectrum beside the record's: asce7:SDS=…,SD1=…,TL=…, "
                    "ec8:type=1,ground=B,ag=0.25[,zeta=…] (ag in g), or a file of T [s], Sa [g]");
  group->add_flag("--suite-stats", m.suiteStats,
                  "batch: log-mean and ±1σ spectrum of the records (suite.csv, suite.json)");
  group->add_flag("--scale-to-target", m.scaleToTarget,
                  "amplitude factor of each record (and of a batch) to --target over --range");
  group->add_option("--range", m.range, "period range Ta:Tb [s] of the scaling");
  group->add_option("--rule", m.rule, "batch: the code's floor on the suite mean (90 % of the target)")
      ->check(CLI::IsMember({"asce7", "ec8"}));
}

const char* const kRotdFooter =
    "Sa (psdAcc) of elastic2d is the peak of the resultant of the two components over time: the\n"
    "limit of RotD100 as the angle step shrinks. --rotd (or the command `spectra rotd A B`) gives\n"
    "RotD00, RotD50, RotD100 (Boore 2010), the geometric mean of the components and GMRotI50.\n";

const char* const kDuctilityFooter =
    "--mu: the constant-ductility spectrum by the largest-strength rule (the largest yield\n"
    "strength whose ductility demand reaches the target; independent of --mass), with fy, Cy,\n"
    "Ay = fy/m, R, the ductility reached and the peak displacement. --search module runs the\n"
    "module's own search instead, with its numbers and its failures.\n";

void addRotdOptions(CLI::App* sub, CLI::Option_group* group, MeasureOptions& m) {
  sub->alias("rotd");
  sub->footer(sub->get_footer() + kRotdFooter);
  group->add_flag("--rotd", m.rotd,
                  "RotDnn over rotation angles and the geometric mean of the components, instead "
                  "of the peak of the resultant (also: spectra rotd A B)");
  group->add_option("--percentiles", m.percentiles, "nn of RotDnn, 0 to 100")
      ->capture_default_str();
  group->add_option("--angle-step", m.angleStep, "step of the rotation angles [°], 0.001 to 90")
      ->capture_default_str();
}

}  // namespace

void addMeasureOptions(CLI::App* sub, const ModuleSpec& spec, MeasureOptions& options) {
  CLI::Option_group* group = sub->add_option_group("measures");
  addHistoryAndRecordOptions(group, spec, options);
  const bool elastic = spec.command == "elastic" || spec.command == "elastic2d";
  if (elastic) addTargetOptions(group, options);
  if (spec.command == "elastic2d" && sub->get_name() == "elastic2d")
    addRotdOptions(sub, group, options);
  if (spec.command == "inelastic") sub->footer(sub->get_footer() + kDuctilityFooter);
  if (spec.command == "inelastic")
    group
        ->add_option("--search", options.search,
                     "with --mu: largest (the largest yield strength reaching the ductility, "
                     "independent of the mass) or module (the module's own search)")
        ->check(CLI::IsMember({"largest", "module"}));
}

bool isMeasureCommand(const std::string& name) { return lower(name) == "rotd"; }

void applyMeasureCommand(const std::string& command, Request& request) {
  if (isMeasureCommand(command)) request.measures.rotd = true;
  // The module's run pairs components of different steps only when resampling was asked for.
  request.resample = request.measures.resample.has_value();
}

}  // namespace cli
