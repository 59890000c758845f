#include "support/test_support.h"

namespace labarc::testing {
namespace {

_TEXT Title() {
  _TEXT text;
  text.bShow = 1;
  text.crColor = RGB(255, 128, 0);
  text.nTop = 12;
  text.nLeft = -4;
  text.rcBound = RECT{10, 20, 310, 220};
  text.lfFont = LOGFONT{-16, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, "Serif"};
  text.strWording = "Response = f(dose)";
  return text;
}

TEST(TextEntriesTest, IsARunOfTwentyEntries) {
  StoreArchive store;
  _TEXT text = Title();
  ASSERT_EQ(store->Write(text), 1);
  const std::string stored = store.Text();
  EXPECT_EQ(stored.substr(0, stored.find("Height=")),
            Lines({"Text Show=1", "Text Color=255 128 0", "Text Location Top=12",
                   "Text Location Left=-4", "Text Obj Bnd=10 20 310 220"}));
  EXPECT_EQ(stored.substr(stored.find("Face Name=")),
            Lines({"Face Name=Serif", "Text Wording=Response = f(dose)"}));

  LoadArchive load(stored);
  _TEXT read;
  ASSERT_EQ(load->Read(read), 1);
  EXPECT_EQ(read, text);
  EXPECT_EQ(load->GetCurLineNum(), 20);
}

TEST(TextEntriesTest, EntriesOutOfOrderFailAndChangeNothing) {
  StoreArchive store;
  _TEXT text = Title();
  ASSERT_EQ(store->Write(text), 1);
  std::string stored = store.Text();
  const std::string top = "Text Location Top=12\r\n";
  const std::size_t at = stored.find(top);
  stored.erase(at, top.size());
  stored.insert(stored.find("Text Obj Bnd"), top);

  ReportRecorder recorder;
  LoadArchive load(stored, 1);
  _TEXT read;
  read.strWording = "untouched";
  const _TEXT before = read;
  EXPECT_EQ(ThrownArchiveCause([&] { load->Read(read); }), 5);
  EXPECT_EQ(read, before);
  EXPECT_NE(recorder.boxes.at(0).text.find("line 3!\nFile Name: /documents/load.txt\n"
                                           "Section/Entry: Text Location Top"),
            std::string::npos);
}

}  // namespace
}  // namespace labarc::testing
