#include <labarc/version.h>

#include <string_view>

#define LABARC_STRINGIFY(x) #x
#define LABARC_VERSION_TEXT(major, minor, patch) \
  LABARC_STRINGIFY(major) "." LABARC_STRINGIFY(minor) "." LABARC_STRINGIFY(patch)

static_assert(std::string_view(LABARC_VERSION_STRING) == LABARC_VERSION_TEXT(LABARC_VERSION_MAJOR,
                                                                             LABARC_VERSION_MINOR,
                                                                             LABARC_VERSION_PATCH),
              "LABARC_VERSION_STRING must spell out the three version numbers");

namespace labarc {

const char* LibraryVersion() { return LABARC_VERSION_STRING; }

}  // namespace labarc
