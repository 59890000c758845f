// Results windows: the run of graph/results_describe.h.
#include "archive/entry_io.h"
#include "graph/results_describe.h"

int CArchiveEx::Write(const CResultsWnd& results) { return labarc::WriteRun(*this, results); }

int CArchiveEx::Read(CResultsWnd& results) {
  return labarc::ReadRun(
      *this, results, results, [&](const labarc::EntryReader& io, CResultsWnd& working) {
        working.m_nTextGeneration = results.m_nTextGeneration;  // the trailing member, by hand
        return labarc::Describe(io, working);
      });
}
