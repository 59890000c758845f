// Feeds arbitrary bytes to the archive's readers in quiet mode. Every read must either succeed
// or fail through the error path; a value read successfully must store and read back the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_input.h"

namespace {

template <class T>
void CheckStable(const T& value) {
  CMemFile file;
  CString name = "Fuzz";
  {
    CArchive host(&file, CArchive::store);
    CArchiveEx ar(&host, name, 1.0, 0);
    T copy = value;
    if (ar.Write(copy, CString("Value")) != 1) return;
  }
  CMemFile again(file.Contents());
  CArchive host(&again, CArchive::load);
  CArchiveEx ar(&host, name, 1.0, 0);
  T back{};
  if (ar.Read(back, CString("value")) != 1 || !(back == value || back != back)) __builtin_trap();
}

template <class T>
void ReadOne(CArchiveEx& ar, const char* label) {
  T value{};
  const T before = value;
  if (ar.Read(value, CString(label)) == 1) {
    CheckStable(value);
  } else if (!(value == before)) {
    __builtin_trap();  // a failed read changed the caller's value
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  labarc::fuzzing::FuzzInput input(data, size, 1.0);
  CArchiveEx& ar = input.Archive();
  ar.ReadHeader();
  CString section;
  ar.ReadSectionHeader(section);
  ReadOne<CString>(ar, "Name");
  ReadOne<int>(ar, "Count");
  ReadOne<double>(ar, "Gain");
  ReadOne<BYTE>(ar, "Channel");
  ReadOne<UINT>(ar, "Flags");
  ReadOne<long>(ar, "Offset");
  ReadOne<unsigned long>(ar, "Color");
  ar.GoToSection(CString("Data"));
  ReadOne<CString>(ar, "");
  return 0;
}
