// CRichEditUI: a windowless rich text editor on the system's text services.
//
// NOT BUILT YET: today it only lays out as a container so that a skin naming it builds.
#pragma once

#include <cwchar>

#include "uitoolkit/controls/ui_container.h"

namespace SkinUI {

class CRichEditUI : public CContainerUI {
 public:
  static constexpr const wchar_t* kClassName = L"RichEdit";
  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
};

}  // namespace SkinUI
