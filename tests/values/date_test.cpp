// Dates: the days covered and their texts, and the Julian values stored through them.
#include <cmath>
#include <limits>

#include "support/test_support.h"

namespace labarc::testing {
namespace {

TEST(DateTest, EveryTextItWritesReadsBackToTheSameDay) {
  CString text;
  EXPECT_EQ(CDate(2451545).FmtMMsDDsYYYY(text, '/'), "01/01/2000");
  EXPECT_EQ(CDate(CDate::kFirstDay).FmtMMsDDsYYYY(text, '-'), "01-01-0001");
  EXPECT_EQ(CDate(0).FmtMMsDDsYYYY(text, '/'), "");
  // Every day from 1900 to 2100, a sample of the others, and the last.
  for (int day = CDate::kFirstDay; day <= CDate::kLastDay + 1;
       day += day >= 2415021 && day < 2488070 ? 1 : 997) {
    const CDate date(std::min(day, +CDate::kLastDay));
    CDate read(0);
    ASSERT_TRUE(read.NewDate(date.FmtMMsDDsYYYY(text, '/')) && read == date) << text.GetString();
  }
  // One-digit months and days, the other separators and blanks around are read too.
  for (const char* other : {"3/7/2024", " 3-07-2024 ", "03.7.2024"}) {
    CDate read(0);
    EXPECT_TRUE(read.NewDate(other) && read == CDate(2460377)) << other;
  }
}

// A Julian value falls in a day from the first day's start to the last day's end; any other
// value, and any day number outside them, makes the null date.
TEST(DateTest, JulianValuesMakeADayOnlyInTheYearsCovered) {
  const double first = CDate::kFirstDay, last = CDate::kLastDay;
  for (auto [julian, day] : {std::pair{first - 0.5, 0.0},
                             {first, first},
                             {2451545.75, 2451545.0},
                             {last + 0.999, last},
                             {last + 1.0, 0.0},
                             {0.0, 0.0},
                             {-HUGE_VAL, 0.0},
                             {HUGE_VAL, 0.0},
                             {std::numeric_limits<double>::quiet_NaN(), 0.0}})
    EXPECT_EQ(CDate(julian).JulianValue(), day) << julian;
  for (auto [number, day] : {std::pair{CDate::kFirstDay - 1, 0.0},
                             {CDate::kFirstDay, first},
                             {CDate::kLastDay, last},
                             {CDate::kLastDay + 1, 0.0}})
    EXPECT_EQ(CDate(number).JulianValue(), day) << number;
}

// WriteDate and ReadDate store a Julian value's day, in every label form; a null date and a
// value that is no day are not written at all.
TEST(DateEntriesTest, JulianValuesInEveryLabelForm) {
  AfxSetStringResource(9301, "Start");
  CString label = "Start";
  StoreArchive store;
  EXPECT_EQ(store->Write(CDate(0), label) + store->WriteDate(NAN, label), 0);
  ASSERT_EQ(store->WriteDate(2460377.9, &label), 1);  // the fraction of the day is not stored
  ASSERT_EQ(store->WriteDate(2460377, 9301u) + store->WriteDate(2460377, nullptr), 2);
  EXPECT_EQ(store.Text(), Lines({"Start=03/07/2024", "Start=03/07/2024", "03/07/2024"}));
  LoadArchive load(store.Text());
  double julian[3] = {};
  ASSERT_EQ(load->ReadDate(julian[0], 9301u) + load->ReadDate(julian[1], &label) +
                load->ReadDate(julian[2], nullptr),
            3);
  EXPECT_TRUE(julian[0] == 2460377 && julian[1] == 2460377 && julian[2] == 2460377);
}

}  // namespace
}  // namespace labarc::testing
