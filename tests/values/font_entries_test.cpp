#include <cstring>
#include <string>

#include "support/test_support.h"

namespace labarc::testing {
namespace {

LOGFONT Arial(LONG height) {
  LOGFONT font{height, 0, 900, -900, 700, 1, 0, 1, 0, 3, 2, 1, 34, "Arial"};
  return font;
}

std::string Stored(LOGFONT font, double applVersion = kApplVersion) {
  StoreArchive store(0, kApplName, applVersion);
  EXPECT_EQ(store->WriteHeader(), 1);
  EXPECT_EQ(store->Write(font), 1);
  return store.Text();
}

TEST(FontEntriesTest, IsARunOfFourteenEntries) {
  StoreArchive store;
  LOGFONT font = Arial(-13);
  ASSERT_EQ(store->Write(font), 1);
  EXPECT_EQ(store.Text(),
            Lines({"Height=-13", "Width=0", "Escapement=900", "Orientation=-900", "Weight=700",
                   "Italic=1", "Underline=0", "Strike Out=1", "Char Set=0", "Precision=3",
                   "Clip Precision=2", "Quality=1", "Pitch And Family=34", "Face Name=Arial"}));
}

TEST(FontEntriesTest, FilesBeforeVersion352HoldDoubledHeights) {
  struct Case {
    double applVersion;
    LONG stored, read;
  };
  for (const Case& c :
       {Case{3.51, 24, 12}, Case{3.51, 13, 6}, Case{3.51, 12, 12}, Case{3.51, -24, -24},
        Case{3.51, 0, 0}, Case{3.52, 24, 24}, Case{4.0, 13, 13}}) {
    LoadArchive load(Stored(Arial(c.stored), c.applVersion));
    ASSERT_EQ(load->ReadHeader(), 1);
    LOGFONT font{};
    ASSERT_EQ(load->Read(font), 1);
    EXPECT_EQ(font.lfHeight, c.read) << c.applVersion << " " << c.stored;
    font.lfHeight = c.stored;
    EXPECT_EQ(font, Arial(c.stored));
  }
}

TEST(FontEntriesTest, FaceNamesNeedRoomForTheirZero) {
  for (std::size_t length : {0, 31, 32}) {
    LOGFONT font = Arial(10);
    std::memset(font.lfFaceName, 'F', sizeof font.lfFaceName);  // no zero at all
    if (length < 32) font.lfFaceName[length] = '\0';
    const std::string text = Stored(font);
    EXPECT_NE(text.find("Face Name=" + std::string(length, 'F') + "\r\n"), std::string::npos);

    ReportRecorder recorder;
    LoadArchive load(text, 1);
    ASSERT_EQ(load->ReadHeader(), 1);
    LOGFONT read = Arial(99);
    if (length < 32) {
      ASSERT_EQ(load->Read(read), 1);
      EXPECT_EQ(std::string(read.lfFaceName), std::string(length, 'F'));
      EXPECT_EQ(read.lfFaceName[31], '\0');
    } else {
      EXPECT_EQ(ThrownArchiveCause([&] { load->Read(read); }), 5);
      EXPECT_EQ(read, Arial(99));
      ASSERT_EQ(recorder.boxes.size(), 1u);
      EXPECT_EQ(recorder.boxes[0].text.find("Section/Entry"), std::string::npos);
    }
  }
}

TEST(FontEntriesTest, EntriesOutOfOrderFailNamingTheEntryFound) {
  std::string text = Stored(Arial(10));
  text.replace(text.find("Underline"), 9, "Strike Out");
  ReportRecorder recorder;
  LoadArchive load(text, 1);
  ASSERT_EQ(load->ReadHeader(), 1);
  LOGFONT font = Arial(99);
  EXPECT_EQ(ThrownArchiveCause([&] { load->Read(font); }), 5);
  EXPECT_EQ(font, Arial(99));
  EXPECT_NE(recorder.boxes.at(0).text.find("Section/Entry: Underline"), std::string::npos);
}

}  // namespace
}  // namespace labarc::testing
