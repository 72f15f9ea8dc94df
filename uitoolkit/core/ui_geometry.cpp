#include "uitoolkit/core/ui_geometry.h"

namespace SkinUI {

CUiPoint CUiPoint::FromLParam(std::intptr_t lParam) {
  const std::uint32_t packed = static_cast<std::uint32_t>(static_cast<std::uintptr_t>(lParam));
  return CUiPoint(static_cast<std::int16_t>(packed & 0xFFFFu),
                  static_cast<std::int16_t>((packed >> 16) & 0xFFFFu));
}

void CUiRect::Normalize() {
  if (left > right) {
    const LONG swap = left;
    left = right;
    right = swap;
  }
  if (top > bottom) {
    const LONG swap = top;
    top = bottom;
    bottom = swap;
  }
}

void CUiRect::ResetOffset() {
  right -= left;
  bottom -= top;
  left = 0;
  top = 0;
}

void CUiRect::Offset(LONG cx, LONG cy) {
  left += cx;
  right += cx;
  top += cy;
  bottom += cy;
}

void CUiRect::Inflate(LONG cx, LONG cy) {
  left -= cx;
  right += cx;
  top -= cy;
  bottom += cy;
}

void CUiRect::Union(const RECT& other) {
  const CUiRect source(other);
  if (source.IsEmpty()) return;
  if (IsEmpty()) {
    *this = source;
    return;
  }
  if (source.left < left) left = source.left;
  if (source.top < top) top = source.top;
  if (source.right > right) right = source.right;
  if (source.bottom > bottom) bottom = source.bottom;
}

bool CUiRect::Intersect(const RECT& other) {
  const CUiRect common(left > other.left ? left : other.left, top > other.top ? top : other.top,
                       right < other.right ? right : other.right,
                       bottom < other.bottom ? bottom : other.bottom);
  if (common.IsEmpty() || IsEmpty() || CUiRect(other).IsEmpty()) {
    Empty();
    return false;
  }
  *this = common;
  return true;
}

bool CUiRect::Contains(const POINT& point) const {
  return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
}

}  // namespace SkinUI
