// labarc: inspect labelled text archives from the command line.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <iostream>

#include "commands.h"
#include "exchange_commands.h"

namespace tool = labarc::tool;

int main(int argc, char** argv) {
  CLI::App app(
      "Inspect labelled text archives: check them, dump them as text or JSON, plot "
      "their curves.",
      "labarc");
  app.set_version_flag("--version", tool::VersionText());
  app.require_subcommand(1);

  std::string file;
  std::string applName;
  const auto addFile = [&](CLI::App* command) {
    command->add_option("FILE", file, "The archive to read (never written)")
        ->required()
        ->check(CLI::ExistingFile);
  };
  const auto addApp = [&](CLI::App* command) {
    command->add_option("--app", applName,
                        "The host's application name, which the header's name must contain");
  };

  CLI::App* info = app.add_subcommand("info",
                                      "The header, then one row per section: its "
                                      "line, its entries and the composites in it");
  addFile(info);
  addApp(info);

  tool::CheckOptions check;
  CLI::App* checkCommand = app.add_subcommand(
      "check",
      "Read the whole file through the library; print each problem as "
      "FILE:LINE: [section \"S\"] entry \"E\": reason. Exit 0 when sound, 1 otherwise");
  addFile(checkCommand);
  addApp(checkCommand);
  checkCommand->add_option("--max-errors", check.maxErrors, "Stop after N errors (0: never)")
      ->check(CLI::NonNegativeNumber);
  checkCommand->add_flag("--strict", check.strict, "Warnings make the check fail too");
  checkCommand
      ->add_option("--schema", check.schema,
                   "The host's schema (JSON, see docs/format.md): types its entries, so that the "
                   "check refuses what the host would refuse")
      ->check(CLI::ExistingFile);

  tool::DumpOptions dump;
  CLI::App* dumpCommand = app.add_subcommand(
      "dump", "Every section with its entries (line, label, value), composites typed");
  addFile(dumpCommand);
  addApp(dumpCommand);
  dumpCommand->add_flag("--json", dump.json, "JSON instead of aligned text");
  dumpCommand->add_option("--section", dump.section, "Only this section");

  tool::PlotOptions plot;
  CLI::App* plotCommand = app.add_subcommand(
      "plot",
      "Draw the graph the document stores, with its curves, as an SVG picture; without a graph "
      "window, an automatic chart of the curves");
  addFile(plotCommand);
  addApp(plotCommand);
  plotCommand->add_option("-o,--output", plot.output, "The SVG file to write")->required();
  plotCommand->add_option("--section", plot.section, "Only the curves of this section");
  plotCommand->add_option("--curve", plot.curves, "Only curves of this name (repeatable)");
  plotCommand->add_option("--width", plot.width, "Picture width in pixels")
      ->check(CLI::Range(300, 10000));
  plotCommand->add_option("--height", plot.height, "Picture height in pixels")
      ->check(CLI::Range(200, 10000));
  CLI::Option* windowOption = plotCommand->add_option(
      "--window", plot.window, "The graph window to draw: its number from 1, or its first title");
  plotCommand->add_flag("--auto", plot.automatic, "An automatic chart of the curves alone")
      ->excludes(windowOption);
  plotCommand->add_flag("--verbose", plot.verbose,
                        "Name each stored code that has no reading and is drawn as the default");

  std::string schemaName;
  CLI::App* schema = app.add_subcommand(
      "schema", "Every composite the library knows, or one, with its labels and value types");
  schema->add_option("NAME", schemaName, "A composite's name, such as curve or axis");

  const tool::ExchangeCommands exchange = tool::AddExchangeCommands(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    return code == 0 ? 0 : 2;
  }

  const tool::Output output{std::cout, std::cerr, isatty(STDERR_FILENO) == 1};
  if (const int code = tool::RunExchangeCommand(exchange, output); code >= 0) return code;
  const tool::Source source = tool::Source::File(file);
  if (*info) return tool::RunInfo(source, applName, output);
  if (*checkCommand) {
    check.applName = applName;
    return tool::RunCheck(source, check, output);
  }
  if (*dumpCommand) {
    dump.applName = applName;
    return tool::RunDump(source, dump, output);
  }
  if (*plotCommand) {
    plot.applName = applName;
    return tool::RunPlot(source, plot, output);
  }
  return tool::RunSchema(schemaName, output);
}
