// Test files in the agencies' layouts, written field by field from the format descriptions.
#include "agency_files.h"

#include <fmt/format.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <fstream>

namespace agency_files {

namespace {

// Values written `perLine` to a line, each by `field`.
template <typename T, typename F>
std::string rows(const std::vector<T>& values, std::size_t perLine, F field) {
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    text += field(values[i]);
    if ((i + 1) % perLine == 0 || i + 1 == values.size()) text += "\n";
  }
  return text;
}

// Fortran ES<width>.<decimals>E1: "1.2345E+2", "-1.2345E+2", right-justified.
std::string fortranE(double value, int decimals, int width) {
  const std::string c = fmt::format("{:.{}e}", value, decimals);  // "1.2345e+02"
  const auto e = c.find('e');
  return fmt::format("{:>{}}", c.substr(0, e) + fmt::format("E{:+d}", std::stoi(c.substr(e + 1))),
                     width);
}

}  // namespace

TempDir::TempDir() {
  static std::atomic<int> serial{0};
  dir_ = std::filesystem::temp_directory_path() /
         fmt::format("spectra-records-{}-{}", ::getpid(), serial++);
  std::filesystem::create_directories(dir_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string TempDir::write(const std::string& name, const std::string& bytes) const {
  const std::string file = (dir_ / name).string();
  std::ofstream(file, std::ios::binary) << bytes;
  return file;
}

std::vector<double> groundMotion(std::size_t n) {
  std::vector<double> a;
  for (std::size_t i = 0; i < n; ++i) {
    const double x = static_cast<double>(i);
    a.push_back(std::round(25000 * std::sin(0.37 * x) + 3000 * std::cos(1.3 * x)) / 100);
  }
  return a;
}

std::string at2(const std::vector<double>& g, double dt) {
  return fmt::format(
             "PEER NGA STRONG MOTION DATABASE RECORD\n"
             "Test earthquake, 1/1/2001, Test Station, 90\n"
             "ACCELERATION TIME SERIES IN UNITS OF G\n"
             "NPTS= {}, DT= {} SEC\n",
             g.size(), dt) +
         rows(g, 5, [](double v) { return fmt::format(" {}", v); });
}

std::string cosmos(const CosmosChannel& c) {
  const std::size_t n = c.samples.size();
  std::vector<int> ints(100, -999);
  ints[0] = c.stage;  // processing stage
  ints[1] = 1;        // acceleration (Table 1)
  ints[2] = 4;        // cm/sec2 (Table 2)
  ints[3] = 120;      // format version 1.20
  std::vector<double> reals(100, -999.0);
  reals[61] = c.dtMs;                                  // sampling interval [ms]
  reals[62] = static_cast<double>(n) * c.dtMs / 1000;  // series length [s]
  std::string text = fmt::format("{:<25} (Format v01.20 with 13 text lines) Src: tests\n", c.kind);
  text +=
      "Test earthquake           Earthquake of Mon Jan 01, 2001 00:00 UTC\n"
      "Hypocenter: 34.000 -118.000  H= 10km(TEST) M=6.0\n"
      "Origin: 01/01/2001, 00:00:00.0 UTC (TEST)\n"
      "Statn No: 05-12345  Code:CE-12345  CGS  Test Station\n"
      "Coords: 34.0000 -118.0000   Site geology: unknown\n"
      "Recorder: test   s/n:0001 (  3 Chns of  3 at Sta) Sensor:FBA     s/n 0001\n"
      "Rcrd start time: 1/1/2001, 00:00:10.000 UTC (Q=5) RcrdId: test\n"
      "Sta Chan   1:  90 deg (Rcrdr Chan  1) Location: free field\n"
      "Raw record length =   0.370 sec, Uncor max =    0.000        at    0.000 sec\n"
      "Processed: 01/01/01 12:00 UTC      Max =   250.000 cm/sec2  at   1.000 sec\n"
      "Record filtered below  0.10 Hz (periods over  10.0 secs)  and above 25.0 Hz\n"
      "Values used when parameter or data value is unknown/unspecified:   -999, -999.0\n";
  text += " 100 Integer-header values follow on 10 lines, Format= (10I8)\n";
  text += rows(ints, 10, [](int v) { return fmt::format("{:8d}", v); });
  text += " 100 Real-header values follow on 17 lines, Format= (6F13.6)\n";
  text += rows(reals, 6, [](double v) { return fmt::format("{:13.6f}", v); });
  text += "   1 Comment line(s) follow, each starting with a \"|\":\n";
  text += "| Written from the COSMOS format description by the reader tests\n";
  text += c.dataLine.empty()
              ? fmt::format(
                    "{:8d} acceleration pts, approx {:4.0f} secs, units=cm/sec2 (04), "
                    "Format=(8F10.5)\n",
                    n, static_cast<double>(n) * c.dtMs / 1000)
              : c.dataLine + "\n";
  text += rows(c.samples, 8, [](double v) { return fmt::format("{:10.5f}", v); });
  return text + "End-of-data for Chan  1 acceleration\n";
}

std::string smc(const SmcFile& f) {
  const long n = f.countInHeader >= 0 ? f.countInHeader : static_cast<long>(f.samples.size());
  std::vector<long> ints(48, -32768);
  const long start[] = {2001, 1, 0, 0, 10, 0};  // year, day, hour, minute, second, millisecond
  for (int i = 0; i < 6; ++i) ints[1 + i] = start[i];
  ints[15] = 1;  // comment lines
  ints[16] = n;  // samples
  if (f.precise) ints[46] = 8;
  std::vector<double> reals(50, 1.7e38);
  reals[1] = f.samplesPerSecond;
  std::string text = f.type + "\nTest earthquake, January 1, 2001\nTEST  Test network\n*\n*\n";
  text += "station = Test Station          component= 360\n*\n*\n*\n*\n*\n";
  text += rows(ints, 8, [](long v) { return fmt::format("{:10d}", v); });
  text += rows(reals, 5, [](double v) { return fmt::format("{:15.7e}", v); });
  text += "| Written from the SMC format description by the reader tests\n";
  if (f.precise) return text + rows(f.samples, 5, [](double v) { return fortranE(v, 7, 14); });
  return text + rows(f.samples, 8, [](double v) { return fortranE(v, 4, 10); });
}

std::string knet(const KnetFile& f) {
  const std::pair<const char*, std::string> header[] = {{"Origin Time", "2006/01/18 23:25:00"},
                                                        {"Lat.", "37.798"},
                                                        {"Lon.", "142.200"},
                                                        {"Depth. (km)", "36"},
                                                        {"Mag.", "5.7"},
                                                        {"Station Code", "MYG002"},
                                                        {"Station Lat.", "38.7262"},
                                                        {"Station Lon.", "141.5109"},
                                                        {"Station Height(m)", "79"},
                                                        {"Record Time", "2006/01/18 23:25:46"},
                                                        {"Sampling Freq(Hz)", f.samplingFrequency},
                                                        {"Duration Time(s)", f.duration},
                                                        {"Dir.", "N-S"},
                                                        {"Scale Factor", f.scaleFactor},
                                                        {"Max. Acc. (gal)", "48.060"},
                                                        {"Last Correction", "2006/01/18 23:25:31"},
                                                        {"Memo.", ""}};
  std::string text;
  for (const auto& [key, value] : header) text += fmt::format("{:<18}{}\n", key, value);
  return text + rows(f.counts, 8, [](long v) { return fmt::format("{:9d}", v); });
}

std::string esm(const EsmFile& f) {
  const long n = f.ndata >= 0 ? f.ndata : static_cast<long>(f.samples.size());
  std::string text =
      "EVENT_NAME: Test earthquake\nEVENT_ID: TEST-2001-0001\nEVENT_DATE_YYYYMMDD: 20010101\n"
      "EVENT_TIME_HHMMSS: 000000\nMAGNITUDE_W: 6.0\nNETWORK: XX\nSTATION_CODE: TST\n"
      "STATION_NAME: Test Station\nVS30_M/S: 400\n"
      "DATE_TIME_FIRST_SAMPLE_YYYYMMDD_HHMMSS: 20010101_000010.000\n";
  text += "SAMPLING_INTERVAL_S: " + f.samplingInterval + "\n";
  text += fmt::format("NDATA: {}\n", n);
  text +=
      "STREAM: HNE\nUNITS: " + f.units + "\nINSTRUMENT: sensor = Unknown | digitizer = Unknown\n";
  text += "PGA_CM/S^2: 250.0\nBASELINE_CORRECTION: BASELINE REMOVED\nDATA_TYPE: " + f.dataType +
          "\nUSER1: MEAN REMOVED (0.1 cm/s^2)\n";
  return text + rows(f.samples, 1, [](double v) { return fmt::format("{:.6f}", v); });
}

}  // namespace agency_files
