#include "uitoolkit/core/ui_nine_slice.h"

#include <gtest/gtest.h>

#include <vector>

namespace SkinUI {
namespace {

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct DestinationCase {
  RECT control;
  RECT destination;
  RECT expected;
};

// dest is relative to the control's top-left and never leaves the control.
TEST(ResolveImageDestination, StaysInsideTheControl) {
  const DestinationCase cases[] = {
      {{10, 20, 110, 120}, {0, 0, 0, 0}, {10, 20, 110, 120}},
      {{10, 20, 110, 120}, {5, 5, 15, 25}, {15, 25, 25, 45}},
      {{0, 0, 100, 100}, {0, 0, 300, 300}, {0, 0, 100, 100}},
      {{10, 10, 110, 110}, {-20, -20, 50, 50}, {10, 10, 60, 60}},
      {{10, 10, 110, 110}, {200, 200, 300, 300}, {210, 210, 110, 110}},  // empty: draws nothing
      {{10, 10, 110, 110}, {0, 0, 2147483647, 2147483647}, {10, 10, 110, 110}},
  };
  for (const DestinationCase& row : cases) {
    EXPECT_TRUE(SameRect(row.expected, ResolveImageDestination(row.control, row.destination)))
        << row.destination.left << "," << row.destination.top;
  }
}

struct SourceCase {
  RECT source;
  LONG width, height;
  RECT expected;
};

// source of all zeros is the whole image; otherwise it is clamped to the image.
TEST(ResolveImageSource, ClampsToTheImage) {
  const SourceCase cases[] = {
      {{0, 0, 0, 0}, 50, 40, {0, 0, 50, 40}},
      {{0, 0, 999, 999}, 50, 50, {0, 0, 50, 50}},
      {{10, 5, 30, 20}, 50, 50, {10, 5, 30, 20}},
      {{-5, -5, 10, 10}, 50, 50, {0, 0, 10, 10}},
  };
  for (const SourceCase& row : cases) {
    EXPECT_TRUE(SameRect(row.expected, ResolveImageSource(row.source, row.width, row.height)));
  }
}

// The direct copy needs equal sizes, no borders and a drawn middle.
TEST(IsDirectCopy, OnlyForUnscaledPlainImages) {
  const RECT destination{10, 10, 30, 20};
  const RECT source{0, 0, 20, 10};
  TNineSliceOptions plain;
  TNineSliceOptions hole;
  hole.hole = true;
  EXPECT_TRUE(IsDirectCopy(destination, source, RECT{0, 0, 0, 0}, plain));
  EXPECT_FALSE(IsDirectCopy(destination, source, RECT{1, 0, 0, 0}, plain));
  EXPECT_FALSE(IsDirectCopy(destination, source, RECT{0, 0, 0, 0}, hole));
  EXPECT_FALSE(IsDirectCopy(destination, RECT{0, 0, 21, 10}, RECT{0, 0, 0, 0}, plain));
}

const RECT kEverywhere{-100000, -100000, 100000, 100000};

// Without borders the whole source is one stretched piece.
TEST(ComputeNineSlice, PlainStretch) {
  std::vector<TImagePiece> pieces;
  ComputeNineSlice(RECT{0, 0, 100, 50}, RECT{0, 0, 10, 10}, RECT{0, 0, 0, 0}, {}, kEverywhere,
                   pieces);
  ASSERT_EQ(1u, pieces.size());
  EXPECT_TRUE(SameRect(RECT{0, 0, 100, 50}, pieces[0].destination));
  EXPECT_TRUE(SameRect(RECT{0, 0, 10, 10}, pieces[0].source));
}

// A 4-pixel border of a 20 x 20 image drawn into 200 x 40: corners keep their size, edges
// stretch along their length only, the middle takes the rest.
TEST(ComputeNineSlice, CornersStayUnscaled) {
  std::vector<TImagePiece> pieces;
  ComputeNineSlice(RECT{0, 0, 200, 40}, RECT{0, 0, 20, 20}, RECT{4, 4, 4, 4}, {}, kEverywhere,
                   pieces);
  const TImagePiece expected[] = {
      {{4, 4, 196, 36}, {4, 4, 16, 16}},      // middle
      {{0, 0, 4, 4}, {0, 0, 4, 4}},           // left-top
      {{4, 0, 196, 4}, {4, 0, 16, 4}},        // top
      {{196, 0, 200, 4}, {16, 0, 20, 4}},     // right-top
      {{0, 4, 4, 36}, {0, 4, 4, 16}},         // left
      {{196, 4, 200, 36}, {16, 4, 20, 16}},   // right
      {{0, 36, 4, 40}, {0, 16, 4, 20}},       // left-bottom
      {{4, 36, 196, 40}, {4, 16, 16, 20}},    // bottom
      {{196, 36, 200, 40}, {16, 16, 20, 20}}, // right-bottom
  };
  ASSERT_EQ(9u, pieces.size());
  for (size_t i = 0; i < pieces.size(); ++i) {
    EXPECT_TRUE(SameRect(expected[i].destination, pieces[i].destination)) << i;
    EXPECT_TRUE(SameRect(expected[i].source, pieces[i].source)) << i;
  }
}

// hole leaves out the middle and keeps the eight border pieces.
TEST(ComputeNineSlice, HoleSkipsTheMiddle) {
  std::vector<TImagePiece> pieces;
  TNineSliceOptions options;
  options.hole = true;
  ComputeNineSlice(RECT{0, 0, 200, 40}, RECT{0, 0, 20, 20}, RECT{4, 4, 4, 4}, options,
                   kEverywhere, pieces);
  ASSERT_EQ(8u, pieces.size());
  EXPECT_TRUE(SameRect(RECT{0, 0, 4, 4}, pieces[0].destination));
}

// Horizontal tiles have the middle source width, span the full middle height, and the last one
// is cropped together with its source.
TEST(ComputeNineSlice, TilesHorizontallyWithACroppedLastTile) {
  std::vector<TImagePiece> pieces;
  TNineSliceOptions options;
  options.xTiled = true;
  ComputeNineSlice(RECT{0, 0, 25, 30}, RECT{0, 0, 10, 8}, RECT{0, 0, 0, 0}, options, kEverywhere,
                   pieces);
  ASSERT_EQ(3u, pieces.size());
  EXPECT_TRUE(SameRect(RECT{0, 0, 10, 30}, pieces[0].destination));
  EXPECT_TRUE(SameRect(RECT{0, 0, 10, 8}, pieces[0].source));
  EXPECT_TRUE(SameRect(RECT{10, 0, 20, 30}, pieces[1].destination));
  EXPECT_TRUE(SameRect(RECT{20, 0, 25, 30}, pieces[2].destination));
  EXPECT_TRUE(SameRect(RECT{0, 0, 5, 8}, pieces[2].source));
}

// Vertical tiles span the full middle width.
TEST(ComputeNineSlice, TilesVertically) {
  std::vector<TImagePiece> pieces;
  TNineSliceOptions options;
  options.yTiled = true;
  ComputeNineSlice(RECT{0, 0, 30, 17}, RECT{2, 3, 12, 9}, RECT{0, 0, 0, 0}, options, kEverywhere,
                   pieces);
  ASSERT_EQ(3u, pieces.size());
  EXPECT_TRUE(SameRect(RECT{0, 0, 30, 6}, pieces[0].destination));
  EXPECT_TRUE(SameRect(RECT{2, 3, 12, 9}, pieces[0].source));
  EXPECT_TRUE(SameRect(RECT{0, 12, 30, 17}, pieces[2].destination));
  EXPECT_TRUE(SameRect(RECT{2, 3, 12, 8}, pieces[2].source));
}

// Both tilings give a grid of unscaled tiles cropped at the right and bottom.
TEST(ComputeNineSlice, TilesInAGrid) {
  std::vector<TImagePiece> pieces;
  TNineSliceOptions options;
  options.xTiled = options.yTiled = true;
  ComputeNineSlice(RECT{0, 0, 15, 15}, RECT{0, 0, 10, 10}, RECT{0, 0, 0, 0}, options, kEverywhere,
                   pieces);
  ASSERT_EQ(4u, pieces.size());
  EXPECT_TRUE(SameRect(RECT{10, 10, 15, 15}, pieces[3].destination));
  EXPECT_TRUE(SameRect(RECT{0, 0, 5, 5}, pieces[3].source));
  for (const TImagePiece& piece : pieces) {
    EXPECT_EQ(piece.destination.right - piece.destination.left,
              piece.source.right - piece.source.left);
  }
}

// Tiles outside the paint rectangle are left out, and a middle outside it is not drawn at all
// while the borders still are.
TEST(ComputeNineSlice, PaintRectangleLimitsTheMiddle) {
  std::vector<TImagePiece> pieces;
  TNineSliceOptions options;
  options.xTiled = true;
  ComputeNineSlice(RECT{0, 0, 1000, 10}, RECT{0, 0, 10, 10}, RECT{0, 0, 0, 0}, options,
                   RECT{505, 0, 512, 10}, pieces);
  ASSERT_EQ(2u, pieces.size());
  EXPECT_EQ(500, pieces[0].destination.left);
  EXPECT_EQ(510, pieces[1].destination.left);

  ComputeNineSlice(RECT{0, 0, 200, 40}, RECT{0, 0, 20, 20}, RECT{4, 4, 4, 4}, {},
                   RECT{0, 0, 3, 3}, pieces);
  EXPECT_EQ(8u, pieces.size());
}

// A middle with an empty source is not tiled (no division by its zero width), and borders wider
// than the destination give no negative pieces.
TEST(ComputeNineSlice, DegenerateSizesDrawNothingWrong) {
  std::vector<TImagePiece> pieces;
  TNineSliceOptions options;
  options.xTiled = options.yTiled = true;
  ComputeNineSlice(RECT{0, 0, 100, 100}, RECT{0, 0, 8, 8}, RECT{4, 4, 4, 4}, options, kEverywhere,
                   pieces);
  EXPECT_EQ(4u, pieces.size());  // the four corners; edges and middle have no source
  ComputeNineSlice(RECT{0, 0, 6, 6}, RECT{0, 0, 20, 20}, RECT{4, 4, 4, 4}, {}, kEverywhere,
                   pieces);
  for (const TImagePiece& piece : pieces) {
    EXPECT_LT(piece.destination.left, piece.destination.right);
    EXPECT_LT(piece.destination.top, piece.destination.bottom);
  }
  ComputeNineSlice(RECT{0, 0, 10, 10}, RECT{0, 0, 10, 10}, RECT{-3, -3, -3, -3}, {}, kEverywhere,
                   pieces);
  ASSERT_EQ(1u, pieces.size());
  EXPECT_TRUE(SameRect(RECT{0, 0, 10, 10}, pieces[0].source));
}

// Rectangles at the ends of the 32-bit range are measured without overflow.
TEST(ComputeNineSlice, ExtremeCoordinates) {
  const LONG low = -2147483647 - 1, high = 2147483647;
  TNineSliceOptions options;
  EXPECT_FALSE(IsDirectCopy(RECT{low, 0, high, 10}, RECT{0, 0, 10, 10}, RECT{0, 0, 0, 0}, options));
  EXPECT_TRUE(IsDirectCopy(RECT{low, low, high, high}, RECT{low, low, high, high},
                           RECT{0, 0, 0, 0}, options));
  std::vector<TImagePiece> pieces;
  options.xTiled = options.yTiled = true;
  ComputeNineSlice(RECT{low, low, high, high}, RECT{low, low, high, high}, RECT{high, high, 0, 0},
                   options, RECT{0, 0, 10, 10}, pieces);
  for (const TImagePiece& piece : pieces) {
    EXPECT_LE(piece.destination.left, piece.destination.right);
    EXPECT_LE(piece.source.left, piece.source.right);
  }
  // A tile as wide as the whole range, cropped to the destination.
  ComputeNineSlice(RECT{0, 0, 100, 100}, RECT{low, low, high, high}, RECT{0, 0, 0, 0}, options,
                   RECT{0, 0, 100, 100}, pieces);
  ASSERT_EQ(1u, pieces.size());
  EXPECT_EQ(low + 100, pieces[0].source.right);
  options.xTiled = options.yTiled = false;
  ComputeNineSlice(RECT{0, 0, 100, 100}, RECT{low, low, high, high}, RECT{0, 0, 0, 0}, options,
                   RECT{0, 0, 100, 100}, pieces);
  ASSERT_EQ(1u, pieces.size());
  EXPECT_EQ(high, pieces[0].source.right);
}

}  // namespace
}  // namespace SkinUI
