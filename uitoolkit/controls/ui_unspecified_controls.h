// The controls of the skin builder's class table that the setup window does not use and that
// are not built yet: the windowless rich edit, the ActiveX and web browser hosts. (The list
// family and the combo box live in lists/, the tree in tree/; the slider, the animated image and
// the date field in single/.)
//
// NOT BUILT: their own behaviour and attributes. Each exists so that a skin naming it builds: it
// answers its element name from GetClass and GetInterface, takes the common control attributes
// (a container's too), and a container among them holds and lays out its children exactly as
// its base layout does. Nothing here selects, scrolls, edits, expands or hosts anything.
#pragma once

#include <cwchar>

#include "uitoolkit/controls/ui_box_layout.h"
#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/controls/ui_control.h"

namespace SkinUI {

// A class whose element name is `Self::kClassName` and which otherwise behaves as `Base`.
template <class Base, class Self>
class CUnbuiltControl : public Base {
 public:
  const wchar_t* GetClass() const override { return Self::kClassName; }
  // The element name, then the base's names.
  void* GetInterface(const wchar_t* name) override {
    if (name != nullptr && std::wcscmp(name, Self::kClassName) == 0) {
      return static_cast<Self*>(this);
    }
    return Base::GetInterface(name);
  }
};

class CRichEditUI : public CUnbuiltControl<CContainerUI, CRichEditUI> {
 public:
  static constexpr const wchar_t* kClassName = L"RichEdit";
};

class CActiveXUI : public CUnbuiltControl<CControlUI, CActiveXUI> {
 public:
  static constexpr const wchar_t* kClassName = L"ActiveX";
};

class CWebBrowserUI : public CUnbuiltControl<CActiveXUI, CWebBrowserUI> {
 public:
  static constexpr const wchar_t* kClassName = L"WebBrowser";
};

}  // namespace SkinUI
