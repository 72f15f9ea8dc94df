// The tile layout's grid arithmetic: column count and width, the cells row by row, and a child's
// place in its cell, each a table of rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uitoolkit/controls/layouts/ui_tile_geometry.h"

namespace SkinUI {
namespace {

std::string Describe(const RECT& rc) {
  return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," +
         std::to_string(rc.right) + "," + std::to_string(rc.bottom);
}

// The column count comes from `columns`, else from the item width, else it is one; the width
// from the item width, else the client width shared after the padding.
TEST(TileGeometry, Columns) {
  struct Row {
    const char* what;
    LONG clientWidth;
    int columns;
    LONG itemWidth, padding;
    int count;
    LONG width;
  };
  const Row rows[] = {
      {"fixed count shares the width", 300, 3, 0, 0, 3, 100},
      {"padding between columns comes off first", 300, 3, 0, 6, 3, 96},
      {"odd remainder is dropped", 100, 3, 0, 0, 3, 33},
      {"item width: as many as fit with padding", 310, 0, 100, 5, 3, 100},
      {"item width: one more pixel would not fit", 314, 0, 100, 5, 3, 100},
      {"item width wider than the client: one column", 50, 0, 100, 5, 1, 100},
      {"nothing set: one column of the whole width", 300, 0, 0, 0, 1, 300},
      {"fixed count wins over the item width", 300, 2, 80, 4, 2, 80},
      {"too narrow for the padding: width 0", 10, 4, 0, 6, 4, 0},
      {"negative client width reads as 0", -20, 0, 50, 0, 1, 50},
  };
  for (const Row& row : rows) {
    const TTileColumns columns = TileColumns(row.clientWidth, row.columns, row.itemWidth,
                                             row.padding);
    EXPECT_EQ(row.count, columns.count) << row.what;
    EXPECT_EQ(row.width, columns.width) << row.what;
  }
}

// Rows take the item height, else their tallest tile, else the column width; padding lies
// between cells both ways, and the needed size spans all cells.
TEST(TileGeometry, Cells) {
  struct Row {
    const char* what;
    TTileColumns columns;
    LONG itemHeight;
    std::vector<LONG> heights;
    LONG padding;
    std::vector<RECT> cells;
    SIZE needed;
  };
  const Row rows[] = {
      {"tallest tile sets each row", {2, 50}, 0, {30, 40, 20}, 4,
       {{0, 0, 50, 40}, {54, 0, 104, 40}, {0, 44, 50, 64}}, {104, 64}},
      {"item height wins over the tiles", {3, 20}, 25, {0, 99, 0, 0}, 0,
       {{0, 0, 20, 25}, {20, 0, 40, 25}, {40, 0, 60, 25}, {0, 25, 20, 50}}, {60, 50}},
      {"a row without heights is square", {2, 30}, 0, {0, 0}, 2,
       {{0, 0, 30, 30}, {32, 0, 62, 30}}, {62, 30}},
      {"a short last row keeps the full width", {4, 10}, 0, {5}, 3, {{0, 0, 10, 5}}, {10, 5}},
      {"no tiles need nothing", {4, 10}, 0, {}, 3, {}, {0, 0}},
  };
  for (const Row& row : rows) {
    const TTileGrid grid = TileCells(row.columns, row.itemHeight, row.heights, row.padding);
    ASSERT_EQ(row.cells.size(), grid.cells.size()) << row.what;
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
      EXPECT_EQ(Describe(row.cells[i]), Describe(grid.cells[i])) << row.what << " cell " << i;
    }
    EXPECT_EQ(row.needed.cx, grid.needed.cx) << row.what;
    EXPECT_EQ(row.needed.cy, grid.needed.cy) << row.what;
  }
}

// A child fills its cell inside its padding unless fixed, kept within its minimum and maximum.
TEST(TileGeometry, ChildInCell) {
  const RECT cell{10, 10, 60, 40};
  const SIZE none{0, 0};
  const SIZE unlimited{9999, 9999};
  struct Row {
    const char* what;
    TTileChildRules rules;
    RECT expected;
  };
  const Row rows[] = {
      {"fills the cell", {none, none, unlimited, {0, 0, 0, 0}}, {10, 10, 60, 40}},
      {"fixed size from the corner", {{20, 15}, none, unlimited, {0, 0, 0, 0}}, {10, 10, 30, 25}},
      {"padding on every side", {none, none, unlimited, {2, 3, 4, 5}}, {12, 13, 56, 35}},
      {"maximum width", {none, none, {30, 9999}, {0, 0, 0, 0}}, {10, 10, 40, 40}},
      {"minimum wider than the cell", {none, {70, 0}, unlimited, {0, 0, 0, 0}}, {10, 10, 80, 40}},
      {"padding larger than the cell", {none, none, unlimited, {30, 0, 30, 0}}, {40, 10, 40, 40}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Describe(row.expected), Describe(TileChildRect(cell, row.rules))) << row.what;
  }
}

}  // namespace
}  // namespace SkinUI
