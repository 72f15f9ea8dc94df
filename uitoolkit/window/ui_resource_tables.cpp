#include "uitoolkit/window/ui_resource_tables.h"

#include <cwchar>
#include <utility>

namespace SkinUI {

TFontInfo MakeSkinFont(const wchar_t* faceName, int size, bool bold, bool underline,
                       bool italic) {
  LOGFONTW lf = {};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  ::wcsncpy_s(lf.lfFaceName, LF_FACESIZE, faceName, _TRUNCATE);
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfHeight = -size;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfItalic = italic ? TRUE : FALSE;
  TFontInfo info;
  info.hFont.reset(::CreateFontIndirectW(&lf));
  info.sFontName = faceName;
  info.iSize = size;
  info.bBold = bold;
  info.bUnderline = underline;
  info.bItalic = italic;
  return info;
}

const TFontInfo& CFontTable::Set(int id, TFontInfo font) {
  TFontInfo& slot = m_fonts[id];
  slot = std::move(font);
  return slot;
}

const TFontInfo* CFontTable::Find(int id) const {
  const auto found = m_fonts.find(id);
  return found != m_fonts.end() ? &found->second : nullptr;
}

HFONT CFontTable::FindByLook(const wchar_t* faceName, int size, bool bold, bool underline,
                             bool italic) const {
  for (const auto& entry : m_fonts) {
    const TFontInfo& info = entry.second;
    if (info.sFontName == faceName && info.iSize == size && info.bBold == bold &&
        info.bUnderline == underline && info.bItalic == italic) {
      return info.hFont.get();
    }
  }
  return nullptr;
}

int CFontTable::NextFreeId(int first) const {
  int id = first;
  while (m_fonts.count(id) != 0) ++id;
  return id;
}

bool COptionGroupTable::Add(const wchar_t* groupName, CControlUI* control) {
  CUiPtrArray& group = m_groups[groupName];
  if (group.Find(control) >= 0) return false;
  return group.Add(control);
}

CUiPtrArray* COptionGroupTable::Find(const wchar_t* groupName) {
  const auto found = m_groups.find(groupName);
  return found != m_groups.end() ? &found->second : nullptr;
}

void COptionGroupTable::Remove(const wchar_t* groupName, CControlUI* control) {
  const auto found = m_groups.find(groupName);
  if (found == m_groups.end()) return;
  CUiPtrArray& group = found->second;
  const int index = group.Find(control);
  if (index >= 0) group.Remove(index);
  if (group.IsEmpty()) m_groups.erase(found);
}

bool CControlNameTable::Add(const wchar_t* name, CControlUI* control) {
  if (name == nullptr || *name == L'\0') return false;
  return m_controls.Insert(name, control);
}

CControlUI* CControlNameTable::Find(const wchar_t* name) const {
  return static_cast<CControlUI*>(m_controls.Find(name));
}

void CControlNameTable::RemoveIfNames(const wchar_t* name, const CControlUI* control) {
  if (name != nullptr && m_controls.Find(name) == control) m_controls.Remove(name);
}

}  // namespace SkinUI
