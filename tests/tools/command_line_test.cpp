#include <cstdio>
#include <string>

#include "tools/tool_test_support.h"

namespace labarc::testing {
namespace {

// The executable itself: exit codes and what it prints, through a shell.
CommandResult RunExecutable(const std::string& arguments) {
  const std::string command = std::string(LABARC_EXECUTABLE) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  char buffer[4096];
  while (const std::size_t read = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, read);
  const int status = pclose(pipe);
  return {WEXITSTATUS(status), out, ""};
}

TEST(CommandLine, ExitCodesAndHelp) {
  const std::string good = WriteTempFile("cli.txt", GoodDocument());
  std::string text = GoodDocument();
  const std::string spoiled =
      WriteTempFile("cli-bad.txt", text.replace(text.find("Line Width=1"), 12, "Line Width=x"));
  const struct {
    std::string arguments;
    int code;
    const char* output;
  } cases[] = {
      {"--help", 0, "Subcommands:"},
      {"check --help", 0, "--max-errors"},
      {"--version", 0, "reads archive formats up to 1.03"},
      {"", 2, "A subcommand is required"},
      {"frobnicate " + good, 2, ""},
      {"check", 2, "FILE is required"},
      {"check /no/such/file", 2, "File does not exist"},
      {"check " + good, 0, ": sound"},
      {"check " + spoiled, 1,
       ":26: [section \"Curves\"] entry \"Line Width\": value \"x\" refused"},
      {"info " + good, 0, "[Chart]"},
      {"plot " + good + " -o " + good, 2, "refusing to write the plot over its input"},
      {"schema axis", 0, "  Orientation"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const CommandResult result = RunExecutable(c.arguments);
    EXPECT_EQ(result.code, c.code) << result.out;
    EXPECT_NE(result.out.find(c.output), std::string::npos) << result.out;
  }
}

}  // namespace
}  // namespace labarc::testing
