// CTabLayoutUI: a container that shows one child at a time, the pages of a tab control. The
// shown page fills the client area (float children are placed from their anchors); the others
// are hidden. Adding and removing pages keeps the selection on a page while there is one.
#pragma once

#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/controls/ui_tab_pages.h"

namespace SkinUI {

class CTabLayoutUI : public CContainerUI, public ITabPagesUI {
 public:
  // "TabLayout".
  const wchar_t* GetClass() const override;
  // "TabLayout" and kTabPagesInterface, then the container's names.
  void* GetInterface(const wchar_t* name) override;

  // The first page added to an empty layout is shown; every other new page is hidden. Pages
  // inserted before the shown one keep it shown.
  bool AddAt(CControlUI* control, int index) override;
  // Removing the shown page shows its neighbour (the page after it, else the one before);
  // without pages the selection is -1.
  bool Remove(CControlUI* control, bool doNotDestroy = false) override;
  void RemoveAll() override;
  // `selectedid` (the page shown); others go to the container.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  // Every page's visibility follows the selection again (a page's own `visible` attribute is
  // applied after it was added).
  void DoInit() override;

  // Shows page `index` alone and sends "tabselect" (new index, previous index) when the shown
  // page changed. A focus inside the page that goes moves to the new page's first tab stop, or
  // nowhere; a grouped option naming the new page becomes selected. False for an index outside
  // the pages.
  bool SelectItem(int index) override;
  bool SelectItem(CControlUI* page);
  int GetCurSel() const override { return m_iCurSel; }
  bool SelectNeighbour(bool forward) override;

 private:
  // Makes the shown page the only visible one.
  void ShowOnlySelected();
  // Selects the grouped option of the window that names the shown page (`tablayout`,
  // `tabpage`), so that a row of tab options follows a page shown another way (Ctrl+Tab, code).
  void SelectPageOption();
  // Gives the focus to the shown page's first tab stop (or to nobody).
  void FocusFirstTabStop();

  int m_iCurSel = -1;
};

}  // namespace SkinUI
