#include <labarc/curve/curve_obj.h>

#include <algorithm>
#include <limits>
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

void CCurveObj::ResetPoints(int numPoints) {
  m_nNumPoints = numPoints > 0 ? numPoints : 0;
  m_points = {};  // the storage goes too, as a fresh curve has none
  m_extents = {};
  m_bScaled = false;
}

void CCurveObj::ReservePoints(int count) {
  m_points.reserve(static_cast<std::size_t>(std::clamp(count, 0, m_nNumPoints)));
}

std::span<CURVEPOINT> CCurveObj::FillPoints(int end) {
  const auto size = static_cast<std::size_t>(std::clamp(end, 0, m_nNumPoints));
  if (size > m_points.size()) m_points.resize(size);
  m_bScaled = false;
  return {m_points.data(), size};
}

void CCurveObj::SetPointOutOfOrder(std::size_t at, const CURVEPOINT& point) {
  if (at >= m_points.size()) m_points.resize(at + 1);
  m_points[at] = point;
}

void CCurveObj::ScaleCurve() {
  // A NaN coordinate marks no position: it takes no part in its axis's extent, wherever it
  // stands (taking the first point's as the start would let a leading NaN spoil the extent).
  // Every comparison with a NaN is false, so the running extents below pass over it; an axis
  // whose extents are still the empty ones had no coordinate but NaNs.
  constexpr double kInf = std::numeric_limits<double>::infinity();
  double minX = kInf, maxX = -kInf, minY = kInf, maxY = -kInf;
  const auto widen = [](double value, double& least, double& most) {
    least = value < least ? value : least;
    most = most < value ? value : most;
  };
  for (const CURVEPOINT& point : m_points) {
    widen(point.dX, minX, maxX);
    widen(point.dY, minY, maxY);
  }
  if (m_points.size() < static_cast<std::size_t>(m_nNumPoints)) {  // the points not set read as 0
    widen(0, minX, maxX);
    widen(0, minY, maxY);
  }
  const bool anyX = minX <= maxX, anyY = minY <= maxY;
  m_extents = {anyX ? minX : 0, anyX ? maxX : 0, anyY ? minY : 0, anyY ? maxY : 0};
  m_bScaled = true;
}
