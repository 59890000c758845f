// Numbers under a locale whose decimal mark is a comma, as GUI hosts set it: the whole example
// document is written as in the C locale and reads back.
#include <langinfo.h>

#include <clocale>
#include <cstdlib>

#include "example_document.h"
#include "support/test_support.h"

namespace {
using namespace labarc::testing;

// A locale whose decimal mark is a comma. When the system has none, one is generated into
// `folder` and found there through LOCPATH. Empty when neither works.
std::string CommaDecimalLocale(const TempFolder& folder) {
  const auto usable = [](const char* name) {
    const locale_t locale = ::newlocale(LC_ALL_MASK, name, nullptr);
    if (!locale) return false;
    const bool comma = *::nl_langinfo_l(RADIXCHAR, locale) == ',';
    ::freelocale(locale);
    return comma;
  };
  constexpr const char* kName = "de_DE.UTF-8";
  if (usable(kName)) return kName;
  const std::string generate =
      "localedef -c -i de_DE -f UTF-8 '" + folder / kName + "' > /dev/null 2>&1";
  if (std::system(generate.c_str()) == -1) return {};
  ::setenv("LOCPATH", folder.Path().c_str(), 1);
  return usable(kName) ? kName : "";
}

template <class T>
bool Copy(CArchiveEx& in, CArchiveEx& out, const char* label = nullptr) {
  T value{};
  if constexpr (requires { in.Read(value); })
    return in.Read(value) == 1 && out.Write(value) == 1;
  else
    return in.Read(value, CString(label)) == 1 && out.Write(value, CString(label)) == 1;
}

bool CopySection(CArchiveEx& in, CArchiveEx& out, const char* name) {
  return in.GoToSection(CString(name)) == 1 && out.WriteSectionHeader(CString(name)) == 1;
}

// Reads the example document from `in` and writes each value read to `out`.
bool CopyExampleDocument(CArchiveEx& in, CArchiveEx& out) {
  return in.ReadHeader() == 1 && out.WriteHeader() == 1 && CopySection(in, out, "Run") &&
         Copy<CString>(in, out, "Title") && Copy<int>(in, out, "Curve Count") &&
         Copy<double>(in, out, "Gain") && CopySection(in, out, "Curves") &&
         Copy<CCurveObj>(in, out) && Copy<CCurveObj>(in, out) && Copy<CCurveObj>(in, out) &&
         CopySection(in, out, "Chart") && Copy<_TEXT>(in, out) && Copy<CRectTracker>(in, out) &&
         CopySection(in, out, "Graph") && Copy<_GEOMETRY>(in, out) && Copy<_AXIS>(in, out) &&
         Copy<_AXIS>(in, out) && Copy<_WINDOW>(in, out) && Copy<CResultsWnd>(in, out);
}

constexpr char kApplication[] = "Example Plotter";

std::string WrittenExample() {
  StoreArchive store(0, kApplication, 3.6);
  WriteExampleDocument(*store);
  return store.Text();
}

TEST(Locale, TheExampleDocumentRoundTripsUnderACommaDecimalLocale) {
  const std::string expected = WrittenExample();
  ASSERT_NE(expected.find("lpszResultsPercent=   15  72.5"), std::string::npos);
  const TempFolder folder;
  const std::string comma = CommaDecimalLocale(folder);
  if (comma.empty()) GTEST_SKIP() << "no comma-decimal locale, and localedef cannot make one";
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, comma.c_str()), nullptr);
  ASSERT_EQ(*std::localeconv()->decimal_point, ',');
  const std::string written = WrittenExample();
  LoadArchive in(written, 0, kApplication, 3.6);
  StoreArchive out(0, kApplication, 3.6);
  const bool copied = CopyExampleDocument(*in, *out);
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(written, expected);
  EXPECT_TRUE(copied) << CArchiveEx::FailureKindText(in->GetLastFailure().kind) << " at line "
                      << in->GetLastFailure().line;
  EXPECT_EQ(out.Text(), expected);
}

}  // namespace
