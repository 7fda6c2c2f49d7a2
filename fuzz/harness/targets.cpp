// Target table: a reader target per record format and one choosing by content, the command-line targets and one target per gateway.
#include "harness/targets.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "harness/gateway_check.h"
#include "harness/record_check.h"
#include "harness/violation.h"
#ifdef SPECTRA_FUZZ_CLI
#include "harness/cli_check.h"
#endif

namespace fuzz {

namespace {

template <ReaderKind kind>
void readerCheck(const std::uint8_t* data, std::size_t size) {
  checkRecordInput(kind, data, size);
}

void addGatewayTargets(std::vector<Target>& targets) {
  for (const ModuleForms& module : moduleForms())
    targets.push_back({gatewayTargetName(module.name), [&module](const std::uint8_t* data,
                                                                 std::size_t size) {
                         checkGatewayInput(module, data, size);
                       }});
}

}  // namespace

std::string gatewayTargetName(const std::string& module) {
  std::string name = "gateway_";
  for (char c : module) name += c == '/' ? '_' : static_cast<char>(std::tolower(c));
  return name;
}

const std::vector<Target>& fuzzTargets() {
  static const std::vector<Target> targets = [] {
    std::vector<Target> list = {{"at2", readerCheck<ReaderKind::At2>},
                                {"cosmos", readerCheck<ReaderKind::Cosmos>},
                                {"smc", readerCheck<ReaderKind::Smc>},
                                {"knet", readerCheck<ReaderKind::Knet>},
                                {"esm", readerCheck<ReaderKind::Esm>},
                                {"columns", readerCheck<ReaderKind::Columns>},
                                {"csv", readerCheck<ReaderKind::Csv>},
                                {"record", readerCheck<ReaderKind::Any>}};
#ifdef SPECTRA_FUZZ_CLI
    list.push_back({"cli_options", checkCommandLineInput});
    list.push_back({"cli_numbers", checkNumberTextInput});
#endif
    addGatewayTargets(list);
    return list;
  }();
  return targets;
}

const Target& fuzzTarget(const std::string& name) {
  for (const Target& target : fuzzTargets())
    if (target.name == name) return target;
  throw std::invalid_argument("no fuzz target " + name);
}

void runOrAbort(const Target& target, const std::uint8_t* data, std::size_t size) {
  try {
    target.check(data, size);
  } catch (const Violation& violation) {
    std::fprintf(stderr, "fuzz target %s: invariant broken: %s\n", target.name.c_str(),
                 violation.what());
    std::abort();
  }
}

}  // namespace fuzz
