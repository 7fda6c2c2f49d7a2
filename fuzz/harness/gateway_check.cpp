// Gateway fuzz check: shapes, echoes, error texts and identical results across execution settings.
#include "harness/gateway_check.h"

#include <cmath>
#include <cstring>
#include <string>

#include "core/runtime/execution.h"
#include "harness/argument_decoder.h"
#include "harness/violation.h"

namespace fuzz {

namespace {

std::string dims(const mxArray& array) {
  return std::to_string(array.rows) + " x " + std::to_string(array.cols);
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Equal values, where any NaN equals any NaN: operand order may pick a different NaN payload.
bool sameValue(double a, double b) { return (std::isnan(a) && std::isnan(b)) || sameBits(a, b); }

void requireShape(const mxArray& field, std::size_t rows, std::size_t cols, const std::string& name) {
  require(field.rows == rows && field.cols == cols,
          "field " + name + " is " + dims(field) + ", expected " + std::to_string(rows) + " x " +
              std::to_string(cols));
  require(field.data.size() == rows * cols, "field " + name + " holds the wrong number of values");
}

void requireEcho(const mxArray& field, const mxArray& input, const std::string& name) {
  requireShape(field, input.rows, input.cols, name);
  for (std::size_t i = 0; i < field.data.size(); ++i)
    require(sameBits(field.data[i], input.data[i]),
            "field " + name + " differs from its input at element " + std::to_string(i));
}

std::size_t lengthOf(const mxArray& vector) { return std::max(vector.rows, vector.cols); }

void checkFailure(const ModuleForms& module, const host::Outcome& outcome) {
  const std::string prefix = module.errorModule + "::mexFunction - ";
  require(outcome.error.rfind(prefix, 0) == 0, "error without the module prefix: " + outcome.error);
  require(outcome.error.size() > prefix.size(), "empty error text: " + outcome.error);
  require(outcome.result == nullptr, "a failed call returned a result");
  for (const auto& array : outcome.arena)
    require(array->cls != mxArray::Class::Struct, "a failed call created an output structure");
}

void checkNames(const ModuleForms& module, const mxArray& result) {
  require(result.cls == mxArray::Class::Struct && result.rows == 1 && result.cols == 1,
          "the result is not a 1 x 1 structure");
  require(static_cast<int>(result.fieldNames.size()) == module.fieldCount &&
              result.fields.size() == result.fieldNames.size(),
          "the structure has " + std::to_string(result.fieldNames.size()) + " fields, expected " +
              std::to_string(module.fieldCount));
  const std::string expected[] = {"pga", module.massField, module.sweptField, "T", "f"};
  for (std::size_t i = 0; i < 5; ++i)
    require(result.fieldNames[i] == expected[i],
            "field " + std::to_string(i) + " is " + result.fieldNames[i] + ", expected " + expected[i]);
  for (std::size_t i = 0; i < result.fields.size(); ++i) {
    const mxArray* field = result.fields[i];
    require(field != nullptr, "field " + result.fieldNames[i] + " is missing");
    require(field->cls == mxArray::Class::Double && !field->complex && !field->sparse,
            "field " + result.fieldNames[i] + " is not a real double array");
  }
}

// The number of periods, checking the "T" field against the period inputs on the way.
std::size_t checkPeriodField(const std::vector<Slot>& form, const std::vector<const mxArray*>& inputs,
                             const mxArray& field) {
  const int given = positionOf(form, Slot::Periods);
  if (given >= 0) {
    requireEcho(field, *inputs[given], "T");
    return lengthOf(*inputs[given]);
  }
  const double start = inputs[positionOf(form, Slot::Tstart)]->data.at(0);
  const double count = inputs[positionOf(form, Slot::Count)]->data.at(0);
  require(count >= 1.0 && count < 2147483648.0, "a call with nT = " + std::to_string(count) +
                                                    " succeeded");
  const auto nT = static_cast<std::size_t>(count);
  requireShape(field, nT, 1, "T");
  require(sameValue(field.data[0], start), "generated T does not start at Tstart");
  return nT;
}

void checkConsole(const ModuleForms& module, const std::string& console) {
  const std::string prefix = "??? " + module.errorModule + "::";
  std::size_t start = 0;
  while (start < console.size()) {
    const std::size_t end = console.find('\n', start);
    const std::string line = console.substr(start, end == std::string::npos ? end : end - start);
    require(line.empty() || line.rfind(prefix, 0) == 0, "console line without the module's "
                                                        "warning prefix: " + line);
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

void applyExecution(const Execution& execution) {
  core::setThreadCount(execution.threads);
  core::setVectorUnit(execution.unit);
  core::setStraightforward(execution.straightforward);
}

void requireSameOutcome(const host::Outcome& a, const host::Outcome& b) {
  require(a.ok == b.ok && a.error == b.error,
          "the reference run ended differently: '" + a.error + "' / '" + b.error + "'");
  require(a.console == b.console, "the reference run printed other warnings:\n" + a.console +
                                      "---\n" + b.console);
  if (!a.ok) return;
  for (std::size_t f = 0; f < a.result->fields.size(); ++f) {
    const std::vector<double>& x = a.result->fields[f]->data;
    const std::vector<double>& y = b.result->fields[f]->data;
    for (std::size_t i = 0; i < x.size(); ++i)
      require(sameValue(x[i], y[i]), "field " + a.result->fieldNames[f] + " element " +
                                         std::to_string(i) + " differs from the reference run");
  }
}

}  // namespace

void checkOutcome(const ModuleForms& module, int nlhs, const std::vector<const mxArray*>& inputs,
                  const host::Outcome& outcome) {
  checkConsole(module, outcome.console);
  if (!outcome.ok) {
    checkFailure(module, outcome);
    return;
  }
  require(nlhs == 1, "a call asking for " + std::to_string(nlhs) + " outputs succeeded");
  const std::vector<Slot>* form = formWithInputs(module, static_cast<int>(inputs.size()));
  require(form != nullptr,
          "a call with " + std::to_string(inputs.size()) + " inputs succeeded");
  require(outcome.result != nullptr, "a successful call returned nothing");
  const mxArray& result = *outcome.result;
  checkNames(module, result);
  const mxArray& swept = *inputs[positionOf(*form, Slot::Swept)];
  const std::size_t nT = checkPeriodField(*form, inputs, *result.fields[3]);
  const std::size_t nSwept = lengthOf(swept);
  requireShape(*result.fields[0], 1, 1, "pga");
  requireEcho(*result.fields[1], *inputs[positionOf(*form, Slot::Mass)], module.massField);
  requireEcho(*result.fields[2], swept, module.sweptField);
  requireShape(*result.fields[4], nT, 1, "f");
  for (std::size_t i = 5; i < result.fields.size(); ++i)
    requireShape(*result.fields[i], nT, nSwept, result.fieldNames[i]);
}

void checkGatewayInput(const ModuleForms& module, const std::uint8_t* data, std::size_t size) {
  ByteReader in(data, size);
  const DecodedCall call = decodeCall(module, in);
  std::vector<const mxArray*> inputs;
  for (const host::Value& input : call.inputs) inputs.push_back(input.get());

  applyExecution(call.execution);
  const host::Outcome outcome = host::call(module.gateway, call.nlhs, inputs);
  checkOutcome(module, call.nlhs, inputs, outcome);
  if (!call.execution.compareWithReference) return;
  applyExecution(Execution{1, core::VectorUnit::None, true, false});
  const host::Outcome reference = host::call(module.gateway, call.nlhs, inputs);
  requireSameOutcome(outcome, reference);
}

}  // namespace fuzz
