// CUiStringTable: texts under names, owned by the table. One type serves every name-to-text table
// of the toolkit: the custom attributes of a control and of a window, the default attribute lists
// per element name and the translated strings.
#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

class CUiStringTable {
 public:
  // Adds `value` under `name` unless the name is present already (the first value wins); empty
  // names and empty values are ignored. True when the value was added.
  bool Add(const wchar_t* name, const wchar_t* value);
  // Stores `value` under `name`, replacing an older value; a null name or value is ignored.
  void Set(const wchar_t* name, const wchar_t* value);
  // The text stored under `name`, or null.
  [[nodiscard]] const wchar_t* Find(const wchar_t* name) const;
  // False when nothing was stored under `name`.
  bool Remove(const wchar_t* name);
  void RemoveAll() { m_entries.clear(); }
  [[nodiscard]] std::size_t GetSize() const { return m_entries.size(); }

 private:
  std::map<std::wstring, CUiString> m_entries;
};

}  // namespace SkinUI
