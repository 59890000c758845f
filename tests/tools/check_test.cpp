#include <functional>
#include <regex>

#include "tools/tool_test_support.h"

namespace labarc::testing {
namespace {

// Line and entry of the library's own report, and of check's first problem.
struct Place {
  int line = 0;
  std::string entry;
  bool operator==(const Place&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Place& place) {
  return out << "line " << place.line << " entry \"" << place.entry << "\"";
}

Place LibraryPlace(const std::string& report) {
  std::smatch match;
  Place place;
  if (std::regex_search(report, match, std::regex("line (\\d+)!")))
    place.line = std::stoi(match[1]);
  if (std::regex_search(report, match, std::regex("Section/Entry: (.*)$"))) place.entry = match[1];
  return place;
}

Place CheckPlace(const std::string& output) {
  std::smatch match;
  Place place;
  const std::string first = output.substr(0, output.find('\n'));
  if (std::regex_search(first, match, std::regex(":(\\d+): "))) place.line = std::stoi(match[1]);
  if (std::regex_search(first, match, std::regex("entry \"([^\"]*)\""))) place.entry = match[1];
  return place;
}

// Replaces the first `from` after `after` with `to`.
std::string Spoil(std::string text, const std::string& after, const std::string& from,
                  const std::string& to) {
  const std::size_t at = text.find(from, text.find(after));
  if (at == std::string::npos) ADD_FAILURE() << "no " << from << " after " << after;
  return text.replace(at, from.size(), to);
}

TEST(Check, SpoiledFilesAreNamedAtTheLibrarysOwnLineAndEntry) {
  const std::string good = GoodDocument();
  ASSERT_EQ(HostReadReport(good), "");
  const std::string second = "Curve Name=Second";
  const struct {
    const char* what;
    std::string text;
  } spoiled[] = {
      {"newer format", Spoil(good, "", "Version Number=1.03", "Version Number=1.04")},
      {"version text", Spoil(good, "", "Version Number=1.03", "Version Number=x")},
      {"other application", Spoil(good, "", "Name=Example Plotter", "Name=Other")},
      {"misspelt label", Spoil(good, "", "Line Width=", "Line Widht=")},
      {"colour out of range", Spoil(good, "", "Line Color=10 20 30", "Line Color=10 20 300")},
      {"doubled entry missing",
       Spoil(good, second, "Symbol Deselect Color=0 0 0\r\nX Increment", "X Increment")},
      {"point value", Spoil(good, "Y Title=", "0.25, ", "0.2x5, ")},
      {"short point line", Spoil(good, "Y Title=", "\n-1.5, -0.5, \r\n", "\n-1.5, \r\n")},
      {"negative count", Spoil(good, second, "Points=3", "Points=-5")},
      {"colour text", Spoil(good, "[Chart]", "Text Color=0 0 128", "Text Color=0 0")},
      {"nested font", Spoil(good, "[Chart]", "Weight=700", "Weight=heavy")},
      {"tracker entry missing", Spoil(good, "Min Size=", "Handle Size=4\r\n", "")},
      {"cut in the point lines", good.substr(0, good.find("1, 1, ", good.find(second)))},
      {"last entry missing", good.substr(0, good.rfind("Face Name="))},
      {"line too long", Spoil(good, second, "Draw=1", "Draw=" + std::string(3 << 20, '1'))},
  };
  for (const auto& [what, text] : spoiled) {
    SCOPED_TRACE(what);
    const std::string path = WriteTempFile("spoiled.txt", text);
    const std::string report = HostReadReport(text);
    ASSERT_NE(report, "");
    const CommandResult result = RunTool("check", path, kDocumentAppl);
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out.rfind(path + ":", 0), 0u) << result.out;
    EXPECT_EQ(CheckPlace(result.out), LibraryPlace(report)) << result.out << report;
  }
}

TEST(Check, WarnsAboutWhatTheLibraryReadsSilently) {
  const std::string good = GoodDocument();
  const struct {
    const char* what;
    std::string text;
    std::string appl;
    std::string warning;
    bool error;
  } cases[] = {
      {"extra point value", Spoil(good, "Y Title=", "3, 3.25, \r\n", "3, 3.25, 9, \r\n"), "",
       ":42: warning: [section \"Curves\"] point line holds 3 values where the count leaves "
       "room for 2",
       false},
      {"increment type", Spoil(good, "", "X Increment Type=N", "X Increment Type=L"), "",
       "entry \"X Increment Type\": increment type \"L\" is neither J nor N", false},
      {"doubled line end", Spoil(good, "", "Gain=0.1\r\n", "Gain=0.1\r\r\n"), "",
       ":8: warning: [section \"Run\"] doubled line end", false},
      {"application name", good, "Plotter",
       "application name \"Example Plotter\" found, \"Plotter\" expected", false},
      {"byte-order mark", "\xEF\xBB\xBF" + good, "", ":1: warning: the file starts with a UTF-8",
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = WriteTempFile("warned.txt", c.text);
    for (const bool strict : {false, true}) {
      std::ostringstream out, err;
      tool::CheckOptions options;
      options.applName = c.appl;
      options.strict = strict;
      const int code = tool::RunCheck(tool::Source::File(path), options, {out, err, false});
      EXPECT_EQ(code, strict || c.error ? 1 : 0) << out.str();
      EXPECT_NE(out.str().find(c.warning), std::string::npos) << out.str();
    }
  }
}

TEST(Check, BadInputGetsAClearErrorAndNeverACrash) {
  const std::string good = GoodDocument();
  const struct {
    const char* what;
    std::string text;
    int code;
    const char* message;
  } cases[] = {
      {"empty", "", 1, ":0: the file holds no section \"Archive Header\""},
      {"binary junk", std::string("\x00\xff\x10[\x80\r\r\n=\x01", 10), 1, "no section"},
      {"huge count", Spoil(good, "", "Points=14", "Points=2147483647"), 1,
       ":42: [section \"Curves\"] value \" \" refused"},
      {"long line without end", std::string(100 << 20, 'x'), 1, "no section"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const CommandResult result = RunTool("check", WriteTempFile("bad.txt", c.text));
    EXPECT_EQ(result.code, c.code);
    EXPECT_NE(result.out.find(c.message), std::string::npos) << result.out;
  }
  // Cut anywhere: an error or a sound prefix, never more.
  for (std::size_t cut = 0; cut < good.size(); cut += 97) {
    const CommandResult result = RunTool("check", WriteTempFile("cut.txt", good.substr(0, cut)));
    EXPECT_LE(result.code, 1);
  }
  const CommandResult missing = RunTool("check", ::testing::TempDir() + "no-such-file.txt");
  EXPECT_EQ(missing.code, 2);
  EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace labarc::testing
