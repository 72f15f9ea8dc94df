#include "uitoolkit/controls/layouts/ui_tile_layout.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "uitoolkit/controls/layouts/ui_tile_geometry.h"
#include "uitoolkit/controls/ui_layout_steps.h"
#include "uitoolkit/core/ui_value_parsing.h"
#include "uitoolkit/controls/ui_attribute_values.h"

namespace SkinUI {
namespace {

TTileChildRules RulesOf(CControlUI& item) {
  return TTileChildRules{SIZE{item.GetFixedWidth(), item.GetFixedHeight()},
                         SIZE{item.GetMinWidth(), item.GetMinHeight()},
                         SIZE{item.GetMaxWidth(), item.GetMaxHeight()}, item.GetPadding()};
}

// The height a tile asks for in a column `columnWidth` wide: its fixed height, else its
// estimate, within its minimum and maximum, with its padding; 0 when it asks for none (neither
// a height nor a minimum).
LONG TileHeight(CControlUI& item, LONG columnWidth) {
  const TTileChildRules rules = RulesOf(item);
  LONG height = rules.fixed.cy;
  if (height <= 0) {
    const LONG width = rules.fixed.cx > 0 ? rules.fixed.cx : columnWidth;
    height = item.EstimateSize(SIZE{width, 0}).cy;
  }
  if (height <= 0 && rules.minimum.cy <= 0) return 0;
  return ClampExtent(height, rules.minimum.cy, rules.maximum.cy) + rules.padding.top +
         rules.padding.bottom;
}

}  // namespace

const wchar_t* CTileLayoutUI::GetClass() const { return L"TileLayout"; }

void* CTileLayoutUI::GetInterface(const wchar_t* name) {
  if (name != nullptr && NameIs(name, L"TileLayout")) return this;
  return CContainerUI::GetInterface(name);
}

void CTileLayoutUI::SetColumns(int columns) {
  m_nColumns = std::max(columns, 0);
  NeedUpdate();
}

void CTileLayoutUI::SetItemSize(SIZE size) {
  m_szItem = SIZE{std::max<LONG>(size.cx, 0), std::max<LONG>(size.cy, 0)};
  NeedUpdate();
}

void CTileLayoutUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  if (NameIs(name, L"columns")) {
    SetColumns(ParseDecimal(value));
  } else if (NameIs(name, L"itemsize")) {
    SetItemSize(ParseSizeValue(value));
  } else {
    CContainerUI::SetAttribute(name, value);
  }
}

void CTileLayoutUI::SetPos(RECT rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  const RECT client = GetClientArea();
  std::vector<CControlUI*> tiles;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* item = GetItemAt(i);
    if (!item->IsVisible()) continue;
    if (item->IsFloat()) {
      SetFloatPos(i);
    } else {
      tiles.push_back(item);
    }
  }
  const TTileColumns columns =
      TileColumns(client.right - client.left, m_nColumns, m_szItem.cx, m_iChildPadding);
  std::vector<LONG> heights;
  heights.reserve(tiles.size());
  for (CControlUI* tile : tiles) heights.push_back(TileHeight(*tile, columns.width));
  const TTileGrid grid = TileCells(columns, m_szItem.cy, heights, m_iChildPadding);

  // The cells start at the client area's corner, moved back by the scroll position.
  const SIZE scrolled = GetScrollPos();
  const LONG originX = client.left - scrolled.cx;
  const LONG originY = client.top - scrolled.cy;
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    RECT cell = grid.cells[i];
    ::OffsetRect(&cell, originX, originY);
    tiles[i]->SetPos(TileChildRect(cell, RulesOf(*tiles[i])), false);
  }
  ProcessScrollBar(client, grid.needed.cx, grid.needed.cy);
}

}  // namespace SkinUI
