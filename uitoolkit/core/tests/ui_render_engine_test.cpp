// Colours, gradients, outlines, clip regions and rendering into bitmaps, read back from an
// off-screen canvas.
#include "uitoolkit/core/ui_render_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "uitoolkit/core/tests/render_test_support.h"
#include "uitoolkit/core/ui_platform_graphics.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

using testing::MatchesGolden;
using testing::TestCanvas;
using testing::ChannelDistance;
using testing::TestRenderHost;

const DWORD kWhite = 0xFFFFFF;

struct ColourCase {
  const wchar_t* skinValue;
  DWORD overWhite;  // expected 0xRRGGBB over white
  DWORD overBlack;  // expected 0xRRGGBB over black
};

// Alpha 00 draws nothing, 80 blends half, FF covers; a six-digit colour has alpha 00.
TEST(DrawColor, AlphaDecidesHowTheColourIsDrawn) {
  const ColourCase cases[] = {
      {L"#00FF0000", 0xFFFFFF, 0x000000},
      {L"#FF0000", 0xFFFFFF, 0x000000},
      {L"#80FF0000", 0xFF7F7F, 0x800000},
      {L"#FFFF0000", 0xFF0000, 0xFF0000},
      {L"#FF4E6EF2", 0x4E6EF2, 0x4E6EF2},
      {L"#40000000", 0xBFBFBF, 0x000000},
  };
  for (const ColourCase& row : cases) {
    const DWORD color = ParseColor(row.skinValue);
    TestCanvas white(20, 10, 0xFFFFFF), black(20, 10, 0x000000);
    CRenderEngine::DrawColor(white.dc(), RECT{5, 2, 15, 8}, color);
    CRenderEngine::DrawColor(black.dc(), RECT{5, 2, 15, 8}, color);
    EXPECT_LE(ChannelDistance(row.overWhite, white.Pixel(5, 2)), 1) << row.skinValue;
    EXPECT_LE(ChannelDistance(row.overWhite, white.Pixel(14, 7)), 1) << row.skinValue;
    EXPECT_LE(ChannelDistance(row.overBlack, black.Pixel(10, 5)), 1) << row.skinValue;
    EXPECT_EQ(kWhite, white.Pixel(4, 2)) << row.skinValue;
    EXPECT_EQ(kWhite, white.Pixel(15, 8)) << row.skinValue;
  }
}

// The three alpha cases side by side, as a golden image.
TEST(DrawColor, MatchesGolden) {
  TestCanvas canvas(60, 20, 0x336699);
  CRenderEngine::DrawColor(canvas.dc(), RECT{0, 0, 20, 20}, 0x00FF0000);
  CRenderEngine::DrawColor(canvas.dc(), RECT{20, 0, 40, 20}, 0x80FF0000);
  CRenderEngine::DrawColor(canvas.dc(), RECT{40, 0, 60, 20}, 0xFFFF0000);
  EXPECT_EQ(0x336699u, canvas.Pixel(10, 10));
  EXPECT_EQ(0xFF0000u, canvas.Pixel(50, 10));
  EXPECT_TRUE(MatchesGolden(canvas, "colours"));
}

// A vertical gradient starts with the first colour at the top and ends with the second at the
// bottom; a horizontal one runs from left to right.
TEST(DrawGradient, RunsFromFirstToSecondColour) {
  TestCanvas vertical(10, 64), horizontal(64, 10);
  CRenderEngine::DrawGradient(vertical.dc(), vertical.rect(), 0xFF000000, 0xFFFFFFFF, true, 16);
  CRenderEngine::DrawGradient(horizontal.dc(), horizontal.rect(), 0xFFFF0000, 0xFF0000FF, false,
                              16);
  EXPECT_LE(ChannelDistance(0x000000, vertical.Pixel(5, 0)), 8);
  EXPECT_LE(ChannelDistance(0xFFFFFF, vertical.Pixel(5, 63)), 8);
  EXPECT_LT(vertical.Pixel(5, 10) & 0xFF, vertical.Pixel(5, 50) & 0xFF);
  EXPECT_EQ(vertical.Pixel(0, 30), vertical.Pixel(9, 30));
  EXPECT_LE(ChannelDistance(0xFF0000, horizontal.Pixel(0, 5)), 8);
  EXPECT_LE(ChannelDistance(0x0000FF, horizontal.Pixel(63, 5)), 8);
}

struct BandCase {
  int steps;
  size_t bands;
};

// Without the platform's gradient fill the rectangle gets 2^k solid bands, k from the steps,
// from exactly the first colour to exactly the second.
TEST(DrawGradient, FallsBackToSolidBands) {
  static TPlatformGraphics withoutGradient;
  withoutGradient = {GetPlatformGraphics().alphaBlend, nullptr};
  vesk::ScopedOverride noGradient(
      g_platformGraphics, []() -> const TPlatformGraphics& { return withoutGradient; });
  const BandCase cases[] = {{1, 2}, {3, 2}, {4, 4}, {8, 8}, {16, 16}, {31, 16}, {32, 32},
                            {63, 32}, {64, 64}, {500, 64}};
  for (const BandCase& row : cases) {
    TestCanvas canvas(4, 128);
    CRenderEngine::DrawGradient(canvas.dc(), canvas.rect(), 0xFF000000, 0xFF0000FF, true,
                                row.steps);
    std::set<DWORD> colours;
    for (int y = 0; y < 128; ++y) colours.insert(canvas.Pixel(2, y));
    EXPECT_EQ(row.bands, colours.size()) << row.steps;
    EXPECT_EQ(0x000000u, canvas.Pixel(2, 0)) << row.steps;
    EXPECT_EQ(0x0000FFu, canvas.Pixel(2, 127)) << row.steps;
  }
}

// A gradient with translucent colours blends over what is there.
TEST(DrawGradient, TranslucentColoursBlend) {
  TestCanvas canvas(10, 100, 0x000000);
  CRenderEngine::DrawGradient(canvas.dc(), canvas.rect(), 0x00FFFFFF, 0xFFFFFFFF, true, 16);
  EXPECT_LE(ChannelDistance(0x000000, canvas.Pixel(5, 0)), 3);
  EXPECT_LE(ChannelDistance(0xFFFFFF, canvas.Pixel(5, 99)), 3);
  EXPECT_LE(ChannelDistance(0x808080, canvas.Pixel(5, 50)), 6);
}

// A line goes from (left, top) to (right, bottom) in the pen's colour (red and blue not mixed up).
TEST(DrawLine, DrawsBetweenTheCorners) {
  TestCanvas canvas(20, 20);
  CRenderEngine::DrawLine(canvas.dc(), RECT{2, 10, 18, 10}, 1, 0xFFFF0000);
  EXPECT_EQ(0xFF0000u, canvas.Pixel(2, 10));
  EXPECT_EQ(0xFF0000u, canvas.Pixel(17, 10));
  EXPECT_EQ(kWhite, canvas.Pixel(10, 9));
  EXPECT_EQ(kWhite, canvas.Pixel(10, 11));
}

// A rectangle outline stays inside its frame and is not filled.
TEST(DrawRect, OutlinesInsideTheFrame) {
  TestCanvas canvas(30, 30);
  CRenderEngine::DrawRect(canvas.dc(), RECT{5, 5, 25, 25}, 2, 0xFF0000FF);
  EXPECT_EQ(0x0000FFu, canvas.Pixel(5, 5));
  EXPECT_EQ(0x0000FFu, canvas.Pixel(6, 6));
  EXPECT_EQ(0x0000FFu, canvas.Pixel(24, 24));
  EXPECT_EQ(kWhite, canvas.Pixel(7, 7));
  EXPECT_EQ(kWhite, canvas.Pixel(15, 15));
  EXPECT_EQ(kWhite, canvas.Pixel(25, 25));
  EXPECT_EQ(kWhite, canvas.Pixel(4, 4));
  EXPECT_TRUE(MatchesGolden(canvas, "rect_outline"));
}

// A dashed outline also stays inside its frame.
TEST(DrawRect, DashedOutlineStaysInside) {
  TestCanvas canvas(30, 30);
  CRenderEngine::DrawRect(canvas.dc(), RECT{5, 5, 25, 25}, 1, 0xFF000000, PS_DASH);
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 0, 30, 5}, kWhite));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{25, 0, 30, 30}, kWhite));
  EXPECT_GT(canvas.CountOtherThan(RECT{5, 5, 25, 6}, kWhite), 0);
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{7, 7, 23, 23}, kWhite));
}

// A rounded outline leaves its corners out and its middle unfilled.
TEST(DrawRoundRect, RoundsTheCorners) {
  TestCanvas canvas(40, 40);
  CRenderEngine::DrawRoundRect(canvas.dc(), RECT{0, 0, 40, 40}, 1, 16, 16, 0xFF00FF00);
  EXPECT_EQ(kWhite, canvas.Pixel(0, 0));
  EXPECT_EQ(kWhite, canvas.Pixel(39, 39));
  EXPECT_EQ(0x00FF00u, canvas.Pixel(20, 0));
  EXPECT_EQ(0x00FF00u, canvas.Pixel(0, 20));
  EXPECT_EQ(0x00FF00u, canvas.Pixel(39, 20));
  EXPECT_EQ(kWhite, canvas.Pixel(20, 20));
  EXPECT_TRUE(MatchesGolden(canvas, "round_rect"));
}

// A clip limits drawing to the rectangle; destroying it restores the previous clip.
TEST(CRenderClip, ClipsAndRestores) {
  TestCanvas canvas(40, 40);
  {
    CRenderClip clip;
    CRenderClip::GenerateClip(canvas.dc(), RECT{10, 10, 30, 30}, clip);
    CRenderEngine::DrawColor(canvas.dc(), canvas.rect(), 0xFF000000);
    EXPECT_EQ(0, canvas.CountOtherThan(RECT{10, 10, 30, 30}, 0x000000));
    EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 0, 40, 10}, kWhite));
  }
  CRenderEngine::DrawColor(canvas.dc(), RECT{0, 0, 40, 5}, 0xFF0000FF);
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 0, 40, 5}, 0x0000FF));
}

// A nested clip is the intersection with the one in force, and ending it brings back exactly
// the outer region (a rounded one stays rounded).
TEST(CRenderClip, NestedClipsRestoreTheExactRegion) {
  TestCanvas canvas(40, 40);
  CRenderClip outer;
  CRenderClip::GenerateRoundClip(canvas.dc(), canvas.rect(), RECT{0, 0, 39, 39}, 20, 20, outer);
  {
    CRenderClip inner;
    CRenderClip::GenerateClip(canvas.dc(), RECT{0, 0, 20, 40}, inner);
    CRenderEngine::DrawColor(canvas.dc(), canvas.rect(), 0xFF000000);
    EXPECT_EQ(kWhite, canvas.Pixel(0, 0));   // outside the rounded corner
    EXPECT_EQ(kWhite, canvas.Pixel(25, 20));  // outside the inner rectangle
    EXPECT_EQ(0x000000u, canvas.Pixel(10, 20));
  }
  canvas.Fill(kWhite);
  CRenderEngine::DrawColor(canvas.dc(), canvas.rect(), 0xFF000000);
  EXPECT_EQ(kWhite, canvas.Pixel(0, 0));
  EXPECT_EQ(kWhite, canvas.Pixel(39, 39));
  EXPECT_EQ(0x000000u, canvas.Pixel(25, 20));
}

// The round clip covers the item rectangle up to its last column and row, limited by the paint
// rectangle; the old clip can be used in between.
TEST(CRenderClip, RoundClipAndOldClip) {
  TestCanvas canvas(40, 40);
  CRenderClip clip;
  CRenderClip::GenerateRoundClip(canvas.dc(), RECT{0, 0, 40, 30}, RECT{0, 0, 40, 40}, 4, 4, clip);
  CRenderEngine::DrawColor(canvas.dc(), canvas.rect(), 0xFF000000);
  EXPECT_EQ(0x000000u, canvas.Pixel(39, 20));
  EXPECT_EQ(kWhite, canvas.Pixel(20, 30));
  CRenderClip::UseOldClipBegin(canvas.dc(), clip);
  CRenderEngine::DrawColor(canvas.dc(), RECT{0, 35, 40, 40}, 0xFFFF0000);
  CRenderClip::UseOldClipEnd(canvas.dc(), clip);
  CRenderEngine::DrawColor(canvas.dc(), RECT{0, 32, 40, 34}, 0xFF00FF00);
  EXPECT_EQ(0xFF0000u, canvas.Pixel(20, 37));
  EXPECT_EQ(kWhite, canvas.Pixel(20, 33));
}

// Renders a painter's picture into a bitmap of the area, at window coordinates.
class SquarePainter : public IRenderPainter {
 public:
  void PaintInto(HDC dc, const RECT& rcPaint) override {
    paint = rcPaint;
    CRenderEngine::DrawColor(dc, RECT{100, 100, 110, 110}, 0xFF00FF00);
    CRenderClip clip;
    CRenderClip::GenerateClip(dc, RECT{110, 100, 120, 110}, clip);
    CRenderEngine::DrawColor(dc, RECT{100, 100, 200, 200}, 0xFF0000FF);
  }
  RECT paint = {0, 0, 0, 0};
};

// GenerateBitmap maps the window area to the bitmap's origin, clips correctly there, and blends
// the filter colour over the result.
TEST(GenerateBitmap, RendersTheAreaIntoABitmap) {
  TestRenderHost host;
  SquarePainter painter;
  vesk::UniqueBitmap bitmap(CRenderEngine::GenerateBitmap(&host, &painter,
                                                          RECT{100, 100, 120, 110}, 0x80FFFFFF));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(100, painter.paint.left);
  EXPECT_EQ(120, painter.paint.right);
  BITMAP info = {};
  ASSERT_EQ(static_cast<int>(sizeof(info)), ::GetObjectW(bitmap.get(), sizeof(info), &info));
  EXPECT_EQ(20, info.bmWidth);
  EXPECT_EQ(10, info.bmHeight);
  TestCanvas canvas(20, 10, 0x000000);
  canvas.CopyBitmap(bitmap.get());
  EXPECT_LE(ChannelDistance(0x7FFF7F, canvas.Pixel(5, 5)), 2);   // green, lightened
  EXPECT_LE(ChannelDistance(0x7F7FFF, canvas.Pixel(15, 5)), 2);  // blue, lightened
}

// Without a painter or an area there is no bitmap.
TEST(GenerateBitmap, RefusesNothingToPaint) {
  TestRenderHost host;
  SquarePainter painter;
  EXPECT_EQ(nullptr, CRenderEngine::GenerateBitmap(&host, nullptr, RECT{0, 0, 10, 10}));
  EXPECT_EQ(nullptr, CRenderEngine::GenerateBitmap(&host, &painter, RECT{0, 0, 0, 10}));
}

// CreateARGB32Bitmap gives a top-down bitmap whose first pixel is the top-left one.
TEST(CRenderEngine, CreateARGB32BitmapIsTopDown) {
  BYTE* bits = nullptr;
  vesk::UniqueBitmap bitmap(CRenderEngine::CreateARGB32Bitmap(nullptr, 3, 2, &bits));
  ASSERT_TRUE(bitmap);
  ASSERT_NE(nullptr, bits);
  for (int i = 0; i < 6 * 4; ++i) bits[i] = 0xFF;
  bits[0] = 0;
  bits[1] = 0;  // pixel (0, 0) becomes red
  TestCanvas canvas(3, 2);
  canvas.CopyBitmap(bitmap.get());
  EXPECT_EQ(0xFF0000u, canvas.Pixel(0, 0));
  EXPECT_EQ(kWhite, canvas.Pixel(0, 1));
  EXPECT_EQ(nullptr, CRenderEngine::CreateARGB32Bitmap(nullptr, 0, 5, &bits));
  EXPECT_EQ(nullptr, bits);
}

}  // namespace
}  // namespace SkinUI
