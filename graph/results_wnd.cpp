#include "graph/results_wnd.h"

#include "graph/tracker_equal.h"

bool CResultsWnd::operator==(const CResultsWnd& other) const {
  return labarc::SameTrackerState(*this, other) && m_nResultsShown == other.m_nResultsShown &&
         m_nResultsPosition == other.m_nResultsPosition &&
         m_dptResultsPercent.x == other.m_dptResultsPercent.x &&
         m_dptResultsPercent.y == other.m_dptResultsPercent.y &&
         m_ptResultsSize == other.m_ptResultsSize && m_lfResultsFont == other.m_lfResultsFont &&
         m_nResultsHeight == other.m_nResultsHeight && m_strResults == other.m_strResults &&
         m_nResultsLines == other.m_nResultsLines &&
         m_nResultsLeftMargin == other.m_nResultsLeftMargin &&
         m_nResultsTopMargin == other.m_nResultsTopMargin &&
         m_sizeResultsCharSize == other.m_sizeResultsCharSize &&
         m_nTextGeneration == other.m_nTextGeneration;
}
