// Damaged input: every failure goes through the error path, nothing crashes, and a value whose
// read failed keeps what it held. Random bytes are the fuzz targets' business.
#include "support/test_support.h"

namespace {
using namespace labarc::testing;

using Document = std::tuple<int, double, BYTE, UINT, long, CString>;
constexpr const char* kLabels[] = {"Count", "Gain", "Channel", "Flags", "Offset", "Title"};

// Reads a document in quiet mode, checking that every failed read left its value alone.
int LoadDocument(std::string_view text, Document& doc) {
  LoadArchive ar(text);
  int ok = ar->ReadHeader();
  ok &= ar->GoToSection(CString("Data"));
  auto read = [&, label = std::begin(kLabels)](auto& value) mutable {
    const auto before = value;
    const char* name = *label++;
    const int result = ar->Read(value, CString(name));
    EXPECT_TRUE(result == 1 || value == before) << name;
    ok &= result;
  };
  std::apply([&](auto&... values) { (read(values), ...); }, doc);
  return ok;
}

TEST(BadInput, EveryTruncationFailsCleanly) {
  const std::string text =
      Lines({"[Archive Header]", "Archive Version Number=1.03", "Application Name=Plotter",
             "Application Version Number=4.2", "[Data]", "Count=12", "Gain=2.5", "Channel=7",
             "Flags=9", "Offset=-40", "Title=Run 1"});
  const Document untouched{-1, -1, 1, 2, -3, "untouched"};
  Document full = untouched;
  ASSERT_EQ(LoadDocument(text, full), 1);
  EXPECT_EQ(full, Document(12, 2.5, 7, 9, -40, "Run 1"));
  // Every cut before the last value loses a line the reader needs, and the load reports it;
  // nothing marks where the last value ends, so a cut inside it shortens the title.
  const std::size_t lastValue = text.find("Title=") + 6;
  for (std::size_t cut = 0; cut < text.size(); ++cut) {
    Document doc = untouched;
    EXPECT_EQ(LoadDocument(std::string_view(text).substr(0, cut), doc), cut >= lastValue) << cut;
    EXPECT_TRUE(cut < lastValue || std::string_view("Run 1").starts_with(std::get<5>(doc).View()));
  }
}

}  // namespace
