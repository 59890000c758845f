// The command lines of load, export and diff, kept beside the other commands' in main.cpp.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>

#include "commands.h"
#include "diff.h"
#include "export_csv.h"
#include "load_json.h"

namespace labarc::tool {

struct ExchangeCommands {
  struct Options {
    LoadOptions load;
    ExportOptions exportCsv;
    std::string exportFile;
    DiffOptions diff;
  };
  std::shared_ptr<Options> options;  // filled while the command line is parsed
  CLI::App* load = nullptr;
  CLI::App* exportCsv = nullptr;
  CLI::App* diff = nullptr;
};

ExchangeCommands AddExchangeCommands(CLI::App& app);
// The chosen command's exit code; -1 when none of these was chosen.
int RunExchangeCommand(const ExchangeCommands& commands, Output output);

}  // namespace labarc::tool
