// The tree without a window: the row parts and folder-state tables, and a tree built in code
// (a subtree made outside the tree and added, nodes inserted and removed with their subtrees,
// rows hidden under collapsed nodes, check states passed down and settled up).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uitoolkit/controls/tree/ui_tree_view.h"

namespace SkinUI {
namespace {

TEST(TreeGeometry, RowParts) {
  struct TRow {
    int depth, indent;
    bool checks;
    RECT row, toggle, check, text;
  };
  const TRow rows[] = {
      {0, 16, false, {0, 0, 200, 20}, {0, 0, 16, 20}, {16, 0, 16, 0}, {16, 0, 200, 20}},
      {2, 16, true, {10, 40, 200, 60}, {42, 40, 58, 60}, {58, 40, 78, 60}, {78, 40, 200, 60}},
      {1, 0, true, {0, 0, 200, 20}, {0, 0, 16, 20}, {16, 0, 36, 20}, {36, 0, 200, 20}},
      // A row narrower than its indentation keeps every part inside it.
      {5, 20, true, {0, 0, 50, 20}, {50, 0, 50, 20}, {50, 0, 50, 20}, {50, 0, 50, 20}},
  };
  for (const TRow& row : rows) {
    const TTreeRowParts parts = TreeRowPartsFor(row.row, row.depth, row.indent, row.checks);
    EXPECT_TRUE(::EqualRect(&parts.toggle, &row.toggle)) << row.depth;
    EXPECT_TRUE(::EqualRect(&parts.check, &row.check)) << row.depth;
    EXPECT_TRUE(::EqualRect(&parts.text, &row.text)) << row.depth;
  }
  const RECT square = CenteredSquare(RECT{16, 20, 36, 44}, 13);
  const RECT expected = {19, 25, 32, 38};
  EXPECT_TRUE(::EqualRect(&square, &expected));
}

TEST(TreeGeometry, FolderCheckState) {
  struct TRow {
    int checked, mixed, total;
    TreeCheckState state;
  };
  const TRow rows[] = {
      {3, 0, 3, TreeCheckState::kChecked},  {0, 0, 3, TreeCheckState::kUnchecked},
      {1, 0, 3, TreeCheckState::kMixed},    {0, 1, 3, TreeCheckState::kMixed},
      {2, 1, 3, TreeCheckState::kMixed},
  };
  for (const TRow& row : rows) {
    EXPECT_EQ(row.state, FolderCheckState(row.checked, row.mixed, row.total)) << row.checked;
  }
}

CTreeNodeUI* Node(const wchar_t* name) {
  auto* node = new CTreeNodeUI();
  node->SetName(name);
  return node;
}

// The rows as "name" (hidden ones in brackets) with the check state as +, - or ~.
std::wstring Rows(const CTreeViewUI& tree) {
  std::wstring text;
  for (int i = 0; i < tree.GetCount(); ++i) {
    auto* node = static_cast<CTreeNodeUI*>(tree.GetItemAt(i)->GetInterface(L"TreeNode"));
    const wchar_t* state[] = {L"-", L"+", L"~"};
    const std::wstring name = node->GetName().GetData();
    text += (node->IsVisible() ? name : L"(" + name + L")") +
            state[static_cast<int>(node->GetCheckState())] + L" ";
    EXPECT_EQ(i, node->GetIndex());
  }
  return text;
}

TEST(TreeView, NodesInCode) {
  CTreeViewUI tree;
  // A subtree made outside the tree comes in whole, hidden below its collapsed top.
  CTreeNodeUI* a = Node(L"a");
  CTreeNodeUI* a1 = Node(L"a1");
  a->Add(a1);
  a1->Add(Node(L"a1x"));
  a->Add(Node(L"a2"));
  ASSERT_TRUE(tree.Add(a));
  ASSERT_TRUE(tree.AddAt(Node(L"b"), 0));
  CControlUI notANode;
  EXPECT_FALSE(tree.Add(&notANode));
  EXPECT_EQ(L"b- a- (a1)- (a1x)- (a2)- ", Rows(tree));
  // Expanding shows the children, and the grandchildren of an expanded child; collapsing hides
  // them all, and expanding again brings back what was open.
  a->SetExpanded(true);
  EXPECT_EQ(L"b- a- a1- (a1x)- a2- ", Rows(tree));
  // The alternate background takes every second row shown.
  tree.SetPos(RECT{0, 0, 200, 200});
  const bool alternate[] = {false, true, false, false, true};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(alternate[i], tree.IsAlternateRow(i)) << i;
  a1->SetExpanded(true);
  a->SetExpanded(false);
  EXPECT_EQ(L"b- a- (a1)- (a1x)- (a2)- ", Rows(tree));
  a->SetExpanded(true);
  EXPECT_EQ(L"b- a- a1- a1x- a2- ", Rows(tree));
  // A hidden node hides its subtree.
  a1->SetVisible(false);
  EXPECT_EQ(L"b- a- (a1)- (a1x)- a2- ", Rows(tree));
  a1->SetVisible(true);
  // Shift+click selects the rows shown from the anchor, not the hidden ones between.
  a1->SetExpanded(false);
  tree.SetMultiSelect(true);
  TEventUI click;
  click.Type = UIEVENT_BUTTONDOWN;
  click.pSender = a1;
  tree.DoEvent(click);
  click.pSender = tree.GetItemAt(4);
  click.wKeyState = UIKEYSTATE_SHIFT;
  tree.DoEvent(click);
  EXPECT_EQ((std::vector<int>{2, 4}), tree.GetSelectedIndexes());
  tree.SetMultiSelect(false);
  // Selecting a hidden node opens the folders above it.
  a->SetExpanded(false);
  EXPECT_TRUE(tree.SelectItem(3));
  EXPECT_EQ(3, tree.GetCurSel());
  ASSERT_TRUE(a->AddAt(Node(L"a0"), 0));
  EXPECT_EQ(3, a1->GetIndex());
  EXPECT_EQ(2, a1->GetChildNode(0)->GetDepth());
  // Checking passes down; a child cleared makes its folders settle (a1 clear, a mixed); a node
  // added under a checked folder takes its state, under a clear one keeps its own.
  a->SetChecked(true);
  EXPECT_EQ(L"b- a+ a0+ a1+ a1x+ a2+ ", Rows(tree));
  a1->GetChildNode(0)->SetChecked(false);
  EXPECT_EQ(L"b- a~ a0+ a1- a1x- a2+ ", Rows(tree));
  a->GetChildNode(0)->Add(Node(L"a0x"));
  a1->Add(Node(L"a1y"));
  EXPECT_EQ(L"b- a~ a0+ (a0x)+ a1- a1x- a1y- a2+ ", Rows(tree));
  // Removing a node takes its subtree; the folder above settles from the children left.
  ASSERT_TRUE(a->Remove(a1));
  EXPECT_EQ(L"b- a+ a0+ (a0x)+ a2+ ", Rows(tree));
  EXPECT_FALSE(a->Remove(a));
  ASSERT_TRUE(tree.RemoveAt(1));
  EXPECT_EQ(L"b- ", Rows(tree));
  EXPECT_EQ(1, tree.GetRootCount());
}

}  // namespace
}  // namespace SkinUI
