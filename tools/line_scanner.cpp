#include "line_scanner.h"

#include <algorithm>

#include <labarc/framework/ascii.h>
#include <labarc/framework/file.h>

namespace labarc::tool {

std::string_view ScannedLine::Value() const {
  if (!labelled) return text;
  const std::string_view all = text;
  const std::size_t equals = all.find('=');
  return equals == all.npos ? std::string_view() : all.substr(equals + 1);
}

LineScanner::LineScanner(std::unique_ptr<CFile> file)
    : m_file(std::move(file)), m_length(m_file->GetLength()), m_buffer(std::size_t{1} << 16) {}

LineScanner::~LineScanner() = default;

const ScannedLine* LineScanner::Peek(std::size_t ahead) {
  while (m_ahead.size() <= ahead) {
    ScannedLine line;
    if (!ReadLine(line)) return nullptr;
    m_ahead.push_back(std::move(line));
  }
  return &m_ahead[ahead];
}

bool LineScanner::FillBuffer() {
  m_consumed += m_end - m_position;
  m_position = 0;
  m_end = m_file->Read(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
  return m_end > 0;
}

bool LineScanner::ReadLine(ScannedLine& line) {
  if (m_position == m_end && !FillBuffer()) return false;
  line.number = ++m_lineCount;
  line.offset = m_consumed;
  int commas = 0;
  bool textAfterComma = false;  // a value follows the last comma
  for (;;) {
    if (m_position == m_end && !FillBuffer()) {
      line.end = LineEnd::none;
      break;
    }
    const char* start = m_buffer.data() + m_position;
    const char* stop = m_buffer.data() + m_end;
    const char* found = std::find_if(start, stop, [](char c) { return c == '\n' || c == '\r'; });
    const std::size_t piece = static_cast<std::size_t>(found - start);
    if (line.text.size() < kKeptText)
      line.text.append(start, std::min(piece, kKeptText - line.text.size()));
    for (const char* c = start; c != found; ++c) {
      if (*c == ',') {
        ++commas;
        textAfterComma = false;
      } else if (!IsAsciiSpace(*c)) {
        textAfterComma = true;
      }
    }
    line.length += piece;
    const std::size_t taken = piece + (found != stop ? 1 : 0);
    m_position += taken;
    m_consumed += taken;
    if (found == stop) continue;
    if (*found == '\n') {
      line.end = LineEnd::lf;
    } else if (m_position < m_end) {
      line.end = m_buffer[m_position] == '\n' ? LineEnd::crlf : LineEnd::cr;
      if (line.end == LineEnd::crlf) {
        ++m_position;
        ++m_consumed;
      }
    } else {
      // The carriage return ends the buffer: its line feed, if any, comes with the next fill.
      line.end = LineEnd::cr;
      if (FillBuffer() && m_buffer[0] == '\n') {
        line.end = LineEnd::crlf;
        m_position = 1;
        ++m_consumed;
      }
    }
    break;
  }
  line.values = commas + (textAfterComma ? 1 : 0);
  const std::string_view text = line.text;
  const std::size_t equals = text.find('=');
  line.labelled = equals != text.npos;
  if (line.labelled) line.label = text.substr(0, std::min(equals, kKeptLabel));
  std::string_view trimmed = text.substr(0, std::min(text.size(), line.length));
  while (!trimmed.empty() && IsAsciiSpace(trimmed.back())) trimmed.remove_suffix(1);
  line.section = line.length == text.size() && trimmed.size() >= 3 && trimmed.front() == '[' &&
                 trimmed.back() == ']';
  return true;
}

}  // namespace labarc::tool
