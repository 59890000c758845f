#include <cmath>
#include <cstring>
#include <limits>

#include "support/test_support.h"

namespace labarc::testing {
namespace {

template <class T>
std::vector<T> Samples() {
  using Limits = std::numeric_limits<T>;
  if constexpr (std::is_same_v<T, double>) {
    return {0.0,
            -0.0,
            1.03,
            -2.75,
            1e-300,
            4.9e-324,
            Limits::max(),
            Limits::lowest(),
            Limits::infinity(),
            -Limits::infinity(),
            0.1 + 0.2};
  } else if constexpr (std::is_same_v<T, long>) {
    return {0, -1, 42, INT32_MAX, INT32_MIN};
  } else {
    return {0, 1, Limits::max(), Limits::min(), static_cast<T>(Limits::max() / 3)};
  }
}

template <class T>
class ScalarEntryTest : public ::testing::Test {};

using ScalarTypes = ::testing::Types<BYTE, int, UINT, long, double>;
TYPED_TEST_SUITE(ScalarEntryTest, ScalarTypes);

TYPED_TEST(ScalarEntryTest, RoundTripsInEveryLabelForm) {
  AfxSetStringResource(5001, "Value");
  StoreArchive store;
  CString label = "Value";
  for (TypeParam value : Samples<TypeParam>()) {
    ASSERT_EQ(store->Write(value, &label), 1);
    ASSERT_EQ(store->Write(value, CString("Value")), 1);
    ASSERT_EQ(store->Write(value, 5001u), 1);
  }
  LoadArchive load(store.Text());
  for (TypeParam expected : Samples<TypeParam>()) {
    for (int form = 0; form < 3; ++form) {
      TypeParam value{};
      const int result = form == 0   ? load->Read(value, &label)
                         : form == 1 ? load->Read(value, CString("value"))
                                     : load->Read(value, 5001u);
      ASSERT_EQ(result, 1);
      EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << expected;
    }
  }
  AfxRemoveStringResource(5001);
}

TYPED_TEST(ScalarEntryTest, RefusedTextNamesTheLabelKeepsTheValueAndMovesOn) {
  const char* refused[] = {"", " ", "abc", "12abc", "1 2", "0x10", "--1", "+1", "1,5", "\t1"};
  for (const char* text : refused) {
    LoadArchive ar(Lines({std::string("Value=") + text, "Next=7"}));
    TypeParam value = 3;
    EXPECT_EQ(ar->Read(value, CString("Value")), 0) << text;
    EXPECT_EQ(value, 3) << text;
    int next = 0;
    EXPECT_EQ(ar->Read(next, CString("Next")), 1);
    EXPECT_EQ(next, 7);
  }
}

struct RangeCase {
  const char* text;
  bool asByte, asInt, asUint, asDouble;
};

TEST(ScalarEntryRange, EachTypeAcceptsExactlyItsRange) {
  const RangeCase cases[] = {
      {"255", true, true, true, true},
      {"256", false, true, true, true},
      {"-1", false, true, false, true},
      {"2147483647", false, true, true, true},
      {"2147483648", false, false, true, true},
      {"-2147483648", false, true, false, true},
      {"-2147483649", false, false, false, true},
      {"4294967295", false, false, true, true},
      {"4294967296", false, false, false, true},
      {"  12", true, true, true, true},
      {"12 ", false, false, false, false},
      {"1e3", false, false, false, true},
      {"1e999", false, false, false, false},
  };
  for (const RangeCase& c : cases) {
    LoadArchive ar(Lines({c.text, c.text, c.text, c.text, c.text}));
    BYTE b = 0;
    int i = 0;
    UINT u = 0;
    long l = 0;
    double d = 0;
    CString* none = nullptr;
    EXPECT_EQ(ar->Read(b, none), c.asByte ? 1 : 0) << c.text;
    EXPECT_EQ(ar->Read(i, none), c.asInt ? 1 : 0) << c.text;
    EXPECT_EQ(ar->Read(u, none), c.asUint ? 1 : 0) << c.text;
    EXPECT_EQ(ar->Read(l, none), c.asInt ? 1 : 0) << c.text;
    EXPECT_EQ(ar->Read(d, none), c.asDouble ? 1 : 0) << c.text;
  }
}

TEST(ScalarEntryText, IntAndLongShareTheirLine) {
  StoreArchive ar;
  ar->Write(-123, CString("N"));
  ar->Write(-123L, CString("N"));
  ar->Write(static_cast<BYTE>(200), CString("B"));
  ar->Write(4000000000u, CString("U"));
  ar->Write(2.5, CString("D"));
  EXPECT_EQ(ar.Text(), Lines({"N=-123", "N=-123", "B=200", "U=4000000000", "D=2.5"}));
}

TEST(ScalarEntryLong, ValuesBeyondThirtyTwoBitsAreRefusedNotTruncated) {
  ReportRecorder reports;
  StoreArchive ar(1);
  EXPECT_EQ(ThrownArchiveCause([&] { ar->Write(4294967296L, CString("Offset")); }),
            CArchiveException::badIndex);
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_NE(reports.boxes[0].text.find("Section/Entry: Offset"), std::string::npos);
  EXPECT_EQ(ar.Text(), "");
}

}  // namespace
}  // namespace labarc::testing
