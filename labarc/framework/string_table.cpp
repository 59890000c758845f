#include <labarc/framework/string_table.h>

#include <mutex>
#include <shared_mutex>
#include <unordered_map>

inline namespace labarc_framework {

namespace {

// The one process-wide string table; filled by the host, read by CString::LoadString on any
// thread.
struct StringTable {
  std::shared_mutex mutex;
  std::unordered_map<UINT, std::string> texts;
};

StringTable& Table() {
  static StringTable table;
  return table;
}

}  // namespace

void AfxSetStringResource(UINT id, std::string_view text) {
  std::string copy(text);  // made outside the lock
  StringTable& table = Table();
  const std::unique_lock lock(table.mutex);
  table.texts.insert_or_assign(id, std::move(copy));
}

void AfxRemoveStringResource(UINT id) {
  StringTable& table = Table();
  const std::unique_lock lock(table.mutex);
  table.texts.erase(id);
}

std::optional<std::string> AfxFindStringResource(UINT id) {
  StringTable& table = Table();
  const std::shared_lock lock(table.mutex);
  const auto found = table.texts.find(id);
  if (found == table.texts.end()) return std::nullopt;
  return found->second;
}

}  // namespace labarc_framework
