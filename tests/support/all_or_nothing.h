// The all-or-nothing check for readers: a reader that fails part-way must leave its target as it
// was. `write` stores one valid value (one entry or a run), `read` reads it back into the target
// it is handed, and `different` is a T that differs from what is stored. For every line of the
// stored text, the text cut before that line and the text with that line's label spoiled must
// each fail at that line (0 and the line count quietly; a report naming the line and a thrown
// exception when reporting) and leave a copy of `different` equal to it (by ==, else byte for
// byte). Lines the reader never looks at (`unread`) are only cut.
#pragma once

#include <concepts>
#include <cstring>
#include <type_traits>

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
void ExpectAllOrNothing(Write write, Read read, const T& different,
                        bool (*unread)(std::string_view line) = nullptr) {
  std::string text;
  {
    StoreArchive store;
    ASSERT_EQ(write(*store), 1);
    text = store.Text();
  }
  {
    T target = different;
    LoadArchive load(text);
    ASSERT_EQ(read(*load, target), 1) << text;
    ASSERT_FALSE(SameValue(target, different)) << "`different` must differ from the stored value";
  }
  // Reads `damaged` quietly, then with reports: each read fails at line `failing`.
  const auto expectRefused = [&](const std::string& damaged, std::size_t failing) {
    T target = different;
    LoadArchive quiet(damaged);
    EXPECT_EQ(read(*quiet, target), 0);
    EXPECT_EQ(quiet->GetCurLineNum(), static_cast<int>(failing));
    ReportRecorder recorder;
    LoadArchive reporting(damaged, /*reportErrors=*/1);
    EXPECT_EQ(ThrownArchiveCause([&] { read(*reporting, target); }), CArchiveException::badIndex);
    EXPECT_TRUE(SameValue(target, different));
    EXPECT_NE(recorder.boxes.at(0).text.find("line " + std::to_string(failing) + "!"),
              std::string::npos);
  };
  for (std::size_t line = 0, at = 0; at < text.size(); ++line, at = text.find("\r\n", at) + 2) {
    SCOPED_TRACE("line " + std::to_string(line + 1) + ": " + text.substr(at, 40));
    expectRefused(text.substr(0, at), line);  // cut before it
    if (!unread || !unread(std::string_view(text).substr(at, text.find("\r\n", at) - at)))
      expectRefused(text.substr(0, at) + "#" + text.substr(at), line + 1);  // its label spoiled
  }
}

}  // namespace labarc::testing
