#include "uitoolkit/window/ui_dialog_builder.h"

#include <cwchar>

#include "uitoolkit/controls/layouts/ui_child_layout.h"
#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/core/ui_value_parsing.h"
#include "uitoolkit/window/ui_builder_class_table.h"
#include "uitoolkit/window/ui_skin_elements.h"

namespace SkinUI {
namespace {

bool IsTreeNode(CControlUI* control) {
  return control != nullptr && control->GetInterface(L"TreeNode") != nullptr;
}

bool IsTree(CControlUI* control) {
  return IsTreeNode(control) || (control != nullptr && control->GetInterface(L"TreeView"));
}

}  // namespace

CControlUI* CDialogBuilder::Create(STRINGorID xml, const wchar_t* type,
                                   IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                                   CControlUI* parent) {
  if (!Load(xml, type)) return nullptr;
  return Create(callback, manager, parent);
}

bool CDialogBuilder::Load(STRINGorID xml, const wchar_t* type) {
  if (!xml.IsId()) {
    const wchar_t* text = xml.GetText();
    if (text[0] == L'<') return m_xml.Load(text);
    return m_xml.LoadFromFile(text, MarkupEncodingUtf8);
  }
  HINSTANCE module = CPaintManagerUI::GetResourceDll();
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(xml.GetId()), type);
  if (resource == nullptr) return false;
  HGLOBAL loaded = ::LoadResource(module, resource);
  const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr) return false;
  m_pstrtype = type;
  return m_xml.LoadFromMem(bytes, ::SizeofResource(module, resource), MarkupEncodingUtf8);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                                   CControlUI* parent) {
  m_pCallback = callback;
  const CMarkupNode root = m_xml.GetRoot();
  if (!root.IsValid()) return nullptr;
  if (manager != nullptr) {
    RegisterSkinResources(root, *manager);
    if (IsSkinElement(root.GetName(), L"Window") && manager->GetPaintWindow() != nullptr) {
      ApplyWindowAttributes(root, *manager);
    }
  }
  CControlUI* result = nullptr;
  if (!_Parse(root, parent, manager, m_baseDepth, result)) {
    if (result != nullptr && parent == nullptr) result->Delete();
    return nullptr;
  }
  return result;
}

bool CDialogBuilder::_Parse(const CMarkupNode& node, CControlUI* parent,
                            CPaintManagerUI* manager, int depth, CControlUI*& result) {
  IContainerUI* container = nullptr;
  bool containerLooked = false;
  for (CMarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
    const wchar_t* elementName = child.GetName();
    if (IsResourceElement(elementName)) continue;
    if (IsSkinElement(elementName, L"Include")) {
      BuildInclude(child, parent, manager, depth);
      continue;
    }
    if (depth >= kMaxNestingDepth) continue;
    CControlUI* control = CreateControlFor(elementName);
    if (control == nullptr) continue;

    bool placed = true;
    if (IsTreeNode(control)) {
      // A tree node joins its tree first and takes its attributes before its children; added
      // to a node, a child node becomes a node of the tree and any other child a control of
      // the node's row (CTreeNodeUI::Add).
      if (!IsTree(parent)) {
        control->Delete();
        return false;
      }
      if (!Place(child, control, parent, container, containerLooked, placed)) return false;
      if (!placed) continue;
      ApplyAttributes(child, control, manager);
      CControlUI* ignored = nullptr;
      if (child.HasChildren() && !_Parse(child, control, manager, depth + 1, ignored)) {
        return false;
      }
    } else {
      CControlUI* ignored = nullptr;
      if (child.HasChildren() && !_Parse(child, control, manager, depth + 1, ignored)) {
        control->Delete();
        return false;
      }
      if (parent != nullptr &&
          !Place(child, control, parent, container, containerLooked, placed)) {
        return false;
      }
      if (!placed) continue;
      ApplyAttributes(child, control, manager);
      BuildChildLayout(control, manager, depth);
    }

    if (result == nullptr) {
      result = control;
    } else if (parent == nullptr) {
      // Only the first top-level control is answered; the others would belong to nobody.
      control->Delete();
    }
  }
  return true;
}

CControlUI* CDialogBuilder::CreateControlFor(const wchar_t* elementName) const {
  CControlUI* control = CreateControlFromClassTable(elementName);
  if (control != nullptr) return control;
  for (LPCREATECONTROL factory : CPaintManagerUI::GetPlugins()) {
    control = factory(elementName);
    if (control != nullptr) return control;
  }
  return m_pCallback != nullptr ? m_pCallback->CreateControl(elementName) : nullptr;
}

bool CDialogBuilder::Place(const CMarkupNode& node, CControlUI* control, CControlUI* parent,
                           IContainerUI*& container, bool& containerLooked,
                           bool& placed) const {
  placed = true;
  if (std::wcscmp(node.GetAttributeValue(L"cover"), L"true") == 0) {
    parent->SetCover(control);
    return true;
  }
  if (!containerLooked) {
    container = static_cast<IContainerUI*>(parent->GetInterface(L"IContainer"));
    containerLooked = true;
  }
  if (container == nullptr) {
    control->Delete();
    return false;
  }
  if (!container->Add(control)) {
    control->Delete();
    placed = false;
  }
  return true;
}

void CDialogBuilder::ApplyAttributes(const CMarkupNode& node, CControlUI* control,
                                     CPaintManagerUI* manager) {
  if (manager != nullptr) {
    control->SetManager(manager, nullptr, false);
    const wchar_t* defaults = manager->GetDefaultAttributeList(node.GetName());
    if (defaults != nullptr) control->SetAttributeList(defaults);
  }
  for (int i = 0; i < node.GetAttributeCount(); ++i) {
    control->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
  }
  if (manager != nullptr) control->SetManager(nullptr, nullptr, false);
}

void CDialogBuilder::BuildInclude(const CMarkupNode& node, CControlUI* parent,
                                  CPaintManagerUI* manager, int depth) {
  if (!node.HasAttributes()) return;
  TIncludeElement include;
  ReadIncludeElement(node, include);
  BuildSource(include.source, include.count, parent, manager, depth);
}

void CDialogBuilder::BuildChildLayout(CControlUI* control, CPaintManagerUI* manager, int depth) {
  auto* layout = static_cast<CChildLayoutUI*>(control->GetInterface(L"ChildLayout"));
  if (layout == nullptr) return;
  BuildSource(layout->GetChildLayoutXML(), 1, layout, manager, depth + 1);
}

void CDialogBuilder::BuildSource(const CUiString& source, int count, CControlUI* parent,
                                 CPaintManagerUI* manager, int depth) {
  if (count <= 0 || source.IsEmpty() || m_includeDepth >= kMaxIncludeDepth) return;
  CDialogBuilder nested;
  nested.m_includeDepth = m_includeDepth + 1;
  nested.m_baseDepth = depth;
  const STRINGorID loaded = m_pstrtype != nullptr
                                ? STRINGorID(static_cast<WORD>(ParseDecimal(source)))
                                : STRINGorID(source.GetData());
  if (!nested.Load(loaded, m_pstrtype)) return;
  for (int i = 0; i < count; ++i) {
    CControlUI* built = nested.Create(m_pCallback, manager, parent);
    // Included controls are never the result: without a parent nobody would own them.
    if (built != nullptr && parent == nullptr) built->Delete();
  }
}

void CDialogBuilder::GetLastErrorMessage(wchar_t* buffer, std::size_t max) const {
  m_xml.GetLastErrorMessage(buffer, max);
}

void CDialogBuilder::GetLastErrorLocation(wchar_t* buffer, std::size_t max) const {
  m_xml.GetLastErrorLocation(buffer, max);
}

}  // namespace SkinUI
