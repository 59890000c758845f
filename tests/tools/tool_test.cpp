// The `labarc` executable: check naming each problem as FILE:LINE at the library's own line and
// entry; the exit codes and what info, dump (text and JSON), plot (SVG) and schema print.
#include <sys/wait.h>

#include <nlohmann/json.hpp>

#include <bit>
#include <charconv>
#include <cstring>
#include <sstream>
#include <tuple>

#include "commands.h"
#include "tools/tool_test_support.h"

namespace labarc::testing {
namespace {

using nlohmann::json;

struct CommandResult {
  int code;
  std::string out;
  std::string err;
};

// Runs `labarc ARGUMENTS` through the shell.
CommandResult RunTool(const std::string& arguments) {
  const std::string errors = TempPath("labarc-stderr.txt");
  FILE* pipe = popen((LABARC_EXECUTABLE " " + arguments + " 2>" + errors).c_str(), "r");
  std::string out;
  char buffer[1 << 16];
  while (const std::size_t read = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, read);
  const int status = pclose(pipe);
  return {WEXITSTATUS(status), out, FileText(errors)};
}

// Replaces the first `from` after `after` with `to` (throwing when there is none).
std::string Spoil(std::string text, const std::string& after, const std::string& from,
                  const std::string& to) {
  return text.replace(text.find(from, text.find(after)), from.size(), to);
}

TEST(Check, NamesEachProblemAtItsLineAndEntry) {
  const std::string good = GoodDocument(), second = "Curve Name=Second";
  using Case = std::tuple<std::string, const char*, int, const char*>;  // text, options, code
  const Case cases[] = {
      {good, "--app 'Example Plotter'", 0, ": sound"},
      {Spoil(good, "", "Version Number=1.03", "Version Number=1.04"), "", 1,
       ":2: [section \"Archive Header\"] format version 1.04 is newer than the 1.03"},
      {Spoil(good, "", "Name=Example Plotter", "Name=Other"), "--app 'Example Plotter'", 1,
       ":3: [section \"Archive Header\"] application name \"Other\" found"},
      {Spoil(good, "", "Line Width=", "Line Widht="), "", 1,
       ":26: [section \"Curves\"] entry \"Line Width\": expected this entry, found \"Line Widht"},
      {Spoil(good, second, "Symbol Deselect Color=0 0 0\r\nX Increment", "X Increment"), "", 1,
       ":71: [section \"Curves\"] entry \"Symbol Deselect Color\": expected this entry"},
      {Spoil(good, "Y Title=", "0.25, ", "0.2x5, "), "", 1,
       ":41: [section \"Curves\"] entry \"x values of curve \"First\"\": value \" 0.2x5\" refused"},
      {Spoil(good, "Y Title=", "\n-1.5, -0.5, \r\n", "\n-1.5, \r\n"), "", 1,
       ":44: [section \"Curves\"] entry \"y values of curve \"First\"\": too few values"},
      {Spoil(good, second, "Points=3", "Points=-5"), "", 1,
       ":48: [section \"Curves\"] entry \"Number Of Curve Points\": value \"-5\" refused"},
      {Spoil(good, "", "Points=14", "Points=2147483647"), "", 1,
       ":11: [section \"Curves\"] entry \"Number Of Curve Points\": value \"2147483647\" refused"},
      {Spoil(good, "[Chart]", "Weight=700", "Weight=heavy"), "", 1,
       ":91: [section \"Chart\"] entry \"Weight\": value \"heavy\" refused"},
      {Spoil(good, "Min Size=", "Handle Size=4\r\n", ""), "", 1,
       ":105: [section \"Chart\"] entry \"Handle Size\": expected this entry"},
      {good.substr(0, good.find("1, 1, ", good.find(second))), "", 1,
       ":79: [section \"Curves\"] missing entry at the end of the file"},
      {good.substr(0, good.rfind("Face Name=")), "", 1,
       ":118: [section \"Chart\"] entry \"Face Name\": missing entry at the end of the file"},
      {Spoil(good, second, "Draw=1", "Draw=" + std::string(3 << 20, '1')), "", 1,
       ":51: [section \"Curves\"] entry \"Draw\": line longer than 1048576 characters"},
      {"", "", 1, ":0: the file holds no section \"Archive Header\""},
      {std::string("\x00\xff\x10[\x80\r\r\n=\x01", 10), "", 1, ":3: the file holds no section"},
      {std::string(100 << 20, 'x'), "", 1, ":1: the file holds no section"},
      // Warnings about what the library reads silently, which fail only a strict check.
      {Spoil(good, "Y Title=", "3, 3.25, \r\n", "3, 3.25, 9, \r\n"), "", 0,
       ":42: warning: [section \"Curves\"] point line holds 3 values where"},
      {Spoil(good, "", "X Increment Type=N", "X Increment Type=L"), "--strict", 1,
       ":35: warning: [section \"Curves\"] entry \"X Increment Type\": increment type"},
      {Spoil(good, "", "Gain=0.1\r\n", "Gain=0.1\r\r\n"), "", 0,
       ":8: warning: [section \"Run\"] doubled line end"},
      {good, "--app Plotter", 0,
       ":3: warning: [section \"Archive Header\"] entry \"Application Name\": application"},
      {"\xEF\xBB\xBF" + good, "", 1, ":1: warning: the file starts with a UTF-8"},
  };
  for (const auto& [text, options, code, expected] : cases) {
    SCOPED_TRACE(expected);
    const std::string path = WriteTempFile("checked.txt", text);
    const CommandResult result = RunTool(std::string("check ") + options + " " + path);
    EXPECT_EQ(result.code, code);
    EXPECT_NE(result.out.find(path + expected), std::string::npos) << result.out;
  }
  // Cut anywhere: an error or a sound prefix, never more.
  for (std::size_t cut = 0; cut < good.size(); cut += 97)
    EXPECT_LE(RunTool("check " + WriteTempFile("cut.txt", good.substr(0, cut))).code, 1);
}

TEST(CommandLine, ExitCodesAndOutputs) {
  const std::string good = WriteTempFile("cli.txt", GoodDocument());
  using Case = std::tuple<std::string, int, const char*>;  // arguments, exit code, output
  const Case cases[] = {
      {"--help", 0, "Subcommands:"},
      {"check --help", 0, "--max-errors"},
      {"--version", 0, "reads archive formats up to 1.03"},
      {"", 2, "A subcommand is required"},
      {"frobnicate " + good, 2, ""},
      {"check", 2, "FILE is required"},
      {"check /no/such/file", 2, "File does not exist"},
      {"info " + good, 0, "Format:       1.03\nApplication:  Example Plotter, version 3.6\n"},
      {"info " + good, 0,
       "[Curves]                       9       71  curve \"First\" (14 points), curve \"Second\" "
       "(3 points)\n"},
      {"info " + good, 0, "text \"Dose response\", tracker, font \"Helvetica\""},
      {"dump --section chart " + good, 0, "      82  text \"Dose response\"\n"},
      {"dump --section chart " + good, 0,
       "          Text Color                   = {\"red\":0,\"green\":0,"},
      {"dump --json " + good, 0,
       R"("header":{"archiveVersion":1.03,"applicationName":"Example Plotter")"},
      {"dump --json " + good, 0, R"({"line":8,"label":"Gain","value":"0.1"})"},
      {"dump --json " + good, 0,
       R"({"label":"Line Color","value":{"red":10,"green":20,"blue":30}})"},
      {"dump --json " + good, 0,
       R"("bottom":0}},{"composite":"font","entries":[{"label":"Height")"},
      {"dump --json " + good, 0, R"({"line":106,"type":"font","entries":[)"},
      {"plot " + good + " -o " + good, 2, "refusing to write the plot over its input"},
      {"schema axis", 0, "  Orientation"},
      {"schema text", 0, "text (20 steps)\n  Text Show                        int\n"},
      {"schema 'no such thing'", 2, ""},
  };
  for (const auto& [arguments, code, output] : cases) {
    SCOPED_TRACE(arguments);
    const CommandResult result = RunTool(arguments);
    EXPECT_EQ(result.code, code) << result.out << result.err;
    EXPECT_NE((result.out + result.err).find(output), std::string::npos) << result.out;
  }
  EXPECT_EQ(RunTool("dump --section chart " + good).out.find("Curve Name"), std::string::npos);
  // A file that cannot be opened, which the executable checks before the command sees it.
  std::ostringstream out, err;
  const std::string missing = TempPath("no-such-file.txt");
  EXPECT_EQ(tool::RunCheck(tool::Source::File(missing), {}, {out, err}), 2);
  EXPECT_NE(err.str().find("No such file or directory"), std::string::npos) << err.str();
}

// Every point of ten curves of 100 000 points, any double among them, is in the JSON bit for bit
// (what JSON lacks as the archive's text); the plot draws one path per curve in its colour.
TEST(Dump, TenCurvesOfAHundredThousandPointsAsJsonAndAsAPlot) {
  constexpr int kCurves = 10, kPoints = 100000;
  const std::string path = WriteTempFile("curves.txt", CurvesDocument(kCurves, kPoints));
  const CommandResult result = RunTool("dump --json " + path);
  ASSERT_EQ(result.code, 0) << result.err;
  const json document = json::parse(result.out);
  const json& items = document["sections"][0]["items"];
  ASSERT_EQ(items.size(), static_cast<std::size_t>(kCurves));
  const auto bits = [](const json& value) {
    double parsed = 0;
    EXPECT_TRUE(value.is_number() || CDouble::Validate(value.get<std::string>(), parsed));
    return std::bit_cast<std::uint64_t>(value.is_number() ? value.get<double>() : parsed);
  };
  for (int c = 0; c < kCurves; ++c) {
    const CCurveObj expected = RandomCurve(c, kPoints);
    const json& points = items[c]["points"];
    ASSERT_EQ(points["x"].size(), static_cast<std::size_t>(kPoints));
    int mismatches = 0;
    for (int i = 0; i < kPoints; ++i) {
      CURVEPOINT point;
      expected.GetCurvePoint(i, &point);
      mismatches += bits(points["x"][i]) != std::bit_cast<std::uint64_t>(point.dX) ||
                    bits(points["y"][i]) != std::bit_cast<std::uint64_t>(point.dY) ||
                    points["flags"][i] != static_cast<unsigned char>(point.cFlag);
    }
    EXPECT_EQ(mismatches, 0) << "curve " << c;
  }

  const std::string svgPath = TempPath("curves.svg");
  ASSERT_EQ(RunTool("plot " + path + " -o " + svgPath).code, 0);
  const std::string svg = FileText(svgPath);
  EXPECT_LT(svg.size(), 200000u);
  std::size_t paths = 0;
  for (std::size_t at = svg.find("<path"); at != svg.npos; at = svg.find("<path", at + 1)) ++paths;
  EXPECT_EQ(paths, static_cast<std::size_t>(kCurves));
  EXPECT_NE(svg.find("stroke=\"#285aeb\""), std::string::npos);  // curve 1's line colour
  EXPECT_NE(svg.find(">Curve 2</text>"), std::string::npos);
  EXPECT_EQ(svg.rfind("</svg>"), svg.size() - 7);
  // The curves hold doubles up to the largest of both signs: every path coordinate is still a
  // finite number on the drawing.
  for (std::size_t at = svg.find(" d=\""); at != svg.npos; at = svg.find(" d=\"", at + 1)) {
    const char* next = svg.data() + at + 4;
    const char* end = svg.data() + svg.find('"', at + 4);
    while (next < end) {
      next += std::strspn(next, "ML ,");
      double value = -1;
      const auto [ptr, ec] = std::from_chars(next, end, value);
      ASSERT_TRUE(ec == std::errc() && value >= 0 && value <= 2000) << std::string(next, end);
      next = ptr;
    }
  }
}

// The format reference lists every composite's steps as `labarc schema` prints them from the
// describe functions, so the document cannot drift from the code.
TEST(FormatReference, ListsEveryCompositeAsTheSchemaDirectionDoes) {
  const std::string text = FileText(LABARC_SOURCE_DIR "/docs/format.md");
  ASSERT_FALSE(text.empty());
  for (const tool::CompositeType& type : tool::KnownComposites()) {
    SCOPED_TRACE(type.name);
    std::ostringstream schema, err;
    ASSERT_EQ(tool::RunSchema(type.name, {schema, err}), 0);
    EXPECT_NE(text.find("### " + type.name + "\n"), std::string::npos);
    EXPECT_NE(text.find("```\n" + schema.str() + "```\n"), std::string::npos)
        << "docs/format.md lacks:\n"
        << schema.str();
  }
}

}  // namespace
}  // namespace labarc::testing
