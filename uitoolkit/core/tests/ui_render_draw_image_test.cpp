// Drawing image descriptions into an off-screen canvas and reading the pixels back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "uitoolkit/core/tests/render_test_support.h"
#include "uitoolkit/core/resource_files.h"
#include "uitoolkit/core/ui_render_engine.h"

namespace SkinUI {
namespace {

using testing::MatchesGolden;
using testing::TestCanvas;
using testing::ChannelDistance;
using testing::TestRenderHost;

const DWORD kWhite = 0xFFFFFF;
const DWORD kRed = 0xFF0000;
const DWORD kGreen = 0x00FF00;
const DWORD kBlue = 0x0000FF;
const DWORD kYellow = 0xFFFF00;

DWORD Rgb(int red, int green, int blue) {
  return (static_cast<DWORD>(red) << 16) | (static_cast<DWORD>(green) << 8) |
         static_cast<DWORD>(blue);
}

// The pixel of nine.png at (x, y).
DWORD NinePixel(int x, int y) {
  return Rgb(12 * x, 12 * y, (x >= 4 && x < 16 && y >= 4 && y < 16) ? 200 : 100);
}

class DrawImageTest : public ::testing::Test {
 protected:
  void SetUp() override { CResourceFiles::SetResourcePath(testing::TestImageFolder().c_str()); }
  void TearDown() override { CResourceFiles::SetResourcePath(L""); }

  // Draws `description` into `control` of `canvas`, painting everything.
  bool Draw(TestCanvas& canvas, const RECT& control, const wchar_t* description) {
    TDrawInfo info(description);
    return CRenderEngine::DrawImage(canvas.dc(), &host, control, canvas.rect(), info);
  }

  TestRenderHost host;
};

// A bare name, a file entry and a file entry with an unknown scale entry all stretch the image
// over the whole control.
TEST_F(DrawImageTest, StretchesOverTheControl) {
  TestCanvas bare(120, 80), file(120, 80), scaled(120, 80);
  const RECT control{10, 10, 110, 70};
  ASSERT_TRUE(Draw(bare, control, L"quad.png"));
  ASSERT_TRUE(Draw(file, control, L"file='quad.png'"));
  ASSERT_TRUE(Draw(scaled, control, L"file='quad.png' scale='true'"));
  EXPECT_EQ(kRed, file.Pixel(10, 10));
  EXPECT_EQ(kRed, file.Pixel(59, 39));
  EXPECT_EQ(kGreen, file.Pixel(60, 10));
  EXPECT_EQ(kGreen, file.Pixel(109, 39));
  EXPECT_EQ(kBlue, file.Pixel(10, 40));
  EXPECT_EQ(kYellow, file.Pixel(109, 69));
  EXPECT_EQ(kWhite, file.Pixel(9, 9));
  EXPECT_EQ(kWhite, file.Pixel(110, 70));
  EXPECT_TRUE(bare.SameColors(file));
  EXPECT_TRUE(scaled.SameColors(file));
  EXPECT_TRUE(MatchesGolden(file, "stretch_quad"));
}

// A corner of 4,4,4,4 on a 20 x 20 image drawn into 200 x 40 keeps the four corners pixel for
// pixel, stretches the edges along their length only and the middle over the rest.
TEST_F(DrawImageTest, CornerKeepsBordersUnscaled) {
  TestCanvas canvas(200, 40);
  ASSERT_TRUE(Draw(canvas, canvas.rect(), L"file='nine.png' corner='4,4,4,4'"));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(NinePixel(x, y), canvas.Pixel(x, y)) << x << "," << y;
      EXPECT_EQ(NinePixel(16 + x, y), canvas.Pixel(196 + x, y)) << x << "," << y;
      EXPECT_EQ(NinePixel(x, 16 + y), canvas.Pixel(x, 36 + y)) << x << "," << y;
      EXPECT_EQ(NinePixel(16 + x, 16 + y), canvas.Pixel(196 + x, 36 + y)) << x << "," << y;
    }
  }
  // Edges keep their thickness: the top rows and the left columns are the source's.
  for (int x = 4; x < 196; x += 7) {
    for (int y = 0; y < 4; ++y) {
      EXPECT_EQ(12 * y, static_cast<int>((canvas.Pixel(x, y) >> 8) & 0xFF)) << x << "," << y;
      EXPECT_EQ(100, static_cast<int>(canvas.Pixel(x, y) & 0xFF)) << x << "," << y;
    }
  }
  for (int y = 4; y < 36; y += 3) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(12 * x, static_cast<int>(canvas.Pixel(x, y) >> 16)) << x << "," << y;
    }
  }
  EXPECT_EQ(200, static_cast<int>(canvas.Pixel(100, 20) & 0xFF));
  EXPECT_TRUE(MatchesGolden(canvas, "nine_slice_corner"));
}

// Horizontal tiling repeats the image at its own width and crops the last tile.
TEST_F(DrawImageTest, TilesHorizontallyWithACroppedLastTile) {
  TestCanvas canvas(30, 8);
  ASSERT_TRUE(Draw(canvas, RECT{0, 0, 25, 8}, L"file='tile.png' xtiled='true'"));
  for (int x = 0; x < 25; ++x) {
    const int column = x % 10;
    EXPECT_EQ(Rgb(25 * column, 0, 255 - 25 * column), canvas.Pixel(x, 3)) << x;
  }
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{25, 0, 30, 8}, kWhite));
  EXPECT_TRUE(MatchesGolden(canvas, "tile_x"));
}

// Vertical tiling repeats rows, every tile spanning the full width; the last tile is cropped.
TEST_F(DrawImageTest, TilesVertically) {
  TestCanvas canvas(20, 50);
  ASSERT_TRUE(Draw(canvas, canvas.rect(), L"file='nine.png' ytiled='true'"));
  for (int y = 0; y < 50; ++y) EXPECT_EQ(NinePixel(7, y % 20), canvas.Pixel(7, y)) << y;
  EXPECT_TRUE(MatchesGolden(canvas, "tile_y"));
}

// Both tilings repeat the image in a grid of unscaled tiles.
TEST_F(DrawImageTest, TilesInAGrid) {
  TestCanvas canvas(50, 50);
  ASSERT_TRUE(Draw(canvas, canvas.rect(), L"file='nine.png' xtiled='true' ytiled='true'"));
  for (int y = 0; y < 50; y += 3) {
    for (int x = 0; x < 50; x += 3) {
      EXPECT_EQ(NinePixel(x % 20, y % 20), canvas.Pixel(x, y)) << x << "," << y;
    }
  }
  EXPECT_TRUE(MatchesGolden(canvas, "tile_grid"));
}

// Tiling the middle of a nine-slice leaves the borders as they are.
TEST_F(DrawImageTest, TilesTheMiddleBetweenBorders) {
  TestCanvas canvas(60, 20);
  ASSERT_TRUE(Draw(canvas, canvas.rect(), L"file='nine.png' corner='4,4,4,4' xtiled='true'"));
  EXPECT_EQ(NinePixel(0, 0), canvas.Pixel(0, 0));
  EXPECT_EQ(NinePixel(19, 19), canvas.Pixel(59, 19));
  // Middle tiles are 12 source columns wide, starting at destination x 4.
  for (int x = 4; x < 56; ++x) {
    EXPECT_EQ(NinePixel(4 + (x - 4) % 12, 10), canvas.Pixel(x, 10)) << x;
  }
}

// hole draws the borders and leaves the middle untouched.
TEST_F(DrawImageTest, HoleLeavesTheMiddle) {
  TestCanvas canvas(40, 40);
  ASSERT_TRUE(Draw(canvas, canvas.rect(), L"file='nine.png' corner='4,4,4,4' hole='true'"));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{4, 4, 36, 36}, kWhite));
  EXPECT_EQ(NinePixel(0, 0), canvas.Pixel(0, 0));
  EXPECT_EQ(NinePixel(19, 19), canvas.Pixel(39, 39));
  EXPECT_EQ(40 * 4, canvas.CountOtherThan(RECT{0, 0, 40, 4}, kWhite));
  EXPECT_TRUE(MatchesGolden(canvas, "hole"));
}

// hole without corners leaves out the whole image (everything is the middle).
TEST_F(DrawImageTest, HoleWithoutCornersDrawsNothing) {
  TestCanvas canvas(20, 20);
  ASSERT_TRUE(Draw(canvas, canvas.rect(), L"file='nine.png' hole='true'"));
  EXPECT_EQ(0, canvas.CountOtherThan(canvas.rect(), kWhite));
}

// fade blends the image with a constant alpha.
TEST_F(DrawImageTest, FadeBlendsWithConstantAlpha) {
  TestCanvas canvas(100, 60);
  ASSERT_TRUE(Draw(canvas, canvas.rect(), L"file='quad.png' fade='128'"));
  EXPECT_LE(ChannelDistance(Rgb(255, 127, 127), canvas.Pixel(10, 10)), 1);
  EXPECT_LE(ChannelDistance(Rgb(127, 127, 255), canvas.Pixel(10, 50)), 1);
  EXPECT_TRUE(MatchesGolden(canvas, "fade"));

  TestCanvas invisible(10, 10);
  ASSERT_TRUE(Draw(invisible, invisible.rect(), L"file='quad.png' fade='0'"));
  EXPECT_EQ(0, invisible.CountOtherThan(invisible.rect(), kWhite));
}

// The mask colour makes exactly matching pixels transparent.
TEST_F(DrawImageTest, MaskColourBecomesTransparent) {
  TestCanvas masked(40, 40, 0x336699);
  ASSERT_TRUE(Draw(masked, masked.rect(), L"file='mask.png' mask='#FFFF00FF'"));
  EXPECT_EQ(0x336699u, masked.Pixel(5, 5));
  EXPECT_EQ(0x000000u, masked.Pixel(15, 5));
  EXPECT_EQ(0x336699u, masked.Pixel(15, 15));
  EXPECT_TRUE(MatchesGolden(masked, "mask"));
}

// dest moves the image relative to the control, and a dest larger than the control is limited
// to the control.
TEST_F(DrawImageTest, DestinationIsClippedToTheControl) {
  const RECT control{10, 10, 110, 110};
  TestCanvas oversized(130, 130), whole(130, 130), inner(130, 130);
  ASSERT_TRUE(Draw(oversized, control, L"file='quad.png' dest='0,0,300,300'"));
  ASSERT_TRUE(Draw(whole, control, L"file='quad.png'"));
  EXPECT_TRUE(oversized.SameColors(whole));
  EXPECT_EQ(0, oversized.CountOtherThan(RECT{110, 0, 130, 130}, kWhite));
  EXPECT_EQ(0, oversized.CountOtherThan(RECT{0, 110, 130, 130}, kWhite));

  ASSERT_TRUE(Draw(inner, control, L"file='quad.png' dest='10,10,60,40'"));
  EXPECT_EQ(kRed, inner.Pixel(20, 20));
  EXPECT_EQ(kYellow, inner.Pixel(69, 49));
  EXPECT_EQ(kWhite, inner.Pixel(19, 19));
  EXPECT_EQ(kWhite, inner.Pixel(70, 50));
  EXPECT_TRUE(MatchesGolden(inner, "dest"));
}

// A dest outside the control draws nothing.
TEST_F(DrawImageTest, DestinationOutsideTheControlDrawsNothing) {
  TestCanvas canvas(100, 100);
  ASSERT_TRUE(Draw(canvas, RECT{0, 0, 50, 50}, L"file='quad.png' dest='60,60,90,90'"));
  EXPECT_EQ(0, canvas.CountOtherThan(canvas.rect(), kWhite));
}

// A source beyond the image is clamped to it: 0,0,999,999 on a 50 x 50 image is the whole image.
TEST_F(DrawImageTest, SourceIsClampedToTheImage) {
  TestCanvas clamped(80, 80), whole(80, 80);
  TDrawInfo info(L"file='fifty.png' source='0,0,999,999'");
  ASSERT_TRUE(CRenderEngine::DrawImage(clamped.dc(), &host, clamped.rect(), clamped.rect(), info));
  ASSERT_TRUE(Draw(whole, whole.rect(), L"file='fifty.png'"));
  EXPECT_TRUE(clamped.SameColors(whole));
  EXPECT_EQ(0, info.source.left);
  EXPECT_EQ(50, info.source.right);
  EXPECT_EQ(50, info.source.bottom);
}

// A source part is stretched alone: the green quadrant of fifty.png fills the control.
TEST_F(DrawImageTest, SourcePartIsDrawn) {
  TestCanvas canvas(30, 30);
  ASSERT_TRUE(Draw(canvas, canvas.rect(), L"file='fifty.png' source='25,0,50,25'"));
  EXPECT_EQ(0, canvas.CountOtherThan(canvas.rect(), kGreen));
}

// A missing image draws nothing, reports false, and is not looked up again on the next paint.
TEST_F(DrawImageTest, MissingImageDrawsNothing) {
  TestCanvas canvas(40, 40);
  TDrawInfo info(L"file='missing.png'");
  EXPECT_FALSE(CRenderEngine::DrawImage(canvas.dc(), &host, canvas.rect(), canvas.rect(), info));
  EXPECT_FALSE(CRenderEngine::DrawImage(canvas.dc(), &host, canvas.rect(), canvas.rect(), info));
  EXPECT_EQ(1, host.imageRequests);
  EXPECT_TRUE(info.loaded);
  EXPECT_EQ(0, canvas.CountOtherThan(canvas.rect(), kWhite));
}

// An empty description fails; without a manager nothing happens and the call succeeds.
TEST_F(DrawImageTest, EmptyDescriptionAndNoManager) {
  TestCanvas canvas(10, 10);
  TDrawInfo empty;
  EXPECT_FALSE(CRenderEngine::DrawImage(canvas.dc(), &host, canvas.rect(), canvas.rect(), empty));
  TDrawInfo info(L"quad.png");
  EXPECT_TRUE(CRenderEngine::DrawImage(canvas.dc(), nullptr, canvas.rect(), canvas.rect(), info));
  EXPECT_FALSE(info.loaded);
  EXPECT_EQ(0, canvas.CountOtherThan(canvas.rect(), kWhite));
}

// Without a device context the call only loads: the description is parsed once and the image
// fetched.
TEST_F(DrawImageTest, NullDeviceContextOnlyLoads) {
  TDrawInfo info(L"file='nine.png' corner='1,2,3,4' fade='9' hole='true'");
  const RECT control{0, 0, 10, 10};
  EXPECT_TRUE(CRenderEngine::DrawImage(nullptr, &host, control, control, info));
  ASSERT_NE(nullptr, info.image);
  EXPECT_STREQ(L"nine.png", info.imageName.GetData());
  EXPECT_EQ(20, info.image->width);
  EXPECT_EQ(2, info.corner.top);
  EXPECT_EQ(9, info.fade);
  EXPECT_TRUE(info.hole);
  EXPECT_EQ(20, info.source.right);
  EXPECT_TRUE(CRenderEngine::DrawImage(nullptr, &host, control, control, info));
  EXPECT_EQ(1, host.imageRequests);
}

// Clear puts every field back to its initial value.
TEST_F(DrawImageTest, ClearResetsTheDrawInfo) {
  TDrawInfo info(L"file='nine.png' dest='1,1,5,5' xtiled='true'");
  const RECT control{0, 0, 10, 10};
  ASSERT_TRUE(CRenderEngine::DrawImage(nullptr, &host, control, control, info));
  info.Clear();
  EXPECT_TRUE(info.drawString.IsEmpty());
  EXPECT_TRUE(info.imageName.IsEmpty());
  EXPECT_FALSE(info.loaded);
  EXPECT_EQ(nullptr, info.image);
  EXPECT_EQ(0, info.destination.right);
  EXPECT_EQ(0, info.source.right);
  EXPECT_EQ(255, info.fade);
  EXPECT_FALSE(info.xTiled);
}

// The direct copy of an unscaled image copies only the part inside the paint rectangle.
TEST_F(DrawImageTest, DirectCopyIsLimitedToThePaintRectangle) {
  const RECT paint{10, 10, 20, 20};
  TestCanvas canvas(50, 50);
  TDrawInfo info(L"file='fifty.png'");
  ASSERT_TRUE(CRenderEngine::DrawImage(canvas.dc(), &host, canvas.rect(), paint, info));
  EXPECT_EQ(0, canvas.CountOtherThan(paint, kRed));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 0, 50, 10}, kWhite));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 20, 50, 50}, kWhite));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{20, 10, 50, 20}, kWhite));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 10, 10, 20}, kWhite));
}

// A control outside the paint rectangle is not drawn; nor is a middle part outside it, while the
// borders are.
TEST_F(DrawImageTest, PartsOutsideThePaintRectangleAreNotDrawn) {
  TestCanvas canvas(60, 60);
  TDrawInfo outside(L"file='quad.png'");
  ASSERT_TRUE(CRenderEngine::DrawImage(canvas.dc(), &host, RECT{0, 0, 30, 30},
                                       RECT{40, 40, 60, 60}, outside));
  EXPECT_EQ(0, canvas.CountOtherThan(canvas.rect(), kWhite));
  TDrawInfo nine(L"file='nine.png' corner='4,4,4,4'");
  ASSERT_TRUE(
      CRenderEngine::DrawImage(canvas.dc(), &host, canvas.rect(), RECT{0, 0, 3, 3}, nine));
  EXPECT_EQ(NinePixel(0, 0), canvas.Pixel(0, 0));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{4, 4, 56, 56}, kWhite));
}

// A translucent image blends by its pixels' alpha.
TEST_F(DrawImageTest, TranslucentPixelsBlend) {
  TestCanvas canvas(2, 1);
  ASSERT_TRUE(Draw(canvas, canvas.rect(), L"translucent.png"));
  EXPECT_LE(ChannelDistance(Rgb(255, 127, 127), canvas.Pixel(0, 0)), 1);
  EXPECT_EQ(kBlue, canvas.Pixel(1, 0));
}

// A color entry is a one-pixel image stretched like any other; translucent colours blend.
TEST_F(DrawImageTest, ColourImages) {
  TestCanvas canvas(40, 10);
  ASSERT_TRUE(Draw(canvas, RECT{0, 0, 20, 10}, L"color='#FF079D55'"));
  ASSERT_TRUE(Draw(canvas, RECT{20, 0, 40, 10}, L"color='#80FF0000'"));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 0, 20, 10}, 0x079D55));
  EXPECT_LE(ChannelDistance(Rgb(255, 127, 127), canvas.Pixel(30, 5)), 1);
}

// The bitmap core with a constant alpha on an image without alpha ignores its alpha bytes.
TEST_F(DrawImageTest, BitmapCoreFadesOpaqueBitmaps) {
  BYTE* bits = nullptr;
  vesk::UniqueBitmap bitmap(CRenderEngine::CreateARGB32Bitmap(nullptr, 1, 1, &bits));
  ASSERT_TRUE(bitmap);
  bits[0] = 0;
  bits[1] = 0;
  bits[2] = 255;
  bits[3] = 0;  // as plain GDI drawing leaves it
  TestCanvas canvas(10, 10);
  CRenderEngine::DrawImage(canvas.dc(), bitmap.get(), canvas.rect(), canvas.rect(),
                           RECT{0, 0, 1, 1}, RECT{0, 0, 0, 0}, false, 128);
  EXPECT_LE(ChannelDistance(Rgb(255, 127, 127), canvas.Pixel(5, 5)), 1);
}

}  // namespace
}  // namespace SkinUI
