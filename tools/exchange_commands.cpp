#include "exchange_commands.h"

namespace labarc::tool {

ExchangeCommands AddExchangeCommands(CLI::App& app) {
  ExchangeCommands commands;
  commands.options = std::make_shared<ExchangeCommands::Options>();
  ExchangeCommands::Options& options = *commands.options;

  commands.load = app.add_subcommand(
      "load",
      "Write an archive from the JSON of `dump --json`, edited or not. Every value is checked "
      "as the library reads it; a refusal names its JSON pointer and writes nothing");
  commands.load->add_option("JSON", options.load.input, "The JSON to read; - for standard input")
      ->required();
  commands.load
      ->add_option("-o,--output", options.load.output,
                   "The archive to write (replaced only by a complete new one)")
      ->required();

  commands.exportCsv = app.add_subcommand(
      "export", "The curves' points as CSV: curve,index,x,y,flag, one row per point");
  commands.exportCsv->add_option("FILE", options.exportFile, "The archive to read (never written)")
      ->required()
      ->check(CLI::ExistingFile);
  commands.exportCsv->add_option("--app", options.exportCsv.applName,
                                 "The host's application name, which the header's must contain");
  commands.exportCsv->add_option("-o,--output", options.exportCsv.output,
                                 "The CSV file to write; standard output when not given");
  commands.exportCsv->add_option("--section", options.exportCsv.section,
                                 "Only the curves of this section");
  commands.exportCsv->add_option("--curve", options.exportCsv.curves,
                                 "Only curves of this name, in any letter case (repeatable)");

  commands.diff = app.add_subcommand(
      "diff",
      "What differs between two archives: sections, entries, composites field by field, "
      "curves point by point. Exit 0 equal, 1 different, 2 trouble. Also a git diff driver");
  commands.diff
      ->add_option("FILES", options.diff.files,
                   "OLD NEW, or the seven arguments git passes an external diff driver")
      ->required()
      ->expected(2, 7);
  commands.diff->add_option("--app", options.diff.applName,
                            "The host's application name, which the header's must contain");
  commands.diff
      ->add_option("--abs", options.diff.absolute,
                   "Coordinates that differ by at most this are equal")
      ->check(CLI::NonNegativeNumber);
  commands.diff
      ->add_option("--rel", options.diff.relative,
                   "Coordinates that differ by at most this times the larger are equal")
      ->check(CLI::NonNegativeNumber);
  commands.diff
      ->add_option("--max-points", options.diff.maxPoints,
                   "Differing points listed per curve; the rest are counted (default 5)")
      ->check(CLI::NonNegativeNumber);
  commands.diff->add_flag("--json", options.diff.json, "JSON instead of text");
  return commands;
}

int RunExchangeCommand(const ExchangeCommands& commands, Output output) {
  const ExchangeCommands::Options& options = *commands.options;
  if (*commands.load) return RunLoad(options.load, output);
  if (*commands.exportCsv)
    return RunExport(DocumentSource::File(options.exportFile), options.exportCsv, output);
  if (*commands.diff) return RunDiff(options.diff, output);
  return -1;
}

}  // namespace labarc::tool
