// Every input that once found a fault (fuzz/regressions/<target>/) and every seed
// (fuzz/corpus/<target>/) goes through its target's check again, under the normal build.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "harness/argument_decoder.h"
#include "harness/record_check.h"
#include "harness/targets.h"
#include "harness/violation.h"
#include "records/error.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> contentOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The number of inputs replayed; a broken invariant is a test failure naming the file.
int replayFolder(const fuzz::Target& target, const fs::path& folder) {
  if (!fs::is_directory(folder)) return 0;
  int replayed = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().filename().string().front() == '.') continue;
    const std::vector<std::uint8_t> input = contentOf(entry.path());
    try {
      target.check(input.data(), input.size());
    } catch (const fuzz::Violation& violation) {
      ADD_FAILURE() << entry.path() << ": " << violation.what();
    }
    ++replayed;
  }
  return replayed;
}

class KeptInputs : public testing::TestWithParam<std::string> {};

TEST_P(KeptInputs, PassTheirTargetsChecks) {
  const fuzz::Target& target = fuzz::fuzzTarget(GetParam());
  const fs::path root = SPECTRA_FUZZ_SOURCE_DIR;
  replayFolder(target, root / "regressions" / target.name);
  EXPECT_GT(replayFolder(target, root / "corpus" / target.name), 0) << "no seeds for " << target.name;
}

std::vector<std::string> targetNames() {
  std::vector<std::string> names;
  for (const fuzz::Target& target : fuzz::fuzzTargets()) names.push_back(target.name);
  return names;
}

INSTANTIATE_TEST_SUITE_P(EveryTarget, KeptInputs, testing::ValuesIn(targetNames()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

// The first seed of each agency format is a file its reader takes, and the choice by content
// reads it the same way: fuzzing starts inside the reader, not at its first refusal.
TEST(ReaderSeeds, AreRecordsTheirReaderAndTheChoiceByContentAccept) {
  const fs::path root = SPECTRA_FUZZ_SOURCE_DIR;
  const std::pair<const char*, fuzz::ReaderKind> kinds[] = {{"cosmos", fuzz::ReaderKind::Cosmos},
                                                            {"smc", fuzz::ReaderKind::Smc},
                                                            {"knet", fuzz::ReaderKind::Knet},
                                                            {"esm", fuzz::ReaderKind::Esm}};
  for (const auto& [name, kind] : kinds) {
    const std::vector<std::uint8_t> bytes = contentOf(root / "corpus" / name / "seed_000");
    const fuzz::RecordInput input = fuzz::decodeRecordInput(bytes.data(), bytes.size());
    try {
      const records::Record record = fuzz::readRecordInput(kind, input);
      const records::Record detected = fuzz::readRecordInput(fuzz::ReaderKind::Any, input);
      EXPECT_EQ(record.samples.size(), 8u) << name;
      EXPECT_EQ(detected.samples, record.samples) << name;
      EXPECT_EQ(detected.dt, record.dt) << name;
    } catch (const records::Error& error) {
      ADD_FAILURE() << name << ": " << error.what();
    }
  }
}

// The options line's channel reaches the COSMOS reader: the second of two channels is read
// when asked for, and a file of two channels read without one is refused.
TEST(ReaderSeeds, ChannelOfTheOptionsLineChoosesAmongCosmosChannels) {
  const fs::path root = SPECTRA_FUZZ_SOURCE_DIR;
  const std::vector<std::uint8_t> bytes = contentOf(root / "corpus" / "cosmos" / "seed_001");
  fuzz::RecordInput input = fuzz::decodeRecordInput(bytes.data(), bytes.size());
  EXPECT_EQ(input.channel, 2);
  EXPECT_EQ(fuzz::readRecordInput(fuzz::ReaderKind::Cosmos, input).info.format, "COSMOS V2");
  input.channel = 0;
  EXPECT_THROW(fuzz::readRecordInput(fuzz::ReaderKind::Cosmos, input), records::Error);
  input.channel = 3;
  EXPECT_THROW(fuzz::readRecordInput(fuzz::ReaderKind::Cosmos, input), records::Error);
}

// The gateway seeds are valid calls of every calling form, so that fuzzing starts inside the
// drivers rather than at the input checks.
TEST(GatewaySeeds, AreSuccessfulCallsOfEveryCallingForm) {
  const fs::path root = SPECTRA_FUZZ_SOURCE_DIR;
  for (const fuzz::ModuleForms& module : fuzz::moduleForms()) {
    std::set<std::size_t> inputCounts;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(root / "corpus" / fuzz::gatewayTargetName(module.name))) {
      const std::vector<std::uint8_t> bytes = contentOf(entry.path());
      fuzz::ByteReader reader(bytes.data(), bytes.size());
      const fuzz::DecodedCall call = fuzz::decodeCall(module, reader);
      std::vector<const mxArray*> inputs;
      for (const host::Value& input : call.inputs) inputs.push_back(input.get());
      const host::Outcome outcome = host::call(module.gateway, call.nlhs, inputs);
      EXPECT_TRUE(outcome.ok) << entry.path() << ": " << outcome.error;
      inputCounts.insert(inputs.size());
    }
    EXPECT_EQ(inputCounts.size(), module.forms.size()) << module.name;
  }
}

}  // namespace
