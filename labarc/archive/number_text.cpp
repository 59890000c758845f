#include <labarc/archive/number_text.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include <labarc/framework/exceptions.h>

namespace labarc {

namespace {

constexpr std::uint64_t kSignBit = 0x8000'0000'0000'0000;
constexpr std::uint64_t kQuietNaN = 0x7FF8'0000'0000'0000;
constexpr std::uint64_t kExponentBits = 0x7FF0'0000'0000'0000;
constexpr std::uint64_t kMantissaBits = 0x000F'FFFF'FFFF'FFFF;

// NaN texts: "nan", "-nan", or with a payload other than the quiet default "nan(0x...)".
bool ParseNaN(std::string_view text, double& value) {
  std::uint64_t bits = kQuietNaN;
  if (!text.empty() && text.front() == '-') {
    bits |= kSignBit;
    text.remove_prefix(1);
  }
  if (text.substr(0, 3) != "nan") return false;
  text.remove_prefix(3);
  if (!text.empty()) {
    if (text.size() < 5 || text.substr(0, 3) != "(0x" || text.back() != ')') return false;
    std::uint64_t mantissa = 0;
    const char* end = text.data() + text.size() - 1;
    const auto result = std::from_chars(text.data() + 3, end, mantissa, 16);
    if (result.ec != std::errc() || result.ptr != end || mantissa == 0 ||
        (mantissa & ~kMantissaBits) != 0)
      return false;
    bits = (bits & kSignBit) | kExponentBits | mantissa;
  }
  value = std::bit_cast<double>(bits);
  return true;
}

}  // namespace

void ValueText::Overflow() { AfxThrowInvalidArgException(); }

void ValueText::Append(std::string_view text) {
  if (text.size() > kCapacity - m_size) Overflow();
  std::memcpy(m_chars + m_size, text.data(), text.size());
  m_size += text.size();
}

char* FormatNaN(double value, char* first) {
  char* const last = first + kMaxDoubleText;
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  if (bits & kSignBit) *first++ = '-';
  first = std::copy_n("nan", 3, first);
  if ((bits & ~kSignBit) == kQuietNaN) return first;
  first = std::copy_n("(0x", 3, first);
  first = std::to_chars(first, last, bits & kMantissaBits, 16).ptr;
  *first++ = ')';
  return first;
}

void ValueText::AppendDouble(double value) {
  if (kCapacity - m_size < kMaxDoubleText) Overflow();
  m_size = static_cast<std::size_t>(FormatDouble(value, m_chars + m_size) - m_chars);
}

bool ParseDouble(std::string_view text, double& value) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  text.remove_prefix(first);
  double parsed = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, parsed, std::chars_format::general);
  if (result.ec == std::errc() && result.ptr == end) {
    if (std::isnan(parsed)) return ParseNaN(text, value);  // keep the sign and payload
    value = parsed;
    return true;
  }
  return false;
}

bool TakeDoubleFieldSlowly(std::string_view& rest, char separator, double& value) {
  if (rest.empty()) return false;
  const std::size_t fieldEnd = rest.find(separator);
  if (!ParseDouble(rest.substr(0, fieldEnd), value)) return false;
  rest.remove_prefix(fieldEnd == rest.npos ? rest.size() : fieldEnd + 1);
  return true;
}

}  // namespace labarc
