// Command-line fuzz checks: CLI11 definitions, parameter resolution and the number parsers.
#include "harness/cli_check.h"

#include <cmath>
#include <filesystem>

#include "cli/app/gateway_call.h"
#include "cli/app/measure_run.h"
#include "cli/app/options.h"
#include "cli/app/parameters.h"
#include "cli/app/periods.h"
#include "cli/app/pipeline.h"
#include "cli/app/spectrum.h"
#include "cli/app/target_option.h"
#include "cli/writers/figure_writer.h"
#include "harness/argument_decoder.h"
#include "harness/gateway_check.h"
#include "harness/violation.h"
#include "records/error.h"
#include "records/numbers.h"
#include "records/units.h"

namespace fuzz {

namespace {

constexpr std::size_t kMaxArguments = 64;
constexpr std::size_t kShortRecord = 16;
constexpr std::size_t kMaxListedPeriods = 1000000;

void requirePositivePeriod(double period, const std::string& what) {
  require(std::isfinite(period) && period > 0.0,
          what + " gave the period " + records::roundTrip(period));
}

void checkPeriods(const cli::Periods& periods, const std::string& what) {
  if (periods.generated) {
    require(periods.count >= 1 && periods.count <= static_cast<int>(kMaxListedPeriods),
            what + " gave a count of " + std::to_string(periods.count));
    requirePositivePeriod(periods.start, what);
    requirePositivePeriod(periods.end, what);
    return;
  }
  require(!periods.list.empty() && periods.list.size() <= kMaxListedPeriods,
          what + " gave " + std::to_string(periods.list.size()) + " periods");
  for (double period : periods.list) requirePositivePeriod(period, what);
}

void requireFiniteParameter(double value, const std::string& name) {
  require(std::isfinite(value), name + " resolved to " + records::roundTrip(value));
}

void checkFields(const cli::ModuleSpec& spec, const std::string& list) {
  for (const std::string& field : cli::chosenFields(spec, list))
    require(std::find(spec.fields.begin(), spec.fields.end(), field) != spec.fields.end(),
            "--fields accepted '" + field + "', no field of " + spec.name);
}

const ModuleForms* formsFor(const cli::ModuleSpec& spec) {
  for (const ModuleForms& module : moduleForms())
    if (module.gateway == spec.gateway) return &module;
  return nullptr;
}

bool smallEnough(const cli::Parameters& p) {
  const std::size_t periods = p.periods.generated ? p.periods.count : p.periods.list.size();
  return periods <= static_cast<std::size_t>(kMaxPeriods) &&
         p.swept.size() <= static_cast<std::size_t>(kMaxSwept);
}

// The module on a short record, with the inputs the program would send.
void checkModuleCall(const cli::Parameters& p) {
  const ModuleForms* module = p.module->gateway ? formsFor(*p.module) : nullptr;
  if (module == nullptr || !smallEnough(p)) return;
  std::vector<double> samples(kShortRecord);
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = std::sin(0.7 * i);
  const std::vector<std::vector<double>> components(p.module->components, samples);
  const std::vector<host::Value> inputs = cli::gatewayInputs(p, components, 0.01);
  std::vector<const mxArray*> pointers;
  for (const host::Value& input : inputs) pointers.push_back(input.get());
  checkOutcome(*module, 1, pointers, host::call(module->gateway, 1, pointers));
}

// A target spectrum that was accepted gives a positive, finite Sa at every period of the run.
void checkTarget(const std::string& text, const cli::Parameters& p) {
  if (text.empty()) return;
  const cli::Target target = cli::parseTarget(text);
  require(target.spectrum != nullptr, "--target " + text + " gave no spectrum");
  if (!smallEnough(p) || p.periods.generated) return;
  for (double period : p.periods.list) {
    const double sa = target.spectrum->sa(period);
    require(std::isfinite(sa) && sa >= 0.0, "--target " + text + " gives Sa = " +
                                                 records::roundTrip(sa) + " g at T = " +
                                                 records::roundTrip(period) + " s");
  }
}

// A --target naming a device or folder ("/dev/zero"): the program reads it like any file, which
// may never end; the fuzzer leaves it alone.
bool namesADevice(const std::string& target) {
  std::error_code error;
  const auto status = std::filesystem::status(target, error);
  return !target.empty() && !error && status.type() != std::filesystem::file_type::regular &&
         status.type() != std::filesystem::file_type::not_found;
}

// The measures' runs (RotD, histories, resampling, targets, shards, the largest-strength rule)
// check their options before any work, as the program does; the module's own run checks its
// fields, output files and plot.
void checkOutputs(const cli::Request& request, const cli::Parameters& p) {
  if (cli::usesMeasures(request, p)) {
    if (namesADevice(request.measures.target)) return;
    cli::checkMeasureRequest(request, p);
    checkTarget(request.measures.target, p);
    return;
  }
  checkFields(*p.module, request.output.fields);
  if (!request.output.out.empty()) cli::checkDataTarget(request.output.out);
  if (!request.output.plot.empty())
    cli::checkPlotRequest(request.output.axes, request.output.plot);
}

void checkRequest(const cli::Request& request) {
  require(request.module != nullptr, "a command line without a module was accepted");
  try {
    const cli::Parameters p = cli::resolveParameters(request);
    checkParameters(p);
    checkOutputs(request, p);
    checkModuleCall(p);
  } catch (const records::Error& error) {
    require(std::string(error.what()).size() > 0, "an empty error message");
  }
}

void requireNamedError(const records::Error& error, const std::string& what) {
  const std::string message = error.what();
  require(message.rfind(what, 0) == 0, "the error does not name " + what + ": " + message);
}

void checkNumber(const std::string& text) {
  const std::optional<double> value = records::parseNumber(text);
  try {
    const double finite = records::parseFinite(text, "--mass");
    require(value && std::isfinite(*value) && *value == finite,
            "parseFinite accepted '" + text + "' differently from parseNumber");
  } catch (const records::Error& error) {
    requireNamedError(error, "--mass");
    require(!value || !std::isfinite(*value), "parseFinite refused the finite '" + text + "'");
  }
  if (!value) return;
  const std::optional<double> again = records::parseNumber(records::roundTrip(*value));
  require(again && (std::isnan(*value) ? std::isnan(*again) : *again == *value &&
                                                                   std::signbit(*again) ==
                                                                       std::signbit(*value)),
          "'" + text + "' does not read back from '" + records::roundTrip(*value) + "'");
}

void checkList(const std::string& text) {
  try {
    const std::vector<double> values = records::parseList(text, "--zeta");
    const auto items = static_cast<std::size_t>(std::count(text.begin(), text.end(), ',')) + 1;
    require(values.size() == items, "a list of " + std::to_string(items) + " items gave " +
                                        std::to_string(values.size()) + " values");
    for (double value : values) requireFiniteParameter(value, "a list value");
  } catch (const records::Error& error) {
    requireNamedError(error, "--zeta");
  }
}

void checkHeaderUnit(const std::string& text) {
  try {
    const std::string unit = records::unitInHeader(text);
    if (!unit.empty())
      require(records::findUnit(unit).name == unit, "the header unit '" + unit + "' is no unit");
  } catch (const records::Error& error) {
    require(std::string(error.what()).find("unit") != std::string::npos,
            std::string("a unit error that does not say so: ") + error.what());
  }
}

}  // namespace

void checkParameters(const cli::Parameters& p) {
  require(p.module != nullptr, "no module after resolving the parameters");
  for (const core::Quantity quantity :
       {core::Quantity::Acceleration, core::Quantity::Velocity, core::Quantity::Displacement,
        core::Quantity::Force}) {
    const cli::QuantityUnit& unit = p.units.of(quantity);
    require(std::isfinite(unit.factor) && unit.factor > 0.0,
            "the output unit '" + unit.name + "' has the factor " +
                records::roundTrip(unit.factor));
  }
  checkPeriods(p.periods, "the periods");
  for (double value : p.swept) requireFiniteParameter(value, "a swept value");
  for (const auto& [value, name] :
       {std::pair{p.mass, "the mass"}, {p.weight, "the weight"}, {p.gravity, "gravity"},
        {p.kin, "kin"}, {p.iso, "iso"}, {p.para, "para"}, {p.uy, "uy"}, {p.alpha, "alpha"}})
    requireFiniteParameter(value, name);
}

std::vector<std::string> argumentsOf(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments(1);
  for (std::size_t i = 0; i < size; ++i) {
    const char c = static_cast<char>(data[i]);
    if (c != '\n' && c != '\0') {
      arguments.back() += c;
      continue;
    }
    if (arguments.size() == kMaxArguments) break;
    arguments.emplace_back();
  }
  return arguments;
}

void checkCommandLineInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> arguments = argumentsOf(data, size);
  std::vector<const char*> argv{"spectra"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  cli::CommandLine commandLine;
  try {
    commandLine.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError&) {
    return;
  }
  checkRequest(commandLine.request());
}

void checkNumberTextInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  try {
    switch (static_cast<std::uint8_t>(data[0] - '0') % 5) {
      case 0: checkPeriods(cli::parsePeriods(text), "--periods"); break;
      case 1: checkPeriods(cli::parseLogPeriods(text), "--log-periods"); break;
      case 2: checkList(text); break;
      case 3: checkNumber(text); break;
      case 4: checkHeaderUnit(text); break;
    }
  } catch (const records::Error& error) {
    const std::string message = error.what();
    require(message.rfind("--periods", 0) == 0 || message.rfind("--log-periods", 0) == 0,
            "the error does not name the option: " + message);
  }
}

}  // namespace fuzz
