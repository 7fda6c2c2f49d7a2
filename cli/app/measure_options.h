// The command-line options of the measures, added to every module's subcommand.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "cli/app/module_table.h"
#include "cli/app/request.h"

namespace cli {

// The options a module's subcommand gets: histories, resampling, shards on all; targets, suites
// and scaling on the elastic ones; --search on the inelastic one; RotD on the two-component
// elastic one, which the `rotd` command also names.
void addMeasureOptions(CLI::App* sub, const ModuleSpec& spec, MeasureOptions& options);

// True for a command the measures add ("rotd", any letter case).
bool isMeasureCommand(const std::string& name);

// After parsing: the `rotd` command is elastic2d with --rotd.
void applyMeasureCommand(const std::string& command, Request& request);

}  // namespace cli
