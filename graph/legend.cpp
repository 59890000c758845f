#include "graph/legend.h"

#include "graph/tracker_equal.h"

bool CLegend::operator==(const CLegend& other) const {
  return labarc::SameTrackerState(*this, other) && m_nLegendShown == other.m_nLegendShown &&
         m_nLegendFloat == other.m_nLegendFloat && m_nCurveCount == other.m_nCurveCount &&
         m_nLegendPosition == other.m_nLegendPosition &&
         m_nLegendDisplay == other.m_nLegendDisplay &&
         m_dLocationPercentX == other.m_dLocationPercentX &&
         m_dLocationPercentY == other.m_dLocationPercentY && m_strTitle == other.m_strTitle &&
         m_lLegendSizeX == other.m_lLegendSizeX && m_lLegendSizeY == other.m_lLegendSizeY &&
         m_crLegendColor == other.m_crLegendColor &&
         m_nLegendFontHeight == other.m_nLegendFontHeight &&
         m_lfLegendFont == other.m_lfLegendFont && m_nDrawGeneration == other.m_nDrawGeneration;
}
