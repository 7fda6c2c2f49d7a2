// Running the built spectra program from tests, in a scratch folder of the test's own.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace clitest {

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

// A fresh folder under the system temporary folder, removed when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  std::filesystem::path path(const std::string& name) const { return root_ / name; }
  std::string str(const std::string& name) const { return path(name).string(); }
  // Writes text to a file in the folder and returns its path.
  std::string write(const std::string& name, const std::string& text) const;
  std::vector<std::string> files() const;

 private:
  std::filesystem::path root_;
};

// Runs the program with the arguments (each quoted for the shell), capturing both streams.
ProgramRun runProgram(const ScratchDir& dir, const std::vector<std::string>& args);

std::string readFile(const std::string& path);

// An AT2 file of the samples, in the NGA header form, five values a line, exact decimal text.
std::string at2Text(const std::vector<double>& samples, double dt);

}  // namespace clitest
