// Graph windows: the run of graph/window_describe.h.
#include "archive/entry_io.h"
#include "graph/window_describe.h"

int CArchiveEx::Write(const _WINDOW& window) { return labarc::WriteRun(*this, window); }

int CArchiveEx::Read(_WINDOW& window) {
  return labarc::ReadRun(*this, window, window,
                         [&](const labarc::EntryReader& io, _WINDOW& working) {
                           // The legend's assignment does not carry its redraw timer.
                           working.legend.m_nRedrawTimer = window.legend.m_nRedrawTimer;
                           return labarc::Describe(io, working);
                         });
}
