// Damaged and hostile input: every failure goes through the error path, nothing crashes, and a
// value whose read failed keeps what it held. Random bytes are the fuzz targets' business.
#include "support/test_support.h"

namespace labarc::testing {
namespace {

struct Document {
  int count = -1;
  double gain = -1;
  BYTE channel = 1;
  UINT flags = 2;
  long offset = -3;
  CString title = "untouched";
};

// Reads a document in quiet mode, checking that every failed read left its value alone.
int LoadDocument(std::string_view text, Document& doc) {
  LoadArchive ar(text);
  int ok = ar->ReadHeader();
  auto read = [&](auto& value, const char* label) {
    const auto before = value;
    const int result = ar->Read(value, CString(label));
    if (result != 1) {
      EXPECT_EQ(value, before) << label;
    }
    ok &= result;
  };
  ok &= ar->GoToSection(CString("Data"));
  read(doc.count, "Count");
  read(doc.gain, "Gain");
  read(doc.channel, "Channel");
  read(doc.flags, "Flags");
  read(doc.offset, "Offset");
  read(doc.title, "Title");
  CString name;
  ar->ReadSectionHeader(name);
  return ok;
}

std::string StoredDocument() {
  StoreArchive ar;
  ar->WriteHeader();
  ar->WriteSectionHeader(CString("Data"));
  ar->Write(12, CString("Count"));
  ar->Write(2.5, CString("Gain"));
  ar->Write(static_cast<BYTE>(7), CString("Channel"));
  ar->Write(9u, CString("Flags"));
  ar->Write(-40L, CString("Offset"));
  ar->Write(CString("Run 1"), CString("Title"));
  return ar.Text();
}

TEST(BadInput, EveryTruncationFailsCleanly) {
  const std::string text = StoredDocument();
  Document full;
  ASSERT_EQ(LoadDocument(text, full), 1);
  EXPECT_EQ(full.title, "Run 1");
  // Every cut before the last value loses a line the reader needs, and the load reports it;
  // nothing marks where the last value ends, so a cut inside it shortens the title.
  const std::size_t lastValue = text.find("Title=") + 6;
  for (std::size_t cut = 0; cut < text.size(); ++cut) {
    Document doc;
    EXPECT_EQ(LoadDocument(std::string_view(text).substr(0, cut), doc), cut >= lastValue) << cut;
    EXPECT_TRUE(cut < lastValue || std::string_view("Run 1").starts_with(doc.title.View()));
  }
}

TEST(BadInput, HugeLineWithoutEndIsReportedNotHeld) {
  ReportRecorder reports;
  const std::string huge = "Title=" + std::string(50 << 20, 'x');
  LoadArchive ar(huge, 1);
  CString title = "kept";
  EXPECT_EQ(ThrownArchiveCause([&] { ar->Read(title, CString("Title")); }),
            CArchiveException::badIndex);
  EXPECT_EQ(title, "kept");
  EXPECT_EQ(ar->GetCurLineNum(), 1);
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_NE(reports.boxes[0].text.find("line 1!"), std::string::npos);
  EXPECT_NE(reports.boxes[0].text.find("Section/Entry: Title"), std::string::npos);
}

TEST(BadInput, SectionScansPassOverHugeLines) {
  const std::string text = std::string(3 << 20, '[') + "\n[Data]\nCount=4\n";
  LoadArchive ar(text);
  ASSERT_EQ(ar->GoToSection(CString("Data")), 1);
  int count = 0;
  EXPECT_EQ(ar->Read(count, CString("Count")), 1);
  EXPECT_EQ(count, 4);
}

}  // namespace
}  // namespace labarc::testing
