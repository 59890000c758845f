// With LABARC_TEST_PARALLEL_POINTS set to a number of lines, every curve of the curve tests,
// however small, is read and written on two threads in batches of that many lines, so that each
// line-by-line damage test also checks the multi-threaded path.
#include <cstdlib>

#include <gtest/gtest.h>

#include <labarc/curve/point_threads.h>

namespace {

class ParallelPoints : public ::testing::Environment {
 public:
  void SetUp() override {
    if (const char* lines = std::getenv("LABARC_TEST_PARALLEL_POINTS"))
      labarc::SetPointThreading({2, 0, std::atoi(lines)});
  }
};

[[maybe_unused]] const ::testing::Environment* const kParallelPoints =
    ::testing::AddGlobalTestEnvironment(new ParallelPoints);

}  // namespace
