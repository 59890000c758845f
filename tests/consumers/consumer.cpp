// Stores one entry and reads it back through labarc as a host project sees it: only
// <labarc/...> is reachable, no generic folder. (That an install holds no internal header is
// checked against the list of public headers.)
#include <labarc/labarc.h>
#include <labarc/version.h>

#include <cstdio>
#include <cstring>

#if __has_include(<labarc.h>) || __has_include(<framework/cstring.h>) || \
    __has_include(<values/date.h>) || __has_include(<archive/archive_ex.h>)
#error "labarc put a generic folder on the include path"
#endif

int main() {
  CMemFile file;
  {
    CArchive host(&file, CArchive::store);
    CArchiveEx ar(&host, "Consumer", 1.0, 0);
    ar.WriteHeader();
    const CRect plotArea(10, 20, 310, 220);
    ar.Write(plotArea, CString("Plot Area"));
  }
  CMemFile copy(file.Contents());
  CArchive host(&copy, CArchive::load);
  CArchiveEx ar(&host, "Consumer", 1.0, 0);
  CRect plotArea;
  const bool read = ar.ReadHeader() == 1 && ar.Read(plotArea, CString("Plot Area")) == 1 &&
                    plotArea == CRect(10, 20, 310, 220);
  const bool sameVersion = std::strcmp(labarc::LibraryVersion(), LABARC_VERSION_STRING) == 0;
  std::printf("consumer: labarc %s, %s\n", labarc::LibraryVersion(),
              read && sameVersion ? "ok" : "FAILED");
  return read && sameVersion ? 0 : 1;
}
