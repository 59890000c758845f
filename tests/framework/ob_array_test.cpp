#include "support/test_support.h"

namespace {

bool RaisesInvalidArg(const std::function<void()>& action) {
  return labarc::testing::Raises<CInvalidArgException>(action);
}

TEST(ObArray, BadIndicesAndSizesRaiseInvalidArgument) {
  CObArray array;
  array.SetSize(3);
  EXPECT_TRUE(RaisesInvalidArg([&] { array.GetAt(-1); }));
  EXPECT_TRUE(RaisesInvalidArg([&] { array.GetAt(3); }));
  EXPECT_TRUE(RaisesInvalidArg([&] { array.SetAt(3, nullptr); }));
  EXPECT_TRUE(RaisesInvalidArg([&] { array.SetSize(-1); }));
  EXPECT_TRUE(RaisesInvalidArg([&] { array.RemoveAt(2, 2); }));
  EXPECT_TRUE(RaisesInvalidArg([&] { array.RemoveAt(-1); }));
  EXPECT_EQ(array.GetSize(), 3);  // refused calls change nothing
}

TEST(ObArray, ResizesAddsAndRemovesInOrder) {
  CObArray array;
  CObArray a, b, c;
  EXPECT_EQ(array.Add(&a), 0);
  EXPECT_EQ(array.Add(&b), 1);
  array.SetSize(4, 16);
  EXPECT_EQ(array.GetAt(3), nullptr);  // new slots are null
  array.SetAt(3, &c);
  array.RemoveAt(1, 2);
  ASSERT_EQ(array.GetSize(), 2);
  EXPECT_EQ(array[0], &a);
  EXPECT_EQ(array[1], &c);
  array.SetSize(1);
  array.FreeExtra();
  EXPECT_EQ(array.GetUpperBound(), 0);
}

}  // namespace
