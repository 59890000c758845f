#include <labarc/curve/curve_obj.h>

#include <algorithm>
#include <cmath>
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

void CCurveObj::SetPointOutOfOrder(std::size_t at, const CURVEPOINT& point) {
  if (at >= m_points.size()) m_points.resize(at + 1);
  m_points[at] = point;
}

void CCurveObj::ScaleCurve() {
  // A NaN coordinate marks no position: it takes no part in its axis's extent, wherever it
  // stands (taking the first point's as the start would let a leading NaN spoil the extent).
  const auto widen = [](double value, bool& any, double& least, double& most) {
    if (std::isnan(value)) return;
    least = any ? std::min(least, value) : value;
    most = any ? std::max(most, value) : value;
    any = true;
  };
  m_extents = {};
  bool anyX = false, anyY = false;
  for (int index = 0; index < m_nNumPoints; ++index) {
    CURVEPOINT point;
    GetCurvePoint(index, &point);
    widen(point.dX, anyX, m_extents.dMinX, m_extents.dMaxX);
    widen(point.dY, anyY, m_extents.dMinY, m_extents.dMaxY);
  }
  m_bScaled = true;
}
