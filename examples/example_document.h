// The example document: a run's settings, three measured curves, a chart's text and frame, and
// the graph's layout.
#pragma once

#include <labarc/labarc.h>

// Writes the whole document through `ar`, header first.
void WriteExampleDocument(CArchiveEx& ar);
// Saves it to the file at `path`; false when the file cannot be opened.
bool WriteExampleDocument(const char* path);
