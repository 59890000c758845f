// The curve library's curve: a named series of points with the characteristics that say how it
// is drawn and selected. Points live in one contiguous vector; storage for them is made as
// points are set, so a curve can be given a point count it has not received yet.
#pragma once

#include <span>
#include <vector>

#include <labarc/framework/cstring.h>
#include <labarc/framework/export.h>
#include <labarc/framework/win_types.h>

// One point: its flag and its coordinates.
struct CURVEPOINT {
  char cFlag = 0;
  double dX = 0;
  double dY = 0;

  bool operator==(const CURVEPOINT&) const = default;
};

class LABARC_API CCurveObj {
 public:
  // How the values step along an axis.
  enum INCREMENTS : int { LINEAR = 0, LOGARITHMIC = 1, DATE = 2 };

  // The x and y extents of the points, as the last ScaleCurve found them.
  struct EXTENTS {
    double dMinX = 0, dMaxX = 0, dMinY = 0, dMaxY = 0;
    bool operator==(const EXTENTS&) const = default;
  };

  // A curve of `numPoints` points (none when negative); points not yet set read as zero.
  explicit CCurveObj(int numPoints = 0) : m_nNumPoints(numPoints > 0 ? numPoints : 0) {}
  CCurveObj(const CCurveObj&) = default;
  CCurveObj(CCurveObj&&) noexcept = default;
  const CCurveObj& operator=(const CCurveObj& src);
  const CCurveObj& operator=(CCurveObj&& src) noexcept;
  virtual ~CCurveObj();
  virtual const CString& GetEntitySubKey() const { return m_c.m_strEntitySubKey; }
  virtual const CString& GetEntityKey() const { return m_c.m_strEntityKey; }

  bool operator==(const CCurveObj&) const = default;

  // Takes every characteristic of `source` (all but the points); `what` 0 selects them all.
  void CopyCurveCharacteristics(CCurveObj* source, int what);
  // Makes this curve what CCurveObj(numPoints) is, but for the characteristics, which stay: a
  // reader sizes its working curve this way without copying them.
  void ResetPoints(int numPoints);

  int GetNumPoints() const { return m_nNumPoints; }
  // FALSE for an index outside 0 to GetNumPoints() - 1.
  BOOL GetCurvePoint(int index, CURVEPOINT* point) const {
    if (index < 0 || index >= m_nNumPoints) return FALSE;
    const auto at = static_cast<std::size_t>(index);
    *point = at < m_points.size() ? m_points[at] : CURVEPOINT{};
    return TRUE;
  }
  BOOL SetCurvePoint(int index, CURVEPOINT& point) {
    if (index < 0 || index >= m_nNumPoints) return FALSE;
    const auto at = static_cast<std::size_t>(index);
    if (at == m_points.size())
      m_points.push_back(point);  // the usual way a curve fills: in order, inline
    else
      SetPointOutOfOrder(at, point);
    m_bScaled = false;
    return TRUE;
  }
  // Points 0 to `end` - 1 (`end` at most the curve's count) as storage to fill in place; points
  // made here read as zero until filled.
  std::span<CURVEPOINT> FillPoints(int end);
  // The points set so far, from index 0; the points after them read as zero.
  std::span<const CURVEPOINT> GetStoredPoints() const { return m_points; }
  // Makes room for `count` points (at most the curve's count) ahead of setting them.
  void ReservePoints(int count);

  // Recomputes the extents of the points for drawing; NaN coordinates take no part, and an axis
  // without any other has the extent 0 to 0.
  void ScaleCurve();
  bool IsScaled() const { return m_bScaled; }
  const EXTENTS& GetExtents() const { return m_extents; }

  INCREMENTS GetXIncrement() const { return m_c.m_eXIncrement; }
  void SetXIncrement(INCREMENTS kind) { m_c.m_eXIncrement = kind; }
  INCREMENTS GetYIncrement() const { return m_c.m_eYIncrement; }
  void SetYIncrement(INCREMENTS kind) { m_c.m_eYIncrement = kind; }

  const CString& GetName() const { return m_c.m_strName; }
  void SetName(const CString& value) { m_c.m_strName = value; }
  const CString& GetIdentifier() const { return m_c.m_strIdentifier; }
  void SetIdentifier(const CString& value) { m_c.m_strIdentifier = value; }
  void SetEntityKey(const CString& value) { m_c.m_strEntityKey = value; }
  void SetEntitySubKey(const CString& value) { m_c.m_strEntitySubKey = value; }
  int GetHasEntitySubKey() const { return m_c.m_bHasEntitySubKey; }
  void SetHasEntitySubKey(int value) { m_c.m_bHasEntitySubKey = value; }
  int GetDraw() const { return m_c.m_nDraw; }
  void SetDraw(int value) { m_c.m_nDraw = value; }
  int GetSelectable() const { return m_c.m_nSelectable; }
  void SetSelectable(int value) { m_c.m_nSelectable = value; }
  int GetMovable() const { return m_c.m_nMovable; }
  void SetMovable(int value) { m_c.m_nMovable = value; }
  int GetReadOnly() const { return m_c.m_nReadOnly; }
  void SetReadOnly(int value) { m_c.m_nReadOnly = value; }
  int GetEditName() const { return m_c.m_nEditName; }
  void SetEditName(int value) { m_c.m_nEditName = value; }
  int GetHideFromLegend() const { return m_c.m_nHideFromLegend; }
  void SetHideFromLegend(int value) { m_c.m_nHideFromLegend = value; }
  int GetXOr() const { return m_c.m_nXOr; }
  void SetXOr(int value) { m_c.m_nXOr = value; }
  int GetNot() const { return m_c.m_nNot; }
  void SetNot(int value) { m_c.m_nNot = value; }
  int GetYAxis() const { return m_c.m_nYAxis; }
  void SetYAxis(int value) { m_c.m_nYAxis = value; }
  int GetLineOn() const { return m_c.m_nLineOn; }
  void SetLineOn(int value) { m_c.m_nLineOn = value; }
  int GetLineStyle() const { return m_c.m_nLineStyle; }
  void SetLineStyle(int value) { m_c.m_nLineStyle = value; }
  int GetLineType() const { return m_c.m_nLineType; }
  void SetLineType(int value) { m_c.m_nLineType = value; }
  int GetLineWidth() const { return m_c.m_nLineWidth; }
  void SetLineWidth(int value) { m_c.m_nLineWidth = value; }
  unsigned long GetLineColor() const { return m_c.m_crLineColor; }
  void SetLineColor(unsigned long value) { m_c.m_crLineColor = value; }
  int GetSymbolOn() const { return m_c.m_nSymbolOn; }
  void SetSymbolOn(int value) { m_c.m_nSymbolOn = value; }
  int GetSymbolType() const { return m_c.m_nSymbolType; }
  void SetSymbolType(int value) { m_c.m_nSymbolType = value; }
  unsigned long GetSymbolColor() const { return m_c.m_crSymbolColor; }
  void SetSymbolColor(unsigned long value) { m_c.m_crSymbolColor = value; }
  int GetSymbolFactor() const { return m_c.m_nSymbolFactor; }
  void SetSymbolFactor(int value) { m_c.m_nSymbolFactor = value; }
  int GetSymbolIntervals() const { return m_c.m_nSymbolIntervals; }
  void SetSymbolIntervals(int value) { m_c.m_nSymbolIntervals = value; }
  unsigned long GetSymbolDeselectColor() const { return m_c.m_crSymbolDeselectColor; }
  void SetSymbolDeselectColor(unsigned long value) { m_c.m_crSymbolDeselectColor = value; }
  char GetXIncrementType() const { return m_c.m_cXIncrementType; }
  void SetXIncrementType(char value) { m_c.m_cXIncrementType = value; }
  const CString& GetXTitle() const { return m_c.m_strXTitle; }
  void SetXTitle(const CString& value) { m_c.m_strXTitle = value; }
  char GetYIncrementType() const { return m_c.m_cYIncrementType; }
  void SetYIncrementType(char value) { m_c.m_cYIncrementType = value; }
  const CString& GetYTitle() const { return m_c.m_strYTitle; }
  void SetYTitle(const CString& value) { m_c.m_strYTitle = value; }

 private:
  // Out of line: growing the vector inside every caller's inlined loop only adds code (and a
  // false overflow warning from GCC 12 at -O3).
  void SetPointOutOfOrder(std::size_t at, const CURVEPOINT& point);
  // Everything but the count and the points: what CopyCurveCharacteristics copies.
  struct Characteristics {
    CString m_strName;
    CString m_strIdentifier;
    CString m_strEntityKey;
    CString m_strEntitySubKey = "N/A";
    int m_bHasEntitySubKey = 0;
    int m_nDraw = 1;
    int m_nSelectable = 1;
    int m_nMovable = 0;
    int m_nReadOnly = 0;
    int m_nEditName = 1;
    int m_nHideFromLegend = 0;
    int m_nXOr = 0;
    int m_nNot = 0;
    int m_nYAxis = 0;
    int m_nLineOn = 1;
    int m_nLineStyle = 0;
    int m_nLineType = 0;
    int m_nLineWidth = 1;
    unsigned long m_crLineColor = 0;
    int m_nSymbolOn = 0;
    int m_nSymbolType = 0;
    unsigned long m_crSymbolColor = 0;
    int m_nSymbolFactor = 4;
    int m_nSymbolIntervals = 1;
    unsigned long m_crSymbolDeselectColor = 0;
    char m_cXIncrementType = 'N';
    INCREMENTS m_eXIncrement = LINEAR;
    CString m_strXTitle;
    char m_cYIncrementType = 'N';
    INCREMENTS m_eYIncrement = LINEAR;
    CString m_strYTitle;

    bool operator==(const Characteristics&) const = default;
  };

  Characteristics m_c;
  int m_nNumPoints = 0;
  std::vector<CURVEPOINT> m_points;  // the first points set; the rest read as zero
  EXTENTS m_extents;
  bool m_bScaled = false;
};
