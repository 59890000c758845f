#include "progress.h"

#include <ostream>
#include <string>

namespace labarc::tool {

ProgressBar::~ProgressBar() {
  if (m_enabled && m_shown >= 0) m_stream << "\r\033[K" << std::flush;
}

void ProgressBar::Update(std::uint64_t done, std::uint64_t total) {
  if (!m_enabled || total == 0) return;
  const int percent = static_cast<int>(done >= total ? 100 : done * 100 / total);
  if (percent == m_shown) return;
  m_shown = percent;
  constexpr int kWidth = 40;
  const int filled = percent * kWidth / 100;
  m_stream << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] "
           << percent << "%" << std::flush;
}

}  // namespace labarc::tool
