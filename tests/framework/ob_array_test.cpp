#include "support/test_support.h"

namespace {

TEST(ObArray, CheckedAccessAndResizing) {
  CObArray array;
  CObArray a, b;
  array.Add(&a);
  array.SetSize(3, 16);
  array.SetAt(2, &b);
  const std::function<void()> refused[] = {
      [&] { array.GetAt(-1); },      [&] { array.GetAt(3); },     [&] { array.SetSize(-1); },
      [&] { array.RemoveAt(2, 2); }, [&] { array.RemoveAt(-1); },
  };
  for (const auto& action : refused)
    EXPECT_TRUE(labarc::testing::Raises<CInvalidArgException>(action));
  ASSERT_EQ(array.GetSize(), 3);  // refused calls change nothing
  EXPECT_EQ(array.GetAt(1), nullptr);
  array.RemoveAt(1);
  EXPECT_EQ(array[1], &b);
}

}  // namespace
