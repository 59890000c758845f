#include <bit>
#include <cstring>
#include <random>

#include <labarc/archive/number_text.h>

#include "support/test_support.h"

namespace {

TEST(CDoubleTest, EveryBitPatternRoundTripsExactlyInShortLocaleFreeText) {
  std::mt19937_64 random(20261206);
  std::vector<std::uint64_t> patterns = {
      0x0000000000000000, 0x8000000000000000, 0x0000000000000001, 0x7FF0000000000000,
      0xFFF0000000000000, 0x7FF8000000000000, 0xFFF8000000000000, 0x7FF0000000000001,
      0x7FF4000000000000, 0xFFFFFFFFFFFFFFFF, 0x000FFFFFFFFFFFFF, 0x3FF07AE147AE147B};  // 1.03
  for (int i = 0; i < 100000; ++i) patterns.push_back(random());
  for (std::uint64_t bits : patterns) {
    double back = 12345;
    const CString text = CDouble(std::bit_cast<double>(bits));
    EXPECT_TRUE(CDouble::ValidateAndGet(text, back, nullptr, -1, 0, 0)) << text.GetString();
    EXPECT_EQ(std::bit_cast<std::uint64_t>(back), bits) << std::hex << bits;
  }
  EXPECT_EQ(static_cast<CString>(CDouble(0.1 + 0.2)), "0.30000000000000004");  // the shortest
  EXPECT_EQ(static_cast<CString>(CDouble(std::numeric_limits<double>::infinity())), "inf");
}

// The controls, which check int and long (CLong) and UINT (CULong) entries too, and line fields
// ("text, next": only the field and its comma consumed) take a text alike or keep the value.
TEST(NumberTexts, ControlsAndFieldsParseAlike) {
  // Which controls take the text (B: CByte, L: CLong, U: CULong, D: CDouble), then the text.
  // clang-format off
  const char* const cases[] = {
      "BLUD 255", "-LUD 256", "-L-D -1", "BLUD   12", "-LUD 2147483647", "--UD 2147483648",
      "-L-D -2147483648", "---D -2147483649", "--UD 4294967295", "---D 4294967296", "-L-D   -0",
      "---D 1e3", "---D  3.5", "---D 1.5", "---D 1e-310", "---D inf", "---D -inf", "---D nan",
      "---D -nan", "---D .5", "---D 5.", "---D nan(0x5)", "---- ", "----  ", "---- x", "---- 12x",
      "---- 3.5 ", "---- 12 ", "---- \t1", "---- nan(0x0)", "---- nan(zz)", "---- 1e400",
      "---- 1e999", "---- 1.5e", "---- +1", "---- --1", "---- 0x10", "---- 1 2",
  };
  // clang-format on

  for (const char* row : cases) {
    const char *taken = row, *text = row + 5;
    SCOPED_TRACE(text);
    BYTE b = 7;
    long l = 7;
    unsigned long u = 7;
    double d = 7;
    EXPECT_EQ(CByte::ValidateAndGet(text, b, nullptr), taken[0] != '-');
    EXPECT_EQ(CLong::ValidateAndGet(text, l, nullptr), taken[1] != '-');
    EXPECT_EQ(CULong::ValidateAndGet(text, u, nullptr), taken[2] != '-');
    EXPECT_EQ(CDouble::ValidateAndGet(text, d, nullptr, -1, 0, 0), taken[3] != '-');
    EXPECT_TRUE(b == (taken[0] != '-' ? d : 7) && l == (taken[1] != '-' ? d : 7) &&
                u == (taken[2] != '-' ? d : 7));
    for (const std::string& line : {std::string(text), std::string(text) + ", next"}) {
      double field = 7;
      BYTE byteField = 7;
      std::string_view rest = line, byteRest = line;
      ASSERT_EQ(labarc::TakeDoubleField(rest, ',', field), taken[3] != '-');
      EXPECT_EQ(std::bit_cast<std::uint64_t>(field), std::bit_cast<std::uint64_t>(d));
      EXPECT_TRUE(taken[3] == '-' ||
                  rest == line.substr(std::min(line.size(), std::strlen(text) + 1)));
      ASSERT_EQ(labarc::TakeIntegerField(byteRest, ',', byteField), taken[0] != '-');
      EXPECT_EQ(byteField, b);
    }
  }
}

}  // namespace
