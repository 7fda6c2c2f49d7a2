// Record files written from the agencies' published format descriptions, for the reader tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace agency_files {

// A folder of test files, removed with everything in it when the test ends.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // Writes the bytes to name inside the folder and returns the file's path.
  std::string write(const std::string& name, const std::string& bytes) const;
  std::string path() const { return dir_.string(); }

 private:
  std::filesystem::path dir_;
};

// n accelerations in cm/s², each k/100 with |k| < 10^5: every format below prints them exactly.
std::vector<double> groundMotion(std::size_t n);

// PEER NGA AT2 with values in g, each written so that it reads back as the same double.
std::string at2(const std::vector<double>& g, double dt);

// COSMOS V1/V2 text (ver. 1.20): 13 text lines, 100 integers (10I8), 100 reals (6F13.6) with the
// interval in milliseconds as value 62, comments, the data line and samples in (8F10.5).
struct CosmosChannel {
  std::vector<double> samples;
  double dtMs = 10.0;
  std::string kind = "Corrected acceleration";
  int stage = 2;
  std::string dataLine{};  // "" for "<n> acceleration pts, ... units=cm/sec2 (04), Format=(8F10.5)"
};
std::string cosmos(const CosmosChannel& channel);

// USGS SMC: 11 text lines, 48 integers (8I10), 50 reals (5E15.7), comments, samples in 8E10.4
// with one-digit exponents (fields touch when negative), or 5E14.7 when precise.
struct SmcFile {
  std::vector<double> samples;
  double samplesPerSecond = 100.0;
  std::string type = "2 CORRECTED ACCELEROGRAM";
  long countInHeader = -1;  // -1: the number of samples
  bool precise = false;
};
std::string smc(const SmcFile& file);

// K-NET ASCII: 17 header lines ending with "Memo.", then counts, 8 per line.
struct KnetFile {
  std::vector<long> counts{};
  std::string scaleFactor = "3920(gal)/6182761";
  std::string samplingFrequency = "100Hz";
  std::string duration = "1";
};
std::string knet(const KnetFile& file);

// ESM ASCII: "KEY: value" header lines, then one sample per line.
struct EsmFile {
  std::vector<double> samples;
  std::string samplingInterval = "0.010000";
  long ndata = -1;  // -1: the number of samples
  std::string units = "cm/s^2";
  std::string dataType = "ACCELERATION";
};
std::string esm(const EsmFile& file);

}  // namespace agency_files
