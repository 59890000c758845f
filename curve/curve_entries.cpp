// Curve entries: a curve is stored as its name and point count, its characteristics (one table
// below, used by the writer and the reader alike), then three groups of unlabelled point lines:
// every x coordinate, every y coordinate, every flag, twelve values to a line, each value
// followed by ", ". Reading fills a working curve and hands it over only when all of it was read.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "archive/entry_io.h"
#include "archive/value_controls.h"
#include "curve/curve_describe.h"
#include "curve/curve_obj.h"

namespace {

using labarc::kCurveNameLabel;
using labarc::kCurvePointCountLabel;
constexpr int kValuesPerLine = 12;

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
  const auto writeGroup = [this]<class Group>(const CCurveObj& from, Group) {
    labarc::Label none = labarc::Label::Pointer(nullptr);
    const int count = from.GetNumPoints();
    for (int index = 0; index < count;) {
      PointLine line;
      for (const int end = index + std::min(kValuesPerLine, count - index); index < end; ++index) {
        CURVEPOINT point;
        from.GetCurvePoint(index, &point);
        labarc::ValueText value;
        Group::Append(point, value);
        line.Add(value);
      }
      if (WriteEntry(line.View(), none) != 1) return false;
    }
    return true;
  };
  return labarc::WriteRun(*this, curve, [&](const labarc::EntryWriter& io, CCurveObj& from) {
    int count = from.GetNumPoints();
    return io.Property(kCurveNameLabel, from, &CCurveObj::GetName, &CCurveObj::SetName) &&
           io(kCurvePointCountLabel, count) &&
           labarc::Describe(io, labarc::CurveCharacteristics{from}) && writeGroup(from, XGroup{}) &&
           writeGroup(from, YGroup{}) && writeGroup(from, FlagGroup{});
  });
}

int CArchiveEx::Read(CCurveObj& curve) {
  CString name;
  int count = 0;
  if (Read(name, CString(kCurveNameLabel)) != 1 || Read(count, CString(kCurvePointCountLabel)) != 1)
    return HandleError(nullptr);
  if (count < 0) {
    labarc::ValueText text;
    CLong::AppendText(count, text);
    return Fail(FailureKind::valueRefused, kCurvePointCountLabel, text.View(),
                kCurvePointCountLabel);
  }

  // The count is not trusted with memory: room is made ahead for no more points than the file
  // can hold, and beyond that the working curve grows only as values arrive.
  CCurveObj working(count);
  working.CopyCurveCharacteristics(&curve, 0);
  working.SetName(name);
  working.ReservePoints(DeliverablePoints(GetFile(), count));

  const auto readGroup = [this, count]<class Group>(CCurveObj& into, Group) {
    labarc::Label none = labarc::Label::Pointer(nullptr);
    for (int index = 0; index < count;) {
      std::string_view rest;
      if (ReadEntry(rest, none) != 1) return false;
      for (const int end = index + std::min(kValuesPerLine, count - index); index < end; ++index) {
        CURVEPOINT point;
        into.GetCurvePoint(index, &point);
        std::string_view value;
        if (!NextPointValue(rest, value)) {
          NoteFailure(FailureKind::tooFewValues, {}, {});
          return false;
        }
        if (!Group::Parse(value, point)) {
          NoteFailure(FailureKind::valueRefused, {}, value);
          return false;
        }
        into.SetCurvePoint(index, point);
      }
    }
    return true;
  };
  return labarc::ReadRun(*this, curve, std::move(working),
                         [&](const labarc::EntryReader& io, CCurveObj& into) {
                           if (!labarc::Describe(io, labarc::CurveCharacteristics{into}) ||
                               !readGroup(into, XGroup{}) || !readGroup(into, YGroup{}) ||
                               !readGroup(into, FlagGroup{}))
                             return false;
                           into.ScaleCurve();
                           return true;
                         });
}
