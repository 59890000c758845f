#include <labarc/curve/internal/parallel_points.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace labarc {

namespace {

// How long a worker stays awake for the next batch, and the caller for the workers to finish.
// A curve's batches are a caller's read of the next lines apart, well under a millisecond; a
// worker that sleeps in between gives up its processor and comes back slower. On a two-core
// machine staying awake took about a tenth off a large read's wall time, for as much processor
// time.
constexpr std::chrono::microseconds kWorkerSpin{1000}, kCallerSpin{200};

// Part `part` of `parts` nearly equal parts of `count` items: its first item.
std::size_t PartStart(std::size_t count, int part, int parts) {
  return count * static_cast<std::size_t>(part) / static_cast<std::size_t>(parts);
}

template <class T>
std::optional<PointLineFailure> Parse(std::span<const std::string_view> lines, PointColumn<T> into,
                                      PointWorkers& workers) {
  const int parts = static_cast<int>(
      std::clamp<std::size_t>(lines.size(), 1, static_cast<std::size_t>(workers.Threads())));
  // Each part stops at its own first failure; the earliest part's is the reader's.
  std::vector<std::optional<PointLineFailure>> failures(static_cast<std::size_t>(parts));
  workers.Run(parts, [&](int part) {
    const std::size_t end = PartStart(lines.size(), part + 1, parts);
    for (std::size_t line = PartStart(lines.size(), part, parts); line < end; ++line) {
      std::string_view rest = lines[line];
      const std::size_t first = line * kPointValuesPerLine;
      const std::size_t last = std::min(first + kPointValuesPerLine, into.size);
      for (std::size_t index = first; index < last; ++index) {
        if (rest.empty() || !TakePointValue(rest, into[index])) {
          failures[static_cast<std::size_t>(part)] =
              PointLineFailure{line, static_cast<int>(index - first)};
          return;
        }
      }
    }
  });
  for (const auto& failure : failures)
    if (failure) return failure;
  return std::nullopt;
}

template <class T>
bool AsWritten(std::span<const std::string_view> lines, PointColumn<const T> values,
               PointWorkers& workers) {
  if (lines.size() != (values.size + kPointValuesPerLine - 1) / kPointValuesPerLine) return false;
  const int parts = static_cast<int>(
      std::clamp<std::size_t>(lines.size(), 1, static_cast<std::size_t>(workers.Threads())));
  std::vector<char> differs(static_cast<std::size_t>(parts), 0);
  workers.Run(parts, [&](int part) {
    char text[kPointLineRoom];
    const auto value = [&values](std::size_t index) { return values[index]; };
    const std::size_t end = PartStart(lines.size(), part + 1, parts);
    for (std::size_t line = PartStart(lines.size(), part, parts); line < end; ++line) {
      const std::size_t first = line * kPointValuesPerLine;
      const char* const last =
          PutPointLine(value, first, std::min(first + kPointValuesPerLine, values.size), text);
      if (std::string_view(text, static_cast<std::size_t>(last - text) - 2) != lines[line]) {
        differs[static_cast<std::size_t>(part)] = 1;
        return;
      }
    }
  });
  return std::find(differs.begin(), differs.end(), 1) == differs.end();
}

template <class T>
void Format(PointColumn<const T> from, PointWorkers& workers, int batchLines,
            const PointTextSink& sink) {
  const std::size_t lines = (from.size + kPointValuesPerLine - 1) / kPointValuesPerLine;
  const std::size_t perBatch = static_cast<std::size_t>(std::max(batchLines, 1));
  const int parts = static_cast<int>(std::clamp<std::size_t>(
      std::min(lines, perBatch), 1, static_cast<std::size_t>(workers.Threads())));
  // Each part's text goes to a room of its own, as its length is known only once made.
  const std::size_t partRoom = (perBatch + static_cast<std::size_t>(parts) - 1) /
                               static_cast<std::size_t>(parts) * kPointLineRoom;
  const auto room =
      std::make_unique_for_overwrite<char[]>(partRoom * static_cast<std::size_t>(parts));
  std::vector<char*> ends(static_cast<std::size_t>(parts));
  for (std::size_t batch = 0; batch < lines; batch += perBatch) {
    const std::size_t batchEnd = std::min(batch + perBatch, lines);
    const auto lineOf = [&](int part) { return batch + PartStart(batchEnd - batch, part, parts); };
    workers.Run(parts, [&](int part) {
      const std::size_t end = std::min(lineOf(part + 1) * kPointValuesPerLine, from.size);
      char* at = room.get() + partRoom * static_cast<std::size_t>(part);
      const auto value = [&from](std::size_t index) { return from[index]; };
      for (std::size_t index = lineOf(part) * kPointValuesPerLine; index < end;
           index += kPointValuesPerLine)
        at = PutPointLine(value, index, std::min(index + kPointValuesPerLine, end), at);
      ends[static_cast<std::size_t>(part)] = at;
    });
    for (int part = 0; part < parts; ++part) {
      const char* first = room.get() + partRoom * static_cast<std::size_t>(part);
      sink(std::string_view(first, static_cast<std::size_t>(ends[part] - first)),
           static_cast<int>(lineOf(part + 1) - lineOf(part)));
    }
  }
}

// Spins until done() or for about `budget`, whichever comes first.
template <class Done>
void SpinBriefly(const Done& done, std::chrono::microseconds budget) {
  const auto until = std::chrono::steady_clock::now() + budget;
  for (unsigned turn = 1; !done(); ++turn) {
#if defined(__SSE2__)
    _mm_pause();
#endif
    if (turn % 64 == 0 && std::chrono::steady_clock::now() > until) return;
  }
}

}  // namespace

PointWorkers::~PointWorkers() {
  {
    const std::lock_guard lock(m_guard);
    m_stopping = true;
  }
  m_wake.notify_all();
  for (std::thread& worker : m_workers) worker.join();
}

void PointWorkers::RunParts(int parts, Work work) {
  if (m_workers.empty()) {
    // Started once, at the first batch that is split. A thread that cannot be started leaves
    // its parts to the caller's thread. With more threads than processors a spinning thread
    // would hold up one that has work; the processors are counted once, as each count asks the
    // system.
    static const int processors = static_cast<int>(std::thread::hardware_concurrency());
    m_spin = m_threads <= processors;
    try {
      m_workers.reserve(static_cast<std::size_t>(m_threads - 1));
      for (int part = 1; part < m_threads; ++part)
        m_workers.emplace_back(&PointWorkers::Serve, this, part);
    } catch (const std::system_error&) {
    } catch (const std::bad_alloc&) {
    }
  }
  const int served = std::min(parts - 1, static_cast<int>(m_workers.size()));
  if (served > 0) {
    {
      const std::lock_guard lock(m_guard);
      m_work = work;
      m_parts = parts;
      m_running = served;
      ++m_round;
    }
    m_wake.notify_all();
  }
  work.run(work.what, 0);
  for (int part = served + 1; part < parts; ++part) work.run(work.what, part);
  if (served > 0) {
    if (m_spin) SpinBriefly([this] { return m_running.load() == 0; }, kCallerSpin);
    std::unique_lock lock(m_guard);
    m_done.wait(lock, [this] { return m_running == 0; });
  }
}

void PointWorkers::Serve(int part) {
  unsigned round = 0;
  std::unique_lock lock(m_guard);
  for (;;) {
    if (m_spin) {
      lock.unlock();
      SpinBriefly([&] { return m_stopping.load() || m_round.load() != round; }, kWorkerSpin);
      lock.lock();
    }
    m_wake.wait(lock, [&] { return m_stopping || m_round != round; });
    if (m_stopping) return;
    round = m_round;
    if (part >= m_parts) continue;
    const Work work = m_work;
    lock.unlock();
    work.run(work.what, part);
    lock.lock();
    if (--m_running == 0) m_done.notify_one();
  }
}

std::optional<PointLineFailure> ParsePointLines(std::span<const std::string_view> lines,
                                                PointColumn<double> into, PointWorkers& workers) {
  return Parse(lines, into, workers);
}
std::optional<PointLineFailure> ParsePointLines(std::span<const std::string_view> lines,
                                                PointColumn<char> into, PointWorkers& workers) {
  return Parse(lines, into, workers);
}

bool PointLinesAsWritten(std::span<const std::string_view> lines, PointColumn<const double> values,
                         PointWorkers& workers) {
  return AsWritten(lines, values, workers);
}
bool PointLinesAsWritten(std::span<const std::string_view> lines, PointColumn<const char> values,
                         PointWorkers& workers) {
  return AsWritten(lines, values, workers);
}

void FormatPointLines(PointColumn<const double> from, PointWorkers& workers, int batchLines,
                      const PointTextSink& sink) {
  Format(from, workers, batchLines, sink);
}
void FormatPointLines(PointColumn<const char> from, PointWorkers& workers, int batchLines,
                      const PointTextSink& sink) {
  Format(from, workers, batchLines, sink);
}

}  // namespace labarc
