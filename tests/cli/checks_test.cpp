// Checks inside one analysis: the record peak warning by where the unit came from, and two
// components at different steps paired by resampling when it was asked for.
#include <gtest/gtest.h>

#include "cli/app/error.h"
#include "cli/app/parameters.h"
#include "cli/app/physical_checks.h"
#include "cli/app/pipeline.h"
#include "daskent/gateway.h"
#include "measures/resample.h"
#include "records/synthetic_record.h"
#include "support/calls.h"

namespace {

records::Record recordOf(std::vector<double> samples, double dt, const std::string& unit = "") {
  records::Record record;
  record.path = "r.txt";
  record.samples = std::move(samples);
  record.dt = dt;
  record.statedUnit = unit;
  return record;
}

TEST(RecordPeak, WarningNamesWhereTheUnitCameFrom) {
  const records::Record plain = recordOf({0, 300, -10}, 0.01);
  records::UnitOptions options;
  EXPECT_EQ(cli::recordPeakWarning(plain, {0, 300 * 9.80665}, "m/s2", options),
            "warning: r.txt: peak ground acceleration 300 g with the samples read in g (the file "
            "states no unit, so g is assumed); if the file is in another unit give it with "
            "--units (e.g. --units cm/s2)");
  EXPECT_EQ(cli::recordPeakWarning(plain, {0, 3.9 * 9.80665}, "m/s2", options), "");
  EXPECT_EQ(cli::recordPeakWarning(plain, {0, -4.1 * 386.08858267716535}, "in/s2", options)
                .substr(0, 43),
            "warning: r.txt: peak ground acceleration 4.");
  options.units = "mm/s2";
  options.scale = 5000;
  EXPECT_NE(cli::recordPeakWarning(plain, {49.0}, "m/s2", options)
                .find("read in mm/s2 as --units says, times --scale 5000; if the file"),
            std::string::npos);
  const records::Record stated = recordOf({0, 5}, 0.01, "G");
  EXPECT_NE(cli::recordPeakWarning(stated, {0, 5 * 9.80665}, "m/s2", {})
                .find("read in g as the file states; check the record and --scale"),
            std::string::npos);
}

cli::Request pairRequest(bool resample) {
  cli::Request request;
  request.module = cli::findModule("elastic2d");
  request.parameters.periods = "0.2,1";
  request.resample = resample;
  return request;
}

TEST(ComponentPairs, DifferentStepsArePairedOnlyWhenResamplingWasAskedFor) {
  const std::vector<double> coarse = records::syntheticRecord(300, 0.01, 7, 0.3);
  const std::vector<double> fine = records::syntheticRecord(600, 0.005, 8, 0.3);
  const std::vector<records::Record> pair = {recordOf(coarse, 0.01), recordOf(fine, 0.005)};
  std::string console;
  const cli::Request without = pairRequest(false);
  EXPECT_THROW(cli::computeSpectrum(without, cli::resolveParameters(without), pair, console),
               cli::Error);

  const cli::Request with = pairRequest(true);
  const cli::Spectrum spectrum =
      cli::computeSpectrum(with, cli::resolveParameters(with), pair, console);
  EXPECT_EQ(console.rfind("note: r.txt resampled from 0.01 s to 0.005 s to pair the components\n", 0),
            0u)
      << console;
  // The same as the module on the pair that measures::pairComponents makes (in m/s2).
  std::vector<double> a = coarse, b = fine;
  for (double& x : a) x *= 9.80665;
  for (double& x : b) x *= 9.80665;
  const measures::ComponentPair paired = measures::pairComponents(a, 0.01, b, 0.005);
  const host::Outcome direct = support::call(daskent::mexFunction, support::Args()
                                                                       .add(paired.ag1)
                                                                       .add(paired.ag2)
                                                                       .add(paired.dt)
                                                                       .add(1.0)
                                                                       .add({0.05})
                                                                       .add(std::vector<double>{0.2, 1}));
  ASSERT_TRUE(direct.ok) << direct.error;
  for (const char* field : {"psdAcc", "dsp"})
    for (std::size_t i = 0; i < 2; ++i)
      EXPECT_TRUE(support::sameBits(spectrum.values(field)[i], direct.values(field)[i])) << field;
}

}  // namespace
