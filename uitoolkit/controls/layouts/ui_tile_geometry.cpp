#include "uitoolkit/controls/layouts/ui_tile_geometry.h"

#include <algorithm>

#include "uitoolkit/controls/ui_layout_steps.h"

namespace SkinUI {
namespace {

LONG SizeInCell(LONG fixed, LONG room, LONG minimum, LONG maximum) {
  return ClampExtent(fixed > 0 ? fixed : std::max<LONG>(room, 0), minimum, maximum);
}

}  // namespace

TTileColumns TileColumns(LONG clientWidth, int columns, LONG itemWidth, LONG childPadding) {
  clientWidth = std::max<LONG>(clientWidth, 0);
  childPadding = std::max<LONG>(childPadding, 0);
  int count = 1;
  if (columns > 0) {
    count = columns;
  } else if (itemWidth > 0) {
    count = static_cast<int>(
        std::max<LONG>((clientWidth + childPadding) / (itemWidth + childPadding), 1));
  }
  if (itemWidth > 0) return TTileColumns{count, itemWidth};
  const LONG shared = (clientWidth - childPadding * (count - 1)) / count;
  return TTileColumns{count, std::max<LONG>(shared, 0)};
}

TTileGrid TileCells(const TTileColumns& columns, LONG itemHeight, const std::vector<LONG>& heights,
                    LONG childPadding) {
  TTileGrid grid{{}, SIZE{0, 0}};
  const int count = std::max(columns.count, 1);
  const std::size_t tiles = heights.size();
  LONG top = 0;
  for (std::size_t rowStart = 0; rowStart < tiles; rowStart += static_cast<std::size_t>(count)) {
    const std::size_t rowEnd = std::min(tiles, rowStart + static_cast<std::size_t>(count));
    LONG rowHeight = itemHeight;
    if (rowHeight <= 0) {
      rowHeight = *std::max_element(heights.begin() + static_cast<std::ptrdiff_t>(rowStart),
                                    heights.begin() + static_cast<std::ptrdiff_t>(rowEnd));
      if (rowHeight <= 0) rowHeight = columns.width;
    }
    if (rowStart > 0) top += childPadding;
    for (std::size_t i = rowStart; i < rowEnd; ++i) {
      const LONG left = static_cast<LONG>(i - rowStart) * (columns.width + childPadding);
      grid.cells.push_back(RECT{left, top, left + columns.width, top + rowHeight});
    }
    top += rowHeight;
  }
  if (tiles > 0) {
    const LONG used =
        static_cast<LONG>(std::min<std::size_t>(tiles, static_cast<std::size_t>(count)));
    grid.needed = SIZE{used * columns.width + (used - 1) * childPadding, top};
  }
  return grid;
}

RECT TileChildRect(const RECT& cell, const TTileChildRules& rules) {
  const LONG left = cell.left + rules.padding.left;
  const LONG top = cell.top + rules.padding.top;
  const LONG width = SizeInCell(rules.fixed.cx, cell.right - rules.padding.right - left,
                                rules.minimum.cx, rules.maximum.cx);
  const LONG height = SizeInCell(rules.fixed.cy, cell.bottom - rules.padding.bottom - top,
                                 rules.minimum.cy, rules.maximum.cy);
  return RECT{left, top, left + width, top + height};
}

}  // namespace SkinUI
