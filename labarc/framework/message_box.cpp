#include <labarc/framework/message_box.h>

#include <cstdio>
#include <mutex>
#include <utility>

inline namespace labarc_framework {

namespace {

int PrintToStandardError(HWND, std::string_view text, std::string_view caption, UINT) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
               static_cast<int>(text.size()), text.data());
  return IDOK;
}

// The process's handler. A box is shown through a copy taken under the lock, so a handler may
// block (a modal dialog) or report again, and another thread may replace it meanwhile.
struct Handler {
  std::mutex mutex;
  ReportHandler handler = PrintToStandardError;
};

Handler& Current() {
  static Handler current;
  return current;
}

}  // namespace

ReportHandler SetReportHandler(ReportHandler handler) {
  if (!handler) handler = PrintToStandardError;
  Handler& current = Current();
  const std::lock_guard lock(current.mutex);
  return std::exchange(current.handler, std::move(handler));
}

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT style) {
  Handler& current = Current();
  ReportHandler handler;
  {
    const std::lock_guard lock(current.mutex);
    handler = current.handler;
  }
  return handler(owner, text ? text : "", caption ? caption : "", style);
}

HWND GetActiveWindow() { return nullptr; }

}  // namespace labarc_framework
