// Call descriptions: values printed so that they read back as the same double.
#include "harness/call_text.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace fuzz {

namespace {

const char* slotName(Slot slot) {
  static const char* const names[] = {"record", "dt",  "mass", "g",      "swept",    "T",
                                      "Tstart", "Tend", "nT",  "method", "kin",      "iso",
                                      "strength", "para", "uy", "alpha"};
  return names[static_cast<int>(slot)];
}

const char* className(mxArray::Class cls) {
  static const char* const names[] = {"double", "single", "logical", "int32", "char", "struct",
                                      "cell"};
  return names[static_cast<int>(cls)];
}

std::string valuesText(const std::vector<double>& values) {
  constexpr std::size_t kShown = 8;
  std::string text;
  for (std::size_t i = 0; i < std::min(values.size(), kShown); ++i)
    text += (i ? " " : "") + fmt::format("{}", values[i]);
  if (values.size() > kShown) {
    const auto finite = std::count_if(values.begin(), values.end(),
                                      [](double v) { return std::isfinite(v); });
    double largest = 0.0;
    for (double v : values)
      if (std::isfinite(v)) largest = std::max(largest, std::fabs(v));
    text += fmt::format(" ... ({} values, {} finite, largest |finite| {})", values.size(), finite,
                        largest);
  }
  return text;
}

std::string inputText(Slot slot, const mxArray& input) {
  std::string text = fmt::format("{:>8}: {} {} x {}", slotName(slot), className(input.cls),
                                 input.rows, input.cols);
  if (input.complex) text += " complex";
  if (input.sparse) text += " sparse";
  if (input.cls == mxArray::Class::Char)
    return text + " '" + fmt::format("{}", fmt::join(input.text, "")) + "'";
  return input.data.empty() ? text : text + " [" + valuesText(input.data) + "]";
}

}  // namespace

std::string callText(const ModuleForms& module, const DecodedCall& call) {
  std::string text = fmt::format("{} with nlhs = {}, {} inputs\n", module.name, call.nlhs,
                                 call.inputs.size());
  for (std::size_t i = 0; i < call.inputs.size(); ++i)
    text += inputText(call.slots[i], *call.inputs[i]) + "\n";
  const Execution& e = call.execution;
  text += fmt::format("execution: {} thread(s), vector unit {}, {} path{}\n", e.threads,
                      core::vectorUnitName(e.unit), e.straightforward ? "straightforward" : "fast",
                      e.compareWithReference ? ", compared with the reference run" : "");
  return text;
}

}  // namespace fuzz
