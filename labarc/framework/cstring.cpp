#include <labarc/framework/cstring.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#include <labarc/framework/ascii.h>
#include <labarc/framework/exceptions.h>
#include <labarc/framework/string_table.h>

inline namespace labarc_framework {

namespace {

// Clips [first, first + count) to [0, length).
std::string_view Clip(std::string_view text, long long first, long long count) {
  const long long length = static_cast<long long>(text.size());
  first = std::clamp(first, 0LL, length);
  count = std::clamp(count, 0LL, length - first);
  return text.substr(static_cast<size_t>(first), static_cast<size_t>(count));
}

}  // namespace

CString& CString::operator=(const char* text) {
  m_text = text ? text : "";
  return *this;
}

CString& CString::operator=(char ch) {
  m_text.assign(1, ch);
  return *this;
}

CString& CString::operator=(std::string_view text) {
  m_text.assign(text);
  return *this;
}

CString& CString::operator+=(const CString& text) {
  m_text += text.m_text;
  return *this;
}

CString& CString::operator+=(const char* text) {
  if (text) m_text += text;
  return *this;
}

CString& CString::operator+=(char ch) {
  m_text += ch;
  return *this;
}

char CString::GetAt(int index) const {
  if (index < 0 || index >= GetLength()) AfxThrowInvalidArgException();
  return m_text[static_cast<size_t>(index)];
}

void CString::SetAt(int index, char ch) {
  if (index < 0 || index >= GetLength()) AfxThrowInvalidArgException();
  m_text[static_cast<size_t>(index)] = ch;
}

CString CString::Left(int count) const { return CString(Clip(m_text, 0, count)); }

CString CString::Right(int count) const {
  const long long start = static_cast<long long>(m_text.size()) - std::max(count, 0);
  return CString(Clip(m_text, start, count));
}

CString CString::Mid(int first) const { return CString(Clip(m_text, first, GetLength())); }

CString CString::Mid(int first, int count) const {
  // A negative start eats into the count, as a clipped range does.
  const long long end = static_cast<long long>(first) + std::max(count, 0);
  const long long start = std::max(first, 0);
  return CString(Clip(m_text, start, end - start));
}

int CString::Find(char ch, int start) const {
  if (start < 0 || start >= GetLength()) return -1;
  const size_t pos = m_text.find(ch, static_cast<size_t>(start));
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const char* text, int start) const {
  if (!text || start < 0 || start > GetLength()) return -1;
  const size_t pos = m_text.find(text, static_cast<size_t>(start));
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const {
  const size_t pos = m_text.rfind(ch);
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Compare(const char* text) const {
  return std::strcmp(m_text.c_str(), text ? text : "");
}

int CString::CompareNoCase(const char* text) const {
  const unsigned char* a = reinterpret_cast<const unsigned char*>(m_text.c_str());
  const unsigned char* b = reinterpret_cast<const unsigned char*>(text ? text : "");
  for (;; ++a, ++b) {
    const int ca = static_cast<unsigned char>(labarc::AsciiToLower(static_cast<char>(*a)));
    const int cb = static_cast<unsigned char>(labarc::AsciiToLower(static_cast<char>(*b)));
    if (ca != cb || ca == 0) return ca - cb;
  }
}

CString& CString::TrimRight() {
  while (!m_text.empty() && labarc::IsAsciiSpace(m_text.back())) m_text.pop_back();
  return *this;
}

CString& CString::TrimLeft() {
  size_t first = 0;
  while (first < m_text.size() && labarc::IsAsciiSpace(m_text[first])) ++first;
  m_text.erase(0, first);
  return *this;
}

CString& CString::MakeUpper() {
  for (char& ch : m_text)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  return *this;
}

CString& CString::MakeLower() {
  for (char& ch : m_text) ch = labarc::AsciiToLower(ch);
  return *this;
}

char* CString::GetBuffer(int minLength) {
  if (minLength > GetLength()) m_text.resize(static_cast<size_t>(minLength));
  return m_text.data();
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0) newLength = static_cast<int>(std::strlen(m_text.c_str()));
  m_text.resize(std::min(static_cast<size_t>(newLength), m_text.size()));
}

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length < 0) {
    va_end(args);
    AfxThrowInvalidArgException();
  }
  std::string text(static_cast<size_t>(length), '\0');
  std::vsnprintf(text.data(), text.size() + 1, format, args);
  va_end(args);
  m_text = std::move(text);
}

BOOL CString::LoadString(UINT id) {
  std::optional<std::string> text = AfxFindStringResource(id);
  if (!text) return FALSE;
  m_text = std::move(*text);
  return TRUE;
}

CString operator+(const CString& a, const CString& b) {
  CString result(a);
  return result += b;
}
CString operator+(const CString& a, const char* b) {
  CString result(a);
  return result += b;
}
CString operator+(const char* a, const CString& b) {
  CString result(a);
  return result += b;
}
CString operator+(const CString& a, char b) {
  CString result(a);
  return result += b;
}
CString operator+(char a, const CString& b) {
  CString result(a);
  return result += b;
}

}  // namespace labarc_framework
