// Text objects: the run of values/text_describe.h.
#include <labarc/archive/internal/entry_io.h>
#include <labarc/values/text_describe.h>

int CArchiveEx::Write(const _TEXT& text) { return labarc::WriteRun(*this, text); }

int CArchiveEx::Read(_TEXT& text) { return labarc::ReadRun(*this, text, text); }
