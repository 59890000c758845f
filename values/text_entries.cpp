// Text objects: the run of values/text_describe.h.
#include "archive/entry_io.h"
#include "values/text_describe.h"

int CArchiveEx::Write(_TEXT& text) { return labarc::WriteRun(*this, text); }

int CArchiveEx::Read(_TEXT& text) { return labarc::ReadRun(*this, text, text); }
