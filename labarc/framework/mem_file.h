// A file held in memory, for hosts that serialise to a buffer and for tests.
#pragma once

#include <string>
#include <string_view>

#include <labarc/framework/export.h>
#include <labarc/framework/file.h>

inline namespace labarc_framework {

class LABARC_API CMemFile : public CFile {
 public:
  CMemFile() = default;
  // A file whose contents are `contents`, positioned at its start.
  explicit CMemFile(std::string_view contents) : m_data(contents) {}

  BOOL Open(const char*, UINT, CFileException* = nullptr) override { return TRUE; }
  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  std::uint64_t Seek(std::int64_t offset, UINT from) override;
  std::uint64_t GetLength() const override { return m_data.size(); }
  void Close() override {}

  std::string_view Contents() const { return m_data; }

 private:
  std::string m_data;
  std::size_t m_position = 0;
};

}  // namespace labarc_framework
