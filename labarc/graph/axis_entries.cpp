// Axes: the run of graph/axis_describe.h. The working axis starts as a copy of the caller's, so
// the members without entries come out of a read as they were.
#include <labarc/archive/internal/entry_io.h>
#include <labarc/graph/axis_describe.h>

int CArchiveEx::Write(const _AXIS& axis) { return labarc::WriteRun(*this, axis); }

int CArchiveEx::Read(_AXIS& axis) { return labarc::ReadRun(*this, axis, axis); }
