#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include <labarc/archive/number_text.h>
#include <labarc/labarc.h>

namespace {

double ThroughText(double value) {
  double back = 12345;
  EXPECT_TRUE(CDouble::ValidateAndGet(CString(CDouble(value)), back, nullptr, -1, 0, 0))
      << static_cast<CString>(CDouble(value)).GetString();
  return back;
}

TEST(CDoubleTest, EveryBitPatternRoundTripsExactly) {
  std::mt19937_64 random(20261206);
  std::vector<std::uint64_t> patterns = {0,
                                         0x8000000000000000,
                                         1,
                                         0x7FF0000000000000,
                                         0xFFF0000000000000,
                                         0x7FF8000000000000,
                                         0xFFF8000000000000,
                                         0x7FF0000000000001,
                                         0x7FF4000000000000,
                                         0xFFFFFFFFFFFFFFFF,
                                         0x000FFFFFFFFFFFFF,
                                         std::bit_cast<std::uint64_t>(1.03)};
  for (int i = 0; i < 100000; ++i) patterns.push_back(random());
  for (std::uint64_t bits : patterns) {
    const double value = std::bit_cast<double>(bits);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(ThroughText(value)), bits) << std::hex << bits;
  }
}

TEST(CDoubleTest, TextIsShortestAndLocaleFree) {
  EXPECT_EQ(static_cast<CString>(CDouble(1.03)), "1.03");
  EXPECT_EQ(static_cast<CString>(CDouble(-2.5)), "-2.5");
  EXPECT_EQ(static_cast<CString>(CDouble(0.1 + 0.2)), "0.30000000000000004");
  EXPECT_EQ(static_cast<CString>(CDouble(std::numeric_limits<double>::infinity())), "inf");
}

TEST(CDoubleTest, AcceptsLeadingBlanksAndRefusesTrailingJunk) {
  double value = 9;
  EXPECT_TRUE(CDouble::ValidateAndGet(" 3.5", value, nullptr, -1, 0, 0));
  EXPECT_EQ(value, 3.5);
  for (const char* text : {"3.5 ", "3.5x", "", " ", "3,5", "nan(0x0)", "nan(zz)", "1e400"}) {
    value = 9;
    EXPECT_FALSE(CDouble::ValidateAndGet(text, value, nullptr, -1, 0, 0)) << text;
  }
}

// A field of a line ("value, next") is taken as the whole text of the value would be parsed, and
// only the field and its comma are consumed.
TEST(NumberFields, ParseAsTheWholeTextWould) {
  for (const char* text :
       {"1.5",      " 2",       "  -0", "1e-310", "inf", "-inf",  "nan",  "-nan",
        "nan(0x5)", "nan(0x0)", "3.5x", "",       " ",   "1e400", "1.5e", "+1",
        "0x10",     "1 2",      ".5",   "5.",     "255", "256",   "-1",   "7 "}) {
    SCOPED_TRACE(text);
    for (const std::string& line : {std::string(text), std::string(text) + ", next"}) {
      double expected = 9, taken = 9;
      std::string_view rest = line;
      const bool parsed = labarc::ParseDouble(text, expected);
      ASSERT_EQ(labarc::TakeDoubleField(rest, ',', taken), parsed);
      EXPECT_EQ(std::bit_cast<std::uint64_t>(taken), std::bit_cast<std::uint64_t>(expected));
      if (parsed) {
        EXPECT_EQ(rest, line.substr(std::min(line.size(), std::strlen(text) + 1)));
      }

      BYTE byteExpected = 9, byteTaken = 9;
      rest = line;
      const bool byteParsed = labarc::ParseInteger(text, byteExpected);
      ASSERT_EQ(labarc::TakeIntegerField(rest, ',', byteTaken), byteParsed);
      EXPECT_EQ(byteTaken, byteExpected);
    }
  }
}

// The controls' own check: a whole number of the range is taken, any other text refused with the
// caller's value kept (the ranges themselves are the scalar entries' tests).
TEST(IntegerControls, ValidateAndGetTakesNumbersAndRefusesOtherText) {
  for (const char* text : {"", "x", "12x", "1.5", "4294967296"}) {
    BYTE b = 7;
    long l = 7;
    unsigned long u = 7;
    EXPECT_FALSE(CByte::ValidateAndGet(text, b, nullptr) ||
                 CLong::ValidateAndGet(text, l, nullptr) ||
                 CULong::ValidateAndGet(text, u, nullptr))
        << text;
    EXPECT_TRUE(b == 7 && l == 7 && u == 7) << text;
  }
  BYTE b = 0;
  long l = 0;
  unsigned long u = 0;
  EXPECT_TRUE(CByte::ValidateAndGet("255", b, nullptr) &&
              CLong::ValidateAndGet("-2147483648", l, nullptr) &&
              CULong::ValidateAndGet("4294967295", u, nullptr));
  EXPECT_TRUE(b == 255 && l == INT32_MIN && u == 4294967295u);
}

}  // namespace
