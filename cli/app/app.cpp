// Top level: single analyses print a table and write the requested files; batches write one
// output per record and a summary.
#include "cli/app/app.h"

#include <fmt/format.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "cli/app/batch.h"
#include "cli/app/error.h"
#include "cli/app/module_table.h"
#include "cli/app/options.h"
#include "cli/app/parameters.h"
#include "cli/app/pipeline.h"
#include "cli/app/physical_checks.h"
#include "cli/writers/spectrum_plot.h"
#include "cli/writers/table_writer.h"

namespace cli {

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

void printConsole(const std::string& console) {
  if (!console.empty()) std::fputs(console.c_str(), stderr);
  if (!console.empty() && console.back() != '\n') std::fputc('\n', stderr);
}

// The checks that need no computation, so that a bad option fails before any work.
void checkOutputs(const Request& request, const Parameters& parameters) {
  const OutputOptions& o = request.output;
  if (!o.out.empty()) checkDataTarget(o.out);
  if (!o.plot.empty()) checkPlotRequest(o.axes, o.plot);
  chosenFields(*parameters.module, o.fields);
  if (request.demo.enabled && !request.files.empty()) throw Error("--demo takes no record files");
  if (!request.demo.enabled && request.files.empty())
    throw Error(request.module->command +
                ": give a record file, or --demo for the built-in record");
  const auto per = static_cast<std::size_t>(request.module->components);
  if (request.files.size() % per != 0)
    throw Error(fmt::format("{} takes two record files per analysis (the two components), got {}",
                            request.module->command, request.files.size()));
}

bool isCommand(const std::string& name) {
  std::string lower;
  for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower == "demo" || findModule(name) != nullptr;
}

bool isBatch(const Request& request) {
  return !request.output.outDir.empty() ||
         request.files.size() > static_cast<std::size_t>(request.module->components);
}

int runSingle(const Request& request, const Parameters& parameters) {
  std::string console;
  Spectrum spectrum;
  try {
    spectrum = computeSpectrum(request, parameters, loadRecords(request, request.files), console);
  } catch (const Error&) {
    printConsole(console);  // the module's own warnings explain its error
    throw;
  }
  printConsole(console);
  if (!request.output.quiet)
    std::fputs(tableText(spectrum, chosenFields(*spectrum.module, request.output.fields)).c_str(),
               stdout);
  writeOutputs(spectrum, request, {request.output.out, request.output.plot});
  return 0;
}

int runMany(const Request& request, const Parameters& parameters) {
  const OutputOptions& o = request.output;
  if (o.outDir.empty()) throw Error("several records: give --out-dir for their outputs");
  if (!o.out.empty() || !o.plot.empty())
    throw Error(
        "--out and --plot name one file; for several records use --out-dir with "
        "--out-format and --plot-format");
  if (request.demo.enabled) throw Error("--out-dir is for record files, not --demo");
  std::error_code error;
  std::filesystem::create_directories(o.outDir, error);
  if (error) throw Error(o.outDir + ": cannot create the output folder: " + error.message());
  const std::vector<BatchItem> items = planBatch(request, request.files);
  const int jobs =
      o.jobs > 0 ? o.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const BatchReport report = runBatch(request, parameters, items, jobs);
  for (const std::string& path : report.written) std::printf("wrote %s\n", path.c_str());
  for (const std::string& failure : report.failures)
    std::fprintf(stderr, "spectra: %s\n", failure.c_str());
  std::fprintf(stderr, "spectra: %zu of %zu records done, %zu failed\n",
               items.size() - report.failures.size(), items.size(), report.failures.size());
  return report.failures.empty() ? 0 : kFailed;
}

}  // namespace

int run(int argc, const char* const* argv) {
  CommandLine commandLine;
  if (argc < 2) {
    std::fputs(commandLine.help().c_str(), stdout);
    return kUsage;
  }
  const std::string first = argv[1];
  const bool option = !first.empty() && first.front() == '-';
  if (!option && !isCommand(first)) {
    std::fprintf(stderr, "spectra: %s (see spectra --help)\n", unknownModule(first).c_str());
    return kUsage;
  }
  try {
    commandLine.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return commandLine.exit(error);  // --help, --version
    const std::string help = option ? "spectra --help" : "spectra " + first + " --help";
    const std::string unknown = commandLine.unknownOption(argc, argv);
    std::fprintf(stderr, "spectra: %s (see %s)\n", unknown.empty() ? error.what() : unknown.c_str(),
                 help.c_str());
    return kUsage;
  }
  const Request& request = commandLine.request();
  try {
    const Parameters parameters = resolveParameters(request);
    for (const std::string& warning : checkParameters(parameters, request.units.scale))
      std::fprintf(stderr, "spectra: warning: %s\n", warning.c_str());
    checkOutputs(request, parameters);
    return isBatch(request) ? runMany(request, parameters) : runSingle(request, parameters);
  } catch (const Error& error) {
    std::fprintf(stderr, "spectra: %s\n", error.what());
    return kFailed;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "spectra: not enough memory for this record\n");
    return kFailed;
  }
}

}  // namespace cli
