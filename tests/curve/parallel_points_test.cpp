// Large curves' points are read and written on several threads in batches of lines. Whatever
// the threads and the batches, the bytes written, the curve read and every failure reported,
// with the line count and the read position it leaves, must be those of one thread.
#include <cmath>
#include <optional>
#include <string>

#include <labarc/curve/point_threads.h>

#include "support/test_support.h"

namespace labarc::testing {
namespace {

// The process's point threading for one scope.
class Threading {
 public:
  explicit Threading(PointThreading threading) : m_previous(GetPointThreading()) {
    SetPointThreading(threading);
  }
  ~Threading() { SetPointThreading(m_previous); }
  Threading(const Threading&) = delete;
  Threading& operator=(const Threading&) = delete;

 private:
  PointThreading m_previous;
};

// Coordinates of every length of text, NaNs among them, and flags of one to three digits.
CCurveObj Curve(int points) {
  CCurveObj curve(points);
  curve.SetName("Parallel");
  for (int i = 0; i < points; ++i) {
    CURVEPOINT point{static_cast<char>(i % 7 == 0 ? 1 : i % 256), std::ldexp(i, -(i % 40)) - i % 3,
                     i % 11 == 0 ? NAN : 1.0 / (i + 1)};
    curve.SetCurvePoint(i, point);
  }
  return curve;
}

std::string Store(const CCurveObj& curve) {
  StoreArchive ar;
  EXPECT_EQ(ar->Write(curve), 1);
  return ar.Text();
}

// Everything a read of `text` shows: its result, the failure's reason, the line count, the line
// read next, and the curve read (as stored again, so that NaNs compare).
struct Outcome {
  int result = 0;
  CArchiveEx::FailureKind kind{};
  int line = 0;
  std::string expected, found, next, curve;
  bool operator==(const Outcome&) const = default;
};

Outcome Read(const std::string& text) {
  LoadArchive ar(text);
  CCurveObj curve = Curve(2);
  Outcome outcome;
  outcome.result = ar->Read(curve);
  const CArchiveEx::Failure& failure = ar->GetLastFailure();
  outcome.kind = failure.kind;
  outcome.line = failure.line;
  outcome.expected = failure.expected.Str();
  outcome.found = failure.found.Str();
  CString next;
  ar->ReadString(next);
  outcome.next = next.Str() + "@" + std::to_string(ar->GetCurLineNum());
  outcome.curve = Store(curve);
  return outcome;
}

// Settings that split batches every way: one line per thread, uneven parts, whole groups.
const PointThreading kSplits[] = {{2, 0, 1}, {2, 0, 2}, {3, 0, 5}, {3, 0, 1000}, {4, 0, 4096}};

TEST(ParallelPoints, WriteTheBytesAndReadTheCurveOfOneThread) {
  for (const int points : {0, 1, 12, 13, 25, 997, 40000}) {
    SCOPED_TRACE(points);
    const CCurveObj curve = Curve(points);
    std::string text;
    Outcome read;
    {
      const Threading one({1, 0, 4096});
      text = Store(curve);
      read = Read(text);
    }
    ASSERT_EQ(read.result, 1);
    for (const PointThreading& split : kSplits) {
      if (points > 1000 && split.batchLines < 1000) continue;  // a thread per line: too slow
      SCOPED_TRACE(::testing::Message() << split.threads << " threads, " << split.batchLines);
      const Threading many(split);
      EXPECT_TRUE(Store(curve) == text);
      EXPECT_TRUE(Read(text) == read);
    }
  }
}

// The text with `line` (from 0) replaced by `replacement` (null: dropped; "cut": the text ends
// before it).
std::string Damaged(const std::string& text, int line, const char* replacement) {
  std::size_t at = 0;
  for (int i = 0; i < line; ++i) at = text.find("\r\n", at) + 2;
  const std::string rest = text.substr(text.find("\r\n", at) + 2);
  if (replacement && std::string_view(replacement) == "cut") return text.substr(0, at);
  return text.substr(0, at) + (replacement ? std::string(replacement) + "\r\n" : "") + rest;
}

std::string WithLineEnds(std::string text, const char* end) {
  std::string result;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t next = text.find("\r\n", at);
    result += text.substr(at, next - at) + end;
    at = next + 2;
  }
  return result;
}

// Each point line of a 100-point curve in turn (nine to a group) is damaged in each way; the
// line ends are varied as a whole. Every outcome must be the one-thread outcome.
TEST(ParallelPoints, ReportEveryFailureAsOneThreadDoes) {
  const std::string text = Store(Curve(100));
  std::vector<std::string> damaged = {WithLineEnds(text, "\n"), WithLineEnds(text, "\r"),
                                      text.substr(0, text.size() - 2)};
  for (int line = 31; line < 31 + 27; ++line)
    for (const char* replacement : {static_cast<const char*>(nullptr), "cut", "", "1, 2, ",
                                    "1, x, ", ", 3, ", "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 1e999, ",
                                    "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 256", "[Next Section]"})
      damaged.push_back(Damaged(text, line, replacement));
  std::vector<Outcome> expected;
  {
    const Threading one({1, 0, 4096});
    for (const std::string& each : damaged) expected.push_back(Read(each));
  }
  for (const PointThreading& split : kSplits) {
    const Threading many(split);
    for (std::size_t i = 0; i < damaged.size(); ++i) {
      SCOPED_TRACE(::testing::Message()
                   << split.threads << " threads, " << split.batchLines << " lines, case " << i);
      EXPECT_TRUE(Read(damaged[i]) == expected[i]);
    }
  }
}

TEST(ParallelPoints, SettingIsBoundedAndSmallCurvesStayOnOneThread) {
  const Threading bounded({-2, -5, 0});
  const PointThreading setting = GetPointThreading();
  EXPECT_EQ(std::tuple(setting.threads, setting.minimumPoints, setting.batchLines),
            std::tuple(0, 0, 1));
  EXPECT_GE(PointThreadingFor(0).threads, 1);  // 0 threads: the environment's or the machine's
  SetPointThreading({3, 100, 8});
  EXPECT_EQ(std::tuple(PointThreadingFor(99).threads, PointThreadingFor(100).threads,
                       PointThreadingFor(100).batchLines),
            std::tuple(1, 3, 8));
}

}  // namespace
}  // namespace labarc::testing
