// Tick labels and tick marks: the runs of graph/ticks_describe.h.
#include <labarc/archive/internal/entry_io.h>
#include <labarc/graph/ticks_describe.h>

int CArchiveEx::Write(const _TICKLABEL& tickLabel) { return labarc::WriteRun(*this, tickLabel); }

int CArchiveEx::Read(_TICKLABEL& tickLabel) { return labarc::ReadRun(*this, tickLabel, tickLabel); }

int CArchiveEx::Write(const TICKMARK& tickMark) { return labarc::WriteRun(*this, tickMark); }

int CArchiveEx::Read(TICKMARK& tickMark) { return labarc::ReadRun(*this, tickMark, tickMark); }
