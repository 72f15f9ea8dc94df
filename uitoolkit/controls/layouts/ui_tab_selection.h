// The tab layout's selection as pure arithmetic: where it goes when pages come and go.
#pragma once

namespace SkinUI {

// The selection after a page was inserted at `index`: the new page when there was none (-1),
// else the same page, moved on by one when the new page lies before or at it.
int SelectionAfterInsert(int selected, int index);

// The selection after the page at `index` was removed, `count` pages remaining: the same page
// (moved back by one when the removed page lay before it); for the removed page itself, the page
// that took its place, else the one before it; -1 without pages.
int SelectionAfterRemove(int selected, int index, int count);

}  // namespace SkinUI
