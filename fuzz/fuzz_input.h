// What every fuzz target shares: no report boxes, and a quiet loading archive over the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include <labarc/labarc.h>

// The version refusal shows its box even in quiet mode; the fuzzer needs no reports.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetReportHandler([](HWND, std::string_view, std::string_view, UINT) { return IDOK; });
  return 0;
}

namespace labarc::fuzzing {

// A quiet archive loading the fuzzer's bytes, as a file of the given application version.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size, double applVersion)
      : m_file(std::string_view(reinterpret_cast<const char*>(data), size)),
        m_host(&m_file, CArchive::load),
        m_archive(&m_host, m_applName, applVersion, 0) {}
  CArchiveEx& Archive() { return m_archive; }

 private:
  CMemFile m_file;
  CArchive m_host;
  CString m_applName;
  CArchiveEx m_archive;
};

}  // namespace labarc::fuzzing
