// The framework's 8-bit string: value semantics, no character-set conversion, may hold NUL bytes.
#pragma once

#include <string>
#include <string_view>

#include <labarc/framework/export.h>
#include <labarc/framework/win_types.h>

inline namespace labarc_framework {

class LABARC_API CString {
 public:
  CString() = default;
  CString(const char* text) : m_text(text ? text : "") {}
  CString(const char* text, int length) : m_text(text, length > 0 ? length : 0) {}
  explicit CString(char ch, int repeat = 1) : m_text(repeat > 0 ? repeat : 0, ch) {}
  explicit CString(std::string_view text) : m_text(text) {}
  explicit CString(std::string&& text) : m_text(std::move(text)) {}

  CString& operator=(const char* text);
  CString& operator=(char ch);
  CString& operator=(std::string_view text);

  CString& operator+=(const CString& text);
  CString& operator+=(const char* text);
  CString& operator+=(char ch);

  int GetLength() const { return static_cast<int>(m_text.size()); }
  bool IsEmpty() const { return m_text.empty(); }
  void Empty() { m_text.clear(); }

  // Indexing is checked: an index outside the string raises the invalid-argument exception.
  char GetAt(int index) const;
  char operator[](int index) const { return GetAt(index); }
  void SetAt(int index, char ch);

  // Counts are clipped to the string.
  CString Left(int count) const;
  CString Right(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;

  // Positions from 0; -1 when absent.
  int Find(char ch, int start = 0) const;
  int Find(const char* text, int start = 0) const;
  int ReverseFind(char ch) const;

  // <0, 0 or >0 as in strcmp; CompareNoCase folds ASCII letters only, independent of locale.
  int Compare(const char* text) const;
  int CompareNoCase(const char* text) const;

  CString& TrimRight();
  CString& TrimLeft();
  CString& Trim() { return TrimRight().TrimLeft(); }
  CString& MakeUpper();
  CString& MakeLower();

  // Writable access to at least minLength characters; ReleaseBuffer(-1) takes the length up to
  // the first NUL.
  char* GetBuffer(int minLength);
  void ReleaseBuffer(int newLength = -1);

  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Loads the text of string resource `id` from the process's string table; FALSE when absent.
  BOOL LoadString(UINT id);

  operator const char*() const { return m_text.c_str(); }
  const char* GetString() const { return m_text.c_str(); }
  std::string_view View() const { return m_text; }
  const std::string& Str() const { return m_text; }

  friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
  friend bool operator==(const CString& a, const char* b) {
    return a.View() == std::string_view(b);
  }
  friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }

 private:
  std::string m_text;
};

LABARC_API CString operator+(const CString& a, const CString& b);
LABARC_API CString operator+(const CString& a, const char* b);
LABARC_API CString operator+(const char* a, const CString& b);
LABARC_API CString operator+(const CString& a, char b);
LABARC_API CString operator+(char a, const CString& b);

}  // namespace labarc_framework
