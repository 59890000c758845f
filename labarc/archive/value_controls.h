// Number controls: each holds one value and converts it to and from its text. The texts are
// locale-independent: integers in plain decimal, doubles as the shortest text that reads back to
// the same value. Validation accepts leading blanks and refuses anything after the number.
#pragma once

#include <cstdint>
#include <string_view>

#include <labarc/archive/number_text.h>
#include <labarc/framework/cstring.h>
#include <labarc/framework/export.h>
#include <labarc/framework/win_types.h>

class LABARC_API CByte {
 public:
  CByte() = default;
  CByte(BYTE value) : m_value(value) {}
  CByte& operator=(BYTE value) {
    m_value = value;
    return *this;
  }
  operator BYTE() const { return m_value; }
  operator CString() const;

  static void AppendText(BYTE value, labarc::ValueText& text) { text.AppendInteger(value); }
  static bool Validate(std::string_view text, BYTE& value) {
    return labarc::ParseInteger(text, value);
  }
  // Nonzero when `text` is a whole number from 0 to 255; `message` is not used.
  static BOOL ValidateAndGet(const CString& text, BYTE& value, CString* message);

 private:
  BYTE m_value = 0;
};

// A signed 32-bit integer, whatever the width of `long` on this platform.
class LABARC_API CLong {
 public:
  CLong() = default;
  CLong(long value) : m_value(value) {}
  operator long() const { return m_value; }
  operator CString() const;

  static bool InRange(long value) { return value >= INT32_MIN && value <= INT32_MAX; }
  static void AppendText(long value, labarc::ValueText& text) { text.AppendInteger(value); }
  static bool Validate(std::string_view text, std::int32_t& value) {
    return labarc::ParseInteger(text, value);
  }
  // Nonzero when `text` is a whole number in the signed 32-bit range.
  static BOOL ValidateAndGet(const CString& text, long& value, CString* message);

 private:
  long m_value = 0;
};

// An unsigned 32-bit integer.
class LABARC_API CULong {
 public:
  CULong() = default;
  CULong(ULONG value) : m_value(value) {}
  operator ULONG() const { return m_value; }
  operator CString() const;

  static void AppendText(ULONG value, labarc::ValueText& text) { text.AppendInteger(value); }
  static bool Validate(std::string_view text, ULONG& value) {
    return labarc::ParseInteger(text, value);
  }
  // Nonzero when `text` is a whole number from 0 to 4294967295.
  static BOOL ValidateAndGet(const CString& text, unsigned long& value, CString* message);

 private:
  ULONG m_value = 0;
};

class LABARC_API CDouble {
 public:
  CDouble() = default;
  CDouble(double value) : m_value(value) {}
  CDouble& operator=(double value) {
    m_value = value;
    return *this;
  }
  operator double() const { return m_value; }
  operator CString() const;

  static void AppendText(double value, labarc::ValueText& text) { text.AppendDouble(value); }
  static bool Validate(std::string_view text, double& value) {
    return labarc::ParseDouble(text, value);
  }
  // Nonzero when `text` is one number; the three selectors are accepted and not used.
  static BOOL ValidateAndGet(const CString& text, double& value, CString* message, int, int, int);

 private:
  double m_value = 0;
};

// Read-only access to a framework string's characters.
class CStringEx {
 public:
  explicit CStringEx(const CString& text) : m_text(text) {}
  operator const char*() const { return m_text.GetString(); }

 private:
  const CString& m_text;
};
