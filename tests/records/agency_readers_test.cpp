// COSMOS, SMC, K-NET and ESM files written from their format descriptions read as the same
// record written as AT2; bad headers and wrong counts are named by file and line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "agency_files.h"
#include "records/error.h"
#include "records/fortran_fields.h"
#include "records/record_reader.h"

namespace {

using agency_files::TempDir;

constexpr double kGal = 980.665;  // cm/s² in one g

// The message of reading the file, which must fail.
std::string readError(const std::string& path, const records::ReadOptions& options = {}) {
  try {
    records::readRecord(path, options);
  } catch (const records::Error& error) {
    return error.what();
  }
  ADD_FAILURE() << "no error for " << path;
  return "";
}

testing::AssertionResult contains(const char*, const char*, const std::string& text,
                                  const std::string& part) {
  if (text.find(part) != std::string::npos) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "'" << text << "'\n lacks '" << part << "'";
}

// The motion in cm/s² as an AT2 file (in g) read back.
records::Record at2Record(const TempDir& dir, const std::vector<double>& cm, double dt) {
  std::vector<double> g;
  for (double a : cm) g.push_back(a / kGal);
  return records::readRecord(dir.write("same.AT2", agency_files::at2(g, dt)), {});
}

// Same step and, in m/s², the same samples to the round-off of the unit conversion (1e-12 of the
// peak).
void expectSameMotion(const records::Record& record, const records::Record& reference) {
  ASSERT_EQ(record.samples.size(), reference.samples.size()) << record.path;
  EXPECT_EQ(record.dt, reference.dt) << record.path;
  const records::UnitOptions si{"", "m/s2", 1.0};
  const std::vector<double> a = records::samplesInOutputUnits(record, si);
  const std::vector<double> b = records::samplesInOutputUnits(reference, si);
  double peak = 0.0;
  for (double x : b) peak = std::max(peak, std::fabs(x));
  for (std::size_t i = 0; i < a.size(); ++i)
    EXPECT_NEAR(a[i], b[i], 1e-12 * peak) << record.path << " sample " << i;
}

TEST(FortranFields, ReadsTheLayoutAndCutsTouchingNumbersAtItsWidth) {
  using Layout = std::pair<std::size_t, std::size_t>;
  const auto layout = [](const std::string& format) {
    const auto parsed = records::parseFortranFormat(format);
    return parsed ? Layout{parsed->perLine, parsed->width} : Layout{0, 0};
  };
  EXPECT_EQ(layout("(8F10.5)"), Layout(8, 10));
  EXPECT_EQ(layout(" (10I8)"), Layout(10, 8));
  EXPECT_EQ(layout("(1P5E15.7)"), Layout(5, 15));
  EXPECT_EQ(layout("8(F10.5)"), Layout(8, 10));
  EXPECT_EQ(layout("(5ES14.7E1)"), Layout(5, 14));
  EXPECT_EQ(layout("(A80)"), Layout(0, 0));
  EXPECT_EQ(layout("(8F10.)"), Layout(0, 0));
  const records::FieldLayout e10{8, 10};
  EXPECT_EQ(records::numbersInFields("f", 1, " 2.8320E+1-2.7400E+1-1.0524E+2", e10),
            (std::vector<double>{28.32, -27.4, -105.24}));
  // Columns that drift from the format are read at blanks.
  EXPECT_EQ(records::numbersInFields("f", 1, " 1.5  -2.25   3", e10),
            (std::vector<double>{1.5, -2.25, 3}));
  EXPECT_THROW(records::numbersInFields("f", 7, "  1.0000 x.5", e10), records::Error);
}

TEST(CosmosReader, ReadsAV2ChannelAsTheSameRecordInAt2) {
  const TempDir dir;
  const std::vector<double> motion = agency_files::groundMotion(37);
  const records::Record record =
      records::readRecord(dir.write("chan1.V2c", agency_files::cosmos({motion})), {});
  expectSameMotion(record, at2Record(dir, motion, 0.01));
  EXPECT_EQ(record.statedUnit, "cm/s2");
  EXPECT_EQ(record.info.format, "COSMOS V2");
  EXPECT_EQ(record.info.station, "CE-12345 CGS Test Station");
  EXPECT_EQ(record.info.component, "90 deg");
  EXPECT_EQ(record.info.startTime, "1/1/2001, 00:00:10.000 UTC");
  EXPECT_EQ(record.info.event.rfind("Test earthquake", 0), 0u);
}

TEST(CosmosReader, ReadsV1InGAndAsksWhichOfSeveralChannels) {
  const TempDir dir;
  const std::vector<double> motion = agency_files::groundMotion(20);
  std::vector<double> inG;
  for (double a : motion) inG.push_back(std::round(a / kGal * 1e5) / 1e5);
  const agency_files::CosmosChannel v1{
      inG, 5.0, "Uncorrected accel.", 1,
      "      20 acceleration pts, approx    0 secs, units=g (02), Format=(8F10.5)"};
  const records::Record record =
      records::readRecord(dir.write("v1.V1c", agency_files::cosmos(v1)), {});
  EXPECT_EQ(record.info.format, "COSMOS V1");
  EXPECT_EQ(record.statedUnit, "g");
  EXPECT_EQ(record.dt, 0.005);
  EXPECT_EQ(record.samples, inG);

  agency_files::CosmosChannel second{motion, 10.0};
  for (double& a : second.samples) a = -a;
  const std::string both =
      dir.write("both.V2", agency_files::cosmos({motion}) + agency_files::cosmos(second));
  EXPECT_EQ(readError(both),
            both + ": the file holds 2 acceleration channels: choose one with --channel (1 to 2)");
  records::ReadOptions options;
  options.channel = 2;
  EXPECT_EQ(records::readRecord(both, options).samples, second.samples);
  options.channel = 3;
  EXPECT_PRED_FORMAT2(contains, readError(both, options), "no channel 3");
}

TEST(CosmosReader, NamesTheLineOfABadHeaderOrCount) {
  const TempDir dir;
  const std::string text = agency_files::cosmos({agency_files::groundMotion(37)});
  auto withReplaced = [&](const std::string& from, const std::string& to) {
    std::string changed = text;
    return dir.write("bad.V2", changed.replace(changed.find(from), from.size(), to));
  };
  // Line 14 is the integer-header line, 25 the real-header line, 45 the data line.
  struct Case {
    const char* from;
    const char* to;
    const char* message;
  };
  const Case cases[] = {
      {"on 10 lines", "on  9 lines",
       ": 100 Integer-header values are announced on line 14 but 90 follow: the file is cut short "
       "or the count is wrong"},
      {"Format= (10I8)", "Format= (10Q8)", ":14: cannot read the number format '(10Q8)'"},
      {"      37 acceleration", "      38 acceleration",
       ": 38 samples are announced on line 45 but 37 follow"},
      {"   10.000000", " -999.000000",
       ":25: the real header gives no sampling interval (value 62, in milliseconds)"},
      {"units=cm/sec2 (04)", "units=counts (50)", ":45: the samples are in 'counts'"},
      {"acceleration pts", "velocity pts", ":45: the data are velocity, not accelerations"},
      {"   1 Comment", "   2 Comment", ":45: expected comment 2 of 2"}};
  for (const Case& c : cases) {
    const std::string path = withReplaced(c.from, c.to);
    EXPECT_PRED_FORMAT2(contains, readError(path), path + c.message);
  }
}

TEST(SmcReader, ReadsBothSampleLayoutsAsTheSameRecordInAt2) {
  const TempDir dir;
  const std::vector<double> motion = agency_files::groundMotion(37);
  const records::Record reference = at2Record(dir, motion, 0.01);
  for (bool precise : {false, true}) {
    agency_files::SmcFile file{motion};
    file.precise = precise;
    const records::Record record =
        records::readRecord(dir.write("r.smc", agency_files::smc(file)), {});
    expectSameMotion(record, reference);
    EXPECT_EQ(record.statedUnit, "cm/s2");
    EXPECT_EQ(record.info.format, "USGS SMC, corrected");
    EXPECT_EQ(record.info.station, "Test Station");
    EXPECT_EQ(record.info.component, "360");
    EXPECT_EQ(record.info.startTime, "2001, day 001, 00:00:10.000 UTC");
  }
}

TEST(SmcReader, RefusesOtherSeriesWrongCountsAndCutHeaders) {
  const TempDir dir;
  const std::vector<double> motion = agency_files::groundMotion(37);
  auto written = [&](agency_files::SmcFile file) {
    return dir.write("r.smc", agency_files::smc(file));
  };
  agency_files::SmcFile file{motion};
  file.type = "3 VELOCITY";
  std::string path = written(file);
  EXPECT_EQ(readError(path),
            path + ":1: the file holds '3 VELOCITY', not an accelerogram (SMC type 1 or 2)");
  file = agency_files::SmcFile{motion};
  file.countInHeader = 38;
  EXPECT_PRED_FORMAT2(contains, readError(written(file)),
                      "38 samples are announced in the integer header");
  file.countInHeader = 30;  // the fourth data line, line 32, goes past it
  EXPECT_PRED_FORMAT2(contains, readError(written(file)), ":32: more samples than the 30");
  file.countInHeader = -1;
  file.samplesPerSecond = 0.0;
  EXPECT_PRED_FORMAT2(contains, readError(written(file)),
                      ":18: real-header value 2 (sampling rate");
  path = dir.write("cut.smc", agency_files::smc({motion}).substr(0, 1200));
  EXPECT_PRED_FORMAT2(contains, readError(path), "SMC header is incomplete");
}

// Counts with an offset of 8000 around a motion of zero mean: after the scale factor and the
// removal of the mean, the accelerations are the motion's.
TEST(KnetReader, ScalesCountsRemovesTheMeanAndMatchesAt2) {
  const TempDir dir;
  std::vector<long> motion;
  for (double a : agency_files::groundMotion(37)) motion.push_back(std::lround(a * 100));
  for (std::size_t i = 0, n = motion.size(); i < n; ++i) motion.push_back(-motion[i]);
  agency_files::KnetFile file;
  std::vector<double> gal;
  for (long count : motion) {
    file.counts.push_back(count + 8000);
    gal.push_back(static_cast<double>(count) * (3920.0 / 6182761.0));
  }
  const records::Record record =
      records::readRecord(dir.write("MYG0020601182325.NS", agency_files::knet(file)), {});
  expectSameMotion(record, at2Record(dir, gal, 0.01));
  EXPECT_EQ(record.statedUnit, "cm/s2");
  EXPECT_EQ(record.info.station, "MYG002");
  EXPECT_EQ(record.info.component, "N-S");
  EXPECT_EQ(record.info.event, "2006/01/18 23:25:00, M 5.7");
  EXPECT_PRED_FORMAT2(contains, record.info.note, "mean of the record (5.07217 cm/s2) removed");
}

TEST(KnetReader, RefusesBadScaleFactorsAndCutFiles) {
  const TempDir dir;
  agency_files::KnetFile file;
  file.counts = std::vector<long>(100, 8000);
  file.scaleFactor = "3920/6182761";
  std::string path = dir.write("a.EW", agency_files::knet(file));
  EXPECT_EQ(readError(path),
            path + ":14: malformed scale factor '3920/6182761': expected e.g. '3920(gal)/6182761'");
  file.scaleFactor = "3920(gal)/6182761";
  file.duration = "3";  // 100 samples at 100 Hz last 1 s
  path = dir.write("b.EW", agency_files::knet(file));
  EXPECT_PRED_FORMAT2(contains, readError(path), ":12: the header gives a duration of 3 s");
  std::string text = agency_files::knet({{8000, 8001, 8002}});
  path = dir.write("c.EW", text.replace(text.find("Memo."), 5, "Note."));
  EXPECT_PRED_FORMAT2(contains, readError(path), "no 'Memo.' line");
  path = dir.write("d.EW", agency_files::knet({{8000, 8001, 8002}}) + "    8003     80x4\n");
  EXPECT_EQ(readError(path), path + ":19: '80x4' is not a number");
}

// Headers whose numbers are each valid but give no time step, or accelerations beyond the
// largest double, are refused: the record would reach the module with dt = 0, dt = inf or
// infinite samples.
TEST(AgencyReaders, RefuseStepsAndAccelerationsThatAreNotFiniteNumbers) {
  const TempDir dir;
  const std::vector<double> motion = agency_files::groundMotion(37);
  std::string cosmos = agency_files::cosmos({motion});
  cosmos.replace(cosmos.find("   10.000000"), 12, "      1e-322");  // 1e-325 s: zero as a double
  std::string path = dir.write("tiny.V2", cosmos);
  EXPECT_PRED_FORMAT2(contains, readError(path), ":25: the sampling interval");
  agency_files::SmcFile smc{motion};
  smc.samplesPerSecond = 1e-320;
  path = dir.write("tiny.smc", agency_files::smc(smc));
  EXPECT_PRED_FORMAT2(contains, readError(path), ":18: real-header value 2");

  agency_files::KnetFile knet;
  knet.counts = std::vector<long>(100, 8000);
  knet.scaleFactor = "1e300(gal)/1e-300";
  path = dir.write("a.NS", agency_files::knet(knet));
  EXPECT_EQ(readError(path), path + ":14: the scale factor '1e300(gal)/1e-300' is too large to "
                                    "compute with: a count times it would not be a number");
  knet.scaleFactor = "1e304(gal)/1";  // each 8e307 cm/s², their sum beyond 1.8e308
  path = dir.write("b.NS", agency_files::knet(knet));
  EXPECT_PRED_FORMAT2(contains, readError(path), "too large to remove their mean");
  knet.scaleFactor = "3920(gal)/6182761";
  knet.samplingFrequency = "1e-320Hz";
  knet.duration = "1e300";
  path = dir.write("c.NS", agency_files::knet(knet));
  EXPECT_PRED_FORMAT2(contains, readError(path), ":11: the sampling frequency '1e-320Hz' is too small");
}

// --format cosmos on a file without any channel line, even one of nothing but a byte-order mark,
// is refused for what it is (it once read the first line of a file that had none).
TEST(CosmosReader, RefusesAFileThatAnnouncesNoChannel) {
  const TempDir dir;
  records::ReadOptions cosmos;
  cosmos.format = "cosmos";
  for (const char* text : {"\xEF\xBB\xBF\n", "\xEF\xBB\xBF", "PEER\n0.1 0.2\n"}) {
    const std::string path = dir.write("x.V2", text);
    EXPECT_PRED_FORMAT2(contains, readError(path, cosmos), "not a COSMOS file");
  }
}

TEST(EsmReader, ReadsTheHeaderUnitsAndMatchesAt2) {
  const TempDir dir;
  const std::vector<double> motion = agency_files::groundMotion(37);
  const records::Record record =
      records::readRecord(dir.write("XX.TST..HNE.ASC", agency_files::esm({motion})), {});
  expectSameMotion(record, at2Record(dir, motion, 0.01));
  EXPECT_EQ(record.info.format, "ESM ASCII");
  EXPECT_EQ(record.info.event, "Test earthquake (TEST-2001-0001)");
  EXPECT_EQ(record.info.station, "XX.TST");
  EXPECT_EQ(record.info.component, "HNE");
  EXPECT_EQ(record.info.startTime, "20010101_000010.000 UTC");
}

TEST(EsmReader, RefusesOtherSeriesAndWrongCounts) {
  const TempDir dir;
  const std::vector<double> motion = agency_files::groundMotion(10);
  auto written = [&](agency_files::EsmFile file) {
    return dir.write("r.ASC", agency_files::esm(file));
  };
  agency_files::EsmFile file{motion};
  file.dataType = "VELOCITY";
  std::string path = written(file);
  EXPECT_EQ(readError(path),
            path + ":18: the file holds VELOCITY, not an acceleration time series");
  file = agency_files::EsmFile{motion};
  file.ndata = 9;  // the tenth sample, on line 29, is one too many
  EXPECT_PRED_FORMAT2(contains, readError(written(file)), ":29: '");
  file.ndata = 11;
  EXPECT_PRED_FORMAT2(contains, readError(written(file)), "11 samples are announced in the header");
  file.ndata = -1;
  file.samplingInterval = "0";
  EXPECT_PRED_FORMAT2(contains, readError(written(file)), ":11: SAMPLING_INTERVAL_S must be");
}

TEST(RecordReader, TakesTheFormatFromContentOrFromTheFormatOption) {
  const TempDir dir;
  const std::vector<double> motion = agency_files::groundMotion(16);
  // Names that say nothing, or the wrong thing: the content decides.
  const std::string cosmos = dir.write("record.AT2", agency_files::cosmos({motion}));
  const std::string esm = dir.write("record.txt", agency_files::esm({motion}));
  EXPECT_EQ(records::readRecord(cosmos, {}).info.format, "COSMOS V2");
  EXPECT_EQ(records::readRecord(esm, {}).info.format, "ESM ASCII");
  records::ReadOptions options;
  options.format = "esm";
  EXPECT_EQ(records::readRecord(esm, options).samples, motion);
  options.format = "smc";
  EXPECT_PRED_FORMAT2(contains, readError(esm, options), ":1: the file holds");
  options.format = "auto";
  options.channel = 2;
  EXPECT_EQ(
      readError(esm, options),
      esm + ": --channel chooses among the channels of a COSMOS file; this file is read as esm");
  options.channel = 0;
  options.format = "peer";
  EXPECT_EQ(
      readError(esm, options),
      "unknown record format 'peer' (known: auto, at2, cosmos, smc, knet, esm, columns, csv)");
  options.format = "auto";
  options.dt = 0.02;
  EXPECT_EQ(readError(esm, options), esm + ": the file gives dt = 0.01 s but --dt is 0.02 s");
}

}  // namespace
