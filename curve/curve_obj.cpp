#include "curve/curve_obj.h"

#include <algorithm>
#include <utility>

const CCurveObj& CCurveObj::operator=(const CCurveObj& src) {
  if (this != &src) *this = CCurveObj(src);
  return *this;
}

const CCurveObj& CCurveObj::operator=(CCurveObj&& src) noexcept {
  // The points move, so taking over a freshly loaded curve copies none of them.
  m_c = std::move(src.m_c);
  m_nNumPoints = src.m_nNumPoints;
  m_points = std::move(src.m_points);
  m_extents = src.m_extents;
  m_bScaled = src.m_bScaled;
  return *this;
}

CCurveObj::~CCurveObj() = default;

void CCurveObj::CopyCurveCharacteristics(CCurveObj* source, int /*what*/) {
  if (source && source != this) m_c = source->m_c;
}

void CCurveObj::ReservePoints(int count) {
  m_points.reserve(static_cast<std::size_t>(std::clamp(count, 0, m_nNumPoints)));
}

void CCurveObj::ScaleCurve() {
  m_extents = {};
  for (int index = 0; index < m_nNumPoints; ++index) {
    CURVEPOINT point;
    GetCurvePoint(index, &point);
    if (index == 0) m_extents = {point.dX, point.dX, point.dY, point.dY};
    m_extents.dMinX = std::min(m_extents.dMinX, point.dX);
    m_extents.dMaxX = std::max(m_extents.dMaxX, point.dX);
    m_extents.dMinY = std::min(m_extents.dMinY, point.dY);
    m_extents.dMaxY = std::max(m_extents.dMaxY, point.dY);
  }
  m_bScaled = true;
}
