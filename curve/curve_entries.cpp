// Curve entries: a curve is stored as its name and point count, its characteristics (one table
// below, used by the writer and the reader alike), then three groups of unlabelled point lines:
// every x coordinate, every y coordinate, every flag, twelve values to a line, each value
// followed by ", ". Reading fills a working curve and hands it over only when all of it was read.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>

#include "archive/entry_io.h"
#include "archive/value_controls.h"
#include "curve/curve_obj.h"

namespace {

constexpr const char* kNameLabel = "Curve Name";
constexpr const char* kCountLabel = "Number Of Curve Points";
constexpr int kValuesPerLine = 12;

// Files written by application versions before this one could hold symbol factors up to 12,
// which later versions draw far too large; those are read as the default factor.
constexpr double kSymbolFactorVersion = 3.52;
constexpr int kLargestOldSymbolFactor = 6;
constexpr int kDefaultSymbolFactor = 4;

// The rules of particular characteristics, as accessor pairs. A writer calls the getter; a
// reader reads the setter's value type and calls the setter, with the archive when it matters.

// The key and its sub-key share one entry: "key::sub-key", or the key alone when there is none.
CString ComposeEntityKey(const CCurveObj& curve) {
  CString value = curve.GetEntityKey();
  if (curve.GetEntitySubKey() != "N/A") {
    value += "::";
    value += curve.GetEntitySubKey();
  }
  return value;
}

void SplitEntityKey(CCurveObj& curve, const CString& value, const CArchiveEx&) {
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

void StoreSymbolFactor(CCurveObj& curve, int value, const CArchiveEx& archive) {
  const bool oldFile = archive.GetApplVersion() < kSymbolFactorVersion;
  curve.SetSymbolFactor(oldFile && value > kLargestOldSymbolFactor ? kDefaultSymbolFactor : value);
}

// The characteristics after the name and the count, in file order. "Symbol Deselect Color"
// stands twice: the file carries it twice, and the second value read is the one that stays.
// "Symbol Type" and the increments kinds are written as signed numbers: for every value from 0 up
// that is the same text an unsigned entry gives, and a negative value stays readable.
template <class Io>
bool DescribeCharacteristics(const Io& io) {
  using C = CCurveObj;
  return io("Identifier", &C::GetIdentifier, &C::SetIdentifier) &&
         io("Entity Key", ComposeEntityKey, SplitEntityKey) &&
         io("Draw", &C::GetDraw, &C::SetDraw) &&
         io("Selectable", &C::GetSelectable, &C::SetSelectable) &&
         io("Movable", &C::GetMovable, &C::SetMovable) &&
         io("Read Only", &C::GetReadOnly, &C::SetReadOnly) &&
         io("Edit Name", &C::GetEditName, &C::SetEditName) &&
         io("Hide From Legend", &C::GetHideFromLegend, &C::SetHideFromLegend) &&
         io("X Or", &C::GetXOr, &C::SetXOr) &&  //
         io("Not", &C::GetNot, &C::SetNot) && io("Y Axis", &C::GetYAxis, &C::SetYAxis) &&
         io("Line On", &C::GetLineOn, &C::SetLineOn) &&
         io("Line Style", &C::GetLineStyle, &C::SetLineStyle) &&
         io("Line Type", &C::GetLineType, &C::SetLineType) &&
         io("Line Width", &C::GetLineWidth, &C::SetLineWidth) &&
         io("Line Color", &C::GetLineColor, &C::SetLineColor) &&
         io("Symbol On", &C::GetSymbolOn, &C::SetSymbolOn) &&
         io("Symbol Type", &C::GetSymbolType, &C::SetSymbolType) &&
         io("Symbol Color", &C::GetSymbolColor, &C::SetSymbolColor) &&
         io("Symbol Factor", &C::GetSymbolFactor, StoreSymbolFactor) &&
         io("Symbol Intervals", &C::GetSymbolIntervals, &C::SetSymbolIntervals) &&
         io("Symbol Deselect Color", &C::GetSymbolDeselectColor, &C::SetSymbolDeselectColor) &&
         io("Symbol Deselect Color", &C::GetSymbolDeselectColor, &C::SetSymbolDeselectColor) &&
         io("X Increment Type", IncrementTypeText<&C::GetXIncrementType>,
            StoreIncrementType<&C::SetXIncrementType>) &&
         io("X Increments", IncrementsValue<&C::GetXIncrement>,
            StoreIncrements<&C::SetXIncrement>) &&
         io("X Title", &C::GetXTitle, &C::SetXTitle) &&
         io("Y Increment Type", IncrementTypeText<&C::GetYIncrementType>,
            StoreIncrementType<&C::SetYIncrementType>) &&
         io("Y Increments", IncrementsValue<&C::GetYIncrement>,
            StoreIncrements<&C::SetYIncrement>) &&
         io("Y Title", &C::GetYTitle, &C::SetYTitle);
}

// The value type a setter takes, which is the type its entry is read as.
template <class Set>
struct SetterValue;
template <class T>
struct SetterValue<void (CCurveObj::*)(T)> {
  using type = std::remove_cvref_t<T>;
};
template <class T>
struct SetterValue<void (*)(CCurveObj&, T, const CArchiveEx&)> {
  using type = std::remove_cvref_t<T>;
};

class CharacteristicWriter {
 public:
  CharacteristicWriter(CArchiveEx& archive, const CCurveObj& curve)
      : m_archive(archive), m_curve(curve) {}

  template <class Get, class Set>
  bool operator()(const char* label, Get get, Set) const {
    return m_archive.Write(std::invoke(get, m_curve), CString(label)) == 1;
  }

 private:
  CArchiveEx& m_archive;
  const CCurveObj& m_curve;
};

// Stores each characteristic in the working curve as soon as it was read.
class CharacteristicReader {
 public:
  CharacteristicReader(CArchiveEx& archive, CCurveObj& curve)
      : m_archive(archive), m_curve(curve) {}

  template <class Get, class Set>
  bool operator()(const char* label, Get, Set set) const {
    typename SetterValue<Set>::type value{};
    if (m_archive.Read(value, CString(label)) != 1) return false;
    if constexpr (std::is_member_function_pointer_v<Set>)
      (m_curve.*set)(value);
    else
      set(m_curve, value, m_archive);
    return true;
  }

 private:
  CArchiveEx& m_archive;
  CCurveObj& m_curve;
};

// The three point groups: which field of a point each carries, and its text.
template <double CURVEPOINT::*Field>
struct CoordinateGroup {
  static void Append(const CURVEPOINT& point, labarc::ValueText& text) {
    CDouble::AppendText(point.*Field, text);
  }
  static bool Parse(std::string_view text, CURVEPOINT& point) {
    return CDouble::Validate(text, point.*Field);
  }
};
using XGroup = CoordinateGroup<&CURVEPOINT::dX>;
using YGroup = CoordinateGroup<&CURVEPOINT::dY>;

// A flag is the byte's decimal text, so the usual flag 1 is the single character 1.
struct FlagGroup {
  static void Append(const CURVEPOINT& point, labarc::ValueText& text) {
    CByte::AppendText(static_cast<BYTE>(point.cFlag), text);
  }
  static bool Parse(std::string_view text, CURVEPOINT& point) {
    BYTE flag = 0;
    if (!CByte::Validate(text, flag)) return false;
    point.cFlag = static_cast<char>(flag);
    return true;
  }
};

// One point line being built, on the stack: twelve values of at most a value text each.
class PointLine {
 public:
  void Add(const labarc::ValueText& value) {
    const std::string_view text = value.View();
    std::char_traits<char>::copy(m_chars + m_size, text.data(), text.size());
    m_size += text.size();
    m_chars[m_size++] = ',';
    m_chars[m_size++] = ' ';
  }
  std::string_view View() const { return {m_chars, m_size}; }

 private:
  char m_chars[kValuesPerLine * (labarc::ValueText::kCapacity + 2)];
  std::size_t m_size = 0;
};

// The next value of a point line: the text up to the next comma, or to the end of the line.
// A blank after the previous comma stays at its front; the value controls accept it.
bool NextPointValue(std::string_view& rest, std::string_view& value) {
  if (rest.empty()) return false;
  const std::size_t comma = rest.find(',');
  value = rest.substr(0, comma);
  rest.remove_prefix(comma == rest.npos ? rest.size() : comma + 1);
  return true;
}

// An upper bound on the points the archive's file can deliver, from its whole length: every point
// takes at least one character and a separator in each of the three groups.
int DeliverablePoints(const CFile* file, int count) {
  constexpr std::uint64_t kLeastBytesPerPoint = 6;
  const std::uint64_t length = file ? file->GetLength() : 0;
  const std::uint64_t most = length / kLeastBytesPerPoint + kValuesPerLine;
  return most < static_cast<std::uint64_t>(count) ? static_cast<int>(most) : count;
}

}  // namespace

int CArchiveEx::Write(CCurveObj& curve) {
  if (Write(curve.GetName(), CString(kNameLabel)) != 1 ||
      Write(curve.GetNumPoints(), CString(kCountLabel)) != 1 ||
      !DescribeCharacteristics(CharacteristicWriter(*this, curve)))
    return HandleError(nullptr);

  const int count = curve.GetNumPoints();
  const auto writeGroup = [&]<class Group>(Group) {
    labarc::Label none = labarc::Label::Pointer(nullptr);
    for (int index = 0; index < count;) {
      PointLine line;
      for (const int end = index + std::min(kValuesPerLine, count - index); index < end; ++index) {
        CURVEPOINT point;
        curve.GetCurvePoint(index, &point);
        labarc::ValueText value;
        Group::Append(point, value);
        line.Add(value);
      }
      if (WriteEntry(line.View(), none) != 1) return false;
    }
    return true;
  };
  if (!writeGroup(XGroup{}) || !writeGroup(YGroup{}) || !writeGroup(FlagGroup{}))
    return HandleError(nullptr);
  return 1;
}

int CArchiveEx::Read(CCurveObj& curve) {
  CString name;
  int count = 0;
  if (Read(name, CString(kNameLabel)) != 1 || Read(count, CString(kCountLabel)) != 1)
    return HandleError(nullptr);
  if (count < 0) {
    labarc::ValueText text;
    CLong::AppendText(count, text);
    return Fail(FailureKind::valueRefused, kCountLabel, text.View(), kCountLabel);
  }

  // The count is not trusted with memory: room is made ahead for no more points than the file
  // can hold, and beyond that the working curve grows only as values arrive.
  const auto working = std::make_unique<CCurveObj>(count);
  working->CopyCurveCharacteristics(&curve, 0);
  working->SetName(name);
  working->ReservePoints(DeliverablePoints(GetFile(), count));
  if (!DescribeCharacteristics(CharacteristicReader(*this, *working))) return HandleError(nullptr);

  const auto readGroup = [&]<class Group>(Group) {
    labarc::Label none = labarc::Label::Pointer(nullptr);
    for (int index = 0; index < count;) {
      std::string_view rest;
      if (ReadEntry(rest, none) != 1) return false;
      for (const int end = index + std::min(kValuesPerLine, count - index); index < end; ++index) {
        CURVEPOINT point;
        working->GetCurvePoint(index, &point);
        std::string_view value;
        if (!NextPointValue(rest, value)) {
          NoteFailure(FailureKind::tooFewValues, {}, {});
          return false;
        }
        if (!Group::Parse(value, point)) {
          NoteFailure(FailureKind::valueRefused, {}, value);
          return false;
        }
        working->SetCurvePoint(index, point);
      }
    }
    return true;
  };
  if (!readGroup(XGroup{}) || !readGroup(YGroup{}) || !readGroup(FlagGroup{}))
    return HandleError(nullptr);

  curve = std::move(*working);
  curve.ScaleCurve();
  return 1;
}
