// COptionUI: a button that can be selected. Options of one group (by name, per window) exclude
// each other; selecting or clearing one sends "selectchanged". CCheckBoxUI is an option that
// toggles (ui_check_box.h).
#pragma once

#include <windows.h>

#include "uitoolkit/controls/ui_button.h"

namespace SkinUI {

class COptionUI : public CButtonUI {
 public:
  COptionUI() = default;
  // Leaves its group.
  ~COptionUI() override;

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;

  // Joins its group in the new manager.
  void SetManager(IControlManagerUI* manager, CControlUI* parent, bool init = true) override;
  // After the click (without the button's page switch): selects an option of a group, toggles
  // one without a group.
  bool Activate() override;
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  void PaintStatusImage(HDC hDC) override;

  const CUiString& GetGroup() const { return m_sGroupName; }
  // Moves the option from its old group to `name` (only while it has a manager).
  void SetGroup(const wchar_t* name);
  bool IsSelected() const { return m_bSelected; }
  // Nothing when unchanged. Selecting an option of a group clears the other members first;
  // "selectchanged" is sent (with `notify`) when a grouped option is selected, or when an
  // option without a group changes either way. A selected option then shows the tab page it
  // names (`tablayout`, `tabpage`).
  virtual void Selected(bool selected, bool notify = true);

  const wchar_t* GetSelectedImage() const { return m_diSelected.drawString; }
  void SetSelectedImage(const wchar_t* description);
  const wchar_t* GetSelectedHotImage() const { return m_diSelectedHot.drawString; }
  void SetSelectedHotImage(const wchar_t* description);
  // The option's own fore image, drawn over every state.
  const wchar_t* GetOptionForeImage() const { return m_diOptionFore.drawString; }
  void SetOptionForeImage(const wchar_t* description);
  DWORD GetSelectedBkColor() const { return m_dwSelectedBkColor; }
  void SetSelectedBkColor(DWORD color);
  DWORD GetSelectedTextColor() const { return m_dwSelectedTextColor; }
  void SetSelectedTextColor(DWORD color);

 protected:
  DWORD GetBaseTextColor() const override;

  bool m_bSelected = false;
  CUiString m_sGroupName;
  TDrawInfo m_diSelected;
  TDrawInfo m_diSelectedHot;
  TDrawInfo m_diOptionFore;
  DWORD m_dwSelectedBkColor = 0;
  DWORD m_dwSelectedTextColor = 0;
};

}  // namespace SkinUI
