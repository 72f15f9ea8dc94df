// CDialogBuilder turns a skin document into a tree of controls and registers the skin's shared
// resources (images, fonts, default attribute lists, translated strings) and window settings
// with a paint manager. IDialogBuilderCallback creates controls for element names the builder
// does not know.
#pragma once

#include <cstddef>

#include "uitoolkit/controls/ui_control.h"
#include "uitoolkit/core/markup.h"
#include "uitoolkit/core/string_or_id.h"
#include "uitoolkit/window/ui_paint_manager.h"

namespace SkinUI {

class IContainerUI;

class IDialogBuilderCallback {
 public:
  // A new control for an element name outside the class table and the plug-ins, or null.
  virtual CControlUI* CreateControl(const wchar_t* className) = 0;

 protected:
  ~IDialogBuilderCallback() = default;
};

class CDialogBuilder {
 public:
  // Controls nest at most this many levels below the document root; deeper elements are
  // skipped with their subtree (every pass over the tree recurses once per level).
  static constexpr int kMaxNestingDepth = 256;
  // Includes nest at most this many levels (a skin that includes itself stops there).
  static constexpr int kMaxIncludeDepth = 16;

  CDialogBuilder() = default;
  CDialogBuilder(const CDialogBuilder&) = delete;
  CDialogBuilder& operator=(const CDialogBuilder&) = delete;

  // Loads the skin and builds it (the next Create). `xml` is the markup itself when it starts
  // with '<', else a file in the resource folder or resource zip; a resource identifier names a
  // resource of type `type` in the toolkit's resource module, and includes then name resources
  // of that type too. Null when loading fails (the markup's error texts stay readable).
  CControlUI* Create(STRINGorID xml, const wchar_t* type = nullptr,
                     IDialogBuilderCallback* callback = nullptr,
                     CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
  // Builds the loaded skin: with a manager its resource elements and (for a `Window` root of a
  // manager that has its window) the window attributes first; then the root's children into
  // `parent`. Answers the first top-level control, or null (no document, or a control that
  // cannot be placed in its parent).
  CControlUI* Create(IDialogBuilderCallback* callback = nullptr,
                     CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);

  CMarkup* GetMarkup() { return &m_xml; }
  void GetLastErrorMessage(wchar_t* buffer, std::size_t max) const;
  void GetLastErrorLocation(wchar_t* buffer, std::size_t max) const;

 private:
  [[nodiscard]] bool Load(STRINGorID xml, const wchar_t* type);
  // Builds the children of `node` into `parent` (see the README for the steps); `result` gets
  // the first control made at this level. False when the whole build fails.
  bool _Parse(const CMarkupNode& node, CControlUI* parent, CPaintManagerUI* manager, int depth,
              CControlUI*& result);
  // A new control for `elementName`: the class table, the plug-ins in order, the callback.
  CControlUI* CreateControlFor(const wchar_t* elementName) const;
  // Builds an Include's source `count` times into `parent`.
  void BuildInclude(const CMarkupNode& node, CControlUI* parent, CPaintManagerUI* manager,
                    int depth);
  // Builds the skin file a `ChildLayout` names into it (nothing for other controls).
  void BuildChildLayout(CControlUI* control, CPaintManagerUI* manager, int depth);
  // Builds `source` (a file, inline markup or, for a skin from resources, a resource
  // identifier) `count` times into `parent`, one include level deeper; a source that cannot be
  // loaded builds nothing.
  void BuildSource(const CUiString& source, int count, CControlUI* parent,
                   CPaintManagerUI* manager, int depth);
  // Adds `control` to `parent` (as its cover with cover="true"); false when the parent holds
  // no items. A refused control is deleted and `placed` is false.
  bool Place(const CMarkupNode& node, CControlUI* control, CControlUI* parent,
             IContainerUI*& container, bool& containerLooked, bool& placed) const;
  // The manager's default list for the element, then the element's attributes, in order.
  static void ApplyAttributes(const CMarkupNode& node, CControlUI* control,
                              CPaintManagerUI* manager);

  CMarkup m_xml;
  IDialogBuilderCallback* m_pCallback = nullptr;
  const wchar_t* m_pstrtype = nullptr;
  int m_includeDepth = 0;
  int m_baseDepth = 0;
};

}  // namespace SkinUI
