#include <cstring>
#include <limits>

#include "support/all_or_nothing.h"
#include "support/test_support.h"

namespace {
using namespace labarc::testing;

// Writes `samples` in every label form (the resource being 5001, "Value") and reads them back
// byte for byte; a read of the first, cut short or with its label spoiled, changes nothing.
template <class T>
void ExpectRoundTrips(std::initializer_list<T> samples) {
  CString label = "Value";
  StoreArchive store;
  for (const T value : samples)
    ASSERT_EQ(store->Write(value, &label) & store->Write(value, CString("Value")) &
                  store->Write(value, 5001u),
              1);
  LoadArchive load(store.Text());
  for (const T expected : samples) {
    T values[3] = {};
    ASSERT_EQ(load->Read(values[0], &label) & load->Read(values[1], CString("value")) &
                  load->Read(values[2], 5001u),
              1);
    for (const T& value : values)
      EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << expected;
  }
  ExpectAllOrNothing([&](CArchiveEx& ar) { return ar.Write(*samples.begin(), CString("Value")); },
                     [](CArchiveEx& ar, T& target) { return ar.Read(target, CString("Value")); },
                     samples.begin()[1]);
}

// Each type's extremes, and for doubles signed zero, the smallest subnormal and the infinities.
TEST(ScalarEntries, RoundTripExactlyInEveryLabelFormAndReadAllOrNothing) {
  using Double = std::numeric_limits<double>;
  AfxSetStringResource(5001, "Value");
  ExpectRoundTrips<BYTE>({0, 1, 255});
  ExpectRoundTrips<int>({0, -1, INT32_MAX, INT32_MIN});
  ExpectRoundTrips<UINT>({0, 1, UINT32_MAX});
  ExpectRoundTrips<long>({0, -1, INT32_MAX, INT32_MIN});
  ExpectRoundTrips<double>({-0.0, 1.03, 1e-300, 4.9e-324, Double::max(), Double::lowest(),
                            -Double::infinity(), 0.1 + 0.2});
  AfxRemoveStringResource(5001);
}

// Which texts each type takes is the number controls' test.
TEST(ScalarEntries, RefusedTextKeepsTheValueAndTheNextReadMovesOn) {
  LoadArchive ar(Lines({"B=256", "I=2147483648", "U=-1", "L=1e3", "D=1e999", "D=1,5", "N=7"}));
  BYTE b = 3;
  int i = 3, next = 0;
  UINT u = 3;
  long l = 3;
  double d = 3;
  EXPECT_EQ((std::vector<int>{ar->Read(b, CString("B")), ar->Read(i, CString("I")),
                              ar->Read(u, CString("U")), ar->Read(l, CString("L")),
                              ar->Read(d, CString("D")), ar->Read(d, CString("D")),
                              ar->Read(next, CString("N"))}),
            (std::vector<int>{0, 0, 0, 0, 0, 0, 1}));
  EXPECT_TRUE(b == 3 && i == 3 && u == 3 && l == 3 && d == 3 && next == 7);
}

TEST(ScalarEntries, TextIsPlainDecimalAndLongStaysWithinThirtyTwoBits) {
  StoreArchive ar;
  ar->Write(-123, CString("N"));
  ar->Write(-123L, CString("N"));
  ar->Write(static_cast<BYTE>(200), CString("B"));
  ar->Write(4000000000u, CString("U"));
  EXPECT_EQ(ar->Write(4294967296L, CString("Offset")), 0);  // beyond the file's 32 bits
  EXPECT_EQ(ar.Text(), Lines({"N=-123", "N=-123", "B=200", "U=4000000000"}));
}

}  // namespace
