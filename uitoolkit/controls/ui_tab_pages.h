// ITabPagesUI: what a control needs to switch the pages of a tab layout it knows only by name
// (a button or option with `tablayout` and `tabpage`, the paint manager's Ctrl+Tab). The tab
// layout (layouts/ui_tab_layout.h) answers GetInterface(kTabPagesInterface) with it, so the
// controls that switch pages need not know the layout's class.
#pragma once

namespace SkinUI {

class CControlUI;
class IControlManagerUI;

constexpr const wchar_t* kTabPagesInterface = L"ITabPages";

class ITabPagesUI {
 public:
  // Shows the page at `index` alone; false when there is no such page.
  virtual bool SelectItem(int index) = 0;
  // The index of the page shown, or -1 without pages.
  virtual int GetCurSel() const = 0;
  // Shows the next page (the previous one when not `forward`), round the end; false without
  // pages.
  virtual bool SelectNeighbour(bool forward) = 0;

 protected:
  ~ITabPagesUI() = default;
};

// The pages of `control`, or null when it is no tab layout.
ITabPagesUI* TabPagesOf(CControlUI* control);

// Shows page `page` of the tab layout named `layoutName` in `manager`'s window; false when no
// such layout or page exists.
bool SelectNamedTabPage(IControlManagerUI* manager, const wchar_t* layoutName, int page);

}  // namespace SkinUI
