// Legends: the run of graph/legend_describe.h. The working copy starts as a copy of the
// caller's whole object, so the members without entries come out of a read as they were.
#include <labarc/archive/internal/entry_io.h>
#include <labarc/graph/legend_describe.h>

int CArchiveEx::Write(const CLegend& legend) { return labarc::WriteRun(*this, legend); }

int CArchiveEx::Read(CLegend& legend) { return labarc::ReadRun(*this, legend, legend); }
