// Round trips and comparisons: dump --json back through load byte for byte, edits refused at
// their JSON pointer with the target untouched, curves exported as CSV bit for bit, and diff on
// crafted pairs, as git's external diff driver too.
#include <nlohmann/json.hpp>

#include <bit>
#include <charconv>
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>

#include "diff.h"
#include "export_csv.h"
#include "load_json.h"
#include "tools/tool_test_support.h"

bool WriteExampleDocument(const char* path);

namespace labarc::testing {
namespace {

using nlohmann::ordered_json;

struct Result {
  int code;
  std::string out;
  std::string err;
};

template <class Run>
Result Capture(Run run) {
  std::ostringstream out, err;
  const int code = run(tool::Output{out, err});
  return {code, out.str(), err.str()};
}

std::string DumpJson(const std::string& path) {
  tool::DumpOptions options;
  options.json = true;
  return Capture([&](tool::Output output) {
           return tool::RunDump(tool::Source::File(path), options, output);
         })
      .out;
}

// Loads `json` into an archive at `target`.
Result Load(const std::string& json, const std::string& target) {
  const std::string input = WriteTempFile("load.json", json);
  return Capture([&](tool::Output output) { return tool::RunLoad({input, target}, output); });
}

Result Diff(std::vector<std::string> arguments,
            const std::function<void(tool::DiffOptions&)>& adjust = {}) {
  tool::DiffOptions options;
  options.files = std::move(arguments);
  if (adjust) adjust(options);
  return Capture([&](tool::Output output) { return tool::RunDiff(options, output); });
}

Result Export(const std::string& path, const std::string& csv,
              std::vector<std::string> curves = {}) {
  tool::ExportOptions options;
  options.output = csv;
  options.curves = std::move(curves);
  return Capture([&](tool::Output output) {
    return tool::RunExport(tool::Source::File(path), options, output);
  });
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

Document Loaded(const std::string& path) {
  Document document;
  std::string error;
  EXPECT_TRUE(LoadDocument(DocumentSource::File(path), {}, document, error)) << error;
  return document;
}

std::string ExampleDocument() {
  const std::string path = TempPath("example.txt");
  EXPECT_TRUE(WriteExampleDocument(path.c_str()));
  return FileText(path);
}

// dump --json, then load, gives back every byte of documents the library wrote.
TEST(Load, DumpedDocumentsComeBackByteForByte) {
  const std::pair<const char*, std::function<std::string()>> documents[] = {
      {"example", ExampleDocument},
      {"good", GoodDocument},
      {"corpus", [] { return FileText(LABARC_SOURCE_DIR "/fuzz/corpus/document.txt"); }},
      // Values the reader converts (an older application's font heights, a clamped position,
      // the older format's geometry) come back as the file spelt them.
      {"converted", [] { return FileText(LABARC_SOURCE_DIR "/fuzz/corpus/composites.txt"); }},
      {"graph", [] { return FileText(LABARC_SOURCE_DIR "/fuzz/corpus/graph.txt"); }},
      {"graph 1.02", [] { return FileText(LABARC_SOURCE_DIR "/fuzz/corpus/graph-1.02.txt"); }},
      {"10 x 100 000", [] { return CurvesDocument(10, 100000); }},
  };
  for (const auto& [name, make] : documents) {
    SCOPED_TRACE(name);
    const std::string text = make();
    const std::string path = WriteTempFile("original.txt", text);
    const std::string target = TempPath("loaded.txt");
    const Result result = Load(DumpJson(path), target);
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_TRUE(FileText(target) == text);
  }
}

// A converted value that is edited is written as edited, not as the file's line was.
TEST(Load, AnEditedConvertedValueIsNotTheFilesLine) {
  const std::string path = LABARC_SOURCE_DIR "/fuzz/corpus/composites.txt";
  ordered_json json = ordered_json::parse(DumpJson(path));
  ordered_json& font = json["sections"][0]["items"][1];
  ASSERT_EQ(font["fileLines"][0]["file"], "Height=24");
  font["entries"][0]["value"] = 14;
  const std::string target = TempPath("edited-font.txt");
  ASSERT_EQ(Load(json.dump(), target).code, 0);
  const std::string text = FileText(target);
  EXPECT_EQ(text, Replaced(FileText(path), "Height=24", "Height=14"));
  // A file line that no longer reads back as the composite is refused.
  font["entries"][0]["value"] = 12;
  font["fileLines"][0]["file"] = "Height=twelve";
  EXPECT_NE(Load(json.dump(), target).err.find("/sections/0/items/1/fileLines: the file's lines"),
            std::string::npos);
}

// Each edit the library would refuse is named by its JSON pointer, and an existing target stays
// exactly as it was.
TEST(Load, RefusesEditsAtTheirPointerAndWritesNothing) {
  const ordered_json good = ordered_json::parse(DumpJson(WriteTempFile("g.txt", GoodDocument())));
  using Edit = std::function<void(ordered_json&)>;
  // sections: 0 header, 1 Run, 2 Curves (0 "First" of 14 points, 1 "Second"), 3 Chart.
  const std::tuple<const char*, Edit, const char*> cases[] = {
      {"a point too few", [](auto& j) { j["sections"][2]["items"][0]["points"]["x"].erase(3); },
       "/sections/2/items/0/points/x: holds 13 values; the curve's \"Number Of Curve Points\" is "
       "14"},
      {"a colour of 300",
       [](auto& j) { j["sections"][2]["items"][0]["entries"][17]["value"]["red"] = 300; },
       "/sections/2/items/0/entries/17/value/red: out of range: 0 to 255"},
      {"a label the curve lacks",
       [](auto& j) { j["sections"][2]["items"][1]["entries"][4]["label"] = "Drawn"; },
       "/sections/2/items/1/entries/4/label: the curve has no entry \"Drawn\" here"},
      {"an entry too many",
       [](auto& j) {
         j["sections"][3]["items"][2]["entries"].push_back({{"label", "X"}});
       },
       "/sections/3/items/2/entries/14: the font has no entry after"},
      {"a flag of 256", [](auto& j) { j["sections"][2]["items"][1]["points"]["flags"][2] = 256; },
       "/sections/2/items/1/points/flags/2: a flag is a whole number from 0 to 255"},
      {"a word for a coordinate",
       [](auto& j) { j["sections"][2]["items"][0]["points"]["y"][7] = "seven"; },
       "/sections/2/items/0/points/y/7: a coordinate is a number"},
      {"a count the points lack",
       [](auto& j) { j["sections"][2]["items"][1]["entries"][1]["value"] = -1; },
       "/sections/2/items/1/entries/1/value: a count cannot be negative"},
      {"a width as text",
       [](auto& j) { j["sections"][2]["items"][1]["entries"][16]["value"] = "wide"; },
       "/sections/2/items/1/entries/16/value: a whole number is expected"},
      {"an unknown composite", [](auto& j) { j["sections"][3]["items"][0]["type"] = "teapot"; },
       "/sections/3/items/0/type: no composite is called \"teapot\""},
      {"a line end in a value",
       [](auto& j) { j["sections"][1]["items"][0]["value"] = "Run\r\n[Evil]"; },
       "/sections/1/items/0/value: a line end cannot be stored"},
      {"a label with =", [](auto& j) { j["sections"][1]["items"][0]["label"] = "A=B"; },
       "/sections/1/items/0/label: a label cannot hold \"=\""},
      {"a section line as text",
       [](auto& j) {
         j["sections"][1]["items"][0] = {{"text", "[Curves]"}};
       },
       "/sections/1/items/0/text: a section line cannot stand as an entry"},
      {"a newer format", [](auto& j) { j["header"]["archiveVersion"] = 1.5; },
       "/header/archiveVersion: newer than the format this library writes"},
      {"no sections", [](auto& j) { j.erase("sections"); }, "/: \"sections\" is missing"},
      {"points on an entry", [](auto& j) { j["sections"][1]["items"][2]["points"]["x"] = {1.5}; },
       "/sections/1/items/2/points: only a curve has points"},
  };
  const std::string target = WriteTempFile("kept.txt", "the old document\r\n");
  for (const auto& [name, edit, message] : cases) {
    SCOPED_TRACE(name);
    ordered_json edited = good;
    edit(edited);
    const Result result = Load(edited.dump(), target);
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    EXPECT_EQ(FileText(target), "the old document\r\n");
  }
  for (const char* broken : {"{\"sections\":[", "[1,2", "{\"sections\":[{\"name\":\"A\"}]}"}) {
    EXPECT_EQ(Load(broken, target).code, 1) << broken;
    EXPECT_EQ(FileText(target), "the old document\r\n");
  }
}

// One point's y edited in the JSON comes back as a sound document that differs in that value
// alone; the edit goes through jq and standard input as a user would make it.
TEST(Load, AnEditedPointIsTheOnlyDifference) {
  const std::string original = WriteTempFile("before.txt", GoodDocument());
  const std::string edited = TempPath("after.txt");
  const std::string command = "jq -c '.sections[2].items[0].points.y[5] = 0.125' ";
  if (std::system("jq --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no jq";
  ASSERT_EQ(std::system((LABARC_EXECUTABLE " dump --json " + original + " | " + command +
                         " | " LABARC_EXECUTABLE " load - -o " + edited)
                            .c_str()),
            0);
  EXPECT_EQ(Loaded(edited).ErrorCount(), 0);
  const Result diff = Diff({original, edited}, [](auto& o) { o.json = true; });
  EXPECT_EQ(diff.code, 1);
  const ordered_json changes = ordered_json::parse(diff.out)["changes"];
  ASSERT_EQ(changes.size(), 1u) << diff.out;
  EXPECT_EQ(changes[0]["subject"], "curve \"First\"");
  EXPECT_EQ(changes[0]["differing"], 1);
  EXPECT_EQ(changes[0]["points"][0]["index"], 5);
  EXPECT_EQ(changes[0]["points"][0]["new"]["y"], 0.125);
}

// Every point of ten curves of 100 000 points is in the CSV as the archive holds it; a curve
// asked for in another letter case is the only one written; Python's csv module reads the file.
TEST(Export, CurvesAsCsvBitForBit) {
  constexpr int kCurves = 10, kPoints = 100000;
  const std::string path = WriteTempFile("curves.txt", CurvesDocument(kCurves, kPoints));
  const std::string csv = TempPath("curves.csv");
  ASSERT_EQ(Export(path, csv).code, 0);
  const Document document = Loaded(path);
  const std::string text = FileText(csv);
  std::string_view rows(text);
  const auto next = [&rows](char end) {
    const std::string_view field = rows.substr(0, rows.find(end));
    rows.remove_prefix(std::min(rows.size(), field.size() + 1));
    return field;
  };
  EXPECT_EQ(next('\n'), "curve,index,x,y,flag");
  int mismatches = 0, count = 0;
  const auto same = [](std::string_view text, double expected) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return std::bit_cast<std::uint64_t>(value) == std::bit_cast<std::uint64_t>(expected) ||
           (std::isnan(value) && std::isnan(expected));
  };
  for (const DocumentItem& item : document.sections.back().items) {
    const std::string name(item.composite.As<CCurveObj>()->GetName().View());
    for (std::size_t i = 0; i < item.points.size(); ++i, ++count) {
      const std::string_view curve = next(','), index = next(','), x = next(','), y = next(',');
      mismatches += curve != name || index != std::to_string(i) || !same(x, item.points.x[i]) ||
                    !same(y, item.points.y[i]) ||
                    next('\n') != std::to_string(item.points.flags[i]);
    }
  }
  EXPECT_EQ(count, kCurves * kPoints);
  EXPECT_EQ(mismatches, 0);
  EXPECT_TRUE(rows.empty());

  const std::string oneCsv = TempPath("one.csv");
  EXPECT_EQ(Export(path, oneCsv, {"CURVE 3"}).code, 0);
  const std::string one = FileText(oneCsv);
  EXPECT_EQ(std::count(one.begin(), one.end(), '\n'), kPoints + 1);
  EXPECT_EQ(one.find("Curve 4,"), std::string::npos);
  const Result none = Export(path, "", {"Curve 99"});
  EXPECT_EQ(none.code, 2);
  EXPECT_NE(none.err.find("no curve \"Curve 99\""), std::string::npos);

  if (std::system("python3 --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  const std::string script =
      "import csv, math, sys\n"
      "rows = list(csv.DictReader(open(sys.argv[1])))\n"
      "assert len(rows) == " +
      std::to_string(kPoints) +
      "\n"
      "values = [float(r[axis]) for r in rows for axis in ('x', 'y')]\n"
      "assert any(math.isnan(v) for v in values) and max(v for v in values if not math.isnan(v)) > "
      "1e300\n";
  const std::string scriptPath = WriteTempFile("read_csv.py", script);
  EXPECT_EQ(std::system(("python3 " + scriptPath + " " + oneCsv).c_str()), 0);
}

TEST(Export, CsvTextOfDoubles) {
  const std::pair<double, const char*> cases[] = {
      {2, "2.0"},        {-0.0, "-0.0"},     {0.1, "0.1"},
      {1e300, "1e+300"}, {INFINITY, "inf"},  {-INFINITY, "-inf"},
      {NAN, "nan"},      {5e-324, "5e-324"}, {123456789012345680000.0, "123456789012345683968.0"},
  };
  for (const auto& [value, text] : cases) {
    std::string out;
    tool::AppendCsvNumber(value, out);
    EXPECT_EQ(out, text);
  }
}

// A document text with three of the first curve's points moved.
std::string WithMovedPoints(const std::string& path) {
  Document document = Loaded(path);
  CurvePoints& points = document.sections[2].items[0].points;
  for (const std::size_t i : {2, 5, 9}) points.y[i] += 0.5;
  const std::string saved = TempPath("moved.txt");
  std::string error;
  EXPECT_TRUE(SaveDocument(document, saved, error)) << error;
  return FileText(saved);
}

// Crafted pairs against the good document: what diff says, and its exit code.
TEST(Diff, NamesEachChangeWithItsLines) {
  const std::string good = GoodDocument();
  const std::string original = WriteTempFile("a.txt", good);
  // The second curve again, as "Third", before the chart.
  const std::string second = good.substr(good.find("Curve Name=Second"),
                                         good.find("[Chart]") - good.find("Curve Name=Second"));
  const std::string added =
      Replaced(good, "[Chart]", Replaced(second, "Second", "Third") + "[Chart]");
  const std::tuple<const char*, std::string, int, std::vector<std::string>> cases[] = {
      {"the same", good, 0, {}},
      {"a changed scalar",
       Replaced(good, "Gain=0.1", "Gain=0.2"),
       1,
       {"[Run] entry \"Gain\": \"0.1\" -> \"0.2\" (lines 8, 8)"}},
      {"three moved points",
       WithMovedPoints(original),
       1,
       {"[Curves] curve \"First\": 3 of 14 points differ, max |dx| 0, max |dy| 0.5",
        "    point 2: x 0.5, y 0.5, flag 1 -> x 0.5, y 1, flag 1\n",
        "    point 5: x 1.25, y 0.5, flag 1 -> x 1.25, y 1, flag 1\n",
        "    point 9: x 2.25, y -1.5, flag 1 -> x 2.25, y -1, flag 1\n"}},
      {"an added curve",
       added,
       1,
       {"--- " + original + "\n+++ " + TempPath("b.txt") + "\n" +
        "[Curves] curve \"Third\" added, 3 points (line 81)\n"}},
      {"a renamed label",
       Replaced(good, "Curve Count=", "Curves Count="),
       1,
       {"[Run] entry \"Curve Count\" renamed to \"Curves Count\", value \"2\" (lines 7, 7)"}},
      {"a composite's field",
       Replaced(good, "Face Name=Helvetica", "Face Name=Courier"),
       1,
       {"[Chart] font Face Name: \"Helvetica\" -> \"Courier\""}},
      {"a removed section",
       good.substr(0, good.find("[Chart]")),
       1,
       {"[Chart] section removed, 3 items"}},
  };
  for (const auto& [name, text, code, expected] : cases) {
    SCOPED_TRACE(name);
    const Result result = Diff({original, WriteTempFile("b.txt", text)});
    EXPECT_EQ(result.code, code) << result.err;
    for (const std::string& line : expected)
      EXPECT_NE(result.out.find(line), std::string::npos) << result.out;
    if (code == 0) {
      EXPECT_EQ(result.out, "");
    }
  }
  // Tolerances make near points equal; the list of points is cut at --max-points.
  const std::string moved = WriteTempFile("b.txt", WithMovedPoints(original));
  EXPECT_EQ(Diff({original, moved}, [](auto& o) { o.absolute = 0.5; }).code, 0);
  EXPECT_EQ(Diff({original, moved}, [](auto& o) { o.relative = 0.4; }).code, 1);
  EXPECT_EQ(Diff({original, moved}, [](auto& o) { o.relative = 1; }).code, 0);
  const Result cut = Diff({original, moved}, [](auto& o) { o.maxPoints = 1; });
  EXPECT_NE(cut.out.find("    and 2 more\n"), std::string::npos) << cut.out;
  // A damaged file is trouble, named as check names it; so is a file that is not there.
  const std::string damaged =
      WriteTempFile("c.txt", Replaced(good, "Line Width=1", "Line Width=x"));
  const Result trouble = Diff({original, damaged});
  EXPECT_EQ(trouble.code, 2);
  EXPECT_NE(trouble.err.find(damaged + ":26: [section \"Curves\"] entry \"Line Width\""),
            std::string::npos)
      << trouble.err;
  EXPECT_EQ(Diff({original, TempPath("missing.txt")}).code, 2);
}

// As git's external diff driver, in a repository of its own: the seven arguments, a file added
// (against /dev/null) and a file changed, and git goes on (exit 0) after a difference.
TEST(Diff, GitExternalDriver) {
  if (std::system("git --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no git";
  const std::string repository = TempPath("repository");
  const std::string git = "git -C " + repository + " ";
  const std::string setup =
      "rm -rf " + repository + " && mkdir -p " + repository + " && " + git + "init -q && " + git +
      "config user.name Tester && " + git + "config user.email tester@example.org && " + git +
      "config diff.labarc.command '" LABARC_EXECUTABLE " diff' && echo '*.lar diff=labarc' > " +
      repository + "/.gitattributes";
  ASSERT_EQ(std::system(setup.c_str()), 0);
  const std::string document = repository + "/plot.lar";
  const auto write = [&](const std::string& text) {
    std::ofstream(document, std::ios::binary) << text;
  };
  const auto run = [&](const std::string& arguments) {
    const std::string out = TempPath("git-out.txt");
    const int status = std::system((git + arguments + " > " + out + " 2>&1").c_str());
    return std::pair(status, FileText(out));
  };
  write(GoodDocument());
  const auto [addStatus, added] = run("add -A && " + git + "diff --cached");
  EXPECT_EQ(addStatus, 0) << added;
  EXPECT_NE(added.find("[Curves] section added, 2 items (line 9)\n"), std::string::npos) << added;
  ASSERT_EQ(run("commit -qm first").first, 0);
  write(Replaced(GoodDocument(), "Gain=0.1", "Gain=0.3"));
  const auto [status, changed] = run("diff");
  EXPECT_EQ(status, 0) << changed;
  EXPECT_NE(changed.find("diff --labarc a/plot.lar b/plot.lar\n"), std::string::npos) << changed;
  EXPECT_NE(changed.find("[Run] entry \"Gain\": \"0.1\" -> \"0.3\""), std::string::npos) << changed;
}

}  // namespace
}  // namespace labarc::testing
