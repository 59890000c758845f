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
  CDate shortForm(0), longForm(0);  // one-digit months and days are read too
  EXPECT_TRUE(shortForm.NewDate("3/7/2024") && longForm.NewDate("03/07/2024"));
  EXPECT_EQ(shortForm, longForm);
  EXPECT_EQ(CDate(2451545.75).JulianValue(), 2451545);
  for (double julian : {0.0, CDate::kFirstDay - 0.5, CDate::kLastDay + 1.0, -HUGE_VAL,
                        std::numeric_limits<double>::quiet_NaN()})
    EXPECT_TRUE(CDate(julian).IsNull()) << julian;
}

// WriteDate and ReadDate store a Julian value's day, in every label form; a null date and a
// value that is no day are not written at all. Refused date texts are in value_entries_test.
TEST(DateEntriesTest, JulianValuesInEveryLabelForm) {
  AfxSetStringResource(9301, "Start");
  CString label = "Start";
  StoreArchive store;
  CDate null(0);
  EXPECT_EQ(store->Write(null, label), 0);
  EXPECT_EQ(store->WriteDate(std::numeric_limits<double>::quiet_NaN(), label), 0);
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

}  // namespace
}  // namespace labarc::testing
