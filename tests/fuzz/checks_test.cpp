// The fuzz checks catch what they are there for: gateways that break the output contract, and
// the input decoding of the record and command-line targets.
#include <gtest/gtest.h>

#include <cstring>

#include "harness/cli_check.h"
#include "harness/gateway_check.h"
#include "harness/record_check.h"
#include "harness/violation.h"
#include "host/host.h"

namespace {

const char* const kNames[15] = {"pga", "mass", "zeta", "T", "f", "dsp", "vel", "acc",
                                "totAcc", "psdVel", "psdAcc", "resDsp", "iFrc", "dFrc", "rFrc"};

// Stand-ins for Quorvel(ag, dt, m, zeta, T) that keep or break one rule of the contract.
enum class Fault { None, TransposedResults, UnprefixedError, StructureThenError, ShortT };
Fault fault = Fault::None;

void fakeGateway(int nlhs, mxArray* plhs[], int, const mxArray* prhs[]) {
  if (fault == Fault::UnprefixedError) mexErrMsgTxt("something went wrong\n");
  const mwSize nT = mxGetNumberOfElements(prhs[4]) - (fault == Fault::ShortT ? 1 : 0);
  const mwSize nZeta = mxGetNumberOfElements(prhs[3]);
  mxArray* fields[15] = {mxCreateDoubleScalar(0.0), mxDuplicateArray(prhs[2]),
                         mxDuplicateArray(prhs[3]), mxDuplicateArray(prhs[4]),
                         mxCreateDoubleMatrix(nT, 1, mxREAL)};
  for (int i = 5; i < 15; ++i)
    fields[i] = fault == Fault::TransposedResults ? mxCreateDoubleMatrix(nZeta, nT, mxREAL)
                                                  : mxCreateDoubleMatrix(nT, nZeta, mxREAL);
  mxArray* result = mxCreateStructMatrix(1, 1, 15, const_cast<const char**>(kNames));
  for (int i = 0; i < 15; ++i) mxSetFieldByNumber(result, 0, i, fields[i]);
  if (fault == Fault::StructureThenError) mexErrMsgTxt("Quorvel::mexFunction - late failure\n");
  if (nlhs > 0) plhs[0] = result;
}

// The outcome of the stand-in on a valid five-input call with three periods, two ratios.
void checkFake(Fault which, int nlhs = 1) {
  fault = which;
  fuzz::ModuleForms module = fuzz::formsOf("Quorvel");
  module.gateway = fakeGateway;
  const host::Value ag = host::column({0.1, 0.2}), dt = host::scalar(0.01), m = host::scalar(1);
  const host::Value zeta = host::row({0.02, 0.05}), T = host::column({0.1, 0.2, 0.3});
  const std::vector<const mxArray*> inputs = {ag.get(), dt.get(), m.get(), zeta.get(), T.get()};
  fuzz::checkOutcome(module, nlhs, inputs, host::call(module.gateway, nlhs, inputs));
}

TEST(GatewayCheck, AcceptsAGatewayThatKeepsTheContract) { EXPECT_NO_THROW(checkFake(Fault::None)); }

TEST(GatewayCheck, CatchesEveryBrokenRuleOfTheContract) {
  EXPECT_THROW(checkFake(Fault::TransposedResults), fuzz::Violation);
  EXPECT_THROW(checkFake(Fault::UnprefixedError), fuzz::Violation);
  EXPECT_THROW(checkFake(Fault::StructureThenError), fuzz::Violation);
  EXPECT_THROW(checkFake(Fault::ShortT), fuzz::Violation);
  EXPECT_THROW(checkFake(Fault::None, 2), fuzz::Violation);  // succeeded with two outputs
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

TEST(CommandLineInput, SplitsArgumentsAtNewlinesAndNuls) {
  const std::string text("elastic\nr.AT2\0--zeta\n\n", 22);
  EXPECT_EQ(fuzz::argumentsOf(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
            (std::vector<std::string>{"elastic", "r.AT2", "--zeta", "", ""}));
  const std::string many(200, '\n');
  EXPECT_EQ(fuzz::argumentsOf(reinterpret_cast<const std::uint8_t*>(many.data()), many.size())
                .size(),
            64u);
}

}  // namespace
