#include <labarc/framework/string_table.h>

#include <unordered_map>

inline namespace labarc_framework {

namespace {

// The one process-wide string table; filled by the host, read by CString::LoadString.
std::unordered_map<UINT, std::string>& StringTable() {
  static std::unordered_map<UINT, std::string> table;
  return table;
}

}  // namespace

void AfxSetStringResource(UINT id, std::string_view text) { StringTable()[id] = std::string(text); }

void AfxRemoveStringResource(UINT id) { StringTable().erase(id); }

const std::string* AfxFindStringResource(UINT id) {
  const auto& table = StringTable();
  const auto found = table.find(id);
  return found == table.end() ? nullptr : &found->second;
}

}  // namespace labarc_framework
