// Stores one entry and reads it back through the installed library.
#include <labarc.h>

#include <cstdio>

int main() {
  CMemFile file;
  CString name = "Consumer";
  {
    CArchive host(&file, CArchive::store);
    CArchiveEx ar(&host, name, 1.0, 0);
    ar.WriteHeader();
    ar.Write(42, CString("Answer"));
  }
  CMemFile copy(file.Contents());
  CArchive host(&copy, CArchive::load);
  CArchiveEx ar(&host, name, 1.0, 0);
  int answer = 0;
  const bool ok = ar.ReadHeader() == 1 && ar.Read(answer, CString("Answer")) == 1 && answer == 42;
  std::puts(ok ? "consumer: ok" : "consumer: FAILED");
  return ok ? 0 : 1;
}
