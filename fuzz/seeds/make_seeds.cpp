// Writes the seed corpus of every fuzz target: small record files of each format with their
// read options, command lines of every module, number texts, and each calling form of every
// gateway on a short record. Usage: spectra_fuzz_seeds <folder> (normally fuzz/corpus).
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "harness/argument_encoder.h"
#include "harness/calling_forms.h"
#include "harness/targets.h"

namespace {

namespace fs = std::filesystem;

void writeSeed(const fs::path& folder, int index, const std::string& bytes) {
  fs::create_directories(folder);
  char name[32];
  std::snprintf(name, sizeof name, "seed_%03d", index);
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void writeSeeds(const fs::path& folder, const std::vector<std::string>& seeds) {
  for (std::size_t i = 0; i < seeds.size(); ++i) writeSeed(folder, static_cast<int>(i), seeds[i]);
}

const std::vector<std::string>& at2Seeds() {
  static const std::vector<std::string> seeds = {
      "name=rec.AT2\nPEER NGA STRONG MOTION DATABASE RECORD\nIMPERIAL VALLEY 10/15/79, EL CENTRO\n"
      "ACCELERATION TIME SERIES IN UNITS OF G\nNPTS=    8, DT=   .0100 SEC\n"
      "  .1000000E-02  .2000000E-02 -.1500000E-02  .4000000E-03 -.2000000E-02\n"
      "  .1000000E-02  .3000000E-02 -.1000000E-02\n",
      "name=old.at2\nPEER\nX\nACCELERATION IN G\n   5    0.0050   NPTS, DT\n1D-3 2D-3\n-3D-3\n4d-3 5E-3\n",
      "dt=0.01|name=r.AT2\nPEER\nX\nACCELERATION IN G\nNPTS= 3, DT= 0.01 SEC\n0.1 0.2 0.3\n",
      "name=v.AT2\nPEER\nX\nVELOCITY IN CM/S\nNPTS= 2, DT= 0.01\n1 2\n",
      "name=crlf.AT2\nPEER\r\nX\r\nACCELERATION\r\nNPTS=2,DT=0.02\r\n0.1,0.2\r\n",
      "name=short.AT2\nPEER\nX\nACCELERATION\nNPTS= 4, DT= 0.01\n0.1 0.2\n",
  };
  return seeds;
}

const std::vector<std::string>& columnSeeds() {
  static const std::vector<std::string> seeds = {
      "dt=0.01\n0.01\n0.02\n-0.03\n0.005\n",
      "name=two.txt\n# time acc\n0.00 0.01\n0.01 0.02\n0.02 -0.01\n0.03 0.00\n",
      "dt=0.02|units=cm/s2\n% header\n1.5\n-2.5\n\n3.5\n",
      "name=t.dat\n0 1e-3\n0.005 2e-3\n0.010 3e-3\n",
      "dt=0.01|scale=2\n1,\n2\n",
  };
  return seeds;
}

const std::vector<std::string>& csvSeeds() {
  static const std::vector<std::string> seeds = {
      "name=r.csv\ntime,acc (g)\n0,0.01\n0.01,0.02\n0.02,-0.01\n",
      "name=r.csv|column=ns [cm/s2]\nt;ns [cm/s2];ew [cm/s2]\n0;1;2\n0.01;3;4\n0.02;5;6\n",
      "dt=0.005|name=a.tsv\nacc [m/s^2]\n0.1\n0.2\n",
      "name=b.csv|column=2\n\"time (s)\",\"a (gal)\"\n0,1\n0.01,2\n0.02,3\n",
      "name=c.csv\ntime,a (ft/min2)\n0,1\n0.01,2\n",
  };
  return seeds;
}

// Values written perLine to a line, each by the printf format.
template <typename T>
std::string rows(const std::vector<T>& values, std::size_t perLine, const char* format) {
  std::string text;
  char field[64];
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::snprintf(field, sizeof field, format, values[i]);
    text += field;
    if ((i + 1) % perLine == 0 || i + 1 == values.size()) text += "\n";
  }
  return text;
}

const std::vector<double> kAgencySamples = {12.5, -30.25, 41.0, -8.75, 0.5, 17.0, -22.5, 3.25};

// A COSMOS channel in the full layout: 13 text lines, 100 integers, 100 reals (value 62 the
// interval in milliseconds), one comment, the data line, samples in 8F10.5.
std::string cosmosChannel(const std::string& kind, int stage, const std::string& dataLine) {
  std::vector<int> ints(100, -999);
  ints[0] = stage;
  ints[1] = 1;
  ints[2] = 4;
  ints[3] = 120;
  std::vector<double> reals(100, -999.0);
  reals[61] = 10.0;
  reals[62] = 0.08;
  std::string text = kind + " (Format v01.20 with 13 text lines) Src: seeds\n";
  text += "Test earthquake  Earthquake of Mon Jan 01, 2001 00:00 UTC\nHypocenter: 34.0 -118.0\n"
          "Origin: 01/01/2001, 00:00:00.0 UTC\nStatn No: 05-12345  Code:CE-12345  Test\n"
          "Coords: 34.0 -118.0\nRecorder: test\nRcrd start time: 1/1/2001, 00:00:10.000 UTC (Q=5)\n"
          "Sta Chan   1:  90 deg (Rcrdr Chan  1) Location: free field\nRaw record length = 0.08\n"
          "Processed: 01/01/01\nRecord filtered below 0.10 Hz\nValues used when unknown: -999\n";
  text += " 100 Integer-header values follow on 10 lines, Format= (10I8)\n" + rows(ints, 10, "%8d");
  text += " 100 Real-header values follow on 17 lines, Format= (6F13.6)\n" +
          rows(reals, 6, "%13.6f");
  text += "   1 Comment line(s) follow, each starting with a \"|\":\n| seed\n";
  return text + dataLine + "\n" + rows(kAgencySamples, 8, "%10.5f") +
         "End-of-data for Chan  1 acceleration\n";
}

const char* const kCosmosDataLine =
    "       8 acceleration pts, approx    0 secs, units=cm/sec2 (04), Format=(8F10.5)";

// A COSMOS channel with the shortest headers the layout allows: 1 text line, 2 integers and the
// 62 reals up to the interval.
std::string compactCosmos(const std::string& unit) {
  std::string reals;
  for (int i = 1; i < 62; ++i) reals += " 0";
  return "Corrected accel (Format v01.20 with 1 text lines)\n"
         " 2 Integer-header values follow on 1 lines, Format=(10I8)\n       2       1\n"
         "62 Real-header values follow on 1 lines, Format=(62F2.0)\n" + reals + " 5\n"
         " 0 Comment line(s) follow\n"
         " 4 accel pts, units=" + unit + ", Format=(4E10.3)\n 1.000E+00-2.500E-01 3.0D-01   -0.125\n";
}

std::vector<std::string> cosmosSeeds() {
  const std::string v2 = cosmosChannel("Corrected acceleration", 2, kCosmosDataLine);
  const std::string velocity =
      cosmosChannel("Velocity", 2,
                    "       8 velocity pts, approx    0 secs, units=cm/sec (04), Format=(8F10.5)");
  return {"name=rec.v2\n" + v2,
          "name=rec.v1|channel=2\n" + cosmosChannel("Raw acceleration", 1, kCosmosDataLine) + v2,
          "name=two.v2\n" + v2 + v2,
          "name=vel.v2\n" + velocity,
          "name=c.v2\n" + compactCosmos("cm/sec2"),
          "name=g.v1|dt=0.005\n" + compactCosmos("g")};
}

// USGS SMC: 11 text lines, 48 integers (8I10), 50 reals (5E15.7), comments, samples.
std::string smcFile(const std::string& type, double rate, bool precise) {
  std::vector<long> ints(48, -32768);
  const long start[] = {2001, 1, 0, 0, 10, 0};
  for (int i = 0; i < 6; ++i) ints[1 + i] = start[i];
  ints[15] = 1;
  ints[16] = static_cast<long>(kAgencySamples.size());
  if (precise) ints[46] = 8;
  std::vector<double> reals(50, 1.7e38);
  reals[1] = rate;
  std::string text = type + "\nTest earthquake\nTEST  Test network\n*\n*\n"
                            "station = Test Station          component= 360\n*\n*\n*\n*\n*\n";
  text += rows(ints, 8, "%10ld") + rows(reals, 5, "%15.7e") + "| seed\n";
  return text + (precise ? rows(kAgencySamples, 5, "%14.7E") : rows(kAgencySamples, 8, "%10.3E"));
}

std::vector<std::string> smcSeeds() {
  return {"name=rec.smc\n" + smcFile("2 CORRECTED ACCELEROGRAM", 100.0, false),
          "name=raw.smc\n" + smcFile("1 UNCORRECTED ACCELEROGRAM", 200.0, true),
          "name=vel.smc\n" + smcFile("3 VELOCITY", 100.0, false),
          "dt=0.01|name=x.smc\n" + smcFile("2 CORRECTED ACCELEROGRAM", 100.0, true)};
}

// K-NET ASCII: the header lines down to "Memo.", then counts, 8 per line.
std::string knetFile(const std::string& frequency, const std::string& scale,
                     const std::string& duration) {
  return "Origin Time       2006/01/18 23:25:00\nLat.              37.798\nMag.              5.7\n"
         "Station Code      MYG002\nRecord Time       2006/01/18 23:25:46\n"
         "Sampling Freq(Hz) " + frequency + "\nDuration Time(s)  " + duration +
         "\nDir.              N-S\nScale Factor      " + scale +
         "\nMax. Acc. (gal)   0.5\nMemo.\n"
         "     1201     -340     5506    -2211      120        0     -410      999\n";
}

std::vector<std::string> knetSeeds() {
  return {"name=MYG0020601182325.NS\n" + knetFile("100Hz", "3920(gal)/6182761", "1"),
          "name=k.EW\n" + knetFile("50Hz", "2000(gal)/8388608", "1"),
          "name=k.UD|dt=0.01\n" + knetFile("100", "9.81(m/s2)/1e6", "1")};
}

// ESM ASCII: "KEY: value" header lines, then one sample per line.
std::string esmFile(const std::string& interval, const std::string& units,
                    const std::string& type) {
  std::string text = "EVENT_NAME: Test earthquake\nEVENT_ID: TEST-2001-0001\nNETWORK: XX\n"
                     "STATION_CODE: TST\nDATE_TIME_FIRST_SAMPLE_YYYYMMDD_HHMMSS: 20010101_000010\n"
                     "SAMPLING_INTERVAL_S: " + interval + "\nNDATA: 8\nSTREAM: HNE\nUNITS: " +
                     units + "\nDATA_TYPE: " + type + "\nUSER1: MEAN REMOVED\n";
  return text + rows(kAgencySamples, 1, "%.6f");
}

std::vector<std::string> esmSeeds() {
  return {"name=r.ASC\n" + esmFile("0.010000", "cm/s^2", "ACCELERATION"),
          "name=g.ASC\n" + esmFile("0.005", "g", "ACCELERATION"),
          "name=v.ASC\n" + esmFile("0.01", "cm/s", "VELOCITY"),
          "name=s.ASC|dt=0.01\n" + esmFile("0.01", "cm/s^2", "ACCELERATION RESPONSE SPECTRUM")};
}

std::vector<std::string> recordSeeds() {
  std::vector<std::string> seeds = at2Seeds();
  for (const auto& more : {columnSeeds(), csvSeeds(), cosmosSeeds(), smcSeeds(), knetSeeds(),
                           esmSeeds()})
    seeds.insert(seeds.end(), more.begin(), more.end());
  return seeds;
}

// One command line per line of the seed: arguments separated by newlines.
std::string commandLine(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& argument : arguments) text += (text.empty() ? "" : "\n") + argument;
  return text;
}

std::vector<std::string> commandLineSeeds() {
  const std::vector<std::vector<std::string>> lines = {
      {"demo"},
      {"demo", "--plot", "demo.png", "--seed", "3", "--peak", "0.3", "--duration", "5"},
      {"elastic", "rec.AT2", "--zeta", "0.02,0.05,0.1", "--periods", "0.02:5:250", "--plot", "sa.png"},
      {"elastic2d", "a.AT2", "b.AT2", "--method", "newmark", "--out", "pair.json"},
      {"inelastic", "rec.AT2", "--R", "4", "--kin", "0.02", "--fields", "dsp,muFact,RFact"},
      {"inelastic", "rec.AT2", "--strength", "yieldDisplacement", "--para", "0.01"},
      {"inelastic", "rec.AT2", "--mu", "3", "--kin", "0.05", "--periods", "1.5:3:7"},
      {"fps", "rec.AT2", "--frn", "0.03,0.06", "--uy", "0.0005", "--periods", "1:5:4"},
      {"fps", "rec.AT2", "--weight", "1000", "--frn", "0.05"},
      {"fps2d", "a.AT2", "b.AT2", "--frn", "0.05", "--g", "9.81"},
      {"lrb", "rec.AT2", "--mass", "100", "--qd", "20,50", "--alpha", "0.08", "--plot", "l.svg"},
      {"lrb2d", "a.AT2", "b.AT2", "--qd", "0.5", "--log-periods", "0.5:5:4", "--axes", "logx"},
      {"Quorvel", "--demo", "--out-units", "g", "--units", "gal", "--dt", "0.01", "--scale", "2"},
      {"elastic", "r.csv", "--format", "csv", "--column", "acc", "--out-dir", "o", "--jobs", "2"},
      {"rotd", "a.v2", "b.v2", "--format", "cosmos", "--channel", "2", "--percentiles", "0,50,100",
       "--angle-step", "5"},
      {"elastic2d", "--demo", "--rotd", "--periods", "0.2,1", "--resample", "2"},
      {"elastic", "--demo", "--acc-units", "cm/s2", "--vel-units", "in/s", "--disp-units", "mm",
       "--history", "T=1,zeta=0.02", "--periods", "0.5,1"},
      {"inelastic", "--demo", "--mu", "4", "--search", "largest", "--periods", "0.5,1",
       "--force-units", "kN", "--history", "T=0.5"},
      {"elastic", "a.smc", "b.NS", "c.ASC", "--out-dir", "o", "--target",
       "asce7:SDS=1.0,SD1=0.6,TL=8", "--suite-stats", "--scale-to-target", "--range", "0.2:2",
       "--rule", "asce7", "--shard", "1/2"},
      {"elastic", "--demo", "--target", "ec8:type=1,ground=B,ag=0.25,zeta=0.05", "--periods",
       "0.1,0.5,1", "--scale-to-target", "--range", "0.1:1", "--unit-system", "US"},
      {"lrb", "--demo", "--qd-ratio", "0.05,0.1", "--history", "T=2,Qd/W=0.05", "--resample"},
      {"fps", "r.ASC", "--format", "esm", "--frn", "0.05", "--tripartite", "--plot", "p.svg"},
  };
  std::vector<std::string> seeds;
  for (const auto& line : lines) seeds.push_back(commandLine(line));
  return seeds;
}

std::vector<std::string> numberSeeds() {
  // The first character picks the parser: '0' periods, '1' log periods, '2' list, '3' number,
  // '4' unit in a column header.
  return {"00.1,0.2,0.5", "00.02:5:250",    "10.02:10:100", "10.5:0.5:1", "20.02,0.05,0.1",
          "2,",           "31.5D-3",        "3+inf",        "3-0x1p3",    "3nan",
          "4acc (g)",     "4a [cm/s^2]",    "4x (ft/min2)", "4a (m/sec/sec)", "0 1 , 2"};
}

// A short record of a decaying sine, as the gateway seeds use.
std::vector<double> shortRecord(std::size_t n, double phase) {
  std::vector<double> ag(n);
  for (std::size_t i = 0; i < n; ++i)
    ag[i] = 2.5 * std::sin(0.35 * static_cast<double>(i) + phase) * std::exp(-0.02 * i);
  return ag;
}

// One argument for a slot of a calling form, with typical values.
void encodeSlot(fuzz::Slot slot, const std::string& module, fuzz::CallEncoder& call, int& records) {
  using fuzz::Slot;
  switch (slot) {
    case Slot::Record: call.record(shortRecord(120, records++ * 0.7)); break;
    case Slot::Dt: call.scalar(0.01); break;
    case Slot::Mass: call.scalar(module == "Tillock/weight" ? 1000.0 : 1.0); break;
    case Slot::Gravity: call.scalar(9.80665); break;
    case Slot::Swept: call.vector(module == "Pellory" || module == "Vintarrow"
                                      ? std::vector<double>{0.3, 0.6}
                                      : std::vector<double>{0.02, 0.05}, true);
      break;
    case Slot::Periods: call.vector({0.2, 0.5, 1.0, 2.0}); break;
    case Slot::Tstart: call.scalar(0.5); break;
    case Slot::Tend: call.scalar(3.0); break;
    case Slot::Count: call.scalar(5.0); break;
    case Slot::Method: call.keyword("newmark"); break;
    case Slot::Kin: call.scalar(0.02); break;
    case Slot::Iso: call.scalar(0.0); break;
    case Slot::Strength: call.keyword(records % 2 ? "ductilityFactor" : "R"); break;
    case Slot::Para: call.scalar(3.0); break;
    case Slot::Uy: call.scalar(0.001); break;
    case Slot::Alpha: call.scalar(0.1); break;
  }
}

// Every calling form, once one-threaded on the fast path and once two-threaded against the
// straightforward reference.
std::vector<std::string> gatewaySeeds(const fuzz::ModuleForms& module) {
  std::vector<std::string> seeds;
  for (std::uint8_t execution : {0x00, 0x17}) {
    for (std::size_t form = 0; form < module.forms.size(); ++form) {
      fuzz::CallEncoder call(static_cast<int>(form), execution);
      int records = static_cast<int>(form);
      for (fuzz::Slot slot : module.forms[form]) encodeSlot(slot, module.name, call, records);
      seeds.emplace_back(call.bytes().begin(), call.bytes().end());
    }
  }
  return seeds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: spectra_fuzz_seeds <corpus folder>\n");
    return 2;
  }
  const fs::path root = argv[1];
  writeSeeds(root / "at2", at2Seeds());
  writeSeeds(root / "cosmos", cosmosSeeds());
  writeSeeds(root / "smc", smcSeeds());
  writeSeeds(root / "knet", knetSeeds());
  writeSeeds(root / "esm", esmSeeds());
  writeSeeds(root / "columns", columnSeeds());
  writeSeeds(root / "csv", csvSeeds());
  writeSeeds(root / "record", recordSeeds());
  writeSeeds(root / "cli_options", commandLineSeeds());
  writeSeeds(root / "cli_numbers", numberSeeds());
  for (const fuzz::ModuleForms& module : fuzz::moduleForms())
    writeSeeds(root / fuzz::gatewayTargetName(module.name), gatewaySeeds(module));
  return 0;
}
