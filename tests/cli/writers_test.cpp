// Output writers: exact numbers in CSV and JSON, labelled tables, plots, and no partial files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/writers/atomic_file.h"
#include "cli/writers/csv_writer.h"
#include "cli/app/error.h"
#include "cli/writers/json_writer.h"
#include "cli/app/module_table.h"
#include "records/numbers.h"
#include "cli/writers/spectrum_plot.h"
#include "cli/writers/table_writer.h"
#include "core/gateway/host_api.h"

namespace {

namespace fs = std::filesystem;

// A stand-in module: two periods, two damping ratios, values that need all 17 digits, and a NaN.
void fakeGateway(int, mxArray* plhs[], int, const mxArray*[]) {
  const char* names[] = {"pga", "mass", "zeta", "T", "f", "dsp", "psdAcc"};
  const std::vector<std::vector<double>> values = {{0.5},
                                                   {1.0},
                                                   {0.02, 0.05},
                                                   {0.5, 1.0},
                                                   {2.0, 1.0},
                                                   {0.1 + 0.2, 1.0 / 3.0, NAN, -2.5e-300},
                                                   {1.0, 2.0, 3.0, INFINITY}};
  mxArray* s = mxCreateStructMatrix(1, 1, 7, names);
  for (int i = 0; i < 7; ++i) {
    const std::size_t n = values[static_cast<std::size_t>(i)].size();
    mxArray* a = mxCreateDoubleMatrix(n == 4 ? 2 : n, n == 4 ? 2 : 1, mxREAL);
    std::copy(values[static_cast<std::size_t>(i)].begin(),
              values[static_cast<std::size_t>(i)].end(), mxGetPr(a));
    mxSetFieldByNumber(s, 0, i, a);
  }
  plhs[0] = s;
}

cli::Spectrum fakeSpectrum() {
  cli::Spectrum spectrum;
  spectrum.source = "test record";
  spectrum.module = cli::findModule("elastic");
  spectrum.fields = cli::convertedFields(host::call(fakeGateway, 1, {}), spectrum.units);
  return spectrum;
}

std::vector<std::string> split(const std::string& line) {
  std::vector<std::string> cells;
  std::stringstream in(line);
  for (std::string cell; std::getline(in, cell, ',');) cells.push_back(cell);
  return cells;
}

class Writers : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("spectra-writers-" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::size_t filesInDir() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
  }
  fs::path dir;
};

TEST_F(Writers, CsvHasUnitsInTheHeaderAndExactNumbers) {
  const cli::Spectrum spectrum = fakeSpectrum();
  std::stringstream text(cli::csvText(spectrum));
  std::string header, first, second;
  std::getline(text, header);
  std::getline(text, first);
  std::getline(text, second);
  EXPECT_EQ(header,
            "T [s],f [Hz],dsp zeta=0.02 [m],dsp zeta=0.05 [m],psdAcc zeta=0.02 [m/s2],"
            "psdAcc zeta=0.05 [m/s2]");
  const std::vector<std::string> row = split(first);
  ASSERT_EQ(row.size(), 6u);
  EXPECT_EQ(*records::parseNumber(row[2]), 0.1 + 0.2);
  EXPECT_EQ(row[3], "nan");
  EXPECT_EQ(*records::parseNumber(split(second)[2]), 1.0 / 3.0);
  EXPECT_EQ(*records::parseNumber(split(second)[3]), -2.5e-300);
  EXPECT_EQ(split(second)[5], "inf");
}

TEST_F(Writers, JsonKeepsEveryFieldShapeAndOrder) {
  const nlohmann::json json = nlohmann::json::parse(cli::jsonText(fakeSpectrum()));
  EXPECT_EQ(json["module"], "Quorvel");
  const nlohmann::json& dsp = json["fields"]["dsp"];
  EXPECT_EQ(dsp["shape"], nlohmann::json({2, 2}));
  EXPECT_EQ(dsp["unit"], "m");
  EXPECT_EQ(dsp["data"][0][0].get<double>(), 0.1 + 0.2);  // row = period, column = zeta
  EXPECT_EQ(dsp["data"][1][0].get<double>(), 1.0 / 3.0);
  EXPECT_EQ(dsp["data"][0][1], "NaN");
  EXPECT_EQ(json["fields"]["psdAcc"]["data"][1][1], "Infinity");
  EXPECT_EQ(json["fields"]["zeta"]["shape"], nlohmann::json({2, 1}));
  const std::string text = cli::jsonText(fakeSpectrum());
  const std::size_t fields = text.find("\"fields\"");
  EXPECT_LT(text.find("\"pga\"", fields), text.find("\"mass\"", fields));
  EXPECT_LT(text.find("\"dsp\"", fields), text.find("\"psdAcc\"", fields));
}

TEST_F(Writers, TableLabelsFieldsAndSweptValues) {
  const std::string table = cli::tableText(fakeSpectrum(), {"psdAcc"});
  EXPECT_NE(table.find("Quorvel (elastic), test record: PGA = 0.5 m/s2"), std::string::npos);
  EXPECT_NE(table.find("Sa [m/s2]"), std::string::npos);
  EXPECT_NE(table.find("ζ = 5 %"), std::string::npos);
  // Columns are counted in characters: both header lines end at the same column.
  std::stringstream lines(table);
  std::string title, fields, swept;
  std::getline(lines, title);
  std::getline(lines, fields);
  std::getline(lines, swept);
  EXPECT_EQ(fields.size() + 2, swept.size());  // two ζ of two bytes each
}

TEST_F(Writers, PlotsArePngOrSvg) {
  const cli::Spectrum spectrum = fakeSpectrum();
  const std::string png = (dir / "p.png").string(), svg = (dir / "p.svg").string();
  cli::writeSpectrumPlot(spectrum, {{"psdAcc", "dsp"}, "loglog", false}, png);
  cli::writeSpectrumPlot(spectrum, {{"psdAcc"}, "lin", false}, svg);
  std::string head(4, '\0');
  std::ifstream(png, std::ios::binary).read(head.data(), 4);
  EXPECT_EQ(head, "\x89PNG");
  std::stringstream content;
  content << std::ifstream(svg).rdbuf();
  EXPECT_NE(content.str().find("<svg"), std::string::npos);
  EXPECT_THROW(cli::checkPlotRequest("lin", "plot.pdf"), cli::Error);
  EXPECT_THROW(cli::checkPlotRequest("semilog", "plot.png"), cli::Error);
}

TEST_F(Writers, FailuresLeaveNoPartialFile) {
  const std::string target = (dir / "kept.png").string();
  std::ofstream(target) << "old";
  // Nothing a log axis can show: the plot fails and the file already there stays as it was.
  cli::Spectrum spectrum = fakeSpectrum();
  spectrum.fields[6].data = {-1, -2, -3, -4};  // psdAcc
  EXPECT_THROW(cli::writeSpectrumPlot(spectrum, {{"psdAcc"}, "logy", false}, target), cli::Error);
  std::stringstream content;
  content << std::ifstream(target).rdbuf();
  EXPECT_EQ(content.str(), "old");
  EXPECT_EQ(filesInDir(), 1u);  // no temporary left behind
  EXPECT_THROW(cli::writeFileAtomically((dir / "no" / "x.csv").string(), "x"), cli::Error);
  EXPECT_FALSE(fs::exists(dir / "no"));
}

}  // namespace
