// The geometry of drawing an image part into a rectangle: where the destination and source of a
// description end up, and how a nine-slice (four unscaled corners, four edges stretched along
// their length, a middle that is stretched, tiled or left out) splits into pieces. Pure
// arithmetic, so every rule can be tested without a device context.
#pragma once

#include <vector>

#include "uitoolkit/core/ui_platform.h"

namespace SkinUI {

// One piece to draw: `source` (a part of the image) goes to `destination`, stretched when the
// sizes differ.
struct TImagePiece {
  RECT destination;
  RECT source;
};

struct TNineSliceOptions {
  bool hole = false;    // leave out the middle
  bool xTiled = false;  // repeat the middle horizontally in tiles of the middle source width
  bool yTiled = false;  // repeat the middle vertically in tiles of the middle source height
};

// The destination of a description on a control: the control's rectangle when every value of
// `destination` is 0; otherwise `destination` moved to the control's top-left and limited to the
// control's rectangle. Arithmetic does not overflow for any input.
RECT ResolveImageDestination(const RECT& control, const RECT& destination);

// The image part a description uses: the whole image when every value of `source` is 0;
// otherwise `source` with its left and top not below 0 and its right and bottom not beyond the
// image.
RECT ResolveImageSource(const RECT& source, LONG imageWidth, LONG imageHeight);

// True when the opaque fast path applies: one direct copy of the source (same size as the
// destination, no borders, the middle drawn).
bool IsDirectCopy(const RECT& destination, const RECT& source, const RECT& corner,
                  const TNineSliceOptions& options);

// Splits drawing `source` into `destination` with unscaled borders `corner` (left, top, right,
// bottom widths; a negative width counts as 0) into pieces, in drawing order: the middle (one piece, or its tiles, only when
// it meets `paint`; tiles that miss `paint` are left out; the last tile of a row or column is
// cropped), then the corners and edges whose destination and source both have an area. A middle
// whose source has no area is not drawn.
void ComputeNineSlice(const RECT& destination, const RECT& source, const RECT& corner,
                      const TNineSliceOptions& options, const RECT& paint,
                      std::vector<TImagePiece>& pieces);

}  // namespace SkinUI
