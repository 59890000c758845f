#include <cstring>
#include <string>
#include <tuple>

#include "support/test_support.h"

namespace labarc::testing {
namespace {

LOGFONT Font(LONG height) {
  return LOGFONT{height, 1, 2, 3, 700, 1, 0, 1, 0, 3, 2, 1, 34, "Arial"};
}

// The text of `font` after a header that gives the application version.
std::string Stored(LOGFONT font, double applVersion = kApplVersion) {
  StoreArchive store(0, kApplName, applVersion);
  EXPECT_EQ(store->WriteHeader(), 1);
  EXPECT_EQ(store->Write(font), 1);
  return store.Text();
}

TEST(FontEntriesTest, FilesBeforeVersion352HoldDoubledHeights) {
  using Case = std::tuple<double, LONG, LONG>;  // the file's version, the height stored, read
  for (auto [applVersion, stored, read] :
       {Case{3.51, 24, 12}, Case{3.51, 13, 6}, Case{3.51, 12, 12}, Case{3.51, -24, -24},
        Case{3.52, 24, 24}, Case{4.0, 13, 13}}) {
    LoadArchive load(Stored(Font(stored), applVersion));
    ASSERT_EQ(load->ReadHeader(), 1);
    LOGFONT font{};
    ASSERT_EQ(load->Read(font), 1);
    EXPECT_EQ(font, Font(read)) << applVersion << " " << stored;
  }
}

// A face name that fills the array without a zero used to be written from beyond the array.
TEST(FontEntriesTest, FaceNamesNeedRoomForTheirZero) {
  for (int length : {0, 31, 32}) {
    LOGFONT font = Font(10);
    std::memset(font.lfFaceName, 'F', sizeof font.lfFaceName);
    if (length < 32) font.lfFaceName[length] = '\0';
    const std::string text = Stored(font);
    EXPECT_NE(text.find("Face Name=" + std::string(length, 'F') + "\r\n"), std::string::npos);

    ReportRecorder recorder;
    LoadArchive load(text, 1);
    ASSERT_EQ(load->ReadHeader(), 1);
    LOGFONT read = Font(99);
    if (length < 32) {
      ASSERT_EQ(load->Read(read), 1);
      EXPECT_EQ(std::string(read.lfFaceName), std::string(length, 'F'));
      EXPECT_EQ(read.lfFaceName[31], '\0');
    } else {
      EXPECT_EQ(ThrownArchiveCause([&] { load->Read(read); }), 5);
      EXPECT_EQ(read, Font(99));
      EXPECT_EQ(recorder.boxes.at(0).text.find("Section/Entry"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace labarc::testing
