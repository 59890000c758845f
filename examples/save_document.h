// Saves a document of the example host, as every document should be saved: the old file is
// replaced only by a complete new one.
#pragma once

#include <labarc/labarc.h>

template <class Write>
bool SaveDocument(const char* path, Write write) {
  CSaveFile file;
  if (!file.Open(path)) return false;
  {
    CArchive host(&file, CArchive::store);
    CString applName = "Example Plotter";
    CArchiveEx ar(&host, applName, 3.6, TRUE);
    write(ar);
    ar.Close();  // its last bytes reach the file while a failure can still be raised
    host.Close();
  }
  file.Commit();
  return true;
}
