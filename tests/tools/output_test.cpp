#include <nlohmann/json.hpp>

#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "tools/tool_test_support.h"

namespace labarc::testing {
namespace {

using nlohmann::json;

std::uint64_t Bits(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// A JSON point value back as a double: a number, or the archive's text of what JSON lacks.
double FromJson(const json& value) {
  if (value.is_number()) return value.get<double>();
  double parsed = 0;
  EXPECT_TRUE(CDouble::Validate(value.get<std::string>(), parsed)) << value;
  return parsed;
}

TEST(Dump, JsonOfTenCurvesOfAHundredThousandPointsReadsBackBitForBit) {
  constexpr int kCurves = 10, kPoints = 100000;
  const std::string path = WriteTempFile("curves.txt", CurvesDocument(kCurves, kPoints));
  const CommandResult result = RunTool("dump --json", path);
  ASSERT_EQ(result.code, 0) << result.err;
  const json document = json::parse(result.out);
  const json& items = document["sections"][0]["items"];
  ASSERT_EQ(items.size(), static_cast<std::size_t>(kCurves));
  for (int c = 0; c < kCurves; ++c) {
    const CCurveObj expected = RandomCurve(c, kPoints);
    const json& points = items[c]["points"];
    ASSERT_EQ(points["x"].size(), static_cast<std::size_t>(kPoints));
    int mismatches = 0;
    for (int i = 0; i < kPoints; ++i) {
      CURVEPOINT point;
      expected.GetCurvePoint(i, &point);
      mismatches += Bits(FromJson(points["x"][i])) != Bits(point.dX) ||
                    Bits(FromJson(points["y"][i])) != Bits(point.dY) ||
                    points["flags"][i] != static_cast<unsigned char>(point.cFlag);
    }
    EXPECT_EQ(mismatches, 0) << "curve " << c;
  }
}

TEST(Dump, TypedCompositesSectionsAndText) {
  const std::string path = WriteTempFile("good.txt", GoodDocument());
  const CommandResult result = RunTool("dump --json", path);
  ASSERT_EQ(result.code, 0) << result.err;
  const json document = json::parse(result.out);
  EXPECT_EQ(document["header"]["applicationName"], kDocumentAppl);
  EXPECT_EQ(document["header"]["archiveVersion"], 1.03);
  const json& sections = document["sections"];
  ASSERT_EQ(sections.size(), 3u);
  EXPECT_EQ(sections[0]["items"][2], json({{"line", 8}, {"label", "Gain"}, {"value", "0.1"}}));
  const json& curve = sections[1]["items"][0];
  EXPECT_EQ(curve["type"], "curve");
  EXPECT_EQ(curve["entries"][17],
            json({{"label", "Line Color"}, {"value", {{"red", 10}, {"green", 20}, {"blue", 30}}}}));
  const json& text = sections[2]["items"][0];
  EXPECT_EQ(text["type"], "text");
  EXPECT_EQ(text["entries"][5]["composite"], "font");
  EXPECT_EQ(text["entries"][5]["entries"][4], json({{"label", "Weight"}, {"value", 700}}));
  EXPECT_EQ(sections[2]["items"][2]["type"], "font");

  const CommandResult chart = RunTool("dump", path, "chart");
  EXPECT_EQ(chart.code, 0);
  EXPECT_EQ(chart.out.find("Curve Name"), std::string::npos);
  EXPECT_NE(chart.out.find("      82  text \"Dose response\"\n"), std::string::npos) << chart.out;
  EXPECT_NE(chart.out.find("          Text Color                   = {\"red\":0,\"green\":0,"),
            std::string::npos);
}

TEST(Info, HeaderAndOneRowPerSection) {
  const CommandResult result = RunTool("info", WriteTempFile("good.txt", GoodDocument()));
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_NE(result.out.find("Format:       1.03\nApplication:  Example Plotter, version 3.6\n"),
            std::string::npos);
  EXPECT_NE(result.out.find("[Curves]                       9       71  curve \"First\" (14 "
                            "points), curve \"Second\" (3 points)\n"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("text \"Dose response\", tracker, font \"Helvetica\""),
            std::string::npos);
}

TEST(Plot, OneWellFormedPathPerCurveInItsColourAndNeverOverItsInput) {
  const std::string path = WriteTempFile("big.txt", CurvesDocument(3, 200000));
  const std::string svgPath = ::testing::TempDir() + "big.svg";
  std::ostringstream out, err;
  tool::PlotOptions options;
  options.output = svgPath;
  ASSERT_EQ(tool::RunPlot(tool::Source::File(path), options, {out, err, false}), 0) << err.str();
  std::stringstream svg;
  svg << std::ifstream(svgPath).rdbuf();
  const std::string text = svg.str();
  EXPECT_LT(text.size(), 200000u);
  std::size_t paths = 0;
  for (std::size_t at = text.find("<path"); at != text.npos; at = text.find("<path", at + 1))
    ++paths;
  EXPECT_EQ(paths, 3u);
  EXPECT_NE(text.find("stroke=\"#285aeb\""), std::string::npos);  // curve 1's line colour
  EXPECT_NE(text.find(">Curve 2</text>"), std::string::npos);

  options.curves = {"Curve 1"};
  options.output = path;
  EXPECT_EQ(tool::RunPlot(tool::Source::File(path), options, {out, err, false}), 2);
  EXPECT_NE(err.str().find("refusing to write the plot over its input"), std::string::npos);
}

TEST(Schema, EveryCompositeFromTheDescribeFunctions) {
  std::ostringstream out, err;
  EXPECT_EQ(tool::RunSchema("text", {out, err, false}), 0);
  EXPECT_EQ(
      out.str().substr(0, out.str().find("Height")),
      "text (20 steps)\n  Text Show                        int\n  Text Color                     "
      "  colour\n  Text Location Top                int\n  Text Location Left               "
      "int\n  Text Obj Bnd                     rectangle\n    ");
  EXPECT_EQ(tool::RunSchema("no such thing", {out, err, false}), 2);
}

}  // namespace
}  // namespace labarc::testing
