// plot: the graph a document stores, drawn as stored. Each stored setting is edited in a copy of
// the example document and the SVG element it governs checked; positions are checked against
// their computed place; every picture is rendered by a real SVG renderer.
#include <gtest/gtest.h>

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "commands.h"
#include "graph_plot.h"
#include "svg_text.h"
#include "tools/svg_render_support.h"
#include "tools/tool_test_support.h"

#ifndef LABARC_EXAMPLE_EXECUTABLE
#define LABARC_EXAMPLE_EXECUTABLE ""  // the examples are not built
#endif

namespace labarc::testing {
namespace {

// The example program's two documents: the example document and the graph example; empty when
// the examples are not built.
const std::string& ExampleFile(int which) {
  static const std::array<std::string, 2> texts = [] {
    if (std::string_view(LABARC_EXAMPLE_EXECUTABLE).empty()) return std::array<std::string, 2>{};
    const std::string example = TempPath("example.txt"), graph = TempPath("graph-example.txt");
    const std::string command = std::string(LABARC_EXAMPLE_EXECUTABLE) + " '" + example + "' '" +
                                TempPath("example-schema.json") + "' '" + graph + "' >/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return std::array<std::string, 2>{FileText(example), FileText(graph)};
  }();
  return texts[static_cast<std::size_t>(which)];
}
const std::string& ExampleDocument() { return ExampleFile(0); }
const std::string& GraphExample() { return ExampleFile(1); }

struct Plotted {
  int code = 0;
  std::string svg;
  std::string err;
};

// Plots `text` (named example.txt) with `options`, and renders the picture.
Plotted Plot(const std::string& text, tool::PlotOptions options = {}) {
  static int pictures = 0;
  options.output = TempPath("plot-" + std::to_string(++pictures) + ".svg");
  std::ostringstream out, err;
  Plotted plotted;
  plotted.code = tool::RunPlot(tool::Source::Memory(text, "example.txt"), options, {out, err});
  plotted.err = err.str();
  plotted.svg = FileText(options.output);
  if (!plotted.svg.empty()) RenderSvg(options.output);
  return plotted;
}

bool Has(const std::string& svg, const std::string& needle) {
  return svg.find(needle) != std::string::npos;
}

// Draws `input` into a file, renders it, and returns the picture's text.
std::string Draw(const tool::PlotInput& input, std::vector<std::string>* notes = nullptr) {
  static int pictures = 0;
  const std::string path = TempPath("drawn-" + std::to_string(++pictures) + ".svg");
  std::ostringstream svg;
  const std::vector<std::string> made = tool::WriteGraphSvg(svg, input);
  if (notes) *notes = made;
  std::ofstream(path) << svg.str();
  RenderSvg(path);
  return svg.str();
}

struct Edit {
  const char* after;
  const char* from;
  const char* to;
};

struct SettingCase {
  const char* setting;
  std::vector<Edit> edits;
  const char* element;  // the SVG text the setting governs
  bool appears;         // the edit makes it appear (else disappear)
};

// Each setting, edited in a copy of the example document, changes the element it governs.
TEST(PlotGraph, EachStoredSettingGovernsItsElement) {
  if (ExampleDocument().empty()) GTEST_SKIP() << "the examples are not built";
  const char* graph = "[Graph]";
  const char* xAxis = "Text Wording=Time (s)";
  const char* yAxis = "Text Wording=Signal (mV)";
  const char* window = "Graph type=";
  const SettingCase cases[] = {
      {"window title",
       {{window, "=Reactor 2 calibration", "=Tank 4 run"}},
       "\">Tank 4 run</text>",
       true},
      {"axis title", {{graph, xAxis, "Text Wording=Hours"}}, "\">Hours</text>", true},
      {"the curves' Y Title when the axis has no text",
       {{graph, yAxis, "Text Wording="}, {"", "Y Title=Signal (mV)", "Y Title=Volts"}},
       "\">Volts</text>",
       true},
      {"axis range",
       {{xAxis, "GP Axis Min=0", "GP Axis Min=2"}, {xAxis, "GP Axis Max=20", "GP Axis Max=12"}},
       "class=\"axis x\" data-range=\"2 12\"",
       true},
      {"the geometry's range when the axis has none",
       {{yAxis, "GP Axis Min=-50", "GP Axis Min=0"},
        {yAxis, "GP Axis Max=150", "GP Axis Max=0"},
        {"Y Axis\r\n", "GP Min=-50", "GP Min=-100"},
        {"Y Axis\r\n", "GP Max=150", "GP Max=300"}},
       "class=\"axis y\" data-range=\"-100 300\"",
       true},
      {"reversed direction",
       {{xAxis, "Direction=0", "Direction=1"}},
       "class=\"axis x\" data-range=\"20 0\"",
       true},
      {"GP Increment", {{xAxis, "GP Increment=0", "GP Increment=5"}}, ">15</text>", true},
      {"Tick Increment Value",
       {{xAxis, "Tick Increment Value=6", "Tick Increment Value=4"}},
       ">8</text>",
       true},
      {"major ticks inside",
       {{xAxis, "Major Inside=1", "Major Inside=0"}},
       "M80.0,433.3V439.3",
       true},
      {"minor ticks", {{xAxis, "Minor Ticks=4", "Minor Ticks=0"}}, "M120.8,430.3V433.3", false},
      {"major grid", {{xAxis, "Major Grid=1", "Major Grid=0"}}, "class=\"grid major x\"", false},
      {"grid line type",
       {{xAxis, "Major Grid Line Type=2", "Major Grid Line Type=1"}},
       "class=\"grid major x\" fill=\"none\" stroke=\"#000000\" stroke-width=\"1.0\" "
       "stroke-dasharray=\"4.0,2.0\"",
       true},
      {"Hide From Legend",
       {{"Curve Name=Probe B", "Hide From Legend=0", "Hide From Legend=1"}},
       ">Probe B</text>",
       false},
      {"Legend Shown", {{window, "Legend Shown=1", "Legend Shown=0"}}, "class=\"legend\"", false},
      {"legend place",
       {{window, "Location Percent X=80", "Location Percent X=50"},
        {window, "Location Percent Y=10", "Location Percent Y=20"}},
       "class=\"legend-box\" x=\"400.0\" y=\"100.0\"",
       true},
      {"Legend Position",
       {{window, "Legend Position=0", "Legend Position=1"}},
       "class=\"legend-box\" x=\"585.6\" y=\"50.0\"",
       true},
      {"Legend Color",
       {{window, "Legend Color=0 0 0", "Legend Color=128 0 0"}},
       "fill=\"#800000\" font-size=\"12.0\">Probe A</text>",
       true},
      {"background",
       {{window, "Background Color=255 255 240", "Background Color=0 0 64"}},
       "class=\"background\" width=\"100%\" height=\"100%\" fill=\"#000040\"",
       true},
      {"Draw", {{"Curve Name=Probe A", "Draw=1", "Draw=0"}}, "data-curve=\"Probe A\"", false},
      {"Line On",
       {{"Curve Name=Probe A", "Line On=1", "Line On=0"}},
       "data-curve=\"Probe A\"",
       false},
      {"Line Style",
       {{"Curve Name=Probe A", "Line Style=0", "Line Style=1"}},
       "data-curve=\"Probe A\" fill=\"none\" stroke=\"#005ac8\" stroke-width=\"2.0\" "
       "stroke-dasharray=\"8.0,4.0\"",
       true},
      {"Line Type",
       {{"Curve Name=Probe A", "Line Type=0", "Line Type=1"}},
       "d=\"M80.0,333.3 L83.4,333.3 L83.4,329.3 L86.8,329.3 L86.8,325.3",
       true},
      {"symbols",
       {{"Curve Name=Probe B", "Symbol On=0", "Symbol On=1"},
        {"Curve Name=Probe B", "Symbol Type=0", "Symbol Type=1"},
        {"Curve Name=Probe B", "Symbol Color=0 0 0", "Symbol Color=0 128 0"}},
       "class=\"symbols\" fill=\"#008000\" d=\"M76.0,253.3a4.0,4.0 0 1,0 8.0,0a",
       true},
      {"Symbol Factor and Intervals",
       {{"Curve Name=Probe B", "Symbol On=0", "Symbol On=1"},
        {"Curve Name=Probe B", "Symbol Factor=4", "Symbol Factor=2"},
        {"Curve Name=Probe B", "Symbol Intervals=1", "Symbol Intervals=50"}},
       "M78.0,251.3h4.0v4.0h-4.0zM248.0,",
       true},
      {"second y axis",
       {{"Curve Name=Reference", "Y Axis=0", "Y Axis=1"}},
       "class=\"axis y2\"",
       true},
      {"title font",
       {{window, "Face Name=Helvetica", "Face Name=Courier"},
        {window, "Weight=400", "Weight=700"},
        {window, "Italic=0", "Italic=1"},
        {window, "Height=14", "Height=20"}},
       "font-family=\"Courier, sans-serif\" font-size=\"20.0\" font-weight=\"700\" "
       "font-style=\"italic\">Reactor 2 calibration",
       true},
      {"title colour",
       {{window, "Text Color=0 0 0", "Text Color=0 128 0"}},
       "fill=\"#008000\" font-family=\"Helvetica, sans-serif\" font-size=\"14.0\">Reactor 2",
       true},
      {"axis title font",
       {{graph, "Face Name=Helvetica", "Face Name=Times"}},
       "class=\"axis-title\" fill=\"#000000\" font-family=\"Times, sans-serif\"",
       true},
      {"tick label colour",
       {{xAxis, "Color=0 0 0", "Color=0 0 255"}},
       "class=\"tick-labels\" fill=\"#0000ff\"",
       true},
      {"Num Digits", {{xAxis, "Num Digits=0", "Num Digits=2"}}, ">6.00</text>", true},
      {"point flags",
       {{"Curve Name=Probe A", "Symbol On=0", "Symbol On=1"},
        {"Curve Name=Probe A", "\n1, 1, ", "\n0, 1, "}},
       "class=\"symbols deselected\"",
       true},
  };
  const Plotted baseline = Plot(ExampleDocument());
  ASSERT_EQ(baseline.code, 0) << baseline.err;
  for (const SettingCase& test : cases) {
    SCOPED_TRACE(test.setting);
    std::string text = ExampleDocument();
    for (const Edit& edit : test.edits) text = Spoil(text, edit.after, edit.from, edit.to);
    const Plotted edited = Plot(text);
    ASSERT_EQ(edited.code, 0) << edited.err;
    EXPECT_EQ(Has(baseline.svg, test.element), !test.appears) << test.element;
    EXPECT_EQ(Has(edited.svg, test.element), test.appears) << test.element;
  }
}

// The example document's plot shows its stored layout.
TEST(PlotGraph, TheExamplesAreDrawnAsStored) {
  if (ExampleDocument().empty()) GTEST_SKIP() << "the examples are not built";
  const Plotted example = Plot(ExampleDocument());
  ASSERT_EQ(example.code, 0) << example.err;
  for (const char* element : {
           ">Reactor 2 calibration</text>",
           "class=\"axis-title\" fill=\"#000000\" font-family=\"Helvetica, sans-serif\" "
           "font-size=\"10.0\" text-anchor=\"middle\" x=\"420.0\" y=\"",
           ">Time (s)</text>",
           ">Signal (mV)</text>",
           "class=\"axis x\" data-range=\"0 20\"",
           "class=\"axis y\" data-range=\"-50 150\"",
           "fill=\"#fffff0\"",
           "class=\"legend-box\" x=\"640.0\" y=\"50.0\"",
           ">Probe A</text>",
           ">Probe B</text>",
           ">Reference</text>",
           ">Probe A: 200 points, y ",
       })
    EXPECT_TRUE(Has(example.svg, element)) << element;
  EXPECT_FALSE(Has(example.svg, "class=\"axis y2\""));

  const Plotted graph = Plot(GraphExample());
  ASSERT_EQ(graph.code, 0) << graph.err;
  for (const char* element : {
           ">Reactor 2</text>",
           ">Probe B, 24 hours</text>",
           "class=\"axis x\" data-range=\"0 24\"",
           "class=\"axis y\" data-range=\"-5 40\"",
           ">0.00</text>",
           ">6.00</text>",
           ">12.00</text>",
           ">18.00</text>",
           ">24.00</text>",
       })
    EXPECT_TRUE(Has(graph.svg, element)) << element;
  EXPECT_FALSE(Has(graph.svg, ">3.00</text>"));
  // The third axis is stored inactive and no curve is drawn on it; the legend lists no curve.
  EXPECT_FALSE(Has(graph.svg, "class=\"axis y2\""));
}

// The documentation's picture is the example document's plot.
TEST(PlotGraph, TheDocumentedPictureIsTheExamplePlot) {
  if (ExampleDocument().empty()) GTEST_SKIP() << "the examples are not built";
  const Plotted example = Plot(ExampleDocument());
  EXPECT_EQ(FileText(LABARC_SOURCE_DIR "/docs/example-curves.svg"), example.svg)
      << "regenerate docs/example-curves.svg with labarc plot";
}

// A few pixels of the rendering: the stored background at a corner, and Probe A's colour at its
// peak (t = pi, 40 mV: x = 80 + pi / 20 * 680, y = 433.3 - 90 / 200 * 400).
TEST(PlotGraph, TheRenderingShowsTheStoredColours) {
  if (ExampleDocument().empty()) GTEST_SKIP() << "the examples are not built";
  tool::PlotOptions options;
  options.output = TempPath("pixels.svg");
  std::ostringstream out, err;
  ASSERT_EQ(
      tool::RunPlot(tool::Source::Memory(ExampleDocument(), "example.txt"), options, {out, err}),
      0);
  const Picture picture = RenderSvg(options.output);
  ASSERT_EQ(picture.width, 800);
  ASSERT_EQ(picture.height, 500);
  EXPECT_EQ(picture.At(2, 2), (std::array<int, 3>{255, 255, 240}));
  EXPECT_EQ(picture.At(797, 497), (std::array<int, 3>{255, 255, 240}));
  const auto near = [](std::array<int, 3> a, std::array<int, 3> b) {
    return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) < 40;
  };
  bool found = false;
  for (int dy = -1; dy <= 1; ++dy) found = found || near(picture.At(187, 253 + dy), {0, 90, 200});
  EXPECT_TRUE(found) << picture.At(187, 252)[0] << ' ' << picture.At(187, 253)[1] << ' '
                     << picture.At(187, 253)[2];
}

// A point at a known value lands at its computed place: the plot spans 100 to 900 pixels both
// ways in a picture of 1000 by 1000.
TEST(PlotGraph, PointsLandAtTheirComputedPlaces) {
  struct Case {
    const char* what;
    double xMin, xMax;
    int xDirection;
    int yAxis;
    double x, y;
    const char* expected;
    bool logY2 = false;  // the second y axis logarithmic, from 1 to 1000
  };
  const Case cases[] = {
      {"first y axis", 0, 10, 0, 0, 2.5, 25, "M300.0,700.0"},
      {"second y axis, offset range", 0, 10, 0, 1, 5, 0, "M500.0,700.0"},
      {"second y axis, its top", 0, 10, 0, 1, 10, 150, "M900.0,100.0"},
      {"reversed x range", 10, 0, 0, 0, 2.5, 100, "M700.0,100.0"},
      {"reversed x direction", 0, 10, 1, 0, 2.5, 0, "M700.0,900.0"},
      {"offset x range", -20, -10, 0, 0, -12, 50, "M740.0,500.0"},
      {"far outside", 0, 10, 0, 0, 1e300, -1e300, "M1000000.0,1000000.0"},
      {"logarithmic second y axis", 0, 10, 0, 1, 5, 10, "M500.0,633.3", true},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    tool::GraphLayout graph;
    _GEOMETRY geometry{};
    geometry.rcLPGraphLoc = RECT{0, 0, 1000, 1000};
    geometry.rcLPPlotLoc = RECT{100, 100, 900, 900};
    graph.geometry = geometry;
    const double ranges[3][2] = {{test.xMin, test.xMax}, {0, 100}, {-50, 150}};
    for (int i = 0; i < 3; ++i) {
      _AXIS axis;
      axis.nActive = 1;
      axis.nPos = i;
      axis.dGPAxisMin = ranges[i][0];
      axis.dGPAxisMax = ranges[i][1];
      graph.axes.push_back(axis);
    }
    graph.axes[0].nDirection = test.xDirection;
    if (test.logY2) {
      graph.axes[2].nScaling = 1;
      graph.axes[2].dGPAxisMin = 1;
      graph.axes[2].dGPAxisMax = 1000;
    }
    CCurveObj curve(1);
    CURVEPOINT point{1, test.x, test.y};
    curve.SetCurvePoint(0, point);
    curve.SetYAxis(test.yAxis);
    tool::PlotInput input;
    input.graph = &graph;
    input.curves = {&curve};
    input.width = input.height = 1000;
    std::vector<std::string> notes;
    const std::string svg = Draw(input, &notes);
    EXPECT_TRUE(notes.empty());
    EXPECT_TRUE(Has(svg,
                    "class=\"curve\" data-curve=\"\" fill=\"none\" stroke=\"#000000\" "
                    "stroke-width=\"1.0\" stroke-linejoin=\"round\" d=\"" +
                        std::string(test.expected) + "\""))
        << svg.substr(svg.find("class=\"curve\""), 200);
  }
}

// --window picks a graph by number or title, --auto draws the automatic chart, --verbose names
// what has no reading.
TEST(PlotGraph, WindowChoiceAutomaticChartAndUnreadCodes) {
  if (ExampleDocument().empty()) GTEST_SKIP() << "the examples are not built";
  std::string second = GraphExample().substr(GraphExample().find("[Graph]"));
  second.replace(0, 7, "[Second Graph]");
  const std::string twoGraphs = ExampleDocument() + second;
  const auto options = [](const char* window, bool automatic, bool verbose) {
    tool::PlotOptions made;
    made.window = window, made.automatic = automatic, made.verbose = verbose;
    return made;
  };
  struct Case {
    tool::PlotOptions options;
    int code;
    const char* inSvg;
    const char* inErr;
  };
  const Case cases[] = {
      {options("", false, false), 0, ">Reactor 2 calibration</text>", ""},
      {options("1", false, false), 0, ">Reactor 2 calibration</text>", ""},
      {options("2", false, false), 0, ">Probe B, 24 hours</text>", ""},
      // The graph example's legend: its right edge (Legend Position 2) at 80%, its top at 10%.
      {options("2", false, false), 0, "class=\"legend-box\" x=\"542.0\" y=\"50.0\"", ""},
      {options("Reactor 2", false, false), 0, ">Probe B, 24 hours</text>", ""},
      {options("3", false, false), 2, "",
       "no graph window \"3\"; it holds 1 \"Reactor 2 calibration\", 2 \"Reactor 2\""},
      {options("", true, false), 0, ">example.txt</text>", ""},
      // Graph type 1 draws every curve as symbols only.
      {options("2", false, true), 0, "class=\"symbols\" fill=\"#000000\" d=\"M", ""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.options.window);
    const Plotted plotted = Plot(twoGraphs, test.options);
    EXPECT_EQ(plotted.code, test.code) << plotted.err;
    EXPECT_TRUE(Has(plotted.svg, test.inSvg)) << test.inSvg;
    EXPECT_TRUE(Has(plotted.err, test.inErr)) << plotted.err;
  }

  // Curves are chosen by section and by name in any letter case; the graph comes from its own
  // section all the same, and a name that matches no curve is refused with the names there are.
  const auto chosen = [](const char* section, const char* curve) {
    tool::PlotOptions made;
    made.section = section;
    if (*curve) made.curves = {curve};
    return made;
  };
  const Plotted probeB = Plot(ExampleDocument(), chosen("curves", "probe b"));
  EXPECT_EQ(probeB.code, 0) << probeB.err;
  EXPECT_TRUE(Has(probeB.svg, ">Reactor 2 calibration</text>"));
  EXPECT_TRUE(Has(probeB.svg, "data-curve=\"Probe B\""));
  EXPECT_FALSE(Has(probeB.svg, "data-curve=\"Probe A\""));
  const Plotted graphOnly = Plot(ExampleDocument(), chosen("Graph", ""));
  EXPECT_EQ(graphOnly.code, 0) << graphOnly.err;
  EXPECT_TRUE(Has(graphOnly.svg, ">Reactor 2 calibration</text>"));
  EXPECT_FALSE(Has(graphOnly.svg, "class=\"curve\""));
  const Plotted missing = Plot(ExampleDocument(), chosen("", "Probe C"));
  EXPECT_EQ(missing.code, 1);
  EXPECT_TRUE(
      Has(missing.err, "no such curve; the curves are: \"Probe A\" \"Probe B\" \"Reference\""))
      << missing.err;

  const std::string odd =
      Spoil(ExampleDocument(), "Curve Name=Probe A", "Line Style=0", "Line Style=9");
  EXPECT_EQ(Plot(odd).err, "");
  EXPECT_TRUE(
      Has(Plot(odd, options("", false, true)).err,
          "example.txt: curve \"Probe A\": Line Style 9 has no reading; drawn as 0 (solid)\n"));
}

// Text in the picture is well-formed XML and UTF-8 whatever the document holds: each bad byte
// sequence becomes one "?", and a curve named with all of them still renders.
TEST(PlotGraph, TextIsMadeSafeForXml) {
  const std::pair<std::string, std::string> cases[] = {
      {"a<b>&\"c\"", "a&lt;b&gt;&amp;&quot;c&quot;"},
      {"tab\there\x7f", "tab?here\x7f"},
      {"\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\x88 \xef\xbf\xbd",
       "\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\x88 \xef\xbf\xbd"},
      {"\xef\xbf\xbe|\xef\xbf\xbf", "?|?"},  // characters XML forbids
      {"x\xc3", "x?"},                       // cut short at the end
      {"\xc3(", "?("},                       // a lead byte without its continuation
      {"\xe2\x82(", "?("},
      {"\x80x", "?x"},                           // a continuation byte alone
      {"\xc0\xaf|\xc1\xbf", "?|?"},              // over-long forms in two bytes
      {"\xe0\x80\xaf|\xe0\x9f\xbf", "?|?"},      // and in three
      {"\xf0\x8f\xbf\xbf", "?"},                 // and in four
      {"\xed\xa0\x80|\xed\xbf\xbf", "?|?"},      // surrogates
      {"\xed\x9f\xbf", "\xed\x9f\xbf"},          // the last character before them
      {"\xf4\x8f\xbf\xbf", "\xf4\x8f\xbf\xbf"},  // U+10FFFF
      {"\xf4\x90\x80\x80", "?"},                 // beyond it
      {"\xf5\x80\x80\x80|\xff", "?|?"},
  };
  std::string name;
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(tool::XmlText(text), expected) << text;
    name += text;
  }
  CCurveObj curve(1);
  curve.SetName(name.c_str());
  tool::PlotInput input;
  input.curves = {&curve};
  Draw(input);
}

}  // namespace
}  // namespace labarc::testing
