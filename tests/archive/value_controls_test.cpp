#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "labarc.h"

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

// The integer controls take whole numbers of their range and refuse any other text, leaving the
// caller's value alone.
TEST(IntegerControls, AcceptTheirRangeAndRefuseOtherText) {
  const struct {
    const char* text;
    bool byte, signed32, unsigned32;
  } cases[] = {
      {"0", true, true, true},
      {"255", true, true, true},
      {"256", false, true, true},
      {"-1", false, true, false},
      {"-2147483648", false, true, false},
      {"2147483648", false, false, true},
      {"4294967295", false, false, true},
      {"4294967296", false, false, false},
      {"", false, false, false},
      {"x", false, false, false},
      {"12x", false, false, false},
      {"1.5", false, false, false},
  };
  for (const auto& row : cases) {
    BYTE byte = 7;
    long signed32 = 7;
    unsigned long unsigned32 = 7;
    EXPECT_EQ(CByte::ValidateAndGet(row.text, byte, nullptr) != 0, row.byte) << row.text;
    EXPECT_EQ(CLong::ValidateAndGet(row.text, signed32, nullptr) != 0, row.signed32) << row.text;
    EXPECT_EQ(CULong::ValidateAndGet(row.text, unsigned32, nullptr) != 0, row.unsigned32)
        << row.text;
    EXPECT_EQ(std::to_string(byte), row.byte ? row.text : "7");
    EXPECT_EQ(std::to_string(signed32), row.signed32 ? row.text : "7");
    EXPECT_EQ(std::to_string(unsigned32), row.unsigned32 ? row.text : "7");
  }
}

}  // namespace
