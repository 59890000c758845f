// The date library's date: one day of the Gregorian calendar (extended back before its
// introduction), from 1 January of year 1 to 31 December of year 9999. A date is identified by
// its Julian day number, the count of days since 1 January 4713 BC of the Julian calendar
// (1 January 2000 is day 2451545). Any other value makes the null date, which has no text.
#pragma once

#include <labarc/framework/cstring.h>
#include <labarc/framework/export.h>
#include <labarc/framework/object.h>

class LABARC_API CDate : public CObject {
 public:
  static constexpr int kFirstDay = 1721426;  // 1 January 1
  static constexpr int kLastDay = 5373484;   // 31 December 9999

  // The day with this Julian day number; 0, or any day outside the years covered, is the null
  // date.
  explicit CDate(int julianDay = 0);
  // The day in which a Julian value falls (its fraction is dropped); a value that is not a number
  // or lies outside the years covered makes the null date.
  explicit CDate(double julian);
  CDate(const CDate& other) = default;
  CDate* operator=(const CDate& other);
  ~CDate() override;

  bool IsNull() const { return m_nDay == 0; }
  // The Julian day number, 0 for the null date.
  double JulianValue() const { return m_nDay; }
  int Year() const;
  int Month() const;
  int Day() const;

  // Sets the date from month, day and four-digit year, one or two digits for month and day,
  // separated by "/", "-" or "." (the same both times), blanks around allowed. Nonzero when
  // the text names a day that exists; otherwise the date is left as it was.
  int NewDate(const CString& text);
  // Sets the date from its parts; nonzero when that day exists.
  int SetDate(int month, int day, int year);
  // Writes "MM<sep>DD<sep>YYYY" into `out` (two-digit month and day, four-digit year), or
  // empties it for the null date.
  CString& FmtMMsDDsYYYY(CString& out, char separator) const;

  bool operator==(const CDate& other) const { return m_nDay == other.m_nDay; }

 private:
  int m_nDay = 0;
};
