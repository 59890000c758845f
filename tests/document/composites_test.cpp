// The whole composite registry, kind by kind: a sample with every entry set round-trips, a read
// fails all-or-nothing at every line cut or spoiled, the schema's steps are the lines the writer
// writes, and the field walk lists each entry with its text.
#include <climits>
#include <cstdint>
#include <functional>
#include <set>
#include <type_traits>

#include <labarc/archive/line_rules.h>
#include <labarc/document/composites.h>
#include <labarc/document/descriptions.h>

#include "support/all_or_nothing.h"

namespace labarc::testing {
namespace {

// A direction that gives every entry of a composite its own value, different from the default
// one: the k-th entry of an integer type holds 100 + k, a double k + 0.25, a colour three
// components of k, a string "text k"; ranged entries a value inside their range.
class SampleFill : public DescriptionWalk {
 public:
  explicit SampleFill(CArchiveEx& archive) : m_archive(archive) {}

  template <class T>
  bool operator()(const char*, T& value) const {
    Set(value);
    return true;
  }
  template <class T>
  bool operator()(T& composite) const {
    return Describe(*this, composite);
  }
  static bool Line(CString&) { return true; }
  template <class T, class Format>
  bool Formatted(const char*, T& value, Format) const {
    Set(value);
    return true;
  }
  template <class Object, class Get, class Set>
  bool Property(const char*, Object& object, Get, Set set) const {
    PropertyType<Set> value{};
    this->Set(value);
    if constexpr (std::is_member_function_pointer_v<Set>)
      (object.*set)(value);
    else
      set(object, value, m_archive);
    return true;
  }
  template <class T>
  bool Ranged(const char*, T& value, long least, long most) const {
    const long span = most - least + 1;
    value = static_cast<T>(least + (span > 0 ? 1 % span : 0) + (most > 1000 ? 13 : 0));
    return true;
  }
  static bool Count(const char*, int& count, std::uint64_t) {
    count = 14;
    return true;
  }
  template <class Step>
  bool OnRead(Step step) const {
    return step(static_cast<const CArchiveEx&>(m_archive));
  }
  using DescriptionWalk::Blocks;
  template <class Block>
  static bool Blocks(const BlockCount& count, Block block) {
    return Blocks(count.count, block);
  }
  template <class Curve>
  bool PointLines(Curve& curve) const {
    for (int i = 0; i < curve.GetNumPoints(); ++i) {
      CURVEPOINT point{static_cast<char>(i % 3), i * 0.5 - 2, -1.0 / (i + 1)};
      curve.SetCurvePoint(i, point);
    }
    return true;
  }

 private:
  int Next() const { return ++m_count; }
  void Set(CString& value) const { value = ("text " + std::to_string(Next())).c_str(); }
  void Set(double& value) const { value = Next() + 0.25; }
  void Set(unsigned long& value) const {
    const int k = Next();
    value = RGB(k, k + 1, k + 2);
  }
  void Set(tagRECT& value) const {
    const int k = Next();
    value = RECT{k, k + 1, k + 2, k + 3};
  }
  void Set(CRect& value) const { Set(static_cast<tagRECT&>(value)); }
  void Set(CSize& value) const { value = CSize(Next(), 7); }
  void Set(tagPOINT& value) const { value = POINT{Next(), -7}; }
  void Set(DPOINT& value) const { value = DPOINT{Next() + 0.5, 33.25}; }
  template <class T>
  void Set(T& value) const {
    value = static_cast<T>(100 + Next());
  }

  CArchiveEx& m_archive;
  mutable int m_count = 0;
};

template <class T>
T Sample() {
  LoadArchive archive("");
  T value{};
  Describe(SampleFill(*archive), value);
  if constexpr (std::is_same_v<T, CCurveObj>) value.ScaleCurve();  // as a read leaves it
  return value;
}

void CollectTexts(const std::vector<Field>& fields, std::vector<std::string>& texts) {
  for (const Field& field : fields) {
    if (field.IsComposite())
      CollectTexts(field.fields, texts);
    else
      texts.push_back(field.label.empty() ? field.text : field.label + "=" + field.text);
  }
}

TEST(CompositeRegistry, EveryKindRoundTripsFailsAllOrNothingAndListsWhatItWrites) {
  std::set<std::string> names;
  ForEachCompositeType([&](auto type) {
    using T = typename decltype(type)::type;
    const CompositeKind& kind = KindOf<T>();
    SCOPED_TRACE(kind.name);
    EXPECT_TRUE(names.insert(kind.name).second) << "names are unique";
    EXPECT_EQ(FindCompositeKind(kind.name), &kind);

    const T sample = Sample<T>();
    StoreArchive store;
    ASSERT_EQ(store->Write(sample), 1);
    const std::string text = store.Text();
    T target{};
    LoadArchive load(text);
    ASSERT_EQ(load->Read(target), 1) << text;
    EXPECT_TRUE(SameValue(target, sample)) << text;

    // Unlabelled lines that are no point lines (a geometry's block names) are not looked at.
    ExpectAllOrNothing([&](CArchiveEx& ar) { return ar.Write(sample); },
                       [](CArchiveEx& ar, T& into) { return ar.Read(into); }, T{},
                       [](std::string_view line) {
                         return line.find('=') == line.npos && line.find(',') == line.npos;
                       });

    // The schema's steps are the written lines: a label for each labelled line, an unlabelled
    // step for each other, and point lines for what follows.
    const std::vector<std::string_view> lines = SplitWrittenLines(text);
    std::size_t at = 0;
    for (const SchemaStep& step : kind.schema(CArchiveEx::ARCHIVE_VERSION)) {
      if (step.type == ValueType::pointLines) {
        for (; at < lines.size(); ++at) EXPECT_EQ(lines[at].find('='), std::string::npos);
        break;
      }
      ASSERT_LT(at, lines.size());
      const std::string_view line = lines[at++];
      if (step.type == ValueType::line)
        EXPECT_EQ(line.find('='), std::string::npos) << line;
      else
        EXPECT_EQ(line.substr(0, line.find('=')), step.label);
    }
    EXPECT_EQ(at, lines.size());

    // The field walk gives every labelled and unlabelled line, each with its text.
    const CompositeValue value = CompositeValue::Of(sample);
    std::vector<std::string> texts;
    CollectTexts(value.Fields(), texts);
    const std::vector<std::string> entryLines(
        lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(texts.size()));
    EXPECT_EQ(texts, entryLines);
    // Its fields make the same composite again (a curve without its points).
    CompositeValue made;
    CArchiveEx::Failure failure;
    ASSERT_TRUE(CompositeFromFields(kind, value.Fields(), made, failure)) << failure.expected;
    T expected = sample;
    if constexpr (std::is_same_v<T, CCurveObj>) {
      SizeCurve(expected, 0);
      expected.ScaleCurve();
    }
    EXPECT_TRUE(SameValue(*made.As<T>(), expected));
    // A copy is a value of its own.
    CompositeValue copy = value;
    EXPECT_NE(copy.As<T>(), value.As<T>());
    EXPECT_TRUE(SameValue(*copy.As<T>(), sample));
  });
  EXPECT_EQ(names.size(), CompositeKinds().size());
  EXPECT_EQ(FindCompositeKind("no such kind"), nullptr);
}

// A check after an entry names the entry, the value found and what it allows.
TEST(CompositeRegistry, ARefusedCheckNamesTheEntryValueAndRange) {
  CLegend legend;
  legend.m_nLegendPosition = 5;
  StoreArchive store;
  EXPECT_EQ(store->Write(legend), 0);
  const CArchiveEx::Failure& failure = store->GetLastFailure();
  EXPECT_EQ(failure.kind, CArchiveEx::FailureKind::outOfRange);
  EXPECT_EQ(failure.expected, "Legend Position");
  EXPECT_EQ(failure.found, "5");
  EXPECT_EQ(failure.allowed, "0 to 2");
}

}  // namespace
}  // namespace labarc::testing
