#include <cmath>
#include <limits>

#include "support/test_support.h"

namespace labarc::testing {
namespace {

TEST(DateTest, EveryTextItWritesReadsBackToTheSameDay) {
  EXPECT_EQ(CDate(2451545).Year(), 2000);  // the numbering's anchor: 1 January 2000
  CString text;
  EXPECT_EQ(CDate(2451545).FmtMMsDDsYYYY(text, '/'), "01/01/2000");
  EXPECT_EQ(CDate(CDate::kFirstDay).FmtMMsDDsYYYY(text, '-'), "01-01-0001");
  EXPECT_EQ(CDate(CDate::kLastDay).FmtMMsDDsYYYY(text, '.'), "12.31.9999");
  // Every day from 1900 to 2100, and a sample of the others.
  for (int day = CDate::kFirstDay; day <= CDate::kLastDay;
       day += day >= 2415021 && day < 2488070 ? 1 : 997) {
    const CDate date(day);
    CDate read(0);
    ASSERT_TRUE(read.NewDate(date.FmtMMsDDsYYYY(text, '/'))) << text.GetString();
    ASSERT_EQ(read.JulianValue(), day) << text.GetString();
  }
}

TEST(DateTest, RefusesImpossibleDatesAndJunk) {
  for (const char* text :
       {"13/1/2000", "0/1/2000",  "4/31/2001", "2/29/2001", "2/29/1900", "2/30/2000", "1/0/2000",
        "1/1/",      "",          "   ",       "1/1/00",    "1/1/10000", "1/1/0000",  "001/1/2000",
        "1-1/2000",  "1/1/2000x", "x1/1/2000", "1 /1/2000", "+1/1/2000", "1/-1/2000"}) {
    CDate date(2451545);
    EXPECT_FALSE(date.NewDate(text)) << text;
    EXPECT_EQ(date.JulianValue(), 2451545) << text;
  }
  for (const char* text : {"2/29/2000", "2/29/2004", " 1/2/2003 ", "12/31/9999"}) {
    CDate date(0);
    EXPECT_TRUE(date.NewDate(text)) << text;
  }
}

TEST(DateTest, JulianValuesOutsideTheCoveredYearsMakeTheNullDate) {
  EXPECT_EQ(CDate(2451545.75).JulianValue(), 2451545);
  for (double julian : {0.0, CDate::kFirstDay - 0.5, CDate::kLastDay + 1.0, -1e300,
                        std::numeric_limits<double>::quiet_NaN(), HUGE_VAL}) {
    EXPECT_TRUE(CDate(julian).IsNull()) << julian;
  }
  CString text = "old";
  EXPECT_EQ(CDate(0).FmtMMsDDsYYYY(text, '/'), "");
}

}  // namespace
}  // namespace labarc::testing
