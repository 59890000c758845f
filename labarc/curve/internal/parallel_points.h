// The point lines of a curve's groups: the text of one value and of one line, shared by the
// single-threaded reader and writer, and their parsing and formatting on several threads. Each
// line carries up to twelve values of one field, each followed by ", "; the parser names the
// first failing line and value as the single-threaded reader finds them.
#pragma once

#include <atomic>
#include <charconv>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>
#include <thread>
#include <vector>

#include <labarc/archive/number_text.h>
#include <labarc/curve/curve_obj.h>
#include <labarc/framework/win_types.h>

namespace labarc {

inline constexpr int kPointValuesPerLine = 12;

// The text of one value: a coordinate as its shortest exact text, a flag as its byte's decimal
// text (so the usual flag 1 is the single character 1). Put writes it at `first`, which has room
// for kMaxDoubleText characters, and returns its end; Take takes it and its ',' from `rest`.
inline char* PutPointValue(double value, char* first) { return FormatDouble(value, first); }
inline char* PutPointValue(char flag, char* first) {
  return std::to_chars(first, first + kMaxDoubleText, static_cast<BYTE>(flag)).ptr;
}
inline bool TakePointValue(std::string_view& rest, double& value) {
  return TakeDoubleField(rest, ',', value);
}
inline bool TakePointValue(std::string_view& rest, char& flag) {
  // The usual flag, one digit and its comma after the previous value's blank, is taken without
  // the general parse: a third of a curve's values are flags.
  const std::size_t at = !rest.empty() && rest[0] == ' ';
  if (rest.size() >= at + 2 && rest[at] >= '0' && rest[at] <= '9' && rest[at + 1] == ',') {
    flag = static_cast<char>(rest[at] - '0');
    rest.remove_prefix(at + 2);
    return true;
  }
  BYTE value = 0;
  if (!TakeIntegerField(rest, ',', value)) return false;
  flag = static_cast<char>(value);
  return true;
}

// The longest point line: twelve values, each with its ", ", and the line end. Number texts hold
// no line end, so a line can be made straight in a buffer with this much room.
inline constexpr std::size_t kPointLineRoom = kPointValuesPerLine * (kMaxDoubleText + 2) + 2;

// Writes the line of values value(first) to value(end - 1), at most twelve, at `at`; returns its
// end.
template <class ValueAt>
char* PutPointLine(const ValueAt& value, std::size_t first, std::size_t end, char* at) {
  for (std::size_t index = first; index < end; ++index) {
    at = PutPointValue(value(index), at);
    *at++ = ',';
    *at++ = ' ';
  }
  *at++ = '\r';
  *at++ = '\n';
  return at;
}

// One field of consecutive points: value i at `first` + i * `stride` bytes, so that a column can
// be a contiguous array or one member of an array of points.
template <class T>
struct PointColumn {
  T* first = nullptr;
  std::size_t stride = sizeof(T);
  std::size_t size = 0;

  T& operator[](std::size_t index) const {
    using Byte = std::conditional_t<std::is_const_v<T>, const std::byte, std::byte>;
    return *reinterpret_cast<T*>(reinterpret_cast<Byte*>(first) + index * stride);
  }
};

// The column of `field` over `points`, as x, y or flag group.
template <class Point, class T>
auto ColumnOf(std::span<Point> points, T CURVEPOINT::*field) {
  using Value = std::conditional_t<std::is_const_v<Point>, const T, T>;
  return PointColumn<Value>{points.empty() ? nullptr : &(points.front().*field), sizeof(CURVEPOINT),
                            points.size()};
}

// The threads of one curve's read or write: started at the first batch that needs them, they
// take a part of each batch until this object goes, which stops and joins them.
class PointWorkers {
 public:
  // `threads` counts the caller's thread: 1 starts none.
  explicit PointWorkers(int threads) : m_threads(threads) {}
  ~PointWorkers();
  PointWorkers(const PointWorkers&) = delete;
  PointWorkers& operator=(const PointWorkers&) = delete;

  int Threads() const { return m_threads; }
  // Runs work(part) for each part from 0 to parts - 1, part 0 on the caller's thread, and returns
  // when all are done. A part left without a thread (one could not be started) runs on the
  // caller's thread. `work` must not throw.
  template <class Work>
  void Run(int parts, const Work& work) {
    if (parts <= 1)
      work(0);
    else
      RunParts(parts, {&work, [](const void* what, int part) {
                         (*static_cast<const Work*>(what))(part);
                       }});
  }

 private:
  // A part of a batch's work, for the workers: work(what, part).
  struct Work {
    const void* what = nullptr;
    void (*run)(const void* what, int part) = nullptr;
  };
  void RunParts(int parts, Work work);
  void Serve(int part);

  int m_threads;
  bool m_spin = false;  // set before the workers start: threads wait for each other awake for a
                        // moment before they sleep
  std::mutex m_guard;
  std::condition_variable m_wake, m_done;
  Work m_work;  // guarded, as are the members below; the atomics are changed only under the
                // guard too, and read without it while a thread spins before it sleeps
  int m_parts = 0;
  std::atomic<int> m_running = 0;
  std::atomic<unsigned> m_round = 0;
  std::atomic<bool> m_stopping = false;
  std::vector<std::thread> m_workers;  // worker i takes part i + 1
};

// Where the values of some lines could not be taken: the line (counted among those given) and
// the value on it (from 0): the first such place, as reading the lines in order finds it.
struct PointLineFailure {
  std::size_t line = 0;
  int value = 0;
};

// Parses `lines` into `into`: line k carries values 12k up to 12k + 11, as far as into.size(),
// which must need every line given. A line holding fewer values than it must carry, or a value
// refused, fails; text after the values a line must carry is not looked at. The lines are split
// among the workers. Values of later lines may have been stored when it fails.
std::optional<PointLineFailure> ParsePointLines(std::span<const std::string_view> lines,
                                                PointColumn<double> into, PointWorkers& workers);
std::optional<PointLineFailure> ParsePointLines(std::span<const std::string_view> lines,
                                                PointColumn<char> into, PointWorkers& workers);

// Whether `lines` are exactly the lines the writer makes of `values` (without their line ends),
// one for each twelve values: a reader that keeps a file's text needs to know where it stands
// otherwise. The lines are split among the workers.
bool PointLinesAsWritten(std::span<const std::string_view> lines, PointColumn<const double> values,
                         PointWorkers& workers);
bool PointLinesAsWritten(std::span<const std::string_view> lines, PointColumn<const char> values,
                         PointWorkers& workers);

// Formats the values of `from` as point lines, each ended by "\r\n", in batches of `batchLines`
// lines split among the workers, and hands the text to `sink` in file order with the
// number of lines it holds. The sink runs on the caller's thread.
using PointTextSink = std::function<void(std::string_view text, int lines)>;
void FormatPointLines(PointColumn<const double> from, PointWorkers& workers, int batchLines,
                      const PointTextSink& sink);
void FormatPointLines(PointColumn<const char> from, PointWorkers& workers, int batchLines,
                      const PointTextSink& sink);

}  // namespace labarc
