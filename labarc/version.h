// The version of the labarc library: of this code, not of the files it reads and writes (the
// archive format has a version of its own, CArchiveEx::ARCHIVE_VERSION).
#pragma once

#include <labarc/framework/export.h>

#define LABARC_VERSION_MAJOR 1
#define LABARC_VERSION_MINOR 3
#define LABARC_VERSION_PATCH 0
#define LABARC_VERSION_STRING "1.3.0"

namespace labarc {

// The version of the library the program runs with, as "major.minor.patch". With a shared
// library it may differ from LABARC_VERSION_STRING, the version the program was compiled against.
LABARC_API const char* LibraryVersion();

}  // namespace labarc
