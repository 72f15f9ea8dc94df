// CTileLayoutUI: a container that lays its children out in a grid, row by row, like the icons
// of a list view. The column count is fixed (`columns`) or follows from the width of an item
// (`itemsize`); a row is as high as the item size says, else as its tallest child. Children keep
// `childpadding` between cells both ways; float children are placed from their anchors. Rows
// that do not fit scroll with the container's scroll bars.
#pragma once

#include "uitoolkit/controls/ui_container.h"

namespace SkinUI {

class CTileLayoutUI : public CContainerUI {
 public:
  // "TileLayout".
  const wchar_t* GetClass() const override;
  // "TileLayout", then the container's names.
  void* GetInterface(const wchar_t* name) override;
  void SetPos(RECT rc, bool needInvalidate = true) override;
  // `columns` (int) and `itemsize` (w,h); others go to the container.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;

  int GetColumns() const { return m_nColumns; }
  // 0 (or less): the count follows from the item width, else one column.
  void SetColumns(int columns);
  SIZE GetItemSize() const { return m_szItem; }
  // A width of 0 shares the client width among the columns; a height of 0 makes each row as
  // high as its tallest child.
  void SetItemSize(SIZE size);

 private:
  int m_nColumns = 0;
  SIZE m_szItem = {0, 0};
};

}  // namespace SkinUI
