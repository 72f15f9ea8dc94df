// CCheckBoxUI: an option whose check mark is its selection.
#pragma once

#include "uitoolkit/controls/ui_option.h"

namespace SkinUI {

class CCheckBoxUI : public COptionUI {
 public:
  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;

  bool GetCheck() const { return IsSelected(); }
  void SetCheck(bool check, bool notify = true) { Selected(check, notify); }
};

}  // namespace SkinUI
