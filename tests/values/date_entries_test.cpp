#include <limits>

#include "support/test_support.h"

namespace labarc::testing {
namespace {

TEST(DateEntriesTest, RoundTripsInEveryLabelForm) {
  AfxSetStringResource(9301, "Start");
  StoreArchive store;
  CDate date(2460377);  // 7 March 2024
  CString label = "Start";
  ASSERT_EQ(store->Write(date, &label), 1);
  ASSERT_EQ(store->Write(date, CString("Start")), 1);
  ASSERT_EQ(store->Write(date, 9301u), 1);
  ASSERT_EQ(store->WriteDate(2460377.9, CString("Start")), 1);
  ASSERT_EQ(store->Write(date, nullptr), 1);
  const std::string text = store.Text();
  EXPECT_EQ(text, Lines({"Start=03/07/2024", "Start=03/07/2024", "Start=03/07/2024",
                         "Start=03/07/2024", "03/07/2024"}));

  LoadArchive load(text);
  CDate read[3];
  double julian = 0;
  CString spelling;
  ASSERT_EQ(load->Read(read[0], &spelling), 1);
  ASSERT_EQ(load->Read(read[1], CString("start")), 1);
  ASSERT_EQ(load->Read(read[2], 9301u), 1);
  ASSERT_EQ(load->ReadDate(julian, CString("Start")), 1);
  for (const CDate& each : read) EXPECT_EQ(each, date);
  EXPECT_EQ(spelling, "Start");
  EXPECT_EQ(julian, 2460377);  // the fraction of the day is not stored
  ASSERT_EQ(load->ReadDate(julian, nullptr), 1);
}

TEST(DateEntriesTest, RefusedTextsNameTheLabelAndChangeNothing) {
  for (const char* value : {"2/30/2001", "13/1/2000", "1/1/", ""}) {
    ReportRecorder recorder;
    LoadArchive load(Lines({std::string("Start=") + value, std::string("Start=") + value}), 1);
    CDate date(2451545);
    double julian = 1.5;
    EXPECT_EQ(ThrownArchiveCause([&] { load->Read(date, CString("Start")); }), 5);
    EXPECT_EQ(ThrownArchiveCause([&] { load->ReadDate(julian, CString("Start")); }), 5);
    EXPECT_EQ(date.JulianValue(), 2451545);
    EXPECT_EQ(julian, 1.5);
    ASSERT_EQ(recorder.boxes.size(), 2u);
    EXPECT_NE(recorder.boxes[1].text.find("line 2!\nFile Name: /documents/load.txt\n"
                                          "Section/Entry: Start"),
              std::string::npos)
        << recorder.boxes[1].text;
  }
}

TEST(DateEntriesTest, TheNullDateIsNotWritten) {
  StoreArchive store;
  CDate date(0);
  EXPECT_EQ(store->Write(date, CString("Start")), 0);
  EXPECT_EQ(store->WriteDate(std::numeric_limits<double>::quiet_NaN(), CString("Start")), 0);
  EXPECT_EQ(store.Text(), "");
}

}  // namespace
}  // namespace labarc::testing
