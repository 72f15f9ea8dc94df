// Rectangle, size and point values laid out on the platform's RECT, SIZE and POINT, so they pass
// straight to GDI.
#pragma once

#include <cstdint>

#include "uitoolkit/core/ui_platform.h"

namespace SkinUI {

class CUiSize : public SIZE {
 public:
  CUiSize() : SIZE{0, 0} {}
  CUiSize(const SIZE& size) : SIZE(size) {}  // NOLINT(google-explicit-constructor)
  CUiSize(LONG width, LONG height) : SIZE{width, height} {}
  bool operator==(const SIZE& other) const { return cx == other.cx && cy == other.cy; }
  bool operator!=(const SIZE& other) const { return !(*this == other); }
};

class CUiPoint : public POINT {
 public:
  CUiPoint() : POINT{0, 0} {}
  CUiPoint(const POINT& point) : POINT(point) {}  // NOLINT(google-explicit-constructor)
  CUiPoint(LONG xValue, LONG yValue) : POINT{xValue, yValue} {}
  // The point packed in a mouse message's lParam: signed x in the low word, signed y in the high
  // word.
  static CUiPoint FromLParam(std::intptr_t lParam);
  bool operator==(const POINT& other) const { return x == other.x && y == other.y; }
  bool operator!=(const POINT& other) const { return !(*this == other); }
};

// A rectangle whose right and bottom edges are exclusive.
class CUiRect : public RECT {
 public:
  CUiRect() : RECT{0, 0, 0, 0} {}
  CUiRect(const RECT& rect) : RECT(rect) {}  // NOLINT(google-explicit-constructor)
  CUiRect(LONG leftValue, LONG topValue, LONG rightValue, LONG bottomValue)
      : RECT{leftValue, topValue, rightValue, bottomValue} {}

  LONG GetWidth() const { return right - left; }
  LONG GetHeight() const { return bottom - top; }
  CUiSize GetSize() const { return CUiSize(GetWidth(), GetHeight()); }
  // All four edges zero.
  bool IsNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  // No area: width or height not positive.
  bool IsEmpty() const { return right <= left || bottom <= top; }
  void Empty() { left = top = right = bottom = 0; }

  // Swaps edges so that left <= right and top <= bottom.
  void Normalize();
  // Moves the rectangle so that its top-left corner is (0, 0).
  void ResetOffset();
  void Offset(LONG cx, LONG cy);
  // Grows each side by cx / cy (shrinks for negative values).
  void Inflate(LONG cx, LONG cy);
  void Deflate(LONG cx, LONG cy) { Inflate(-cx, -cy); }
  // Grows to the smallest rectangle holding both; an empty side is ignored.
  void Union(const RECT& other);
  // Becomes the common part of both; false (and emptied) when they do not meet.
  bool Intersect(const RECT& other);
  bool Contains(const POINT& point) const;

  bool operator==(const RECT& other) const {
    return left == other.left && top == other.top && right == other.right &&
           bottom == other.bottom;
  }
  bool operator!=(const RECT& other) const { return !(*this == other); }
};

}  // namespace SkinUI
