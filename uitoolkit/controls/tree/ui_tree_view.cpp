#include "uitoolkit/controls/tree/ui_tree_view.h"

#include <algorithm>

#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

CTreeNodeUI* AsNode(CControlUI* control) {
  return control != nullptr ? static_cast<CTreeNodeUI*>(control->GetInterface(L"TreeNode"))
                            : nullptr;
}

bool Inside(const RECT& rc, POINT pt) { return ::PtInRect(&rc, pt) != FALSE; }

constexpr DWORD kPlainToggleColor = 0xFF808080;
constexpr DWORD kPlainCheckColor = 0xFF404040;
constexpr DWORD kCheckBoxFill = 0xFFFFFFFF;
constexpr int kGlyphSize = 16;

// The plain toggle: a 9-pixel box with a minus, and a plus while collapsed.
void DrawPlainToggle(HDC hDC, const RECT& column, bool expanded, DWORD color) {
  const RECT box = CenteredSquare(column, 9);
  CRenderEngine::DrawRect(hDC, box, 1, color);
  CRenderEngine::DrawColor(hDC, RECT{box.left + 2, box.top + 4, box.right - 2, box.top + 5}, color);
  if (!expanded) {
    CRenderEngine::DrawColor(hDC, RECT{box.left + 4, box.top + 2, box.left + 5, box.bottom - 2},
                             color);
  }
}

// The plain check box: a 13-pixel white box, a tick when checked, a square when mixed.
void DrawPlainCheck(HDC hDC, const RECT& column, TreeCheckState state, DWORD color) {
  const RECT box = CenteredSquare(column, 13);
  CRenderEngine::DrawColor(hDC, box, kCheckBoxFill);
  CRenderEngine::DrawRect(hDC, box, 1, color);
  if (state == TreeCheckState::kMixed) {
    CRenderEngine::DrawColor(hDC, RECT{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3},
                             color);
  } else if (state == TreeCheckState::kChecked) {
    for (LONG i = 0; i < 7; ++i) {
      const LONG y = box.top + (i < 3 ? 5 + i : 9 - i);
      CRenderEngine::DrawColor(hDC, RECT{box.left + 3 + i, y, box.left + 4 + i, y + 2}, color);
    }
  }
}

}  // namespace

// ---- CTreeNodeUI ----

CTreeNodeUI::~CTreeNodeUI() {
  if (m_pTree != nullptr) return;
  for (CTreeNodeUI* child : m_children) child->Delete();
}

void* CTreeNodeUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) return this;
  return CListContainerElementUI::GetInterface(name);
}

CTreeNodeUI* CTreeNodeUI::GetChildNode(int index) const {
  return index >= 0 && index < GetChildCount() ? m_children[index] : nullptr;
}

int CTreeNodeUI::GetDepth() const {
  int depth = 0;
  for (const CTreeNodeUI* node = m_pParentNode; node != nullptr; node = node->m_pParentNode) {
    ++depth;
  }
  return depth;
}

bool CTreeNodeUI::Add(CControlUI* control) {
  return AsNode(control) != nullptr ? AddAt(control, GetChildCount())
                                    : CListContainerElementUI::Add(control);
}

bool CTreeNodeUI::AddAt(CControlUI* control, int index) {
  CTreeNodeUI* node = AsNode(control);
  if (node == nullptr) return CListContainerElementUI::AddAt(control, index);
  if (node == this || node->m_pTree != nullptr || node->m_pParentNode != nullptr) return false;
  for (const CTreeNodeUI* above = m_pParentNode; above != nullptr; above = above->m_pParentNode) {
    if (above == node) return false;
  }
  if (m_pTree != nullptr) return m_pTree->InsertNode(node, this, index);
  index = std::min(std::max(index, 0), GetChildCount());
  m_children.insert(m_children.begin() + index, node);
  node->m_pParentNode = this;
  return true;
}

bool CTreeNodeUI::Remove(CControlUI* control, bool doNotDestroy) {
  CTreeNodeUI* node = AsNode(control);
  if (node == nullptr) return CListContainerElementUI::Remove(control, doNotDestroy);
  if (node->m_pParentNode != this) return false;
  if (m_pTree != nullptr) return m_pTree->RemoveNode(node, doNotDestroy);
  m_children.erase(std::find(m_children.begin(), m_children.end(), node));
  node->m_pParentNode = nullptr;
  if (!doNotDestroy) node->Delete();
  return true;
}

void CTreeNodeUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  // The skin's states are set without notifications.
  if (NameIs(name, L"expanded")) {
    ChangeExpanded(ParseBoolValue(value), false);
  } else if (NameIs(name, L"checked")) {
    ChangeChecked(ParseBoolValue(value), false);
  } else {
    CListContainerElementUI::SetAttribute(name, value);
  }
}

void CTreeNodeUI::SetInternVisible(bool visible) {
  m_bOuterVisible = visible;
  CListContainerElementUI::SetInternVisible(visible && !m_bFolded);
}

void CTreeNodeUI::SetVisible(bool visible) {
  CListContainerElementUI::SetVisible(visible);
  if (m_pTree != nullptr) m_pTree->Refold(this);
}

bool CTreeNodeUI::HidesChildren() const { return m_bFolded || !m_bExpanded || !m_bVisible; }

void CTreeNodeUI::SetFolded(bool folded) {
  if (m_bFolded == folded) return;
  m_bFolded = folded;
  CListContainerElementUI::SetInternVisible(m_bOuterVisible && !folded);
}

TTreeRowParts CTreeNodeUI::PartsFor(const RECT& row) const {
  const int indent = m_pTree != nullptr ? m_pTree->GetLook().indent : kDefaultTreeIndent;
  const bool checkBoxes = m_pTree != nullptr && m_pTree->GetLook().checkBoxes;
  return TreeRowPartsFor(row, GetDepth(), indent, checkBoxes);
}

TTreeRowParts CTreeNodeUI::GetRowParts() const { return PartsFor(m_rcItem); }

void CTreeNodeUI::SetPos(RECT rc, bool needInvalidate) {
  // The row's controls start where the text starts: the inset grows by the parts before it
  // for this layout pass only.
  const TTreeRowParts parts = PartsFor(rc);
  const CUiRect inset = m_rcInset;
  m_rcInset.left += parts.text.left - rc.left;
  CListContainerElementUI::SetPos(rc, needInvalidate);
  m_rcInset = inset;
}

void CTreeNodeUI::DoEvent(TEventUI& event) {
  if (m_pTree != nullptr && IsEnabled() &&
      (event.Type == UIEVENT_BUTTONDOWN || event.Type == UIEVENT_DBLCLICK)) {
    const TTreeRowParts parts = GetRowParts();
    if (!m_children.empty() && Inside(parts.toggle, event.ptMouse)) {
      m_pTree->SetFocus();
      m_pTree->ToggleByInput(this, !m_bExpanded);
      return;
    }
    if (m_pTree->GetLook().checkBoxes && Inside(parts.check, event.ptMouse)) {
      m_pTree->SetFocus();
      SetChecked(m_check != TreeCheckState::kChecked);
      return;
    }
    if (event.Type == UIEVENT_DBLCLICK) {
      CListContainerElementUI::DoEvent(event);
      if (!m_children.empty() && m_pTree != nullptr) m_pTree->ToggleByInput(this, !m_bExpanded);
      return;
    }
  }
  CListContainerElementUI::DoEvent(event);
}

bool CTreeNodeUI::SetExpanded(bool expanded) { return ChangeExpanded(expanded, true); }

bool CTreeNodeUI::ChangeExpanded(bool expanded, bool notify) {
  if (m_bExpanded == expanded) return false;
  m_bExpanded = expanded;
  Invalidate();
  if (m_pTree != nullptr) m_pTree->ExpansionChanged(this);
  if (notify && m_pManager != nullptr) {
    m_pManager->SendNotify(this, expanded ? L"itemexpand" : L"itemcollapse");
  }
  return true;
}

void CTreeNodeUI::SetChecked(bool checked) { ChangeChecked(checked, true); }

void CTreeNodeUI::ChangeChecked(bool checked, bool notify) {
  const TreeCheckState state = checked ? TreeCheckState::kChecked : TreeCheckState::kUnchecked;
  m_bCheckGiven = true;
  if (m_pTree != nullptr && notify) m_pTree->SettleChecksOnce();
  if (m_pTree != nullptr && m_pTree->m_bChecksSettled) {
    m_pTree->ChangeCheck(this, state, notify);
  } else if (m_check != state) {
    m_check = state;
    Invalidate();
  }
}

void CTreeNodeUI::PaintText(HDC hDC) {
  if (m_pTree == nullptr) {
    CListContainerElementUI::PaintText(hDC);
    return;
  }
  TTreeLook& look = m_pTree->GetLook();
  const TTreeRowParts parts = GetRowParts();
  if (!m_children.empty()) {
    TDrawInfo& image = m_bExpanded ? look.expandedImage : look.collapsedImage;
    if (image.drawString.IsEmpty() ||
        !CRenderEngine::DrawImage(hDC, m_pManager, CenteredSquare(parts.toggle, kGlyphSize),
                                  m_rcPaint, image)) {
      DrawPlainToggle(hDC, parts.toggle, m_bExpanded,
                      GetAdjustColor(look.toggleColor != 0 ? look.toggleColor : kPlainToggleColor));
    }
  }
  if (look.checkBoxes) {
    TDrawInfo& image = m_check == TreeCheckState::kChecked ? look.checkedImage
                       : m_check == TreeCheckState::kMixed ? look.mixedImage
                                                           : look.uncheckedImage;
    if (image.drawString.IsEmpty() ||
        !CRenderEngine::DrawImage(hDC, m_pManager, CenteredSquare(parts.check, kGlyphSize),
                                  m_rcPaint, image)) {
      DrawPlainCheck(hDC, parts.check, m_check,
                     GetAdjustColor(look.checkColor != 0 ? look.checkColor : kPlainCheckColor));
    }
  }
  DrawItemText(hDC, parts.text);
}

// ---- CTreeViewUI ----

void* CTreeViewUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) return this;
  return CListUI::GetInterface(name);
}

CTreeNodeUI* CTreeViewUI::GetRootNode(int index) const {
  return index >= 0 && index < GetRootCount() ? m_roots[index] : nullptr;
}

CTreeNodeUI* CTreeViewUI::NodeAt(int row) const { return AsNode(GetItemAt(row)); }

int CTreeViewUI::EndOfSubtree(const CTreeNodeUI* node) const {
  while (!node->m_children.empty()) node = node->m_children.back();
  return node->GetIndex() + 1;
}

bool CTreeViewUI::Add(CControlUI* control) { return AddAt(control, GetRootCount()); }

bool CTreeViewUI::AddAt(CControlUI* control, int index) {
  CTreeNodeUI* node = AsNode(control);
  return node != nullptr && node->m_pParentNode == nullptr && InsertNode(node, nullptr, index);
}

bool CTreeViewUI::Remove(CControlUI* control, bool doNotDestroy) {
  CTreeNodeUI* node = AsNode(control);
  return node != nullptr && RemoveNode(node, doNotDestroy);
}

bool CTreeViewUI::RemoveAt(int index, bool doNotDestroy) {
  return Remove(GetItemAt(index), doNotDestroy);
}

void CTreeViewUI::RemoveAll() {
  // Every row is destroyed by the list; the nodes forget each other first.
  m_roots.clear();
  for (int i = 0; i < GetCount(); ++i) {
    CTreeNodeUI* node = NodeAt(i);
    node->m_children.clear();
    node->m_pParentNode = nullptr;
  }
  CListUI::RemoveAll();
}

bool CTreeViewUI::SetItemIndex(CControlUI*, int) { return false; }
bool CTreeViewUI::SetMultiItemIndex(CControlUI*, int, int) { return false; }

bool CTreeViewUI::InsertNode(CTreeNodeUI* node, CTreeNodeUI* parent, int childIndex) {
  if (node == nullptr || node->m_pTree != nullptr || node->m_pParentNode != nullptr) return false;
  if (parent != nullptr && parent->m_pTree != this) return false;
  std::vector<CTreeNodeUI*>& siblings = parent != nullptr ? parent->m_children : m_roots;
  childIndex = std::min(std::max(childIndex, 0), static_cast<int>(siblings.size()));
  int row = childIndex < static_cast<int>(siblings.size()) ? siblings[childIndex]->GetIndex()
            : parent != nullptr                            ? EndOfSubtree(parent)
                                                           : GetCount();
  siblings.insert(siblings.begin() + childIndex, node);
  node->m_pParentNode = parent;
  AddRows(node, row, parent != nullptr && parent->HidesChildren());
  if (parent != nullptr) {
    parent->Invalidate();
    SettleChecks(parent, node);
  }
  return true;
}

void CTreeViewUI::AddRows(CTreeNodeUI* node, int& row, bool folded) {
  node->m_pTree = this;
  node->SetFolded(folded);
  CListUI::AddAt(node, row++);
  for (CTreeNodeUI* child : node->m_children) AddRows(child, row, node->HidesChildren());
}

bool CTreeViewUI::RemoveNode(CTreeNodeUI* node, bool doNotDestroy) {
  if (node == nullptr || node->m_pTree != this) return false;
  const int first = node->GetIndex();
  const int end = EndOfSubtree(node);
  for (int i = first; i < end; ++i) {
    NodeAt(i)->m_pTree = nullptr;
    NodeAt(i)->SetOwner(nullptr);
  }
  CTreeNodeUI* parent = node->m_pParentNode;
  std::vector<CTreeNodeUI*>& siblings = parent != nullptr ? parent->m_children : m_roots;
  siblings.erase(std::find(siblings.begin(), siblings.end(), node));
  node->m_pParentNode = nullptr;
  DetachElements(first, end - first);
  if (parent != nullptr) {
    parent->Invalidate();
    SettleChecks(parent, nullptr);
  }
  if (!doNotDestroy) {
    // The node takes its subtree with it (it is outside a tree now).
    if (m_pManager != nullptr) {
      m_pManager->AddDelayedCleanup(node);
    } else {
      node->Delete();
    }
  }
  return true;
}

void CTreeViewUI::Refold(CTreeNodeUI* node) {
  const bool hide = node->HidesChildren();
  for (CTreeNodeUI* child : node->m_children) {
    child->SetFolded(hide);
    // The rows below a collapsed or hidden child stay hidden either way.
    if (child->m_bExpanded && child->m_bVisible) Refold(child);
  }
}

void CTreeViewUI::ExpansionChanged(CTreeNodeUI* node) {
  Refold(node);
  GetBody()->NeedUpdate();
  if (node->m_bExpanded) return;
  // A caret hidden inside the collapsed subtree moves to the collapsed node.
  CTreeNodeUI* caret = AsNode(GetCaret());
  for (CTreeNodeUI* above = caret != nullptr ? caret->m_pParentNode : nullptr; above != nullptr;
       above = above->m_pParentNode) {
    if (above == node) {
      SelectItem(node->GetIndex());
      break;
    }
  }
}

bool CTreeViewUI::SelectItem(int index, bool takeFocus) {
  // A node selected below closed folders is shown: the folders open.
  CTreeNodeUI* node = NodeAt(index);
  for (CTreeNodeUI* above = node != nullptr ? node->m_pParentNode : nullptr; above != nullptr;
       above = above->m_pParentNode) {
    above->SetExpanded(true);
  }
  return CListUI::SelectItem(index, takeFocus);
}

void CTreeViewUI::ToggleByInput(CTreeNodeUI* node, bool expand) {
  if (!node->SetExpanded(expand) || !expand || node->m_pTree != this) return;
  // As many of the new rows as fit come into view, the node itself first.
  EnsureVisible(EndOfSubtree(node) - 1);
  EnsureVisible(node->GetIndex());
}

void CTreeViewUI::ExpandSubtree(CTreeNodeUI* node) {
  if (node->m_children.empty()) return;
  ToggleByInput(node, true);
  for (CTreeNodeUI* child : node->m_children) ExpandSubtree(child);
}

bool CTreeViewUI::SetCheck(CTreeNodeUI* node, TreeCheckState state,
                           std::vector<CTreeNodeUI*>& changed) {
  if (node->m_check == state) return false;
  node->m_check = state;
  node->Invalidate();
  changed.push_back(node);
  return true;
}

TreeCheckState CTreeViewUI::StateFromChildren(const CTreeNodeUI* folder) {
  int checked = 0;
  int mixed = 0;
  for (const CTreeNodeUI* child : folder->m_children) {
    checked += child->m_check == TreeCheckState::kChecked ? 1 : 0;
    mixed += child->m_check == TreeCheckState::kMixed ? 1 : 0;
  }
  return FolderCheckState(checked, mixed, folder->GetChildCount());
}

void CTreeViewUI::SettleFolders(CTreeNodeUI* folder, std::vector<CTreeNodeUI*>& changed) {
  for (; folder != nullptr && !folder->m_children.empty(); folder = folder->m_pParentNode) {
    if (!SetCheck(folder, StateFromChildren(folder), changed)) break;
  }
}

void CTreeViewUI::ChangeCheck(CTreeNodeUI* node, TreeCheckState state, bool notify) {
  std::vector<CTreeNodeUI*> changed;
  SetCheck(node, state, changed);
  if (m_look.propagateChecks) {
    // The subtree's rows follow the node's row, depth first.
    for (int i = node->GetIndex() + 1, end = EndOfSubtree(node); i < end; ++i) {
      SetCheck(NodeAt(i), state, changed);
    }
    SettleFolders(node->m_pParentNode, changed);
  }
  if (!notify || m_pManager == nullptr) return;
  for (CTreeNodeUI* target : changed) m_pManager->SendNotify(target, L"selectchanged");
}

void CTreeViewUI::SettleChecks(CTreeNodeUI* parent, CTreeNodeUI* added) {
  if (!m_look.propagateChecks || !m_bChecksSettled) return;
  if (added != nullptr && parent->m_check == TreeCheckState::kChecked) {
    ChangeCheck(added, TreeCheckState::kChecked, false);
  } else {
    std::vector<CTreeNodeUI*> changed;
    SettleFolders(parent, changed);
  }
}

void CTreeViewUI::SetPos(RECT rc, bool needInvalidate) {
  SettleChecksOnce();
  CListUI::SetPos(rc, needInvalidate);
}

void CTreeViewUI::SettleChecksOnce() {
  if (m_bChecksSettled) return;
  m_bChecksSettled = true;
  if (!m_look.propagateChecks) return;
  for (CTreeNodeUI* root : m_roots) SettleSkinChecks(root, false);
}

void CTreeViewUI::SettleSkinChecks(CTreeNodeUI* node, bool inheritChecked) {
  if (!node->m_bCheckGiven && inheritChecked) node->m_check = TreeCheckState::kChecked;
  if (node->m_children.empty()) return;
  for (CTreeNodeUI* child : node->m_children) {
    SettleSkinChecks(child, node->m_check == TreeCheckState::kChecked);
  }
  node->m_check = StateFromChildren(node);
}

// ---- input ----

void CTreeViewUI::DoEvent(TEventUI& event) {
  CTreeNodeUI* caret = AsNode(GetCaret());
  if (event.Type == UIEVENT_KEYDOWN && caret != nullptr && IsEnabled()) {
    const bool folder = caret->GetChildCount() > 0;
    switch (event.chKey) {
      case VK_RIGHT:
        if (folder && !caret->IsExpanded()) {
          ToggleByInput(caret, true);
        } else if (folder) {
          SelectItem(caret->GetChildNode(0)->GetIndex());
        }
        return;
      case VK_LEFT:
        if (folder && caret->IsExpanded()) {
          ToggleByInput(caret, false);
        } else if (caret->GetParentNode() != nullptr) {
          SelectItem(caret->GetParentNode()->GetIndex());
        }
        return;
      case VK_BACK:
        if (caret->GetParentNode() != nullptr) SelectItem(caret->GetParentNode()->GetIndex());
        return;
      case VK_MULTIPLY:
        ExpandSubtree(caret);
        return;
      case VK_ADD:
      case VK_OEM_PLUS:
        if (folder) ToggleByInput(caret, true);
        return;
      case VK_SUBTRACT:
      case VK_OEM_MINUS:
        if (folder) ToggleByInput(caret, false);
        return;
      case VK_SPACE:
        if (m_look.checkBoxes) {
          caret->SetChecked(!caret->IsChecked());
          return;
        }
        break;
      default:
        break;
    }
  }
  CListUI::DoEvent(event);
}

// ---- attributes ----

void CTreeViewUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (value == nullptr) value = L"";
  struct TImageAttribute {
    const wchar_t* name;
    TDrawInfo TTreeLook::*image;
  };
  static const TImageAttribute kImages[] = {
      {L"expandedimage", &TTreeLook::expandedImage},
      {L"collapsedimage", &TTreeLook::collapsedImage},
      {L"checkedimage", &TTreeLook::checkedImage},
      {L"uncheckedimage", &TTreeLook::uncheckedImage},
      {L"mixedimage", &TTreeLook::mixedImage},
  };
  for (const TImageAttribute& attribute : kImages) {
    if (NameIs(name, attribute.name)) {
      m_look.*attribute.image = TDrawInfo(value);
      Invalidate();
      return;
    }
  }
  if (NameIs(name, L"indent")) {
    m_look.indent = std::max<LONG>(0, ParseDecimal(value));
  } else if (NameIs(name, L"checkboxes")) {
    m_look.checkBoxes = ParseBoolValue(value);
  } else if (NameIs(name, L"checkpropagate")) {
    m_look.propagateChecks = ParseBoolValue(value);
  } else if (NameIs(name, L"togglecolor")) {
    m_look.toggleColor = ParseColor(value);
  } else if (NameIs(name, L"checkcolor")) {
    m_look.checkColor = ParseColor(value);
  } else {
    CListUI::SetAttribute(name, value);
    return;
  }
  NeedUpdate();
}

}  // namespace SkinUI
