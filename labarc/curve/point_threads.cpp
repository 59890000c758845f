#include <labarc/curve/point_threads.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

namespace labarc {

namespace {

std::mutex g_settingGuard;
PointThreading g_setting;  // guarded by g_settingGuard

// The threads that "0" stands for: read once, as the environment of a process does not change
// under a tool.
int DefaultThreads() {
  static const int threads = [] {
    if (const char* text = std::getenv("LABARC_THREADS")) {
      int value = 0;
      const char* end = text + std::strlen(text);
      const auto result = std::from_chars(text, end, value);
      if (result.ec == std::errc() && result.ptr == end && value >= 1) return value;
    }
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  }();
  return threads;
}

}  // namespace

void SetPointThreading(const PointThreading& threading) {
  const PointThreading bounded{std::max(threading.threads, 0), std::max(threading.minimumPoints, 0),
                               std::max(threading.batchLines, 1)};
  const std::lock_guard lock(g_settingGuard);
  g_setting = bounded;
}

PointThreading GetPointThreading() {
  const std::lock_guard lock(g_settingGuard);
  return g_setting;
}

PointThreading PointThreadingFor(int points) {
  PointThreading setting = GetPointThreading();
  setting.threads = points < setting.minimumPoints ? 1
                    : setting.threads > 0          ? setting.threads
                                                   : DefaultThreads();
  return setting;
}

}  // namespace labarc
