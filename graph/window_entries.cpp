// Graph windows: the run of graph/window_describe.h.
#include "archive/entry_io.h"
#include "graph/window_describe.h"

int CArchiveEx::Write(const _WINDOW& window) { return labarc::WriteRun(*this, window); }

int CArchiveEx::Read(_WINDOW& window) {
  return labarc::ReadRun(*this, window, window,
                         [&](const labarc::EntryReader& io, _WINDOW& working) {
                           // The legend's trailing member, by hand, whatever its assignment does
                           // with it.
                           working.legend.m_nDrawGeneration = window.legend.m_nDrawGeneration;
                           return labarc::Describe(io, working);
                         });
}
