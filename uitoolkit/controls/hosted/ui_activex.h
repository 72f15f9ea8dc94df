// CActiveXUI: hosts an in-process COM control given by class id or program id.
//
// NOT BUILT YET: today it only lays out as a plain control so that a skin naming it builds.
#pragma once

#include "uitoolkit/controls/ui_control.h"

namespace SkinUI {

class CActiveXUI : public CControlUI {
 public:
  static constexpr const wchar_t* kClassName = L"ActiveX";
  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
};

}  // namespace SkinUI
