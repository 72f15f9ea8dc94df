#include "uitoolkit/core/ui_string_table.h"

namespace SkinUI {

bool CUiStringTable::Add(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr || value == nullptr || *name == L'\0' || *value == L'\0') return false;
  return m_entries.emplace(name, CUiString(value)).second;
}

void CUiStringTable::Set(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr || value == nullptr) return;
  m_entries[name] = CUiString(value);
}

const wchar_t* CUiStringTable::Find(const wchar_t* name) const {
  if (name == nullptr) return nullptr;
  const auto found = m_entries.find(name);
  return found != m_entries.end() ? found->second.GetData() : nullptr;
}

bool CUiStringTable::Remove(const wchar_t* name) {
  return name != nullptr && m_entries.erase(name) > 0;
}

}  // namespace SkinUI
