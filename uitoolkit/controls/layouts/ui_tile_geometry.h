// The grid of a tile layout as pure arithmetic: how many columns and how wide, where each cell
// lies, and where a child sits in its cell. Coordinates are relative to the client area's
// top-left corner, unscrolled.
#pragma once

#include <windows.h>

#include <vector>

namespace SkinUI {

struct TTileColumns {
  int count;
  LONG width;
};

// The columns of a client area `clientWidth` wide. A fixed `columns` count wins; else an item
// width gives as many columns as fit with `childPadding` between them (at least one); else there
// is one column. The column width is the item width when one is set, else the client width
// shared evenly after the padding (never negative).
TTileColumns TileColumns(LONG clientWidth, int columns, LONG itemWidth, LONG childPadding);

struct TTileGrid {
  std::vector<RECT> cells;  // one per tile, in order, row by row
  SIZE needed;              // the extent of all cells
};

// The cells of tiles whose heights are `heights` (0: none asked) laid out in rows of
// `columns.count`, `childPadding` apart both ways. A row is `itemHeight` high when that is set,
// else as high as its tallest tile; a row where no tile asks for a height is as high as a
// column is wide.
TTileGrid TileCells(const TTileColumns& columns, LONG itemHeight, const std::vector<LONG>& heights,
                    LONG childPadding);

// A child's size rules, as far as its place in a cell needs them.
struct TTileChildRules {
  SIZE fixed;  // 0: fill the cell along that axis
  SIZE minimum;
  SIZE maximum;
  RECT padding;
};

// Where a child lies in `cell`: at the cell's top-left corner inside its padding, as large as
// its fixed size or else the rest of the cell, then kept within its minimum and maximum.
RECT TileChildRect(const RECT& cell, const TTileChildRules& rules);

}  // namespace SkinUI
