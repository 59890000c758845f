// The all-or-nothing check for readers: a reader that fails part-way must leave its target
// exactly as it was.
//
//   ExpectAllOrNothing(write, read, different);
//
//   write      int(CArchiveEx&): stores one valid value (a single entry or a run of entries).
//   read       int(CArchiveEx&, T&): reads that value back into the target it is handed.
//   different  a T that differs from the stored value in what is stored.
//
// The stored text must read back into a copy of `different` and change it. Then, for every line
// of the text, two damaged copies are read into a fresh copy of `different`: the text cut just
// before that line, and the text with that line's label spoiled. Each read must fail (0 in quiet
// mode; a report naming the spoiled line's number and a thrown exception in reporting mode) and
// leave the target equal to `different`: by == where T has it, otherwise byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <concepts>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "support/test_support.h"

namespace labarc::testing {

template <class T>
bool SameValue(const T& a, const T& b) {
  if constexpr (std::equality_comparable<T>) {
    return a == b;
  } else {
    static_assert(std::is_trivially_copyable_v<T>, "only plain data compares byte for byte");
    return std::memcmp(&a, &b, sizeof(T)) == 0;
  }
}

template <class T, class Write, class Read>
void ExpectAllOrNothing(Write write, Read read, const T& different) {
  std::string text;
  {
    StoreArchive store;
    ASSERT_EQ(write(*store), 1);
    text = store.Text();
  }
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "the stored text ends inside a line";
    lines.push_back(text.substr(start, end + 2 - start));
    start = end + 2;
  }
  {
    T target = different;
    LoadArchive load(text);
    ASSERT_EQ(read(*load, target), 1) << text;
    ASSERT_FALSE(SameValue(target, different)) << "`different` must differ from the stored value";
  }

  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string cut;
    for (std::size_t j = 0; j < i; ++j) cut += lines[j];
    const std::string spoiled = cut + "#" + text.substr(cut.size());
    SCOPED_TRACE("line " + std::to_string(i + 1) + ": " + lines[i]);
    {
      T target = different;
      LoadArchive load(cut);
      EXPECT_EQ(read(*load, target), 0) << "cut";
      EXPECT_TRUE(SameValue(target, different)) << "cut";
      EXPECT_EQ(load->GetCurLineNum(), static_cast<int>(i)) << "cut";
    }
    {
      T target = different;
      LoadArchive load(spoiled);
      EXPECT_EQ(read(*load, target), 0) << "spoiled";
      EXPECT_TRUE(SameValue(target, different)) << "spoiled";
      EXPECT_EQ(load->GetCurLineNum(), static_cast<int>(i + 1)) << "spoiled";
    }
    {
      T target = different;
      ReportRecorder recorder;
      LoadArchive load(spoiled, /*reportErrors=*/1);
      EXPECT_EQ(ThrownArchiveCause([&] { read(*load, target); }), CArchiveException::badIndex);
      EXPECT_TRUE(SameValue(target, different)) << "spoiled, reported";
      ASSERT_EQ(recorder.boxes.size(), 1u);
      EXPECT_NE(recorder.boxes[0].text.find("line " + std::to_string(i + 1) + "!"),
                std::string::npos)
          << recorder.boxes[0].text;
    }
  }
}

}  // namespace labarc::testing
