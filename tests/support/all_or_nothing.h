// The all-or-nothing check for readers: `write` stores one valid value (one entry or a run), and
// `read` must read it back into its target, which must then differ from `different`. For every
// line of the text, cut before that line and with its label spoiled (only cut when `unread` says
// the reader never looks at it), `read` must fail at that line in both modes, with the report
// naming it, and leave a copy of `different` as it was (by ==, else byte for byte).
#pragma once

#include <concepts>
#include <cstring>
#include <type_traits>

#include "support/test_support.h"

namespace labarc::testing {

// A point of doubles compares bit for bit, so that NaN coordinates equal themselves.
template <class T>
bool SameValue(const T& a, const T& b) {
  if constexpr (std::is_same_v<T, DPOINT>) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
  } else if constexpr (std::equality_comparable<T>) {
    return a == b;
  } else {
    static_assert(std::is_trivially_copyable_v<T>, "only plain data compares byte for byte");
    return std::memcmp(&a, &b, sizeof(T)) == 0;
  }
}

template <class T, class Write, class Read>
void ExpectAllOrNothing(Write write, Read read, const T& different,
                        bool (*unread)(std::string_view line) = nullptr) {
  StoreArchive store;
  ASSERT_EQ(write(*store), 1);
  const std::string text = store.Text();
  T stored = different;
  LoadArchive load(text);
  ASSERT_EQ(read(*load, stored), 1) << text;
  ASSERT_FALSE(SameValue(stored, different)) << "`different` must differ from the stored value";
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
