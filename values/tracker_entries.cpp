// Rectangle trackers: the run of values/tracker_describe.h.
#include "archive/entry_io.h"
#include "values/tracker_describe.h"

int CArchiveEx::Write(CRectTracker& tracker) { return labarc::WriteRun(*this, tracker); }

int CArchiveEx::Read(CRectTracker& tracker) { return labarc::ReadRun(*this, tracker, tracker); }
