// The archive object: raw lines, flushing, the settings copies take, and lines too long to hold.
#include <sys/resource.h>

#include <cstring>

#include "support/test_support.h"

namespace {
using namespace labarc::testing;

TEST(ArchiveObject, RawWritesCountOneLineEachAndAStoringArchiveFlushesWhenItGoes) {
  CMemFile file;
  {
    CArchive host(&file, CArchive::store);
    CArchiveEx direct(&host, CString("Plotter"), 1, 0);
    EXPECT_EQ((std::tuple{direct.WriteString(CString("a\r\nb\r\n")), direct.Write(5, CString("N")),
                          direct.GetCurLineNum(), file.Contents().empty()}),
              (std::tuple{1, 1, 2, true}));
  }
  EXPECT_EQ(file.Contents(), "a\r\nb\r\nN=5\r\n");
}

// A copy cannot read; an assigned archive goes on writing its own file.
TEST(ArchiveObject, CopiesTakeSettingsAndCountButNeverAnotherFile) {
  LoadArchive source(Lines({"A=1", "B=2"}), 0, "Source", 2.0);
  int value = 0;
  ASSERT_EQ(source->Read(value, CString("A")), 1);
  CArchiveEx copy(*source);
  CString line;
  EXPECT_EQ((std::tuple{copy.ReadString(line), copy.GetApplVersion(), copy.IsLoading()}),
            (std::tuple{0, 2.0, TRUE}));
  StoreArchive target(0, "Target", 1.0);
  *target = *source;
  target->Write(9, CString("Z"));
  EXPECT_EQ((std::tuple{target->GetCurLineNum(), target->GetApplVersion()}), (std::tuple{2, 2.0}));
  EXPECT_EQ(target.Text(), "Z=9\r\n");
  EXPECT_EQ(source->Read(value, CString("B")), 1);
}

// A file of `m_left` bytes without a line end, made as it is read.
struct EndlessLineFile : CFile {
  UINT Read(void* buffer, UINT count) override {
    const auto take = static_cast<UINT>(std::min<std::uint64_t>(count, m_left));
    std::memset(buffer, 'x', take);
    m_left -= take;
    return take;
  }
  std::uint64_t GetLength() const override { return m_left; }
  std::uint64_t m_left = std::uint64_t{1} << 30;
};

long PeakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Refused with the caller's line kept, and passed over whole: in step and in constant memory.
TEST(LongLines, AreRefusedWholeInConstantMemory) {
  const std::string longest(CArchiveEx::MAX_LINE_LENGTH, 'x');
  LoadArchive ar(longest + "\r\n" + longest + "y\r\nafter");
  CString line;
  ASSERT_EQ(ar->ReadString(line), 1);
  EXPECT_EQ(line, longest.c_str());
  EXPECT_EQ((std::tuple{ar->ReadString(line), ar->ReadString(line), line}),
            (std::tuple{0, 1, CString("after")}));
  EXPECT_EQ((std::tuple{ar->ReadString(line), ar->GetCurLineNum()}),
            (std::tuple{0, 3}));  // the end
  EndlessLineFile file;           // a gibibyte
  CArchive host(&file, CArchive::load);
  CArchiveEx endless(&host, CString("Plotter"), 1, 0);
  const long before = PeakResidentKiB();
  line = "kept";
  EXPECT_EQ((std::tuple{endless.ReadString(line), line, file.m_left}),
            (std::tuple{0, CString("kept"), std::uint64_t{0}}));
  EXPECT_LT(PeakResidentKiB() - before, 64 * 1024);
}

}  // namespace
