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

std::vector<std::string> recordSeeds() {
  std::vector<std::string> seeds = at2Seeds();
  for (const auto* more : {&columnSeeds(), &csvSeeds()})
    seeds.insert(seeds.end(), more->begin(), more->end());
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
  writeSeeds(root / "columns", columnSeeds());
  writeSeeds(root / "csv", csvSeeds());
  writeSeeds(root / "record", recordSeeds());
  writeSeeds(root / "cli_options", commandLineSeeds());
  writeSeeds(root / "cli_numbers", numberSeeds());
  for (const fuzz::ModuleForms& module : fuzz::moduleForms())
    writeSeeds(root / fuzz::gatewayTargetName(module.name), gatewaySeeds(module));
  return 0;
}
