// The tile layout's grid arithmetic as table rows: the columns, the cells, a child in its cell.
#include "uitoolkit/controls/layouts/ui_tile_geometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace SkinUI {
namespace {

std::string Text(const RECT& rc) {
  return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) +
         "," + std::to_string(rc.bottom);
}

// Count from `columns`, else from the item width, else one; width from the item width, else the
// client width shared after the padding. Rows: client width, columns, item width, padding.
TEST(TileGeometry, Columns) {
  const struct { LONG client; int columns; LONG item, padding; const char* expected; } rows[] = {
      {300, 3, 0, 6, "3x96"},   {100, 3, 0, 0, "3x33"},  {314, 0, 100, 5, "3x100"},
      {50, 0, 100, 5, "1x100"}, {300, 0, 0, 0, "1x300"}, {300, 2, 80, 4, "2x80"},
      {10, 4, 0, 6, "4x0"},     {-20, 0, 50, 0, "1x50"},
  };
  for (const auto& row : rows) {
    const TTileColumns c = TileColumns(row.client, row.columns, row.item, row.padding);
    EXPECT_EQ(row.expected, std::to_string(c.count) + "x" + std::to_string(c.width));
  }
}

// A row takes the item height, else its tallest tile, else the column width (square); padding
// lies between cells both ways; the needed size spans the cells.
TEST(TileGeometry, Cells) {
  const struct { TTileColumns columns; LONG itemHeight; std::vector<LONG> heights; LONG padding;
                 const char* expected; } rows[] = {
      {{2, 50}, 0, {30, 40, 20}, 4, "0,0,50,40 54,0,104,40 0,44,50,64 = 104x64"},
      {{3, 20}, 25, {0, 99, 0, 0}, 0, "0,0,20,25 20,0,40,25 40,0,60,25 0,25,20,50 = 60x50"},
      {{2, 30}, 0, {0, 0}, 2, "0,0,30,30 32,0,62,30 = 62x30"},
      {{4, 10}, 0, {5}, 3, "0,0,10,5 = 10x5"},
      {{4, 10}, 0, {}, 3, "= 0x0"},
  };
  for (const auto& row : rows) {
    const TTileGrid grid = TileCells(row.columns, row.itemHeight, row.heights, row.padding);
    std::string text;
    for (const RECT& cell : grid.cells) text += Text(cell) + " ";
    text += "= " + std::to_string(grid.needed.cx) + "x" + std::to_string(grid.needed.cy);
    EXPECT_EQ(row.expected, text);
  }
}

// A child fills its cell inside its padding unless fixed, within its minimum and maximum.
TEST(TileGeometry, ChildInCell) {
  const SIZE none{0, 0}, unlimited{9999, 9999};
  const struct { TTileChildRules rules; const char* expected; } rows[] = {
      {{none, none, unlimited, {0, 0, 0, 0}}, "10,10,60,40"},
      {{{20, 15}, none, unlimited, {0, 0, 0, 0}}, "10,10,30,25"},
      {{none, none, unlimited, {2, 3, 4, 5}}, "12,13,56,35"},
      {{none, none, {30, 9999}, {0, 0, 0, 0}}, "10,10,40,40"},
      {{none, {70, 0}, unlimited, {0, 0, 0, 0}}, "10,10,80,40"},
      {{none, none, unlimited, {30, 0, 30, 0}}, "40,10,40,40"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.expected, Text(TileChildRect({10, 10, 60, 40}, row.rules)));
}

}  // namespace
}  // namespace SkinUI
