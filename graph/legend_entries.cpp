// Legends: the run of graph/legend_describe.h.
#include "archive/entry_io.h"
#include "graph/legend_describe.h"

int CArchiveEx::Write(const CLegend& legend) { return labarc::WriteRun(*this, legend); }

int CArchiveEx::Read(CLegend& legend) {
  return labarc::ReadRun(
      *this, legend, legend, [&](const labarc::EntryReader& io, CLegend& working) {
        working.m_nDrawGeneration = legend.m_nDrawGeneration;  // the trailing member, by hand
        return labarc::Describe(io, working);
      });
}
