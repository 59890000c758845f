#include <labarc/values/date.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string_view>

#include <labarc/archive/number_text.h>

namespace {

namespace chrono = std::chrono;

// Julian day number of 1 January 1970, the start of the system clock's day count.
constexpr int kUnixEpochDay = 2440588;

chrono::year_month_day Civil(int julianDay) {
  return chrono::year_month_day(chrono::sys_days(chrono::days(julianDay - kUnixEpochDay)));
}

// The Julian day number of a calendar day, or 0 when no such day lies in the years covered.
int JulianDay(int month, int day, int year) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return 0;
  const chrono::year_month_day date(chrono::year(year), chrono::month(static_cast<unsigned>(month)),
                                    chrono::day(static_cast<unsigned>(day)));
  if (!date.ok()) return 0;
  return static_cast<int>(chrono::sys_days(date).time_since_epoch().count()) + kUnixEpochDay;
}

// Takes the run of decimal digits at the front of `text`, which must hold `minDigits` to
// `maxDigits` of them.
bool TakeNumber(std::string_view& text, std::size_t minDigits, std::size_t maxDigits, int& value) {
  const std::size_t digits = std::min(text.find_first_not_of("0123456789"), text.size());
  if (digits < minDigits || digits > maxDigits) return false;
  if (!labarc::ParseInteger(text.substr(0, digits), value)) return false;
  text.remove_prefix(digits);
  return true;
}

bool IsSeparator(char ch) { return ch == '/' || ch == '-' || ch == '.'; }

}  // namespace

CDate::CDate(int julianDay)
    : m_nDay(julianDay >= kFirstDay && julianDay <= kLastDay ? julianDay : 0) {}

CDate::CDate(double julian)
    : m_nDay(julian >= kFirstDay && julian < kLastDay + 1.0 ? static_cast<int>(std::floor(julian))
                                                            : 0) {}

CDate* CDate::operator=(const CDate& other) {
  m_nDay = other.m_nDay;
  return this;
}

CDate::~CDate() = default;

int CDate::Year() const { return IsNull() ? 0 : static_cast<int>(Civil(m_nDay).year()); }
int CDate::Month() const {
  return IsNull() ? 0 : static_cast<int>(static_cast<unsigned>(Civil(m_nDay).month()));
}
int CDate::Day() const {
  return IsNull() ? 0 : static_cast<int>(static_cast<unsigned>(Civil(m_nDay).day()));
}

int CDate::SetDate(int month, int day, int year) {
  const int julianDay = JulianDay(month, day, year);
  if (julianDay == 0) return 0;
  m_nDay = julianDay;
  return 1;
}

int CDate::NewDate(const CString& text) {
  std::string_view rest = text.View();
  const std::size_t first = rest.find_first_not_of(' ');
  if (first == std::string_view::npos) return 0;
  rest = rest.substr(first, rest.find_last_not_of(' ') - first + 1);

  int month = 0, day = 0, year = 0;
  if (!TakeNumber(rest, 1, 2, month) || rest.empty() || !IsSeparator(rest.front())) return 0;
  const char separator = rest.front();
  rest.remove_prefix(1);
  if (!TakeNumber(rest, 1, 2, day) || rest.empty() || rest.front() != separator) return 0;
  rest.remove_prefix(1);
  if (!TakeNumber(rest, 4, 4, year) || !rest.empty()) return 0;
  return SetDate(month, day, year);
}

CString& CDate::FmtMMsDDsYYYY(CString& out, char separator) const {
  if (IsNull()) {
    out.Empty();
  } else {
    out.Format("%02d%c%02d%c%04d", Month(), separator, Day(), separator, Year());
  }
  return out;
}
