// CTreeViewUI (TreeView, Tree) and CTreeNodeUI (TreeNode): a tree view built on the list. The
// tree is a list whose rows are all its nodes in depth-first order; the rows of a collapsed
// node's descendants are hidden, so the list's layout, painting, hit tests, selection and keys
// pass over them. Each row shows its node indented by depth, an expand/collapse toggle when the
// node has children, an optional check box and the node's text, then the row's own controls.
#pragma once

#include <windows.h>

#include <vector>

#include "uitoolkit/controls/lists/ui_list.h"
#include "uitoolkit/controls/lists/ui_list_elements.h"
#include "uitoolkit/controls/tree/ui_tree_geometry.h"
#include "uitoolkit/core/ui_render_engine.h"

namespace SkinUI {

class CTreeViewUI;

class CTreeNodeUI : public CListContainerElementUI {
 public:
  static constexpr const wchar_t* kClassName = L"TreeNode";

  CTreeNodeUI() = default;
  // A node outside a tree owns its child nodes; in a tree the tree's rows own every node.
  ~CTreeNodeUI() override;
  CTreeNodeUI(const CTreeNodeUI&) = delete;
  CTreeNodeUI& operator=(const CTreeNodeUI&) = delete;

  const wchar_t* GetClass() const override { return kClassName; }
  // "TreeNode", then the container element's names.
  void* GetInterface(const wchar_t* name) override;
  // A TreeNode added becomes a child node (AddAt: at that place among the children), with its
  // subtree; any other control becomes a control of the row, after the text's start.
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  // A child node goes with its subtree; any other control leaves the row.
  bool Remove(CControlUI* control, bool doNotDestroy = false) override;
  // `expanded`, `checked`; the rest as a ListContainerElement.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  // Hidden while an ancestor is collapsed or hidden, whatever its containers say.
  void SetInternVisible(bool visible = true) override;
  // A hidden node hides its subtree's rows too.
  void SetVisible(bool visible = true) override;
  // The row's controls are laid out after the indentation, toggle and check box.
  void SetPos(RECT rc, bool needInvalidate = true) override;
  // A press on the toggle expands or collapses, on the check box checks or clears (neither
  // selects); a double click elsewhere also expands or collapses.
  void DoEvent(TEventUI& event) override;
  // The toggle, the check box and the text.
  void PaintText(HDC hDC) override;

  CTreeViewUI* GetTreeView() const { return m_pTree; }
  CTreeNodeUI* GetParentNode() const { return m_pParentNode; }
  int GetChildCount() const { return static_cast<int>(m_children.size()); }
  CTreeNodeUI* GetChildNode(int index) const;
  // 0 for a top-level node.
  int GetDepth() const;
  // The row's parts as laid out now.
  TTreeRowParts GetRowParts() const;

  bool IsExpanded() const { return m_bExpanded; }
  // Shows or hides the children and sends "itemexpand" or "itemcollapse"; false when nothing
  // changed.
  bool SetExpanded(bool expanded);
  TreeCheckState GetCheckState() const { return m_check; }
  bool IsChecked() const { return m_check == TreeCheckState::kChecked; }
  // Checks or clears the node (and, when its tree propagates, its subtree and its ancestors'
  // states); each node whose state changed sends "selectchanged".
  void SetChecked(bool checked);

 private:
  friend class CTreeViewUI;
  void SetFolded(bool folded);
  // The parts of this node's row if it lay at `row`.
  TTreeRowParts PartsFor(const RECT& row) const;
  // Its children's rows are hidden: it is collapsed, hidden itself or below such a node.
  bool HidesChildren() const;
  bool ChangeExpanded(bool expanded, bool notify);
  void ChangeChecked(bool checked, bool notify);

  CTreeViewUI* m_pTree = nullptr;
  CTreeNodeUI* m_pParentNode = nullptr;
  std::vector<CTreeNodeUI*> m_children;
  bool m_bExpanded = false;
  bool m_bFolded = false;        // an ancestor is collapsed or hidden
  bool m_bOuterVisible = true;   // what the containers above say
  TreeCheckState m_check = TreeCheckState::kUnchecked;
  bool m_bCheckGiven = false;    // checked or cleared by the skin or in code
};

// What a tree's toggles and check boxes look like.
struct TTreeLook {
  int indent = kDefaultTreeIndent;
  bool checkBoxes = false;
  bool propagateChecks = true;
  DWORD toggleColor = 0;  // 0: the plain grey
  DWORD checkColor = 0;   // 0: the plain dark grey
  TDrawInfo expandedImage;
  TDrawInfo collapsedImage;
  TDrawInfo checkedImage;
  TDrawInfo uncheckedImage;
  TDrawInfo mixedImage;
};

class CTreeViewUI : public CListUI {
 public:
  static constexpr const wchar_t* kClassName = L"TreeView";

  const wchar_t* GetClass() const override { return kClassName; }
  // "TreeView", then the list's names.
  void* GetInterface(const wchar_t* name) override;
  // Right and Left, + and -, * and Backspace expand, collapse and move between parent and
  // child; Space checks the caret's node when the tree shows check boxes; the rest as in the
  // list.
  void DoEvent(TEventUI& event) override;
  // The tree's attributes (see the README); the rest as a List.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  // The first layout settles the check states the skin gave (see SettleSkinChecks).
  void SetPos(RECT rc, bool needInvalidate = true) override;

  // Items are the rows (every node, depth first). Add appends a top-level node with its
  // subtree, AddAt puts it at that place among the top-level nodes; anything but a TreeNode is
  // refused. Remove and RemoveAt take a node with its subtree.
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control, bool doNotDestroy = false) override;
  bool RemoveAt(int index, bool doNotDestroy = false) override;
  void RemoveAll() override;
  // Opens the closed folders above the node first, so that the selection is shown.
  bool SelectItem(int index, bool takeFocus = false) override;
  // Rows keep the tree's order: moving them is refused.
  bool SetItemIndex(CControlUI* control, int index) override;
  bool SetMultiItemIndex(CControlUI* startControl, int count, int newStartIndex) override;

  int GetRootCount() const { return static_cast<int>(m_roots.size()); }
  CTreeNodeUI* GetRootNode(int index) const;
  // Puts `node` (not in a tree) with its subtree at `childIndex` among the children of
  // `parent` (null: the top level; past the end: last). False when it cannot go there.
  bool InsertNode(CTreeNodeUI* node, CTreeNodeUI* parent, int childIndex);
  // Takes `node` and its subtree out of the tree and destroys them unless asked not to.
  bool RemoveNode(CTreeNodeUI* node, bool doNotDestroy = false);
  TTreeLook& GetLook() { return m_look; }

 private:
  friend class CTreeNodeUI;
  CTreeNodeUI* NodeAt(int row) const;
  // The row after `node`'s subtree.
  int EndOfSubtree(const CTreeNodeUI* node) const;
  void AddRows(CTreeNodeUI* node, int& row, bool folded);
  // Hides or shows the rows below `node` after it was expanded, collapsed, hidden or shown.
  void Refold(CTreeNodeUI* node);
  void ExpansionChanged(CTreeNodeUI* node);
  // Expands or collapses `node` for the mouse or a key; an expanded node's rows are scrolled
  // into view as far as they fit below it.
  void ToggleByInput(CTreeNodeUI* node, bool expand);
  // Expands `node` and every folder below it, top down.
  void ExpandSubtree(CTreeNodeUI* node);
  // Sets `node`'s state (with its subtree and ancestors when propagating); notifies each
  // changed node when `notify`.
  void ChangeCheck(CTreeNodeUI* node, TreeCheckState state, bool notify);
  // Sets one node's state, recording it in `changed` when it changed.
  static bool SetCheck(CTreeNodeUI* node, TreeCheckState state,
                       std::vector<CTreeNodeUI*>& changed);
  // The state of a folder (with children) from its children's states.
  static TreeCheckState StateFromChildren(const CTreeNodeUI* folder);
  // `folder` and the folders above it take their states from their children, up to the first
  // that keeps its state.
  void SettleFolders(CTreeNodeUI* folder, std::vector<CTreeNodeUI*>& changed);
  // After `parent`'s children changed: a checked folder passes its state to `added`, else the
  // folders up from `parent` take their states from their children.
  void SettleChecks(CTreeNodeUI* parent, CTreeNodeUI* added);

  // With propagation, the skin's states once all of them are known (the tree's own attributes
  // come after its nodes): a node the skin left alone takes a checked parent's state, then each
  // folder takes its state from its children.
  void SettleSkinChecks(CTreeNodeUI* node, bool inheritChecked);
  // Settles them once: at the first layout or the first check by input or code, whichever
  // comes first; from then on every change propagates at once.
  void SettleChecksOnce();

  std::vector<CTreeNodeUI*> m_roots;
  TTreeLook m_look;
  bool m_bChecksSettled = false;
};

}  // namespace SkinUI
