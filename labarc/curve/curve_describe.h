// A curve's characteristics: the 29 entries after its name and point count, in file order, as
// accessor pairs. A writer calls the getter; a reader reads the setter's value type and calls the
// setter, with the archive where the file's version matters.
#pragma once

#include <climits>
#include <cstdint>

#include <labarc/archive/archive_ex.h>
#include <labarc/archive/describe.h>
#include <labarc/curve/curve_obj.h>
#include <labarc/framework/cstring.h>

namespace labarc {

// The labels of the two entries that open a curve, before its characteristics.
inline constexpr char kCurveNameLabel[] = "Curve Name";
inline constexpr char kCurvePointCountLabel[] = "Number Of Curve Points";
// The least text the reader accepts for a point: one character and a separator or line end in
// each of its three point lines. A count the rest of the file cannot hold at this is refused.
inline constexpr std::uint64_t kLeastBytesPerPoint = 6;

// The characteristics part of a curve, as a composite of its own.
struct CurveCharacteristics {
  CCurveObj& curve;
};

// Files written by application versions before this one could hold symbol factors up to 12,
// which later versions draw far too large; those are read as the default factor.
inline constexpr double kSymbolFactorVersion = 3.52;
inline constexpr int kLargestOldSymbolFactor = 6;
inline constexpr int kDefaultSymbolFactor = 4;

// Characteristics whose entry text is not simply the accessor's value: a getter-like function
// for the writer and a setter-like one for the reader.

// The key and its sub-key share one entry: "key::sub-key", or the key alone when there is none.
inline CString ComposeEntityKey(const CCurveObj& curve) {
  CString value = curve.GetEntityKey();
  if (curve.GetEntitySubKey() != "N/A") {
    value += "::";
    value += curve.GetEntitySubKey();
  }
  return value;
}

inline void SplitEntityKey(CCurveObj& curve, const CString& value, const CArchiveEx&) {
  const int separator = value.Find("::");
  const bool split = separator >= 1;
  const CString subKey = split ? value.Mid(separator + 2) : CString("N/A");
  curve.SetEntityKey(split ? value.Left(separator) : value);
  curve.SetEntitySubKey(subKey);
  if (subKey != "N/A") curve.SetHasEntitySubKey(1);
}

// An increment type is the character J or N, stored as a one-character string.
template <char (CCurveObj::*Get)() const>
CString IncrementTypeText(const CCurveObj& curve) {
  return CString((curve.*Get)());
}

template <void (CCurveObj::*Set)(char)>
void StoreIncrementType(CCurveObj& curve, const CString& value, const CArchiveEx&) {
  (curve.*Set)(value == "J" ? 'J' : 'N');
}

// An increments kind is stored by its integer value.
template <CCurveObj::INCREMENTS (CCurveObj::*Get)() const>
int IncrementsValue(const CCurveObj& curve) {
  return (curve.*Get)();
}

template <void (CCurveObj::*Set)(CCurveObj::INCREMENTS)>
void StoreIncrements(CCurveObj& curve, int value, const CArchiveEx&) {
  (curve.*Set)(static_cast<CCurveObj::INCREMENTS>(value));
}

inline void StoreSymbolFactor(CCurveObj& curve, int value, const CArchiveEx& archive) {
  const bool oldFile = archive.GetApplVersion() < kSymbolFactorVersion;
  curve.SetSymbolFactor(oldFile && value > kLargestOldSymbolFactor ? kDefaultSymbolFactor : value);
}

// The characteristics after the name and the count, in file order. "Symbol Deselect Color"
// stands twice: the file carries it twice, and the second value read is the one that stays.
// "Symbol Type" and the increments kinds are written as signed numbers: for every value from 0 up
// that is the same text an unsigned entry gives, and a negative value stays readable.
template <class Io>
bool Describe(const Io& io, CurveCharacteristics characteristics) {
  using C = CCurveObj;
  C& curve = characteristics.curve;
  return io.Property("Identifier", curve, &C::GetIdentifier, &C::SetIdentifier) &&
         io.Property("Entity Key", curve, ComposeEntityKey, SplitEntityKey) &&
         io.Property("Draw", curve, &C::GetDraw, &C::SetDraw) &&
         io.Property("Selectable", curve, &C::GetSelectable, &C::SetSelectable) &&
         io.Property("Movable", curve, &C::GetMovable, &C::SetMovable) &&
         io.Property("Read Only", curve, &C::GetReadOnly, &C::SetReadOnly) &&
         io.Property("Edit Name", curve, &C::GetEditName, &C::SetEditName) &&
         io.Property("Hide From Legend", curve, &C::GetHideFromLegend, &C::SetHideFromLegend) &&
         io.Property("X Or", curve, &C::GetXOr, &C::SetXOr) &&  //
         io.Property("Not", curve, &C::GetNot, &C::SetNot) &&
         io.Property("Y Axis", curve, &C::GetYAxis, &C::SetYAxis) &&
         io.Property("Line On", curve, &C::GetLineOn, &C::SetLineOn) &&
         io.Property("Line Style", curve, &C::GetLineStyle, &C::SetLineStyle) &&
         io.Property("Line Type", curve, &C::GetLineType, &C::SetLineType) &&
         io.Property("Line Width", curve, &C::GetLineWidth, &C::SetLineWidth) &&
         io.Property("Line Color", curve, &C::GetLineColor, &C::SetLineColor) &&
         io.Property("Symbol On", curve, &C::GetSymbolOn, &C::SetSymbolOn) &&
         io.Property("Symbol Type", curve, &C::GetSymbolType, &C::SetSymbolType) &&
         io.Property("Symbol Color", curve, &C::GetSymbolColor, &C::SetSymbolColor) &&
         io.Property("Symbol Factor", curve, &C::GetSymbolFactor, StoreSymbolFactor) &&
         io.Property("Symbol Intervals", curve, &C::GetSymbolIntervals, &C::SetSymbolIntervals) &&
         io.Property("Symbol Deselect Color", curve, &C::GetSymbolDeselectColor,
                     &C::SetSymbolDeselectColor) &&
         io.Property("Symbol Deselect Color", curve, &C::GetSymbolDeselectColor,
                     &C::SetSymbolDeselectColor) &&
         io.Property("X Increment Type", curve, IncrementTypeText<&C::GetXIncrementType>,
                     StoreIncrementType<&C::SetXIncrementType>) &&
         io.Property("X Increments", curve, IncrementsValue<&C::GetXIncrement>,
                     StoreIncrements<&C::SetXIncrement>) &&
         io.Property("X Title", curve, &C::GetXTitle, &C::SetXTitle) &&
         io.Property("Y Increment Type", curve, IncrementTypeText<&C::GetYIncrementType>,
                     StoreIncrementType<&C::SetYIncrementType>) &&
         io.Property("Y Increments", curve, IncrementsValue<&C::GetYIncrement>,
                     StoreIncrements<&C::SetYIncrement>) &&
         io.Property("Y Title", curve, &C::GetYTitle, &C::SetYTitle);
}

// A curve takes the points its count says: a reader gives its working curve that many, keeping
// the characteristics read so far.
inline void SizeCurve(CCurveObj& curve, int count) { curve.ResetPoints(count); }

// A whole curve: its name, its point count, its characteristics, then its point lines. A read
// ends by scaling the curve for drawing.
template <class Io>
bool Describe(const Io& io, CCurveObj& curve) {
  int count = curve.GetNumPoints();
  return io.Property(kCurveNameLabel, curve, &CCurveObj::GetName, &CCurveObj::SetName) &&
         io.Count(kCurvePointCountLabel, count, kLeastBytesPerPoint) &&
         io.OnRead([&](const CArchiveEx&) {
           SizeCurve(curve, count);
           return true;
         }) &&
         Describe(io, CurveCharacteristics{curve}) && io.PointLines(curve) &&
         io.OnRead([&](const CArchiveEx&) {
           curve.ScaleCurve();
           return true;
         });
}

// A reader starts from the caller's characteristics, so that whatever the file does not carry
// ends up as the caller had it; the points come from the file alone.
template <>
struct CompositeTraits<CCurveObj> {
  static constexpr const char* name = "curve";
  static CCurveObj Working(const CCurveObj& target) {
    CCurveObj working;
    working.CopyCurveCharacteristics(const_cast<CCurveObj*>(&target), 0);
    return working;
  }
};

}  // namespace labarc
