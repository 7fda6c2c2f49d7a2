// Program runner for the end-to-end tests.
#include "program_runner.h"

#include <fmt/format.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace clitest {

namespace {

std::string quoted(const std::string& arg) {
  std::string text = "'";
  for (char c : arg) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return text + "'";
}

}  // namespace

ScratchDir::ScratchDir() {
  static int counter = 0;
  root_ = std::filesystem::temp_directory_path() /
          fmt::format("spectra-cli-test-{}-{}", ::getpid(), counter++);
  std::filesystem::remove_all(root_);
  std::filesystem::create_directories(root_);
}

ScratchDir::~ScratchDir() { std::filesystem::remove_all(root_); }

std::string ScratchDir::write(const std::string& name, const std::string& text) const {
  std::ofstream(path(name), std::ios::binary) << text;
  return str(name);
}

std::vector<std::string> ScratchDir::files() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root_))
    names.push_back(std::filesystem::relative(entry.path(), root_).string());
  std::sort(names.begin(), names.end());
  return names;
}

ProgramRun runProgram(const ScratchDir& dir, const std::vector<std::string>& args) {
  std::string command = quoted(SPECTRA_PROGRAM);
  for (const std::string& arg : args) command += " " + quoted(arg);
  const std::string out = dir.str(".stdout"), err = dir.str(".stderr");
  command += " >" + quoted(out) + " 2>" + quoted(err) + " </dev/null";
  const int raw = std::system(command.c_str());
  ProgramRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = readFile(out);
  run.err = readFile(err);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return run;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string at2Text(const std::vector<double>& samples, double dt) {
  std::string text = fmt::format(
      "PEER NGA STRONG MOTION DATABASE RECORD\nTest record, 1/1/2000, Nowhere, 0\n"
      "ACCELERATION TIME SERIES IN UNITS OF G\nNPTS= {:6}, DT= {} SEC,\n",
      samples.size(), dt);
  for (std::size_t i = 0; i < samples.size(); ++i)
    text += fmt::format("  {}{}", samples[i], (i % 5 == 4 || i + 1 == samples.size()) ? "\n" : "");
  return text;
}

}  // namespace clitest
