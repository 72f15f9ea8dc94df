// CWebBrowserUI: the ActiveX host with the system's web browser control.
//
// NOT BUILT YET: today it only lays out as the host so that a skin naming it builds.
#pragma once

#include "uitoolkit/controls/hosted/ui_activex.h"

namespace SkinUI {

class CWebBrowserUI : public CActiveXUI {
 public:
  static constexpr const wchar_t* kClassName = L"WebBrowser";
  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
};

}  // namespace SkinUI
