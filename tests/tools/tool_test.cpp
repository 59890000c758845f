// The `labarc` executable: check naming each problem as FILE:LINE at the library's own line and
// entry; the exit codes and what info, dump (text and JSON), plot (SVG) and schema print.
#include <sys/wait.h>

#include <nlohmann/json.hpp>

#include <bit>
#include <charconv>
#include <cstring>
#include <sstream>
#include <tuple>

#include <labarc/document/composites.h>

#include "commands.h"
#include "tools/svg_render_support.h"
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

// The good document with a legend in a section of its own.
std::string Legend(const std::string& good) {
  CLegend legend;
  legend.m_nLegendPosition = 1;
  StoreArchive store(0, kDocumentAppl, 3.6);
  store->WriteSectionHeader(CString("Legend"));
  store->Write(legend);
  return good + store.Text();
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
      // Point-line errors name the curve and the point.
      {Spoil(good, "Y Title=", "0.25, ", "0.2x5, "), "", 1,
       ":41: [section \"Curves\"] entry \"x values\": value \" 0.2x5\" refused (curve \"First\", "
       "point 1)"},
      {Spoil(good, "Y Title=", "\n-1.5, -0.5, \r\n", "\n-1.5, \r\n"), "", 1,
       ":44: [section \"Curves\"] entry \"y values\": too few values: the point line holds 1 "
       "values, "
       "the curve needs 2 (curve \"First\", point 13)"},
      {Spoil(good, second, "Points=3", "Points=-5"), "", 1,
       ":48: [section \"Curves\"] entry \"Number Of Curve Points\": value \"-5\" refused"},
      {Spoil(good, "", "Points=14", "Points=2147483647"), "", 1,
       ":11: [section \"Curves\"] entry \"Number Of Curve Points\": value \"2147483647\" refused: "
       "the rest of the file cannot hold that many (curve \"First\")"},
      {Spoil(good, "[Chart]", "Weight=700", "Weight=heavy"), "", 1,
       ":91: [section \"Chart\"] entry \"Weight\": value \"heavy\" refused"},
      // A composite's check names the entry, the value and what it allows.
      {Spoil(Legend(good), "[Legend]", "Legend Position=1", "Legend Position=5"), "", 1,
       ":127: [section \"Legend\"] entry \"Legend Position\": value 5 refused by the composite's "
       "check, which allows 0 to 2"},
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
       ":42: warning: [section \"Curves\"] point line \"3, 3.25, 9, \" is read as \"3, 3.25, \""},
      {Spoil(good, "", "X Increment Type=N", "X Increment Type=L"), "--strict", 1,
       ":35: warning: [section \"Curves\"] entry \"X Increment Type\": value \"L\" is read as "
       "\"N\" (curve \"First\")"},
      // A section line a search by name misses; a line over the limit where only a search for
      // the next section passes, which the library reads through.
      {Spoil(good, "", "[Chart]", "[Chart] "), "", 0,
       ":81: warning: [section \"Chart\"] section line \"[Chart] \" ends in blanks"},
      {Spoil(good, "", "[Chart]", std::string(2 << 20, 'x') + "\r\n[Chart]"), "", 0,
       ":81: warning: [section \"Curves\"] line longer than 1048576 characters; a search"},
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
  const std::string newer =
      WriteTempFile("newer.txt", Spoil(GoodDocument(), "", "Number=1.03", "Number=1.04"));
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
      // Composite fields as the file writes them.
      {"dump --section chart " + good, 0, "          Text Color                   = 0 0 128\n"},
      {"dump " + good, 0, "          Line Color                   = 10 20 30\n"},
      {"dump --section nope " + good, 1, ": no section \"nope\""},
      {"dump --json " + good, 0,
       R"("header":{"archiveVersion":1.03,"applicationName":"Example Plotter")"},
      {"dump --json " + good, 0, R"({"line":8,"label":"Gain","value":"0.1"})"},
      {"dump --json " + good, 0,
       R"({"label":"Line Color","value":{"red":10,"green":20,"blue":30}})"},
      {"dump --json " + good, 0,
       R"("bottom":0}},{"composite":"font","entries":[{"label":"Height")"},
      {"dump --json " + good, 0, R"({"line":106,"type":"font","entries":[)"},
      {"plot " + good + " -o " + good, 2, "refusing to write the plot over its input"},
      // Curve names match in any letter case; a name that matches none lists those there are.
      {"plot " + good + " --curve fIRST -o " + TempPath("first.svg"), 0, ""},
      {"plot " + good + " --curve Third -o " + TempPath("third.svg"), 1,
       "no such curve; the curves are: \"First\" \"Second\""},
      {"plot " + newer + " -o " + TempPath("newer.svg"), 1, "not plotted: its header was refused"},
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
  const json& items = document["sections"][1]["items"];
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
  const std::string curvePath = "<path class=\"curve\"";
  for (std::size_t at = svg.find(curvePath); at != svg.npos; at = svg.find(curvePath, at + 1))
    ++paths;
  EXPECT_EQ(paths, static_cast<std::size_t>(kCurves));
  EXPECT_NE(svg.find("stroke=\"#285aeb\""), std::string::npos);  // curve 1's line colour
  EXPECT_NE(svg.find(">Curve 2</text>"), std::string::npos);
  EXPECT_EQ(svg.rfind("</svg>"), svg.size() - 7);
  RenderSvg(svgPath);
  // The curves hold doubles up to the largest of both signs: every coordinate of their paths is
  // still a finite number on the drawing.
  for (std::size_t path = svg.find(curvePath); path != svg.npos;
       path = svg.find(curvePath, path + 1)) {
    const std::size_t at = svg.find(" d=\"", path);
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
  for (const CompositeKind* kind : CompositeKinds()) {
    const std::string name = kind->name;
    SCOPED_TRACE(name);
    std::ostringstream schema, err;
    ASSERT_EQ(tool::RunSchema(name, {schema, err}), 0);
    EXPECT_NE(text.find("### " + name + "\n"), std::string::npos);
    EXPECT_NE(text.find("```\n" + schema.str() + "```\n"), std::string::npos)
        << "docs/format.md lacks:\n"
        << schema.str();
  }
}

}  // namespace
}  // namespace labarc::testing

namespace labarc::testing {
namespace {

// A composite the library refuses stays in the dump as its lines, with an error item where it
// was found, in text and in JSON.
TEST(Dump, KeepsTheLinesOfADamagedCompositeWithAnErrorItem) {
  const std::string text =
      Spoil(Legend(GoodDocument()), "[Legend]", "Legend Position=1", "Legend Position=5");
  const std::string path = WriteTempFile("damaged.txt", text);
  const CommandResult plain = RunTool("dump --section legend " + path);
  EXPECT_EQ(plain.code, 1);
  EXPECT_NE(plain.out.find("     127  error: entry \"Legend Position\": value 5 refused"),
            std::string::npos)
      << plain.out;
  // The reader took the lines up to the refused one; what follows is read on its own.
  for (const char* line : {"     121  Style                        = 0\n",
                           "     127  Legend Position              = 5\n",
                           "     128  Legend Display               = 0\n", "     135  font\n"})
    EXPECT_NE(plain.out.find(line), std::string::npos) << line;
  const json dumped = json::parse(RunTool("dump --json --section legend " + path).out);
  const json& items = dumped["sections"][1]["items"];
  EXPECT_EQ(items[0]["line"], 127);
  EXPECT_NE(items[0]["error"].get<std::string>().find("value 5 refused"), std::string::npos);
  EXPECT_EQ(items[1], json::parse(R"({"line":121,"label":"Style","value":"0"})"));
  EXPECT_EQ(items.size(), 1u + 7u + 7u + 1u);  // the error, 7 lines read, 7 after, the font
}

}  // namespace
}  // namespace labarc::testing

#include "examples/host_document.h"

namespace labarc::testing {
namespace {

// With the host's schema, check refuses what the host's reader refuses, at its line and entry;
// without it, it says that the host's entries were not typed.
TEST(Check, TheHostsSchemaTypesItsEntries) {
  StoreArchive store(0, ::kApplName, 3.6);
  store->WriteHeader();
  const Document document;
  ASSERT_EQ(StoreSections(*store, document, kDocumentSections), 1);
  const std::string good = store.Text();
  const std::string schema = " --schema " + WriteTempFile("schema.json", DocumentSchema());
  const std::string header = good.substr(0, good.find("[Run]"));
  const std::string counted =
      " --schema " + WriteTempFile("counted.json", R"({"sections": [{"name": "Run", "entries": [
          {"label": "Revision", "type": "int"}, {"label": "Size", "type": "int", "least": 0}]}]})");
  using Case = std::tuple<std::string, std::string, int, const char*>;  // text, options, code
  const Case cases[] = {
      {good, schema, 0, ": sound\n"},
      {good, "", 0, ": sound; the host's entries were not typed"},
      {Spoil(good, "", "Background=255 255 240", "Background=1 2 x"), "", 0, ": sound;"},
      {Spoil(good, "", "Background=255 255 240", "Background=1 2 x"), schema, 1,
       ":9: [section \"Run\"] entry \"Background\": value \"1 2 x\" refused"},
      {Spoil(good, "", "Gain=2.5", "Gain=2,5"), schema, 1,
       ":8: [section \"Run\"] entry \"Gain\": value \"2,5\" refused"},
      {Spoil(good, "", "Channel=3", "Channel=-1"), schema, 1, "entry \"Channel\": value \"-1\""},
      {Spoil(good, "", "Title=", "Name="), schema, 1,
       ":6: [section \"Run\"] entry \"Title\": expected this entry, found \"Name=Calibration"},
      {Spoil(good, "", "Operator=R. Ames\r\n", ""), schema, 1,
       ":12: [section \"Instrument\"] entry \"Operator\": missing entry"},
      {Spoil(good, "", "[Instrument]", "[Other]"), schema, 1,
       "the file holds no section \"Instrument\""},
      // A hand-written schema: a blank after a number, a count below its least.
      {header + "[Run]\r\nRevision=17 \r\n", counted, 1,
       "entry \"Revision\": value \"17 \" refused"},
      {header + "[Run]\r\nRevision=17\r\nSize=-1\r\n", counted, 1, "entry \"Size\": value \"-1\""},
      {header + "[Run]\r\nRevision=17\r\nSize=0\r\n", counted, 0, ": sound"},
  };
  for (const auto& [text, options, code, expected] : cases) {
    SCOPED_TRACE(expected);
    const std::string path = WriteTempFile("typed.txt", text);
    const CommandResult result = RunTool("check " + path + options);
    EXPECT_EQ(result.code, code) << result.out;
    EXPECT_NE(result.out.find(expected), std::string::npos) << result.out;
  }
  EXPECT_EQ(RunTool("check " + WriteTempFile("x.txt", good) + " --schema " +
                    WriteTempFile("bad.json", "{\"sections\": [{\"name\": 1}]}"))
                .code,
            2);
}

}  // namespace
}  // namespace labarc::testing
