// The list's selection and row arithmetic, and the column texts of text elements, as tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uitoolkit/controls/lists/ui_list.h"
#include "uitoolkit/controls/lists/ui_list_elements.h"
#include "uitoolkit/controls/lists/ui_list_header.h"
#include "uitoolkit/controls/lists/ui_list_selection.h"
#include "uitoolkit/controls/ui_event.h"

namespace SkinUI {
namespace {

// Where each navigation key moves the caret among 10 rows with pages of 4 rows (a page key
// moves 3, keeping one row in view), from no caret, inside and at both ends.
TEST(ListSelection, NextRowForEachKey) {
  struct {
    UINT key;
    int current, count, expected;
  } const rows[] = {
      {VK_DOWN, -1, 10, 0}, {VK_DOWN, 4, 10, 5},   {VK_DOWN, 9, 10, 9},  {VK_UP, -1, 10, 0},
      {VK_UP, 4, 10, 3},    {VK_UP, 0, 10, 0},     {VK_NEXT, 4, 10, 7},  {VK_NEXT, 8, 10, 9},
      {VK_PRIOR, 4, 10, 1}, {VK_PRIOR, 2, 10, 0},  {VK_HOME, 7, 10, 0},  {VK_END, 2, 10, 9},
      {VK_END, -1, 0, -1},  {VK_LEFT, 4, 10, -1},  {VK_DOWN, 0, 1, 0},   {VK_NEXT, -1, 10, 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.expected, NextRowForKey(row.key, row.current, row.count, 4))
        << row.key << " from " << row.current;
  }
}

// Page rows, element heights, range from the anchor, the mode from the modifier keys, the
// dragged column width, and the binary search of the first row in view.
TEST(ListSelection, RowArithmetic) {
  const int pages[][3] = {{100, 20, 5}, {99, 20, 4}, {10, 20, 1}, {100, 0, 1}};
  for (const auto& page : pages) EXPECT_EQ(page[2], PageRowsFor(page[0], page[1]));
  const int heights[][4] = {{30, 20, 13, 30}, {0, 20, 13, 20}, {0, 0, 13, 21}, {0, 0, 0, 16}};
  for (const auto& h : heights) EXPECT_EQ(h[3], ElementHeightFor(h[0], h[1], h[2]));
  const int ranges[][4] = {{3, 7, 3, 7}, {7, 3, 3, 7}, {-1, 5, 5, 5}, {4, 4, 4, 4}};
  for (const auto& r : ranges) {
    const TRowRange range = RangeFromAnchor(r[0], r[1]);
    EXPECT_EQ(r[2], range.first);
    EXPECT_EQ(r[3], range.last);
  }
  EXPECT_EQ(ListSelectMode::kSingle, SelectModeFor(UIKEYSTATE_CONTROL, false));
  EXPECT_EQ(ListSelectMode::kToggle, SelectModeFor(UIKEYSTATE_CONTROL, true));
  EXPECT_EQ(ListSelectMode::kRange, SelectModeFor(UIKEYSTATE_SHIFT | UIKEYSTATE_CONTROL, true));
  EXPECT_EQ(ListSelectMode::kSingle, SelectModeFor(0, true));
  const int widths[][4] = {{100, 40, 30, 140}, {100, -90, 30, 30}, {100, -200, 0, 0}};
  for (const auto& w : widths) EXPECT_EQ(w[3], DraggedColumnWidth(w[0], w[1], w[2]));
  // Rows with bottoms 10, 20, 20 (an empty hidden row), 30.
  const int bottoms[] = {10, 20, 20, 30};
  const int firsts[][2] = {{0, 0}, {9, 0}, {10, 1}, {19, 1}, {20, 3}, {29, 3}, {30, 4}};
  for (const auto& first : firsts) {
    EXPECT_EQ(first[1], FirstRowEndingBelow(4, first[0], [&](int i) { return bottoms[i]; }))
        << first[0];
  }
}

// Column texts are split at '|'; setting a column keeps the others, pads missing ones and
// turns a '|' in the new text into a space.
TEST(ListSelection, ColumnTexts) {
  const CUiString text(L"a|b|c");
  const wchar_t* const columns[] = {L"a", L"b", L"c", L""};
  for (int i = 0; i < 4; ++i) EXPECT_STREQ(columns[i], ListColumnText(text, i).GetData());
  EXPECT_STREQ(L"a|x y|c", WithListColumnText(text, 1, L"x|y").GetData());
  EXPECT_STREQ(L"a|b|c||e", WithListColumnText(text, 4, L"e").GetData());
  EXPECT_STREQ(L"|z", WithListColumnText(CUiString(), 1, L"z").GetData());
}

// Inserting, removing and sorting renumber the elements and keep the selection with its
// elements; removing the selected element leaves none; a second header is refused.
TEST(ListSelection, ChangesKeepTheSelection) {
  CListUI list;
  ASSERT_TRUE(list.Add(new CListHeaderUI()));
  CListHeaderUI second;
  EXPECT_FALSE(list.Add(&second));
  for (int i = 0; i < 5; ++i) {
    auto* element = new CListTextElementUI();
    element->SetText(std::to_wstring(i).c_str());
    list.Add(element);
  }
  list.SetPos(RECT{0, 0, 100, 60}, false);
  EXPECT_TRUE(list.SelectItem(3));
  CControlUI* selected = list.GetItemAt(3);
  list.AddAt(new CListLabelElementUI(), 0);
  EXPECT_EQ(4, list.GetCurSel());
  list.RemoveAt(1);
  EXPECT_EQ(3, list.GetCurSel());
  // Descending by text.
  list.SortItems([](CControlUI* a, CControlUI* b, UINT_PTR) {
    return b->GetText().Compare(a->GetText());
  }, 0);
  EXPECT_EQ(selected, list.GetItemAt(list.GetCurSel()));
  for (int i = 0; i < list.GetCount(); ++i) {
    auto* item = static_cast<IListItemUI*>(list.GetItemAt(i)->GetInterface(L"ListItem"));
    EXPECT_EQ(i, item->GetIndex());
  }
  list.Remove(selected);
  EXPECT_EQ(-1, list.GetCurSel());
  EXPECT_EQ(std::vector<int>{}, list.GetSelectedIndexes());
  EXPECT_EQ(4, list.GetCount());
}

}  // namespace
}  // namespace SkinUI
