// The command line: one subcommand per module (and `demo`), each with the options its calling
// form needs, parsed into a Request.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>

#include "cli/app/request.h"

namespace cli {

class CommandLine {
 public:
  CommandLine();
  // Parses argv into request(); throws CLI::ParseError (including the --help "errors").
  void parse(int argc, const char* const* argv);
  const Request& request() const { return request_; }
  // Prints help or a parse error the way CLI11 does; returns the exit status.
  int exit(const CLI::ParseError& error);
  std::string help() const;
  // After a parse error: "unknown option --zetta; did you mean --zeta?", or "--frn is not an
  // option of elastic (it is one of fps, fps2d)", for the first option on the command line that
  // the command does not know; "" when there is none.
  std::string unknownOption(int argc, const char* const* argv) const;

 private:
  void addModule(const ModuleSpec& spec, const std::string& command, bool demo);
  CLI::App app_;
  Request request_;
  std::vector<std::pair<CLI::App*, const ModuleSpec*>> commands_;
};

// "Quorvel(ag,dt,m,zeta,T[,method])", for help texts.
std::string callingForm(const ModuleSpec& spec);

// "unknown module 'elastc'; did you mean elastic?"
std::string unknownModule(const std::string& name);

}  // namespace cli
