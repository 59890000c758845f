// A progress bar on a terminal's error stream: bytes read of the file's size.
#pragma once

#include <cstdint>
#include <iosfwd>

namespace labarc::tool {

class ProgressBar {
 public:
  ProgressBar(std::ostream& stream, bool enabled) : m_stream(stream), m_enabled(enabled) {}
  ~ProgressBar();
  void Update(std::uint64_t done, std::uint64_t total);

 private:
  std::ostream& m_stream;
  bool m_enabled;
  int m_shown = -1;  // the percentage drawn last
};

}  // namespace labarc::tool
