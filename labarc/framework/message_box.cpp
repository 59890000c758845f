#include <labarc/framework/message_box.h>

#include <cstdio>
#include <utility>

inline namespace labarc_framework {

namespace {

int PrintToStandardError(HWND, std::string_view text, std::string_view caption, UINT) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
               static_cast<int>(text.size()), text.data());
  return IDOK;
}

ReportHandler& CurrentHandler() {
  static ReportHandler handler = PrintToStandardError;
  return handler;
}

}  // namespace

ReportHandler SetReportHandler(ReportHandler handler) {
  if (!handler) handler = PrintToStandardError;
  return std::exchange(CurrentHandler(), std::move(handler));
}

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT style) {
  return CurrentHandler()(owner, text ? text : "", caption ? caption : "", style);
}

HWND GetActiveWindow() { return nullptr; }

}  // namespace labarc_framework
