// CChildLayoutUI: a container whose children come from a skin file of their own (`xml`). The
// skin builder (uitoolkit/window) builds that file into the layout, with the same manager and
// callback as the skin naming it, once the layout's attributes are applied; a file that cannot
// be loaded leaves the layout as it is. It lays its children out as a plain container: each
// fills the client area, so a file usually holds one layout.
#pragma once

#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

class CChildLayoutUI : public CContainerUI {
 public:
  // "ChildLayout".
  const wchar_t* GetClass() const override;
  // "ChildLayout", then the container's names.
  void* GetInterface(const wchar_t* name) override;
  // `xml` (the skin file); others go to the container.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;

  // The skin file, named as an Include's source is (a file of the resource folder or zip, or a
  // resource identifier when the skin came from the module's resources).
  const CUiString& GetChildLayoutXML() const { return m_strXmlFile; }
  void SetChildLayoutXML(const wchar_t* file) { m_strXmlFile = file != nullptr ? file : L""; }

 private:
  CUiString m_strXmlFile;
};

}  // namespace SkinUI
