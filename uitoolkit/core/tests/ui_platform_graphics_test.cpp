// The own per-pixel blend gives the platform AlphaBlend's results.
#include "uitoolkit/core/ui_platform_graphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "uitoolkit/core/tests/render_test_support.h"
#include "uitoolkit/core/resource_files.h"
#include "uitoolkit/core/ui_render_engine.h"

namespace SkinUI {
namespace {

using testing::TestCanvas;
using testing::ChannelDistance;
using testing::TestRenderHost;

// The largest channel difference of the two canvases, and where it is.
int LargestDifference(const TestCanvas& a, const TestCanvas& b, POINT& where) {
  int largest = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const int difference = ChannelDistance(a.Pixel(x, y), b.Pixel(x, y));
      if (difference > largest) {
        largest = difference;
        where = POINT{x, y};
      }
    }
  }
  return largest;
}

// Draws a set of translucent, faded and stretched images and colours.
void DrawScene(TestCanvas& canvas) {
  TestRenderHost host;
  CResourceFiles::SetResourcePath(testing::TestImageFolder().c_str());
  const wchar_t* descriptions[] = {
      L"file='translucent.png' dest='0,0,40,20'",
      L"file='nine.png' dest='40,0,80,40' corner='4,4,4,4' fade='150'",
      L"file='quad.png' dest='0,20,40,60' fade='77'",
      L"file='mask.png' dest='40,40,80,80' mask='#FFFF00FF' fade='200'",
  };
  for (const wchar_t* description : descriptions) {
    TDrawInfo info(description);
    CRenderEngine::DrawImage(canvas.dc(), &host, canvas.rect(), canvas.rect(), info);
  }
  CRenderEngine::DrawColor(canvas.dc(), RECT{0, 60, 40, 80}, 0x8000FF00);
  CResourceFiles::SetResourcePath(L"");
}

// With the platform's AlphaBlend and with the own blend the scene looks the same.
TEST(OwnAlphaBlend, MatchesThePlatformBlend) {
  TestCanvas platform(80, 80, 0x336699), own(80, 80, 0x336699);
  DrawScene(platform);
  static TPlatformGraphics withOwnBlend;
  withOwnBlend = {&OwnAlphaBlend, GetPlatformGraphics().gradientFill};
  {
    vesk::ScopedOverride ownBlend(
        g_platformGraphics, []() -> const TPlatformGraphics& { return withOwnBlend; });
    DrawScene(own);
  }
  POINT where = {0, 0};
  EXPECT_LE(LargestDifference(platform, own, where), 2)
      << "at " << where.x << "," << where.y << ": " << std::hex << platform.Pixel(where.x, where.y)
      << " / " << own.Pixel(where.x, where.y);
  EXPECT_NE(0x336699u, own.Pixel(10, 10));
}

// The platform's AlphaBlend is found in msimg32.dll.
TEST(GetPlatformGraphics, FindsTheMsimg32Functions) {
  EXPECT_NE(&OwnAlphaBlend, GetPlatformGraphics().alphaBlend);
  EXPECT_NE(nullptr, GetPlatformGraphics().gradientFill);
}

// The own blend honours the destination's clip region and refuses empty sizes.
TEST(OwnAlphaBlend, HonoursClipAndArguments) {
  TestCanvas source(1, 1, 0xFF0000), canvas(10, 10, 0xFFFFFF);
  const BLENDFUNCTION half = {AC_SRC_OVER, 0, 128, 0};
  vesk::UniqueRegion region(::CreateRectRgn(0, 0, 5, 10));
  ::SelectClipRgn(canvas.dc(), region.get());
  EXPECT_TRUE(OwnAlphaBlend(canvas.dc(), 0, 0, 10, 10, source.dc(), 0, 0, 1, 1, half));
  ::SelectClipRgn(canvas.dc(), nullptr);
  EXPECT_LE(ChannelDistance(0xFF7F7F, canvas.Pixel(2, 2)), 1);
  EXPECT_EQ(0xFFFFFFu, canvas.Pixel(7, 2));
  EXPECT_FALSE(OwnAlphaBlend(canvas.dc(), 0, 0, 0, 10, source.dc(), 0, 0, 1, 1, half));
  EXPECT_FALSE(OwnAlphaBlend(canvas.dc(), 0, 0, 10, 10, source.dc(), 0, 0, 0, 1, half));
}

// Source parts outside the source bitmap leave the destination unchanged instead of being read.
TEST(OwnAlphaBlend, DoesNotReadOutsideTheSource) {
  TestCanvas source(2, 2, 0x0000FF), canvas(8, 8, 0xFFFFFF);
  const BLENDFUNCTION opaque = {AC_SRC_OVER, 0, 255, 0};
  EXPECT_TRUE(OwnAlphaBlend(canvas.dc(), 0, 0, 8, 8, source.dc(), -2, -2, 4, 4, opaque));
  EXPECT_EQ(0xFFFFFFu, canvas.Pixel(0, 0));
  EXPECT_EQ(0x0000FFu, canvas.Pixel(7, 7));
}

}  // namespace
}  // namespace SkinUI
