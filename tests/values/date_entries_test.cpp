#include <cmath>
#include <limits>

#include "support/test_support.h"

namespace labarc::testing {
namespace {

TEST(DateTest, EveryTextItWritesReadsBackToTheSameDay) {
  CString text;
  EXPECT_EQ(CDate(2451545).FmtMMsDDsYYYY(text, '/'), "01/01/2000");
  EXPECT_EQ(CDate(CDate::kFirstDay).FmtMMsDDsYYYY(text, '-'), "01-01-0001");
  // Every day from 1900 to 2100, a sample of the others, and the last.
  for (int day = CDate::kFirstDay; day <= CDate::kLastDay + 1;
       day += day >= 2415021 && day < 2488070 ? 1 : 997) {
    const CDate date(std::min(day, +CDate::kLastDay));
    CDate read(0);
    ASSERT_TRUE(read.NewDate(date.FmtMMsDDsYYYY(text, '/'))) << text.GetString();
    ASSERT_EQ(read, date) << text.GetString();
  }
  EXPECT_EQ(CDate(2451545.75).JulianValue(), 2451545);
  for (double julian : {0.0, CDate::kFirstDay - 0.5, CDate::kLastDay + 1.0, -HUGE_VAL,
                        std::numeric_limits<double>::quiet_NaN()})
    EXPECT_TRUE(CDate(julian).IsNull()) << julian;
}

// ReadDate and WriteDate pass every label form on to the date entries.
TEST(DateEntriesTest, JulianValuesInEveryLabelForm) {
  AfxSetStringResource(9301, "Start");
  CString label = "Start";
  StoreArchive store;
  ASSERT_EQ(store->WriteDate(2460377.9, &label), 1);  // the fraction of the day is not stored
  ASSERT_EQ(store->WriteDate(2460377, 9301u), 1);
  ASSERT_EQ(store->WriteDate(2460377, nullptr), 1);
  EXPECT_EQ(store.Text(), Lines({"Start=03/07/2024", "Start=03/07/2024", "03/07/2024"}));
  LoadArchive load(store.Text());
  double julian[3] = {};
  ASSERT_EQ(load->ReadDate(julian[0], 9301u), 1);
  ASSERT_EQ(load->ReadDate(julian[1], &label), 1);
  ASSERT_EQ(load->ReadDate(julian[2], nullptr), 1);
  for (double each : julian) EXPECT_EQ(each, 2460377);
}

TEST(DateEntriesTest, RefusedTextsNameTheLabelAndChangeNothing) {
  for (const char* value :
       {"2/30/2001", "2/29/1900", "4/31/2001", "13/1/2000", "0/1/2000", "1/1/", "", "1/1/00",
        "1/1/0000", "001/1/2000", "1-1/2000", "1/1/2000x", "+1/1/2000"}) {
    ReportRecorder recorder;
    LoadArchive load(Lines({std::string("Start=") + value, std::string("Start=") + value}), 1);
    CDate date(2451545);
    double julian = 1.5;
    EXPECT_EQ(ThrownArchiveCause([&] { load->Read(date, CString("Start")); }), 5) << value;
    EXPECT_EQ(ThrownArchiveCause([&] { load->ReadDate(julian, CString("Start")); }), 5);
    EXPECT_EQ(date.JulianValue(), 2451545);
    EXPECT_EQ(julian, 1.5);
    ASSERT_EQ(recorder.boxes.size(), 2u);
    EXPECT_NE(recorder.boxes[1].text.find("line 2!\nFile Name: /documents/load.txt\n"
                                          "Section/Entry: Start"),
              std::string::npos);
  }
}

TEST(DateEntriesTest, DatesWithoutTextAreNotWritten) {
  StoreArchive store;
  CDate date(0);
  EXPECT_EQ(store->Write(date, CString("Start")), 0);
  EXPECT_EQ(store->WriteDate(std::numeric_limits<double>::quiet_NaN(), CString("Start")), 0);
  EXPECT_EQ(store.Text(), "");
}

}  // namespace
}  // namespace labarc::testing
