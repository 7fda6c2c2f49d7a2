// Prints the gateway call a fuzz input decodes to and, with --run, runs it and reports the
// outcome and the time taken:
//   spectra_fuzz_show [--run] <gateway target> <input file>
// e.g. spectra_fuzz_show --run gateway_morbane build-fuzz/findings/gateway_morbane/timeout-...
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "harness/call_text.h"
#include "harness/targets.h"

namespace {

void run(const fuzz::ModuleForms& module, const fuzz::DecodedCall& call) {
  std::vector<const mxArray*> inputs;
  for (const host::Value& input : call.inputs) inputs.push_back(input.get());
  core::setThreadCount(call.execution.threads);
  core::setVectorUnit(call.execution.unit);
  core::setStraightforward(call.execution.straightforward);
  const auto start = std::chrono::steady_clock::now();
  const host::Outcome outcome = host::call(module.gateway, call.nlhs, inputs);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("%s in %.3f s\n", outcome.ok ? "ok" : ("error: " + outcome.error).c_str(),
              seconds.count());
  std::printf("console (%zu characters):\n%.2000s\n", outcome.console.size(),
              outcome.console.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const bool running = argc == 4 && std::strcmp(argv[1], "--run") == 0;
  if (argc != 3 && !running) {
    std::fprintf(stderr, "usage: spectra_fuzz_show [--run] <gateway target> <input file>\n");
    return 2;
  }
  const char* target = argv[argc - 2];
  for (const fuzz::ModuleForms& module : fuzz::moduleForms()) {
    if (fuzz::gatewayTargetName(module.name) != target) continue;
    std::ifstream in(argv[argc - 1], std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    fuzz::ByteReader reader(bytes.data(), bytes.size());
    const fuzz::DecodedCall call = fuzz::decodeCall(module, reader);
    std::fputs(fuzz::callText(module, call).c_str(), stdout);
    if (running) run(module, call);
    return 0;
  }
  std::fprintf(stderr, "spectra_fuzz_show: no gateway target '%s'\n", target);
  return 2;
}
