#include <cstring>
#include <limits>

#include "support/test_support.h"

namespace labarc::testing {
namespace {

template <class T>
std::vector<T> Samples() {
  using Limits = std::numeric_limits<T>;
  if constexpr (std::is_same_v<T, double>) {
    // Signed zero, the smallest subnormal, the extremes and infinities must survive exactly.
    return {-0.0,     1.03, 1e-300, 4.9e-324, Limits::max(), Limits::lowest(), -Limits::infinity(),
            0.1 + 0.2};
  } else if constexpr (std::is_same_v<T, long>) {
    return {0, -1, INT32_MAX, INT32_MIN};
  } else {
    return {0, 1, Limits::max(), Limits::min()};
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
    ASSERT_EQ(store->Write(value, &label) & store->Write(value, CString("Value")) &
                  store->Write(value, 5001u),
              1);
  }
  LoadArchive load(store.Text());
  for (TypeParam expected : Samples<TypeParam>()) {
    TypeParam values[3] = {};
    ASSERT_EQ(load->Read(values[0], &label) & load->Read(values[1], CString("value")) &
                  load->Read(values[2], 5001u),
              1);
    for (const TypeParam& value : values)
      EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << expected;
  }
  AfxRemoveStringResource(5001);
}

TYPED_TEST(ScalarEntryTest, RefusedTextKeepsTheValueAndTheNextReadMovesOn) {
  for (const char* text : {"", " ", "abc", "12abc", "1 2", "0x10", "--1", "+1", "1,5", "\t1"}) {
    LoadArchive ar(Lines({std::string("Value=") + text, "Next=7"}));
    TypeParam value = 3;
    int next = 0;
    EXPECT_EQ(ar->Read(value, CString("Value")), 0) << text;
    EXPECT_EQ(value, 3) << text;
    EXPECT_EQ(ar->Read(next, CString("Next")), 1);
    EXPECT_EQ(next, 7);
  }
}

TEST(ScalarEntryRange, EachTypeAcceptsExactlyItsRange) {
  // Which of BYTE, int, UINT, long and double accept the text.
  const std::pair<const char*, const char*> cases[] = {
      {"255", "BIULD"},         {"256", "-IULD"},        {"-1", "-I-LD"},
      {"2147483647", "-IULD"},  {"2147483648", "--U-D"}, {"-2147483648", "-I-LD"},
      {"-2147483649", "----D"}, {"4294967295", "--U-D"}, {"4294967296", "----D"},
      {"  12", "BIULD"},        {"12 ", "-----"},        {"1e3", "----D"},
      {"1e999", "-----"},
  };
  for (const auto& [text, accepted] : cases) {
    LoadArchive ar(Lines({text, text, text, text, text}));
    BYTE b = 0;
    int i = 0;
    UINT u = 0;
    long l = 0;
    double d = 0;
    CString* none = nullptr;
    const int results[] = {ar->Read(b, none), ar->Read(i, none), ar->Read(u, none),
                           ar->Read(l, none), ar->Read(d, none)};
    for (int type = 0; type < 5; ++type)
      EXPECT_EQ(results[type], accepted[type] != '-' ? 1 : 0) << text << " as "
                                                              << "BIULD"[type];
  }
}

TEST(ScalarEntryText, IntAndLongShareTheirLine) {
  StoreArchive ar;
  ar->Write(-123, CString("N"));
  ar->Write(-123L, CString("N"));
  ar->Write(static_cast<BYTE>(200), CString("B"));
  ar->Write(4000000000u, CString("U"));
  EXPECT_EQ(ar.Text(), Lines({"N=-123", "N=-123", "B=200", "U=4000000000"}));
}

TEST(ScalarEntryLong, ValuesBeyondThirtyTwoBitsAreRefusedNotTruncated) {
  ReportRecorder reports;
  StoreArchive ar(1);
  EXPECT_EQ(ThrownArchiveCause([&] { ar->Write(4294967296L, CString("Offset")); }),
            CArchiveException::badIndex);
  EXPECT_NE(reports.boxes.at(0).text.find("Section/Entry: Offset"), std::string::npos);
  EXPECT_EQ(ar.Text(), "");
}

}  // namespace
}  // namespace labarc::testing
