// The fuzz checks catch what they are there for: gateways that break the output contract, runs
// that differ between execution settings, parameters the program must not accept, and the input
// decoding of the record and command-line targets.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "core/runtime/execution.h"
#include "harness/argument_encoder.h"
#include "harness/gateway_check.h"
#include "harness/record_check.h"
#include "harness/violation.h"
#include "host/host.h"
#ifdef SPECTRA_FUZZ_CLI
#include "cli/app/module_table.h"
#include "harness/cli_check.h"
#endif

namespace {

const char* const kNames[15] = {"pga", "mass", "zeta", "T", "f", "dsp", "vel", "acc",
                                "totAcc", "psdVel", "psdAcc", "resDsp", "iFrc", "dFrc", "rFrc"};

// Stand-ins for Quorvel that keep or break one rule of the contract.
enum class Fault {
  None,
  TransposedResults,
  UnprefixedError,
  StructureThenError,
  ShortT,
  AlteredMassEcho,
  GeneratedTFromZero,
  StrayConsoleText,
  ResultFollowsThreads,
};
Fault fault = Fault::None;

mxArray* periodField(int nrhs, const mxArray* prhs[], mwSize nT) {
  if (nrhs == 5) return mxDuplicateArray(prhs[4]);
  mxArray* T = mxCreateDoubleMatrix(nT, 1, mxREAL);
  const double start = fault == Fault::GeneratedTFromZero ? 0.0 : mxGetScalar(prhs[4]);
  const double step = (mxGetScalar(prhs[5]) - mxGetScalar(prhs[4])) / static_cast<double>(nT - 1);
  for (mwSize i = 0; i < nT; ++i) mxGetPr(T)[i] = start + step * static_cast<double>(i);
  return T;
}

void fakeGateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  if (fault == Fault::UnprefixedError) mexErrMsgTxt("something went wrong\n");
  if (fault == Fault::StrayConsoleText) mexPrintf("note: done\n");
  const mwSize given = nrhs == 5 ? mxGetNumberOfElements(prhs[4])
                                 : static_cast<mwSize>(mxGetScalar(prhs[6]));
  const mwSize nT = given - (fault == Fault::ShortT ? 1 : 0);
  const mwSize nZeta = mxGetNumberOfElements(prhs[3]);
  mxArray* mass = mxDuplicateArray(prhs[2]);
  if (fault == Fault::AlteredMassEcho) mxGetPr(mass)[0] += 1.0;
  mxArray* pga = mxCreateDoubleScalar(fault == Fault::ResultFollowsThreads ? core::threadCount() : 0);
  mxArray* fields[15] = {pga, mass, mxDuplicateArray(prhs[3]), periodField(nrhs, prhs, nT),
                         mxCreateDoubleMatrix(nT, 1, mxREAL)};
  for (int i = 5; i < 15; ++i)
    fields[i] = fault == Fault::TransposedResults ? mxCreateDoubleMatrix(nZeta, nT, mxREAL)
                                                  : mxCreateDoubleMatrix(nT, nZeta, mxREAL);
  mxArray* result = mxCreateStructMatrix(1, 1, 15, const_cast<const char**>(kNames));
  for (int i = 0; i < 15; ++i) mxSetFieldByNumber(result, 0, i, fields[i]);
  if (fault == Fault::StructureThenError) mexErrMsgTxt("Quorvel::mexFunction - late failure\n");
  if (nlhs > 0) plhs[0] = result;
}

fuzz::ModuleForms fakeModule() {
  fuzz::ModuleForms module = fuzz::formsOf("Quorvel");
  module.gateway = fakeGateway;
  return module;
}

// The outcome of the stand-in on a valid call: T given (three periods) or generated (four).
void checkFake(Fault which, int nlhs = 1, bool generated = false) {
  fault = which;
  const fuzz::ModuleForms module = fakeModule();
  std::vector<host::Value> values;
  values.push_back(host::column({0.1, 0.2}));
  values.push_back(host::scalar(0.01));
  values.push_back(host::scalar(1));
  values.push_back(host::row({0.02, 0.05}));
  if (generated) {
    for (double v : {0.1, 0.4, 4.0}) values.push_back(host::scalar(v));
  } else {
    values.push_back(host::column({0.1, 0.2, 0.3}));
  }
  std::vector<const mxArray*> inputs;
  for (const host::Value& value : values) inputs.push_back(value.get());
  fuzz::checkOutcome(module, nlhs, inputs, host::call(module.gateway, nlhs, inputs));
}

TEST(GatewayCheck, AcceptsAGatewayThatKeepsTheContract) {
  EXPECT_NO_THROW(checkFake(Fault::None));
  EXPECT_NO_THROW(checkFake(Fault::None, 1, true));
}

TEST(GatewayCheck, CatchesEveryBrokenRuleOfTheContract) {
  EXPECT_THROW(checkFake(Fault::TransposedResults), fuzz::Violation);
  EXPECT_THROW(checkFake(Fault::UnprefixedError), fuzz::Violation);
  EXPECT_THROW(checkFake(Fault::StructureThenError), fuzz::Violation);
  EXPECT_THROW(checkFake(Fault::ShortT), fuzz::Violation);
  EXPECT_THROW(checkFake(Fault::ShortT, 1, true), fuzz::Violation);
  EXPECT_THROW(checkFake(Fault::AlteredMassEcho), fuzz::Violation);
  EXPECT_THROW(checkFake(Fault::GeneratedTFromZero, 1, true), fuzz::Violation);
  EXPECT_THROW(checkFake(Fault::StrayConsoleText), fuzz::Violation);
  EXPECT_THROW(checkFake(Fault::None, 2), fuzz::Violation);  // succeeded with two outputs
}

// The reference run must give the same bits: a result that depends on the thread count is caught
// only when the input asks for the comparison.
TEST(GatewayCheck, ComparesWithTheReferenceRunWhenAsked) {
  fault = Fault::ResultFollowsThreads;
  const fuzz::ModuleForms module = fakeModule();
  for (std::uint8_t execution : {0x01, 0x11}) {
    fuzz::CallEncoder call(0, execution);
    call.record({0.1, 0.2}).scalar(0.01).scalar(1.0).vector({0.05}).vector({0.5, 1.0});
    const std::vector<std::uint8_t>& bytes = call.bytes();
    if (execution & 0x10)
      EXPECT_THROW(fuzz::checkGatewayInput(module, bytes.data(), bytes.size()), fuzz::Violation);
    else
      EXPECT_NO_THROW(fuzz::checkGatewayInput(module, bytes.data(), bytes.size()));
  }
  core::setThreadCount(0);
  core::setStraightforward(false);
  core::setVectorUnit(core::widestVectorUnit());
}

TEST(RecordInput, ReadsTheOptionsLineAndKeepsTheFileNamePlain) {
  const std::string text = "dt=0.02|column=a (g)|units=gal|scale=2|name=../x.csv|junk\nbody\n";
  const fuzz::RecordInput input =
      fuzz::decodeRecordInput(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  EXPECT_EQ(input.dt, 0.02);
  EXPECT_EQ(input.column, "a (g)");
  EXPECT_EQ(input.units, "gal");
  EXPECT_EQ(input.scale, 2.0);
  EXPECT_EQ(input.fileName, ".._x.csv");
  EXPECT_EQ(input.content, "body\n");
  const std::string bare = "no options";
  EXPECT_EQ(fuzz::decodeRecordInput(reinterpret_cast<const std::uint8_t*>(bare.data()), bare.size())
                .content,
            "");
}

#ifdef SPECTRA_FUZZ_CLI
TEST(CommandLineInput, SplitsArgumentsAtNewlinesAndNuls) {
  const std::string text("elastic\nr.AT2\0--zeta\n\n", 22);
  EXPECT_EQ(fuzz::argumentsOf(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
            (std::vector<std::string>{"elastic", "r.AT2", "--zeta", "", ""}));
  const std::string many(200, '\n');
  EXPECT_EQ(fuzz::argumentsOf(reinterpret_cast<const std::uint8_t*>(many.data()), many.size())
                .size(),
            64u);
}

// Parameters that would reach a module as nonsense are violations, whatever produced them.
TEST(CommandLineCheck, RefusesParametersNoModuleCanTake) {
  const cli::ModuleSpec& elastic = *cli::findModule("elastic");
  cli::Parameters p;
  p.module = &elastic;
  p.periods.list = {0.1, 0.5};
  p.swept = {0.05};
  EXPECT_NO_THROW(fuzz::checkParameters(p));
  for (double period : {0.0, -1.0, std::nan(""), HUGE_VAL}) {
    cli::Parameters bad = p;
    bad.periods.list.back() = period;
    EXPECT_THROW(fuzz::checkParameters(bad), fuzz::Violation) << period;
  }
  cli::Parameters bad = p;
  bad.periods = {true, {}, 0.1, 1.0, 0};
  EXPECT_THROW(fuzz::checkParameters(bad), fuzz::Violation);
  bad = p;
  bad.mass = std::nan("");
  EXPECT_THROW(fuzz::checkParameters(bad), fuzz::Violation);
}
#endif

}  // namespace
