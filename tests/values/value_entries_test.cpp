// Every value type of several parts: its exact text, read back into a target that held another
// value, and no change to that target when the text is cut or damaged anywhere; the other texts
// that are read, and those refused; and the days a date covers.
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <tuple>

#include "support/all_or_nothing.h"

namespace labarc::testing {
namespace {

const LOGFONT kFont{-13, 0, 900, -900, 700, 1, 0, 1, 0, 3, 2, 1, 34, "Arial"};
const std::string kFontText =
    Lines({"Height=-13", "Width=0", "Escapement=900", "Orientation=-900", "Weight=700", "Italic=1",
           "Underline=0", "Strike Out=1", "Char Set=0", "Precision=3", "Clip Precision=2",
           "Quality=1", "Pitch And Family=34", "Face Name=Arial"});

// `value` is stored as `text` (a composite as its run, any other value as one entry labelled
// "V") and reads back, into a target holding `different`, as `read` (by default `value` itself).
template <class T>
void ExpectValue(const T& value, const std::string& text, const T& different,
                 std::optional<T> read = {}) {
  SCOPED_TRACE(text);
  const auto io = [](CArchiveEx& ar, T& v) {  // in the archive's direction
    if constexpr (requires { ar.Read(v); })
      return ar.IsStoring() ? ar.Write(v) : ar.Read(v);
    else
      return ar.IsStoring() ? ar.Write(v, CString("V")) : ar.Read(v, CString("V"));
  };
  const auto write = [&](CArchiveEx& ar) {
    T copy = value;
    return io(ar, copy);
  };
  StoreArchive store;
  ASSERT_EQ(write(*store), 1);
  EXPECT_EQ(store.Text(), text.find('=') == text.npos ? Lines({"V=" + text}) : text);
  LoadArchive load(store.Text());
  T target = different;
  ASSERT_EQ(io(*load, target), 1);
  EXPECT_TRUE(SameValue(target, read.value_or(value)));
  ExpectAllOrNothing(write, io, different);
}

TEST(ValueEntriesTest, EachValuesTextReadAndAllOrNothing) {
  ExpectValue(tagRECT{-5, 0, 100, 50}, "-5 0 100 50", tagRECT{9, 9, 9, 9});
  ExpectValue(CSize(INT32_MIN, INT32_MAX), "-2147483648 2147483647", CSize(9, 9));
  ExpectValue(POINT{7, -8}, "7 -8", POINT{9, 9});
  // Double points used to be written with each coordinate truncated to an integer.
  ExpectValue(DPOINT{2.75, -3.5}, "2.75 -3.5", DPOINT{9, 9});
  ExpectValue(DPOINT{0.1, -0.0}, "0.1 -0", DPOINT{9, 9});
  ExpectValue(DPOINT{NAN, -HUGE_VAL}, "nan -inf", DPOINT{9, 9});
  ExpectValue(DPOINT{1e-310, 1.7976931348623157e308}, "1e-310 1.7976931348623157e+308",
              DPOINT{9, 9});
  ExpectValue(DPOINT{-1e10, 3e9}, "-1e+10 3e+09", DPOINT{9, 9});
  ExpectValue(CDate(2460377), "03/07/2024", CDate(2451545));
  // A colour's top byte is not stored.
  ExpectValue(0ul, "0 0 0", 9ul);
  ExpectValue(0xFF000080ul, "128 0 0", 9ul, {RGB(128, 0, 0)});
  ExpectValue(0x12345678ul, "120 86 52", 9ul, {0x345678ul});
  ExpectValue(0xFFFFFFFFul, "255 255 255", 9ul, {0xFFFFFFul});
  ExpectAllOrNothing([&](CArchiveEx& ar) { return ar.WriteDate(2451545, CString("V")); },
                     [&](CArchiveEx& ar, double& d) { return ar.ReadDate(d, CString("V")); },
                     2460377.5);

  ExpectValue(kFont, kFontText, LOGFONT{1, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, "Mono"});
  ExpectValue(_TEXT{1, RGB(255, 128, 0), 12, -4, RECT{1, 2, 3, 4}, kFont, CString("Dose = f(t)")},
              Lines({"Text Show=1", "Text Color=255 128 0", "Text Location Top=12",
                     "Text Location Left=-4", "Text Obj Bnd=1 2 3 4"}) +
                  kFontText + Lines({"Text Wording=Dose = f(t)"}),
              _TEXT{0, RGB(9, 9, 9), 0, 0, RECT{}, LOGFONT{}, CString("Other")});
  // Drag-time state is not stored, and a read keeps it.
  CRectTracker tracker(CRect(10, 20, 310, 220), 17), other(CRect(1, 1, 1, 1), 9), read = tracker;
  tracker.m_sizeMin = read.m_sizeMin = CSize(8, 6);
  other.m_bTracking = read.m_bTracking = TRUE;
  other.m_ptGrab = read.m_ptGrab = POINT{5, 6};
  ExpectValue(tracker,
              Lines({"Style=17", "Position=10 20 310 220", "Min Size=8 6", "Handle Size=4"}), other,
              {read});
}

// `text` reads as `expected`.
template <class T>
void ExpectRead(const char* text, const T& expected) {
  LoadArchive load(Lines({std::string("V=") + text}));
  T read{};
  ASSERT_EQ(load->Read(read, CString("v")), 1) << text;  // labels match in any letter case
  EXPECT_TRUE(SameValue(read, expected)) << text;
}

// Any run of blanks separates the numbers, and what follows the last is not looked at; older
// files hold integer points.
TEST(ValueEntriesTest, OtherTextsOfTheSameValues) {
  ExpectRead("  10   20  30 ", RGB(10, 20, 30));
  ExpectRead("10 20 30 40", RGB(10, 20, 30));
  ExpectRead("007 08 9", RGB(7, 8, 9));
  ExpectRead("0000000255 0 1 99999", RGB(255, 0, 1));  // pieces after the third: digits only
  ExpectRead("  2   -3  9", DPOINT{2, -3});
  ExpectRead("  1 2   3 4 5", tagRECT{1, 2, 3, 4});
}

// `value` read under `label` in reporting mode into a target holding `kept`: the read must fail,
// report line 1 and the label, and leave the target as it was.
template <class T>
void ExpectRefused(const std::string& label, const char* value, const T& kept) {
  SCOPED_TRACE(label + "=" + value);
  ReportRecorder recorder;
  LoadArchive load(Lines({label + "=" + value}), 1);
  T target = kept;
  EXPECT_EQ(ThrownArchiveCause([&] { load->Read(target, CString(label.c_str())); }), 5);
  EXPECT_TRUE(SameValue(target, kept));
  const std::string report = "line 1!\nFile Name: /documents/load.txt\nSection/Entry: " + label;
  EXPECT_NE(recorder.boxes.at(0).text.find(report), std::string::npos);
}

TEST(ValueEntriesTest, BadTextsNameTheLabelAndChangeNothing) {
  for (const char* value :
       {"", "   ", "10 20", "10,20,30", "10\t20\t30", "-1 0 0", "+5 0 0", "256 0 0", "1 2 3\x80",
        "a b c", "99999999999999999999 0 0", "1 2 300", "1 256 3", "1 2 3 x", "1 2 3 4-"})
    ExpectRefused("Color", value, RGB(1, 2, 3));
  for (const char* value : {"1 2 3", "", "   ", "1\t2 3 4", "1 2 3 x", "1 2 3 4x", "1,2,3,4",
                            "1 2 3 2147483648", "1 2 3 -9223372036854775808", "+1 2 3 4"})
    ExpectRefused("Bounds", value, CRect(9, 9, 9, 9));
  // Days that do not exist, and fields with too few or too many digits.
  for (const char* value :
       {"2/30/2001", "2/29/1900", "4/31/2001", "13/1/2000", "0/1/2000", "1/1/0000", "", "1/1/",
        "1/1/00", "1/1/999", "1/1/02000", "001/1/2000", "1/003/2000", "/1/2000", "1//2000",
        "1-1/2000", "1/1/2000x", "+1/1/2000", "1/1/2000/"})
    ExpectRefused("Start", value, CDate(2451545));
}

// unsigned long is 64 bits here, so a size_t binds to the colour entry: a value that needs more
// than 32 bits must not be stored as a colour that reads back as another number.
TEST(ValueEntriesTest, ColoursWiderThan32BitsAreRefusedAndNothingIsWritten) {
  for (const unsigned long wide : {0x100000000ul, 0x1234567812345678ul, 0xFFFFFFFFFFFFFFFFul}) {
    StoreArchive quiet, reporting(1);
    EXPECT_EQ(quiet->Write(wide, CString("Color")), 0);
    EXPECT_EQ(quiet.Text(), "");
    ReportRecorder reports;
    reporting->Write(1, CString("Before"));
    EXPECT_EQ(ThrownArchiveCause([&] { reporting->Write(wide, CString("Color")); }),
              CArchiveException::badIndex);
    EXPECT_EQ(reporting.Text(), Lines({"Before=1"}));
    EXPECT_NE(reports.boxes.at(0).text.find("Section/Entry: Color"), std::string::npos);
  }
}

// Files of application versions before 3.52 hold font heights above 12 doubled.
TEST(FontEntriesTest, FilesBeforeVersion352HoldDoubledHeights) {
  using Case = std::tuple<double, LONG, LONG>;  // the file's version, the height stored, read
  for (auto [applVersion, stored, read] :
       {Case{3.51, 24, 12}, Case{3.51, 13, 6}, Case{3.51, 12, 12}, Case{3.51, -24, -24},
        Case{3.52, 24, 24}, Case{4.0, 13, 13}}) {
    LOGFONT font = kFont, target{};
    font.lfHeight = stored;
    StoreArchive store(0, kApplName, applVersion);
    ASSERT_EQ(store->WriteHeader() + store->Write(font), 2);
    LoadArchive load(store.Text());
    ASSERT_EQ(load->ReadHeader() + load->Read(target), 2);
    font.lfHeight = read;
    EXPECT_EQ(target, font) << applVersion << " " << stored;
  }
}

// A face name that fills the array without a zero used to be written from beyond the array.
TEST(FontEntriesTest, FaceNamesNeedRoomForTheirZero) {
  for (int length : {0, 31, 32}) {
    LOGFONT font = kFont, read{};
    std::memset(font.lfFaceName, 'F', sizeof font.lfFaceName);
    if (length < 32) font.lfFaceName[length] = '\0';
    StoreArchive store;
    ASSERT_EQ(store->Write(font), 1);
    EXPECT_NE(store.Text().find("Face Name=" + std::string(length, 'F') + "\r\n"),
              std::string::npos);
    ReportRecorder recorder;
    LoadArchive load(store.Text(), 1);
    if (length == 32) {
      EXPECT_EQ(ThrownArchiveCause([&] { load->Read(read); }), 5);
      EXPECT_EQ(read, LOGFONT{});
      EXPECT_EQ(recorder.boxes.at(0).text.find("Section/Entry"), std::string::npos);
    } else {
      ASSERT_EQ(load->Read(read), 1);
      EXPECT_EQ(std::string(read.lfFaceName), std::string(length, 'F'));
      EXPECT_EQ(read.lfFaceName[31], '\0');
    }
  }
}

TEST(DateTest, EveryTextItWritesReadsBackToTheSameDay) {
  CString text;
  EXPECT_EQ(CDate(2451545).FmtMMsDDsYYYY(text, '/'), "01/01/2000");
  EXPECT_EQ(CDate(CDate::kFirstDay).FmtMMsDDsYYYY(text, '-'), "01-01-0001");
  EXPECT_EQ(CDate(0).FmtMMsDDsYYYY(text, '/'), "");
  // Every day from 1900 to 2100, a sample of the others, and the last.
  for (int day = CDate::kFirstDay; day <= CDate::kLastDay + 1;
       day += day >= 2415021 && day < 2488070 ? 1 : 997) {
    const CDate date(std::min(day, +CDate::kLastDay));
    CDate read(0);
    ASSERT_TRUE(read.NewDate(date.FmtMMsDDsYYYY(text, '/')) && read == date) << text.GetString();
  }
  // One-digit months and days, the other separators and blanks around are read too.
  for (const char* other : {"3/7/2024", " 3-07-2024 ", "03.7.2024"}) {
    CDate read(0);
    EXPECT_TRUE(read.NewDate(other) && read == CDate(2460377)) << other;
  }
}

// A Julian value falls in a day from the first day's start to the last day's end; any other
// value, and any day number outside them, makes the null date.
TEST(DateTest, JulianValuesMakeADayOnlyInTheYearsCovered) {
  const double first = CDate::kFirstDay, last = CDate::kLastDay;
  for (auto [julian, day] : {std::pair{first - 0.5, 0.0},
                             {first, first},
                             {2451545.75, 2451545.0},
                             {last + 0.999, last},
                             {last + 1.0, 0.0},
                             {0.0, 0.0},
                             {-HUGE_VAL, 0.0},
                             {HUGE_VAL, 0.0},
                             {std::numeric_limits<double>::quiet_NaN(), 0.0}})
    EXPECT_EQ(CDate(julian).JulianValue(), day) << julian;
  for (auto [number, day] : {std::pair{CDate::kFirstDay - 1, 0.0},
                             {CDate::kFirstDay, first},
                             {CDate::kLastDay, last},
                             {CDate::kLastDay + 1, 0.0}})
    EXPECT_EQ(CDate(number).JulianValue(), day) << number;
}

// WriteDate and ReadDate store a Julian value's day, in every label form; a null date and a
// value that is no day are not written at all.
TEST(DateEntriesTest, JulianValuesInEveryLabelForm) {
  AfxSetStringResource(9301, "Start");
  CString label = "Start";
  StoreArchive store;
  EXPECT_EQ(store->Write(CDate(0), label) + store->WriteDate(NAN, label), 0);
  ASSERT_EQ(store->WriteDate(2460377.9, &label), 1);  // the fraction of the day is not stored
  ASSERT_EQ(store->WriteDate(2460377, 9301u) + store->WriteDate(2460377, nullptr), 2);
  EXPECT_EQ(store.Text(), Lines({"Start=03/07/2024", "Start=03/07/2024", "03/07/2024"}));
  LoadArchive load(store.Text());
  double julian[3] = {};
  ASSERT_EQ(load->ReadDate(julian[0], 9301u) + load->ReadDate(julian[1], &label) +
                load->ReadDate(julian[2], nullptr),
            3);
  EXPECT_TRUE(julian[0] == 2460377 && julian[1] == 2460377 && julian[2] == 2460377);
}

}  // namespace
}  // namespace labarc::testing
