// Graph windows: the run of graph/window_describe.h. The working copy starts as a copy of the
// caller's whole object, so the members without entries come out of a read as they were.
#include <labarc/archive/internal/entry_io.h>
#include <labarc/graph/window_describe.h>

int CArchiveEx::Write(const _WINDOW& window) { return labarc::WriteRun(*this, window); }

int CArchiveEx::Read(_WINDOW& window) { return labarc::ReadRun(*this, window, window); }
