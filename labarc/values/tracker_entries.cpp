// Rectangle trackers: the run of values/tracker_describe.h.
#include <labarc/archive/internal/entry_io.h>
#include <labarc/values/tracker_describe.h>

int CArchiveEx::Write(const CRectTracker& tracker) { return labarc::WriteRun(*this, tracker); }

int CArchiveEx::Read(CRectTracker& tracker) { return labarc::ReadRun(*this, tracker, tracker); }
