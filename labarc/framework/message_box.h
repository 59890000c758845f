// The modal message box of the windowing system, routed to a report handler: this platform has
// no windows, so the host decides where a report goes (a dialog, a log, a test's recorder).
#pragma once

#include <functional>
#include <string_view>

#include <labarc/framework/export.h>
#include <labarc/framework/win_types.h>

inline namespace labarc_framework {

inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_ICONSTOP = 0x00000010;
inline constexpr UINT MB_SYSTEMMODAL = 0x00001000;
inline constexpr int IDOK = 1;

// Receives owner, text, caption and style of each box; returns the button pressed.
using ReportHandler =
    std::function<int(HWND owner, std::string_view text, std::string_view caption, UINT style)>;

// Installs `handler` (an empty one restores the default, which prints caption and text to
// standard error) and returns the one it replaces. It serves every thread: boxes already being
// shown go on with the handler they started with. An archive can have a sink of its own
// (CArchiveEx::SetReportSink) instead.
LABARC_API ReportHandler SetReportHandler(ReportHandler handler);

// Shows the box through the report handler and returns its answer.
LABARC_API int MessageBoxA(HWND owner, const char* text, const char* caption, UINT style);

// The active window of the calling thread: there is none on this platform.
LABARC_API HWND GetActiveWindow();

}  // namespace labarc_framework
