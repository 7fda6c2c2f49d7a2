// records::Record readers: header forms of real files, strict sample counts, time columns, units.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "records/at2_reader.h"
#include "records/column_reader.h"
#include "records/csv_reader.h"
#include "records/error.h"
#include "records/record_reader.h"
#include "records/units.h"

namespace {

using records::Error;

std::vector<std::string> at2(const std::string& headerLine, const std::vector<std::string>& body) {
  std::vector<std::string> lines = {"PEER NGA STRONG MOTION DATABASE RECORD",
                                    "Test, 1/1/2000, X, 0",
                                    "ACCELERATION TIME SERIES IN UNITS OF G", headerLine};
  lines.insert(lines.end(), body.begin(), body.end());
  return lines;
}

// The records::Error message of a call that must fail.
template <typename F>
std::string errorOf(F&& f) {
  try {
    f();
  } catch (const records::Error& error) {
    return error.what();
  }
  ADD_FAILURE() << "no error";
  return "";
}

TEST(At2Reader, ReadsTheHeaderFormsOfRealFiles) {
  const std::vector<std::string> body = {"   .1000000E-02  -.2000000E-02   .3000000E-02",
                                         "  -.4E-03"};
  for (const char* header :
       {"NPTS=   4, DT=   .0100 SEC,                ", "NPTS=  4, DT=   .0100 SEC",
        "    4    0.0100    NPTS, DT", "NPTS=4 DT=0.01", "NPTS, DT = 4 .01 SEC"}) {
    const records::Record record = records::readAt2("r.AT2", at2(header, body));
    EXPECT_EQ(record.dt, 0.01) << header;
    EXPECT_EQ(record.samples, (std::vector<double>{1e-3, -2e-3, 3e-3, -4e-4})) << header;
    EXPECT_EQ(record.statedUnit, "g");
    EXPECT_TRUE(records::looksLikeAt2("r.txt", {"x", "y", "z", header})) << header;
  }
}

TEST(At2Reader, RefusesMalformedHeadersAndWrongCounts) {
  EXPECT_NE(errorOf([] {
              records::readAt2("r.AT2", at2("POINTS 4 STEP .01", {"1 2 3 4"}));
            }).find("r.AT2:4:"),
            std::string::npos);
  EXPECT_NE(
      errorOf([] { records::readAt2("r.AT2", at2("NPTS= 4.5, DT= .01", {"1 2 3 4"})); }).find("NPTS"),
      std::string::npos);
  EXPECT_NE(errorOf([] { records::readAt2("r.AT2", at2("NPTS= 4, DT= 0", {"1 2 3 4"})); }).find("DT"),
            std::string::npos);
  EXPECT_NE(errorOf([] {
              records::readAt2("r.AT2", at2("NPTS= 5, DT= .01", {"1 2 3 4"}));
            }).find("NPTS = 5 but 4 samples"),
            std::string::npos);
  EXPECT_NE(errorOf([] {
              records::readAt2("r.AT2", at2("NPTS= 3, DT= .01", {"1 2", "3 4"}));
            }).find("r.AT2:6:"),
            std::string::npos);
  EXPECT_NE(errorOf([] { records::readAt2("r.AT2", {"a", "b"}); }).find("header"), std::string::npos);
}

TEST(At2Reader, NamesTheLineOfABadSample) {
  EXPECT_EQ(errorOf([] {
              records::readAt2("r.AT2", at2("NPTS= 4, DT= .01", {"1 2", "3 NaN"}));
            }),
            "r.AT2:6: sample 'NaN' is not finite");
  EXPECT_EQ(errorOf([] { records::readAt2("r.AT2", at2("NPTS= 4, DT= .01", {"1 2 x3 4"})); }),
            "r.AT2:5: 'x3' is not a number");
}

TEST(At2Reader, TakesEventStationAndComponentFromLineTwo) {
  std::vector<std::string> lines = at2("NPTS= 1, DT= .01", {"0.1"});
  lines[1] = "Imperial Valley-02, 5/19/1940, El Centro Array #9, 180";
  records::RecordInfo info = records::readAt2("r.AT2", lines).info;
  EXPECT_EQ(info.format, "PEER NGA AT2");
  EXPECT_EQ(info.event, "Imperial Valley-02, 5/19/1940");
  EXPECT_EQ(info.station, "El Centro Array #9");
  EXPECT_EQ(info.component, "180");
  lines[1] = "  IMPERIAL VALLEY 05/19/40 0439  ";
  info = records::readAt2("r.AT2", lines).info;
  EXPECT_EQ(info.event, "IMPERIAL VALLEY 05/19/40 0439");
  EXPECT_EQ(info.station, "");
}

TEST(ColumnReader, OneColumnNeedsDtAndTwoColumnsGiveIt) {
  EXPECT_EQ(records::readColumns("a.txt", {"# comment", "0.1", "", "-0.2"}, 0.02).samples,
            (std::vector<double>{0.1, -0.2}));
  EXPECT_NE(errorOf([] {
              records::readColumns("a.txt", {"0.1", "0.2"}, std::nullopt);
            }).find("--dt"),
            std::string::npos);
  // Printed times carry rounding; the step is the one written.
  const records::Record record = records::readColumns(
      "b.txt", {"0 0.1", "0.02 0.2", "0.04 0.3", "0.06 0.4", "0.08 0.5"}, std::nullopt);
  EXPECT_EQ(record.dt, 0.02);
  EXPECT_EQ(record.samples.size(), 5u);
}

TEST(ColumnReader, RefusesIrregularInput) {
  EXPECT_EQ(errorOf([] {
              records::readColumns("b.txt", {"0 1", "0.01 2", "0.03 3", "0.04 4"}, std::nullopt);
            }),
            "b.txt:3: time step is not constant: 0.02 s here, 0.01 s at the start");
  EXPECT_NE(errorOf([] {
              records::readColumns("b.txt", {"0 1", "0.01"}, std::nullopt);
            }).find("b.txt:2:"),
            std::string::npos);
  EXPECT_NE(errorOf([] {
              records::readColumns("b.txt", {"0 1", "0.01 2"}, 0.02);
            }).find("--dt"),
            std::string::npos);
  EXPECT_EQ(errorOf([] { records::readColumns("b.txt", {"0 1 2"}, std::nullopt); }),
            "b.txt:1: expected one or two columns, found 3");
  EXPECT_NE(errorOf([] { records::readColumns("b.txt", {"#only"}, 0.01); }).find("no samples"),
            std::string::npos);
}

TEST(CsvReader, FindsTheColumnsAndTheUnitInTheHeader) {
  const std::vector<std::string> lines = {"time,acc (g)", "0,0", "0.02,0.0063", "0.04,0.00364"};
  ASSERT_TRUE(records::hasHeaderRow(lines));
  const records::Record record = records::readCsv("e.csv", lines, "", std::nullopt);
  EXPECT_EQ(record.dt, 0.02);
  EXPECT_EQ(record.statedUnit, "g");
  EXPECT_EQ(record.samples, (std::vector<double>{0, 0.0063, 0.00364}));

  const std::vector<std::string> three = {"t [s];ax [cm/s2];ay [cm/s2]", "0;1;2", "0.01;3;4"};
  EXPECT_NE(errorOf([&] { records::readCsv("x.csv", three, "", std::nullopt); }).find("--column"),
            std::string::npos);
  EXPECT_EQ(records::readCsv("x.csv", three, "ay [cm/s2]", std::nullopt).samples,
            (std::vector<double>{2, 4}));
  EXPECT_EQ(records::readCsv("x.csv", three, "2", std::nullopt).samples, (std::vector<double>{1, 3}));
  EXPECT_EQ(records::readCsv("x.csv", three, "2", std::nullopt).statedUnit, "cm/s2");
  EXPECT_NE(errorOf([&] {
              records::readCsv("x.csv", {"t,a", "0,1", "0.01,"}, "", std::nullopt);
            }).find("x.csv:3:"),
            std::string::npos);
}

TEST(RecordReader, ChoosesTheReaderByContentAndReportsUnreadableFiles) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("spectra-readers-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string at2Path = (dir / "rec.txt").string();
  std::ofstream(at2Path) << "PEER\nx\nACCELERATION IN G\nNPTS= 2, DT= .005 SEC\n 0.1 0.2\n";
  EXPECT_EQ(records::readRecord(at2Path, {}).dt, 0.005);
  const std::string csvPath = (dir / "rec.csv").string();
  std::ofstream(csvPath) << "\xEF\xBB\xBF"
                            "time,a\r\n0,0.1\r\n0.01,0.2\r\n";  // as spreadsheets save it
  const records::Record csv = records::readRecord(csvPath, {});
  EXPECT_EQ(csv.dt, 0.01);
  EXPECT_EQ(csv.samples, (std::vector<double>{0.1, 0.2}));
  EXPECT_EQ(errorOf([&] { records::readRecord((dir / "missing.AT2").string(), {}); }),
            (dir / "missing.AT2").string() + ": cannot open: No such file or directory");
  std::filesystem::remove_all(dir);
}

TEST(Units, ConvertOnceAndRefuseContradictions) {
  EXPECT_EQ(records::findUnit("cm/s^2").name, "cm/s2");
  EXPECT_EQ(records::findUnit("Gal").name, "cm/s2");
  EXPECT_EQ(records::findUnit("in/sec2").name, "in/s2");
  EXPECT_EQ(records::findUnit("cm/sec/sec").name, "cm/s2");
  EXPECT_EQ(records::findUnit("m/s**2").name, "m/s2");
  EXPECT_THROW(records::findUnit("furlong"), records::Error);
  EXPECT_EQ(records::conversionFactor(records::findUnit("g"), records::findUnit("m/s2"), 1.0), 9.80665);
  EXPECT_EQ(records::conversionFactor(records::findUnit("g"), records::findUnit("g"), 2.0), 2.0);
  EXPECT_EQ(records::gravityIn(records::findUnit("g")), 1.0);

  records::Record record{"r.AT2", {0.5, -1.0}, 0.01, "g"};
  records::UnitOptions units{"", "cm/s2", 1.0};
  std::vector<double> samples = records::samplesInOutputUnits(record, units);
  EXPECT_DOUBLE_EQ(samples[0], 490.3325);
  EXPECT_DOUBLE_EQ(samples[1], -980.665);
  units.units = "m/s2";
  EXPECT_NE(errorOf([&] { records::samplesInOutputUnits(record, units); }).find("states"),
            std::string::npos);
  record.statedUnit = "";  // a file without units follows --units
  samples = records::samplesInOutputUnits(record, units);
  EXPECT_DOUBLE_EQ(samples[0], 50.0);
  EXPECT_DOUBLE_EQ(samples[1], -100.0);
}

}  // namespace

// Faults the fuzzers found; their inputs are also kept in fuzz/regressions/.
TEST(ColumnReader, RefusesALineOfSeparatorsOnly) {
  EXPECT_EQ(errorOf([] { records::readColumns("s.txt", {",", "2"}, 0.01); }),
            "s.txt:1: no values on this line");
  EXPECT_EQ(errorOf([] { records::readColumns("s.txt", {"0 1", " ; "}, std::nullopt); }),
            "s.txt:2: no values on this line");
}

TEST(RecordReader, RefusesAGivenTimeStepThatIsNotPositive) {
  for (double dt : {0.0, -0.01, std::nan(""), HUGE_VAL})
    EXPECT_NE(errorOf([&] { records::readRecord("any.txt", {"auto", "", dt}); })
                  .rfind("any.txt: the time step --dt must be a positive number", 0),
              std::string::npos)
        << dt;
}

TEST(Units, RefuseSamplesThatOverflowInTheOutputUnit) {
  const records::Record record{"big.AT2", {0.1, 1e308}, 0.01, "g"};
  EXPECT_EQ(errorOf([&] { records::samplesInOutputUnits(record, {"", "m/s2", 1.0}); }),
            "big.AT2: sample 2 (1e+308 g) is too large for m/s2");
  EXPECT_EQ(errorOf([&] { records::samplesInOutputUnits(record, {"", "g", 10.0}); }),
            "big.AT2: sample 2 (1e+308 g) is too large for g with --scale 10");
  EXPECT_EQ(records::samplesInOutputUnits(record, {"", "g", 1.0}), record.samples);
  const records::Record synthetic{"demo", {0.1, std::nan("")}, 0.01, "g"};
  EXPECT_EQ(errorOf([&] { records::samplesInOutputUnits(synthetic, {"", "m/s2", 1.0}); }),
            "demo: sample 2 is not a finite number (nan g)");
  EXPECT_THROW(records::samplesInOutputUnits(synthetic, {"", "g", 1.0}), records::Error);
}

TEST(ColumnReader, RefusesATimeColumnWhoseSpanOverflows) {
  EXPECT_EQ(errorOf([] {
              records::readColumns("o.txt", {"-1e308 1", "0 2", "1e308 3"}, std::nullopt);
            }),
            "o.txt: the time column gives no usable time step (from -1e+308 s to 1e+308 s)");
}
