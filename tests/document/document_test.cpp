// Documents without the host's code: the walk and the loaded Document over whole files, a
// document written back byte for byte, damaged composites kept as their lines with the
// library's reason as data, and walks on two threads at once.
#include <algorithm>
#include <thread>
#include <tuple>

#include <labarc/curve/point_threads.h>
#include <labarc/document/document.h>

#include "support/test_support.h"

bool WriteExampleDocument(const char* path);

namespace labarc::testing {
namespace {

Document Loaded(const std::string& text, const std::string& applName = "") {
  Document document;
  std::string error;
  EXPECT_TRUE(
      LoadDocument(DocumentSource::Memory(text, "doc.txt"), {applName, ""}, document, error));
  return document;
}

std::string Saved(const Document& document) {
  CMemFile file;
  std::string error;
  EXPECT_TRUE(SaveDocument(document, file, error)) << error;
  return std::string(file.Contents());
}

std::string SourceFile(const std::string& name) { return FileText(LABARC_SOURCE_DIR "/" + name); }

// A document with one of every composite of the registry, each with its default values.
std::string EveryComposite() {
  StoreArchive store;
  store->WriteHeader();
  store->WriteSectionHeader(CString("Everything"));
  store->Write(CString("before"), CString("Plain"));
  for (const CompositeKind* kind : CompositeKinds()) CompositeValue(*kind).Write(*store);
  store->Write(CString("no label here"), static_cast<CString*>(nullptr));
  return store.Text();
}

std::string Golden(const std::string& name) {
  if (name == "example") {
    TempFolder folder;
    EXPECT_TRUE(WriteExampleDocument((folder / "example.txt").c_str()));
    return FileText(folder / "example.txt");
  }
  if (name == "every composite") return EveryComposite();
  return SourceFile(name);
}

// Every golden text walks and loads without an error, and comes back byte for byte; the old
// format's geometry and the old application's halved font heights included, whose values the
// reader converts.
TEST(Document, GoldenTextsLoadAndSaveByteForByte) {
  for (const std::string name :
       {"example", "every composite", "fuzz/corpus/document.txt", "fuzz/corpus/graph.txt",
        "fuzz/corpus/graph-1.02.txt", "fuzz/corpus/composites.txt"}) {
    SCOPED_TRACE(name);
    const std::string text = Golden(name);
    ASSERT_FALSE(text.empty());
    const Document document = Loaded(text);
    EXPECT_EQ(document.ErrorCount(), 0);
    EXPECT_TRUE(document.header.read);
    EXPECT_EQ(Saved(document), text);
  }
}

// The walk hands over the header, the sections and each entry with its line; a composite with its
// typed fields and a curve's points as arrays.
TEST(Document, WalkHandsOverEveryLineInOrder) {
  struct Recorder : WalkVisitor {
    std::vector<std::string> events;
    void OnHeader(const DocumentHeader& h) override {
      events.push_back("header " + h.applName + " " + std::to_string(h.applVersion).substr(0, 3));
    }
    void OnSection(int line, std::string_view name) override {
      events.push_back(std::to_string(line) + " [" + std::string(name) + "]");
    }
    void OnEntry(const DocumentEntry& e) override {
      events.push_back(std::to_string(e.line) + (e.labelled ? " entry " : " line ") +
                       std::string(e.label) + "|" + std::string(e.value));
    }
    void OnComposite(DocumentComposite& c) override {
      std::string text = std::to_string(c.line) + " " + c.value->Kind()->name + " " +
                         std::to_string(c.lineCount) + " " + c.fields->front().label + "=" +
                         c.fields->front().text;
      if (c.points) text += " x" + std::to_string(c.points->x.at(1));
      events.push_back(text);
    }
  } recorder;
  CCurveObj curve(2);
  curve.SetName("Probe");
  CURVEPOINT point{1, 2.5, -1};
  curve.SetCurvePoint(1, point);
  StoreArchive store;
  store->Write(CString("x"), CString("Stray"));
  store->WriteHeader();
  store->WriteSectionHeader(CString("Run"));
  store->Write(CString("a=b"), CString("Key"));
  store->Write(CString("bare"), static_cast<CString*>(nullptr));
  store->Write(curve);
  std::string error;
  ASSERT_TRUE(Walk(DocumentSource::Memory(store.Text(), "walk.txt"), {}, recorder, error));
  const std::vector<std::string> expected = {"1 entry Stray|x",
                                             "2 [Archive Header]",
                                             "header Plotter 4.2",
                                             "6 [Run]",
                                             "7 entry Key|a=b",
                                             "8 line |bare",
                                             "9 curve 34 Curve Name=Probe x2.500000"};
  EXPECT_EQ(recorder.events, expected);
}

// A composite the library refuses is kept as its lines, and the reason is data: the entry, the
// value found, what is allowed, a curve's name and a point's index. What labarc wrote comes back
// as it was, damage included.
TEST(Document, DamagedCompositesKeepTheirLinesWithTheReason) {
  CLegend legend;
  CCurveObj curve(14);
  curve.SetName("Probe");
  StoreArchive store;
  store->WriteHeader();
  store->WriteSectionHeader(CString("Graph"));
  store->Write(legend);
  store->Write(curve);
  const std::string good = store.Text();
  using Case = std::tuple<std::string, std::string, CArchiveEx::FailureKind, int, std::string,
                          std::string, std::string, int>;
  // from, to, failure, line, entry, found, allowed, point index
  const Case cases[] = {
      {"Legend Position=0", "Legend Position=5", CArchiveEx::FailureKind::outOfRange, 12,
       "Legend Position", "5", "0 to 2", -1},
      {"\r\n0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, \r\n0, 0, \r\n0, 0, 0, 0, 0",
       "\r\n0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, \r\n0, x, \r\n0, 0, 0, 0, 0",
       CArchiveEx::FailureKind::valueRefused, 66, "x values", " x", "", 13},
  };
  for (const auto& [from, to, failure, line, entry, found, allowed, index] : cases) {
    SCOPED_TRACE(to);
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    const Document document = Loaded(text);
    ASSERT_EQ(document.ErrorCount(), 1);
    const Diagnostic& d = document.diagnostics.at(0);
    EXPECT_EQ(std::tie(d.failure, d.line, d.entry, d.found, d.allowed, d.pointIndex),
              std::tie(failure, line, entry, found, allowed, index));
    EXPECT_EQ(d.section, "Graph");
    EXPECT_EQ(Saved(document), text);
  }
}

// The reader's conversions are warnings naming the entry, the file's text and the value read; an
// unchanged composite is written back as it stood, a changed one as the writer makes it.
TEST(Document, ValuesReadOtherwiseAreWarningsAndChangesAreWritten) {
  const std::string text =
      Lines({"[Archive Header]", "Archive Version Number=1.03", "Application Name=Plotter",
             "Application Version Number=3.5", "[Fonts]"}) +
      [] {
        LOGFONT font{};
        font.lfHeight = 24;
        StoreArchive store;
        store->Write(font);
        return store.Text();
      }();
  Document document = Loaded(text);
  ASSERT_EQ(document.diagnostics.size(), 1u);
  const Diagnostic& note = document.diagnostics[0];
  EXPECT_EQ(std::tie(note.kind, note.warning, note.line, note.entry, note.found, note.expected),
            std::make_tuple(DiagnosticKind::valueReadOtherwise, true, 6, std::string("Height"),
                            std::string("24"), std::string("12")));
  EXPECT_EQ(Saved(document), text);
  LOGFONT* font = document.sections.at(1).items.at(0).composite.As<LOGFONT>();
  ASSERT_NE(font, nullptr);
  font->lfWeight = 700;
  std::string changed = text;
  changed.replace(changed.find("Height=24"), 9, "Height=12");
  changed.replace(changed.find("Weight=0"), 8, "Weight=700");
  EXPECT_EQ(Saved(document), changed);
}

// The walk shows no box and swaps no handler: a newer format is an error of the walk alone, and
// two documents are walked on two threads at once with the same results as one after the other.
TEST(Document, WalksShowNoBoxAndRunOnTwoThreadsAtOnce) {
  ReportRecorder recorder;
  std::string newer = SourceFile("fuzz/corpus/graph.txt");
  newer.replace(newer.find("=1.03"), 5, "=1.04");
  const std::string texts[] = {SourceFile("fuzz/corpus/graph.txt"), newer};
  const auto load = [&](int which) { return Loaded(texts[which]); };
  const Document alone[] = {load(0), load(1)};
  EXPECT_TRUE(alone[0].header.read);
  ASSERT_EQ(alone[1].ErrorCount(), 1);
  EXPECT_EQ(alone[1].diagnostics[0].failure, CArchiveEx::FailureKind::newerFormat);
  Document together[2];
  std::thread first([&] { together[0] = load(0); });
  std::thread second([&] { together[1] = load(1); });
  first.join();
  second.join();
  for (int i = 0; i < 2; ++i) EXPECT_EQ(Saved(together[i]), Saved(alone[i]));
  EXPECT_TRUE(recorder.boxes.empty());
}

// A curve of 40 points, enough for several point lines in each group.
CCurveObj Probe() {
  CCurveObj curve(40);
  curve.SetName("Probe");
  for (int i = 0; i < 40; ++i) {
    CURVEPOINT point{1, 0.5 * i, -1.0 * i};
    curve.SetCurvePoint(i, point);
  }
  return curve;
}

// Curves read on several threads take only their own lines from the walk: the entries and
// sections after them are still the walk's.
TEST(Document, CurvesReadOnThreadsLeaveTheLinesAfterThemToTheWalk) {
  const PointThreading previous = GetPointThreading();
  SetPointThreading({2, 0, 2});
  const CCurveObj curve = Probe();
  StoreArchive store;
  store->WriteHeader();
  store->WriteSectionHeader(CString("Run"));
  store->Write(curve);
  store->Write(CString("after"), CString("Key"));
  store->WriteSectionHeader(CString("Next"));
  store->Write(curve);
  const std::string text = store.Text();
  const Document document = Loaded(text);
  SetPointThreading(previous);
  EXPECT_EQ(document.ErrorCount(), 0);
  std::vector<std::string> items;
  for (const DocumentSection& section : document.sections)
    for (const DocumentItem& item : section.items)
      items.push_back(section.name + " " +
                      (item.IsComposite() ? item.composite.Kind()->name + std::string(" ") +
                                                std::to_string(item.points.y.at(39))
                                          : item.label));
  const std::vector<std::string> expected = {"Run curve -39.000000", "Run Key",
                                             "Next curve -39.000000"};
  EXPECT_EQ(items, expected);
  EXPECT_EQ(Saved(document), text);
}

// A curve whose lines differ from the writer's text anywhere is written back as it stood; point
// lines spelt otherwise are warnings. Without the comparison of point text, such numbers are
// written in the writer's spelling, while lines before the points still keep theirs. Both on
// one thread and on two.
TEST(Document, CurvesSpeltOtherwiseSaveAsTheyStoodWhenComparing) {
  StoreArchive store;
  store->WriteHeader();
  store->WriteSectionHeader(CString("Run"));
  store->Write(Probe());
  const std::string text = store.Text();
  struct Case {
    const char* from;
    const char* to;
    bool pointLine;
  };
  const Case cases[] = {
      {"\r\n0, 0.5, 1, ", "\r\n0, 0.50, 1, ", true},  // x spelt otherwise
      {"-14, ", "-1.4e1, ", true},                    // y in another notation
      {"\r\n1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, \r\n",
       "\r\n1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 01, \r\n", true},  // a flag
      {"Curve Name=", "curve name=", false},                    // a label's letter case
      {"Number Of Curve Points=40", "Number Of Curve Points= 40", false},
  };
  const PointThreading previous = GetPointThreading();
  for (const int threads : {1, 2}) {
    SetPointThreading({threads, 0, 2});
    for (const Case& spoil : cases) {
      std::string spelt = text;
      ASSERT_NE(spelt.find(spoil.from), std::string::npos) << spoil.from;
      spelt.replace(spelt.find(spoil.from), std::string(spoil.from).size(), spoil.to);
      for (const bool compare : {true, false}) {
        SCOPED_TRACE(std::string(spoil.to) + (compare ? " compared" : " not compared") +
                     " threads " + std::to_string(threads));
        Document document;
        std::string error;
        WalkOptions options;
        options.comparePointText = compare;
        ASSERT_TRUE(
            LoadDocument(DocumentSource::Memory(spelt, "doc.txt"), options, document, error));
        ASSERT_EQ(document.ErrorCount(), 0);
        const bool noted = std::any_of(
            document.diagnostics.begin(), document.diagnostics.end(),
            [](const Diagnostic& d) { return d.kind == DiagnosticKind::pointLineReadOtherwise; });
        EXPECT_EQ(noted, compare && spoil.pointLine);
        EXPECT_EQ(Saved(document), compare || !spoil.pointLine ? spelt : text);
      }
    }
  }
  SetPointThreading(previous);
}

// Cut anywhere, a golden text walks to its end: the cut composite is kept as lines, and what
// loads is written back as it stood.
TEST(Document, EveryCutLoadsAndSavesAsItStood) {
  const std::string text = Golden("every composite");
  for (std::size_t at = 0; at < text.size(); at = text.find("\r\n", at) + 2) {
    const std::string cut = text.substr(0, at);
    EXPECT_EQ(Saved(Loaded(cut)), cut);
  }
}

}  // namespace
}  // namespace labarc::testing
