#include "uitoolkit/core/ui_nine_slice.h"

#include <cstdint>

namespace SkinUI {
namespace {

LONG ClampToLong(std::int64_t value) {
  if (value > 2147483647LL) return 2147483647;
  if (value < -2147483647LL - 1) return -2147483647 - 1;
  return static_cast<LONG>(value);
}

LONG Max(LONG a, LONG b) { return a > b ? a : b; }
LONG Min(LONG a, LONG b) { return a < b ? a : b; }

RECT MakeRect(LONG left, LONG top, LONG right, LONG bottom) {
  RECT rect;
  rect.left = left;
  rect.top = top;
  rect.right = right;
  rect.bottom = bottom;
  return rect;
}

bool HasArea(const RECT& rect) { return rect.right > rect.left && rect.bottom > rect.top; }

// Extents in 64 bits: the difference of two 32-bit edges does not always fit 32 bits.
std::int64_t Width(const RECT& rect) { return static_cast<std::int64_t>(rect.right) - rect.left; }
std::int64_t Height(const RECT& rect) {
  return static_cast<std::int64_t>(rect.bottom) - rect.top;
}

bool Meets(const RECT& a, const RECT& b) {
  return Max(a.left, b.left) < Min(a.right, b.right) && Max(a.top, b.top) < Min(a.bottom, b.bottom);
}

bool IsAllZero(const RECT& rect) {
  return rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0;
}

void AddIfDrawable(const RECT& destination, const RECT& source, std::vector<TImagePiece>& pieces) {
  if (HasArea(destination) && HasArea(source)) pieces.push_back(TImagePiece{destination, source});
}

// Tiles of `tileSize` along one axis from `start` to `end`: for each tile its destination span
// and the length of source it shows (the last one cropped). Only tiles meeting
// [visibleStart, visibleEnd) are reported.
struct TileSpan {
  LONG start;
  LONG end;
  std::int64_t sourceLength;
};

void ComputeTiles(LONG start, LONG end, std::int64_t tileSize, LONG visibleStart, LONG visibleEnd,
                  std::vector<TileSpan>& tiles) {
  tiles.clear();
  if (tileSize <= 0 || end <= start) return;
  const std::int64_t length = static_cast<std::int64_t>(end) - start;
  const std::int64_t count = (length + tileSize - 1) / tileSize;
  std::int64_t first = 0;
  if (visibleStart > start) first = (static_cast<std::int64_t>(visibleStart) - start) / tileSize;
  for (std::int64_t i = first; i < count; ++i) {
    const std::int64_t tileStart = start + i * tileSize;
    if (tileStart >= visibleEnd) break;
    std::int64_t tileEnd = tileStart + tileSize;
    if (tileEnd > end) tileEnd = end;
    tiles.push_back(TileSpan{static_cast<LONG>(tileStart), static_cast<LONG>(tileEnd),
                             tileEnd - tileStart});
  }
}

void AddMiddle(const RECT& middle, const RECT& middleSource, const TNineSliceOptions& options,
               const RECT& paint, std::vector<TImagePiece>& pieces) {
  if (!HasArea(middle) || !HasArea(middleSource) || !Meets(middle, paint)) return;
  const std::int64_t sourceWidth = Width(middleSource);
  const std::int64_t sourceHeight = Height(middleSource);
  std::vector<TileSpan> columns;
  std::vector<TileSpan> rows;
  if (options.xTiled) {
    ComputeTiles(middle.left, middle.right, sourceWidth, paint.left, paint.right, columns);
  } else {
    columns.push_back(TileSpan{middle.left, middle.right, sourceWidth});
  }
  if (options.yTiled) {
    ComputeTiles(middle.top, middle.bottom, sourceHeight, paint.top, paint.bottom, rows);
  } else {
    rows.push_back(TileSpan{middle.top, middle.bottom, sourceHeight});
  }
  for (const TileSpan& row : rows) {
    for (const TileSpan& column : columns) {
      const RECT destination = MakeRect(column.start, row.start, column.end, row.end);
      if (!Meets(destination, paint)) continue;
      const RECT source = MakeRect(middleSource.left, middleSource.top,
                                   ClampToLong(middleSource.left + column.sourceLength),
                                   ClampToLong(middleSource.top + row.sourceLength));
      pieces.push_back(TImagePiece{destination, source});
    }
  }
}

}  // namespace

RECT ResolveImageDestination(const RECT& control, const RECT& destination) {
  if (IsAllZero(destination)) return control;
  const std::int64_t left = static_cast<std::int64_t>(control.left) + destination.left;
  const std::int64_t top = static_cast<std::int64_t>(control.top) + destination.top;
  const std::int64_t right = static_cast<std::int64_t>(control.left) + destination.right;
  const std::int64_t bottom = static_cast<std::int64_t>(control.top) + destination.bottom;
  return MakeRect(Max(control.left, ClampToLong(left)), Max(control.top, ClampToLong(top)),
                  Min(control.right, ClampToLong(right)), Min(control.bottom, ClampToLong(bottom)));
}

RECT ResolveImageSource(const RECT& source, LONG imageWidth, LONG imageHeight) {
  if (IsAllZero(source)) return MakeRect(0, 0, imageWidth, imageHeight);
  return MakeRect(Max(0, source.left), Max(0, source.top), Min(imageWidth, source.right),
                  Min(imageHeight, source.bottom));
}

bool IsDirectCopy(const RECT& destination, const RECT& source, const RECT& corner,
                  const TNineSliceOptions& options) {
  return !options.hole && corner.left <= 0 && corner.top <= 0 && corner.right <= 0 &&
         corner.bottom <= 0 &&
         Width(destination) == Width(source) && Height(destination) == Height(source);
}

void ComputeNineSlice(const RECT& destination, const RECT& source, const RECT& cornerValue,
                      const TNineSliceOptions& options, const RECT& paint,
                      std::vector<TImagePiece>& pieces) {
  pieces.clear();
  // A negative border width means no border.
  const RECT corner = MakeRect(Max(0, cornerValue.left), Max(0, cornerValue.top),
                               Max(0, cornerValue.right), Max(0, cornerValue.bottom));
  // Coordinates of the three columns and rows in the destination (d*) and the source (s*).
  const LONG dLeft = destination.left, dRight = destination.right;
  const LONG dTop = destination.top, dBottom = destination.bottom;
  const LONG dInnerLeft = ClampToLong(static_cast<std::int64_t>(dLeft) + corner.left);
  const LONG dInnerRight = ClampToLong(static_cast<std::int64_t>(dRight) - corner.right);
  const LONG dInnerTop = ClampToLong(static_cast<std::int64_t>(dTop) + corner.top);
  const LONG dInnerBottom = ClampToLong(static_cast<std::int64_t>(dBottom) - corner.bottom);
  const LONG sLeft = source.left, sRight = source.right;
  const LONG sTop = source.top, sBottom = source.bottom;
  const LONG sInnerLeft = ClampToLong(static_cast<std::int64_t>(sLeft) + corner.left);
  const LONG sInnerRight = ClampToLong(static_cast<std::int64_t>(sRight) - corner.right);
  const LONG sInnerTop = ClampToLong(static_cast<std::int64_t>(sTop) + corner.top);
  const LONG sInnerBottom = ClampToLong(static_cast<std::int64_t>(sBottom) - corner.bottom);

  if (!options.hole) {
    AddMiddle(MakeRect(dInnerLeft, dInnerTop, dInnerRight, dInnerBottom),
              MakeRect(sInnerLeft, sInnerTop, sInnerRight, sInnerBottom), options, paint, pieces);
  }
  if (corner.left > 0 && corner.top > 0) {  // left-top
    AddIfDrawable(MakeRect(dLeft, dTop, dInnerLeft, dInnerTop),
                  MakeRect(sLeft, sTop, sInnerLeft, sInnerTop), pieces);
  }
  if (corner.top > 0) {  // top
    AddIfDrawable(MakeRect(dInnerLeft, dTop, dInnerRight, dInnerTop),
                  MakeRect(sInnerLeft, sTop, sInnerRight, sInnerTop), pieces);
  }
  if (corner.right > 0 && corner.top > 0) {  // right-top
    AddIfDrawable(MakeRect(dInnerRight, dTop, dRight, dInnerTop),
                  MakeRect(sInnerRight, sTop, sRight, sInnerTop), pieces);
  }
  if (corner.left > 0) {  // left
    AddIfDrawable(MakeRect(dLeft, dInnerTop, dInnerLeft, dInnerBottom),
                  MakeRect(sLeft, sInnerTop, sInnerLeft, sInnerBottom), pieces);
  }
  if (corner.right > 0) {  // right
    AddIfDrawable(MakeRect(dInnerRight, dInnerTop, dRight, dInnerBottom),
                  MakeRect(sInnerRight, sInnerTop, sRight, sInnerBottom), pieces);
  }
  if (corner.left > 0 && corner.bottom > 0) {  // left-bottom
    AddIfDrawable(MakeRect(dLeft, dInnerBottom, dInnerLeft, dBottom),
                  MakeRect(sLeft, sInnerBottom, sInnerLeft, sBottom), pieces);
  }
  if (corner.bottom > 0) {  // bottom
    AddIfDrawable(MakeRect(dInnerLeft, dInnerBottom, dInnerRight, dBottom),
                  MakeRect(sInnerLeft, sInnerBottom, sInnerRight, sBottom), pieces);
  }
  if (corner.right > 0 && corner.bottom > 0) {  // right-bottom
    AddIfDrawable(MakeRect(dInnerRight, dInnerBottom, dRight, dBottom),
                  MakeRect(sInnerRight, sInnerBottom, sRight, sBottom), pieces);
  }
}

}  // namespace SkinUI
