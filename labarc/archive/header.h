// The archive header: the section every archive begins with, and the labels of its three
// entries (the format version, the writing application's name, the application's version).
#pragma once

namespace labarc {

inline constexpr char kArchiveHeaderSection[] = "Archive Header";
inline constexpr char kArchiveVersionLabel[] = "Archive Version Number";
inline constexpr char kApplicationNameLabel[] = "Application Name";
inline constexpr char kApplicationVersionLabel[] = "Application Version Number";

}  // namespace labarc
