// Fonts: the run of values/font_describe.h.
#include <labarc/archive/internal/entry_io.h>
#include <labarc/values/font_describe.h>

int CArchiveEx::Write(const tagLOGFONTA& font) { return labarc::WriteRun(*this, font); }

// The fields not read stay zero, whatever the caller's font held.
int CArchiveEx::Read(tagLOGFONTA& font) { return labarc::ReadRun(*this, font, tagLOGFONTA{}); }
