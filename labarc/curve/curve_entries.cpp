// Curve entries: a curve is stored as its name and point count, its characteristics (the table
// of curve/curve_describe.h, used by the writer and the reader alike), then three groups of
// unlabelled point lines: every x coordinate, every y coordinate, every flag, twelve values to a
// line, each value followed by ", ". Reading fills a working curve and hands it over only when all
// of it was read.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <labarc/archive/internal/entry_io.h>
#include <labarc/archive/value_controls.h>
#include <labarc/curve/curve_describe.h>
#include <labarc/curve/curve_obj.h>

namespace {

using labarc::kCurveNameLabel;
using labarc::kCurvePointCountLabel;
constexpr int kValuesPerLine = 12;

// The three point groups: which field of a point each carries, and its text. Put writes the text
// at `first`, which has room for kMaxValueText characters, and returns its end.
constexpr std::size_t kMaxValueText = labarc::kMaxDoubleText;

template <double CURVEPOINT::*Field, const char* Name>
struct CoordinateGroup {
  static constexpr const char* kName = Name;
  static char* Put(const CURVEPOINT& point, char* first) {
    return labarc::FormatDouble(point.*Field, first);
  }
  static bool Take(std::string_view& rest, CURVEPOINT& point) {
    return labarc::TakeDoubleField(rest, ',', point.*Field);
  }
};
constexpr char kXValues[] = "x values";
constexpr char kYValues[] = "y values";
using XGroup = CoordinateGroup<&CURVEPOINT::dX, kXValues>;
using YGroup = CoordinateGroup<&CURVEPOINT::dY, kYValues>;

// A flag is the byte's decimal text, so the usual flag 1 is the single character 1.
struct FlagGroup {
  static constexpr const char* kName = "flags";
  static char* Put(const CURVEPOINT& point, char* first) {
    return std::to_chars(first, first + kMaxValueText, static_cast<BYTE>(point.cFlag)).ptr;
  }
  static bool Take(std::string_view& rest, CURVEPOINT& point) {
    BYTE flag = 0;
    if (!labarc::TakeIntegerField(rest, ',', flag)) return false;
    point.cFlag = static_cast<char>(flag);
    return true;
  }
};

// The most a point line can take: twelve values, each with its ", ", and the line end. Number
// texts hold no line end, so the lines are made straight in the archive's buffer.
constexpr std::size_t kPointLineRoom = kValuesPerLine * (kMaxValueText + 2) + 2;

// The memory of a curve read follows the file, not the count it claims. The least text the reader
// accepts for a point is one character and a separator or line end in each of the three groups;
// the file's last line needs no line end.
constexpr std::uint64_t kLeastBytesPerPoint = 6;
// So few points cost less memory than the archive's buffer: they are reserved unasked, and a file
// too short for them fails at the line where it ends, like any other damage.
constexpr int kPointsReservedUnasked = 1024;

// How many points the rest of the file can hold; empty when the file cannot tell (a pipe).
std::optional<std::uint64_t> PointsTheFileCanHold(const CArchive& archive) {
  const auto left = archive.GetBytesLeft();
  if (!left) return std::nullopt;
  return (*left + 1) / kLeastBytesPerPoint;
}

// "x values of curve "Pressure"": how a failure names a point group.
std::string GroupName(const char* group, const CString& curve) {
  return std::string(group) + " of curve \"" + std::string(curve.View()) + "\"";
}

}  // namespace

int CArchiveEx::Write(const CCurveObj& curve) {
  const auto writeGroup = [this]<class Group>(const CCurveObj& from, Group) {
    const int count = from.GetNumPoints();
    for (int index = 0; index < count;) {
      char* const first = WriteSpace(kPointLineRoom);
      char* at = first;
      for (const int end = index + std::min(kValuesPerLine, count - index); index < end; ++index) {
        CURVEPOINT point;
        from.GetCurvePoint(index, &point);
        at = Group::Put(point, at);
        *at++ = ',';
        *at++ = ' ';
      }
      *at++ = '\r';
      *at++ = '\n';
      CommitWrite(static_cast<std::size_t>(at - first));
      CountLine();
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

  // The count is not trusted with memory: a large count the rest of the file cannot hold is
  // refused before anything is reserved, so a curve read never holds more than a few times the
  // file.
  const auto fileCanHold = PointsTheFileCanHold(*this);
  if (count > kPointsReservedUnasked && fileCanHold &&
      static_cast<std::uint64_t>(count) > *fileCanHold) {
    labarc::ValueText text;
    CLong::AppendText(count, text);
    const std::string detail = "curve \"" + std::string(name.View()) +
                               "\" claims more points than the rest of the file can hold";
    return Fail(FailureKind::valueRefused, kCurvePointCountLabel, text.View(),
                kCurvePointCountLabel, detail);
  }
  CCurveObj working(count);
  working.CopyCurveCharacteristics(&curve, 0);
  working.SetName(name);
  working.ReservePoints(fileCanHold || count <= kPointsReservedUnasked ? count
                                                                       : kPointsReservedUnasked);

  const auto readGroup = [this, count, &name]<class Group>(CCurveObj& into, Group) {
    labarc::Label none = labarc::Label::Pointer(nullptr);
    for (int index = 0; index < count;) {
      std::string_view rest;
      if (ReadEntry(rest, none) != 1) return false;
      const int lineStart = index;
      for (const int end = index + std::min(kValuesPerLine, count - index); index < end; ++index) {
        CURVEPOINT point;
        into.GetCurvePoint(index, &point);
        if (rest.find_first_not_of(' ') == std::string_view::npos) {
          const std::string group = GroupName(Group::kName, name);
          const std::string detail = "the point line holds " + std::to_string(index - lineStart) +
                                     " values, the curve needs " + std::to_string(end - lineStart);
          Fail(FailureKind::tooFewValues, group, {}, group.c_str(), detail);
          return false;
        }
        const std::string_view field = rest.substr(0, rest.find(','));
        if (!Group::Take(rest, point)) {
          const std::string group = GroupName(Group::kName, name);
          Fail(FailureKind::valueRefused, group, field, group.c_str());
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
