// Results windows: the run of graph/results_describe.h. The working copy starts as a copy of the
// caller's whole object, so the members without entries come out of a read as they were.
#include <labarc/archive/internal/entry_io.h>
#include <labarc/graph/results_describe.h>

int CArchiveEx::Write(const CResultsWnd& results) { return labarc::WriteRun(*this, results); }

int CArchiveEx::Read(CResultsWnd& results) { return labarc::ReadRun(*this, results, results); }
