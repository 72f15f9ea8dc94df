// The paint manager's resource tables, each a typed owner of what it holds: fonts by id, the
// resource set of a manager (and the one shared by the process), option groups and the names of
// a control tree.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "common/unique_handle.h"
#include "uitoolkit/controls/ui_control.h"
#include "uitoolkit/core/ui_containers.h"
#include "uitoolkit/core/ui_image_cache.h"
#include "uitoolkit/core/ui_string.h"
#include "uitoolkit/core/ui_string_table.h"

namespace SkinUI {

// One registered font and the look it was made with.
struct TFontInfo {
  vesk::UniqueFont hFont;
  CUiString sFontName;
  int iSize = 0;  // character height in pixels
  bool bBold = false;
  bool bUnderline = false;
  bool bItalic = false;
};

// Makes a font of `size` pixels (character height) on the face, with the default character set;
// the record is empty when the system refuses.
TFontInfo MakeSkinFont(const wchar_t* faceName, int size, bool bold, bool underline, bool italic);

// Fonts by id; the table owns them.
class CFontTable {
 public:
  // Registers `font` under `id`, deleting a font registered there before.
  const TFontInfo& Set(int id, TFontInfo font);
  [[nodiscard]] const TFontInfo* Find(int id) const;
  // A font with exactly this look, or null.
  [[nodiscard]] HFONT FindByLook(const wchar_t* faceName, int size, bool bold, bool underline,
                                 bool italic) const;
  // An id after every id of the table, at least `first`.
  [[nodiscard]] int NextFreeId(int first) const;
  bool Remove(int id) { return m_fonts.erase(id) > 0; }
  void RemoveAll() { m_fonts.clear(); }

 private:
  std::map<int, TFontInfo> m_fonts;
};

// Fonts, images, default attribute lists and default colours; one per manager and one shared by
// the process.
struct TResourceSet {
  DWORD dwDefaultDisabledColor = 0xFFA7A6AA;
  DWORD dwDefaultFontColor = 0xFF000000;
  DWORD dwDefaultLinkFontColor = 0xFF0000FF;
  DWORD dwDefaultLinkHoverFontColor = 0xFFD3215F;
  DWORD dwDefaultSelectedBkColor = 0xFFBAE4FF;
  TFontInfo defaultFont;  // no font: use the shared default
  CFontTable fonts;
  CImageCache images;
  CUiStringTable attributeLists;  // element name -> attribute list
};

// Option groups by name; a group lives while it has members.
class COptionGroupTable {
 public:
  // False when the control is in the group already.
  bool Add(const wchar_t* groupName, CControlUI* control);
  [[nodiscard]] CUiPtrArray* Find(const wchar_t* groupName);
  // Takes the control out of the group and drops the group when it is empty.
  void Remove(const wchar_t* groupName, CControlUI* control);
  void RemoveAll() { m_groups.clear(); }

 private:
  std::map<std::wstring, CUiPtrArray> m_groups;
};

// The controls of a tree by name (the controls are not owned); the first control of a name wins.
// It starts with 83 buckets and grows with the tree.
class CControlNameTable {
 public:
  // False when the name is empty or taken.
  bool Add(const wchar_t* name, CControlUI* control);
  [[nodiscard]] CControlUI* Find(const wchar_t* name) const;
  // Removes the name only while it names `control`.
  void RemoveIfNames(const wchar_t* name, const CControlUI* control);
  void RemoveAll() { m_controls.RemoveAll(); }

 private:
  CUiGrowingStringPtrMap m_controls{83};
};

}  // namespace SkinUI
