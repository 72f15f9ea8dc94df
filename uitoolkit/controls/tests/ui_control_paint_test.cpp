// How the control base paints: background colours, image, border and rounded clip, in that
// order, compared with golden images.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "uitoolkit/controls/tests/control_test_support.h"
#include "uitoolkit/controls/ui_control.h"

namespace SkinUI {
namespace {

using testing::ControlBoard;
using testing::MatchesGolden;
using testing::TestCanvas;

// One colour fills opaque over the paint rectangle only, translucent over the whole item;
// two colours make a vertical gradient, three colours two halves; translucent gradients blend;
// a colour without alpha draws nothing; a disabled control paints the same colours.
TEST(ControlPaint, BackgroundColours) {
  TestCanvas canvas(240, 60, 0xFFFFFF);
  ControlBoard<> board;
  board.Add(L"bkcolor=\"#FF3366CC\"", RECT{0, 0, 30, 60});
  board.Add(L"bkcolor=\"#803366CC\"", RECT{30, 0, 60, 60});
  board.Add(L"bkcolor=\"#FFFF0000\" bkcolor2=\"#FF0000FF\"", RECT{60, 0, 90, 60});
  board.Add(L"bkcolor=\"#FFFF0000\" bkcolor2=\"#FF00FF00\" bkcolor3=\"#FF0000FF\"",
            RECT{90, 0, 120, 60});
  board.Add(L"bkcolor=\"#80FF0000\" bkcolor2=\"#800000FF\"", RECT{120, 0, 150, 60});
  board.Add(L"bkcolor=\"#80FF0000\" bkcolor2=\"#8000FF00\" bkcolor3=\"#800000FF\"",
            RECT{150, 0, 180, 60});
  board.Add(L"bkcolor=\"3366CC\"", RECT{180, 0, 210, 60});
  board.Add(L"bkcolor=\"#FF3366CC\" enabled=\"false\"", RECT{210, 0, 240, 60});
  // The paint rectangle leaves out the top 10 rows.
  board.PaintAll(canvas.dc(), RECT{0, 10, 240, 60});
  EXPECT_EQ(0xFFFFFFu, canvas.Pixel(15, 5));
  EXPECT_EQ(0x3366CCu, canvas.Pixel(15, 30));
  EXPECT_NE(0xFFFFFFu, canvas.Pixel(45, 5));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{180, 0, 210, 60}, 0xFFFFFF));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{210, 10, 240, 60}, 0x3366CC));
  EXPECT_TRUE(MatchesGolden(canvas, "control_background_colours"));
}

// Border modes: equal widths outline the item, differing widths draw each side inside its
// edge (a zero left width draws nothing), a corner size draws a rounded outline and clips the
// background to it; the focused border colour applies only while focused, and a control with
// only a focused border colour has no border otherwise.
TEST(ControlPaint, BorderModesAndRoundedClip) {
  TestCanvas canvas(240, 50, 0xFFFFFF);
  ControlBoard<> board;
  board.Add(L"bordersize=\"2\" bordercolor=\"#FF000080\"", RECT{5, 5, 35, 45});
  board.Add(L"bordersize=\"1,2,3,4\" bordercolor=\"#FF008000\"", RECT{45, 5, 75, 45});
  board.Add(L"bordersize=\"0,1,0,1\" bordercolor=\"#FF800000\"", RECT{85, 5, 115, 45});
  board.Add(L"bkcolor=\"#FFFFC000\" borderround=\"16,16\" bordersize=\"1\" "
            L"bordercolor=\"#FF000000\"",
            RECT{125, 5, 155, 45});
  CControlUI& focused = board.Add(
      L"bordersize=\"1\" bordercolor=\"#FF000000\" focusbordercolor=\"#FFFF0000\"",
      RECT{165, 5, 195, 45});
  board.Add(L"bordersize=\"1\" focusbordercolor=\"#FFFF0000\"", RECT{205, 5, 235, 45});
  TEventUI focus;
  focus.Type = UIEVENT_SETFOCUS;
  focused.Event(focus);
  board.PaintAll(canvas.dc(), canvas.rect());
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{85, 5, 115, 45}, 0xFFFFFF));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{205, 0, 240, 50}, 0xFFFFFF));
  EXPECT_EQ(0xFF0000u, canvas.Pixel(165, 20));
  EXPECT_EQ(0xFFFFFFu, canvas.Pixel(125, 5));
  EXPECT_EQ(0xFFC000u, canvas.Pixel(140, 25));
  // A 3-pixel right side covers the three columns inside the right edge, none outside.
  EXPECT_EQ(0x008000u, canvas.Pixel(72, 25));
  EXPECT_EQ(0x008000u, canvas.Pixel(74, 25));
  EXPECT_EQ(0xFFFFFFu, canvas.Pixel(75, 25));
  EXPECT_TRUE(MatchesGolden(canvas, "control_borders"));
}

// Paint order: colour under image under border; the rounded clip cuts colour and image; the
// cover is painted over its control, outside the clip.
TEST(ControlPaint, OrderImageBorderAndCover) {
  TestCanvas canvas(120, 60, 0xFFFFFF);
  ControlBoard<> board;
  const std::wstring image = testing::TestImagePath(L"quad.png");
  const std::wstring attributes = L"bkcolor=\"#FF80C0FF\" bkimage=\"file='" + image +
                                  L"' dest='4,4,56,56'\" bordersize=\"3\" "
                                  L"bordercolor=\"#FF202020\"";
  board.Add(attributes.c_str(), RECT{0, 0, 60, 60});
  CControlUI& rounded = board.Add(attributes.c_str(), RECT{60, 0, 120, 60});
  rounded.SetBorderRound(SIZE{40, 40});
  CControlUI* cover = new CControlUI;
  cover->SetAttributeList(
      L"bkcolor=\"#FF00A000\" float=\"1,1,1,1\" pos=\"-10,-10,0,0\"");
  rounded.SetCover(cover);
  rounded.SetPos(RECT{60, 0, 120, 60}, false);
  board.PaintAll(canvas.dc(), canvas.rect());
  EXPECT_EQ(0x202020u, canvas.Pixel(2, 30));
  EXPECT_EQ(0x80C0FFu, canvas.Pixel(3, 30));
  EXPECT_EQ(0xFF0000u, canvas.Pixel(4, 4));
  EXPECT_EQ(0xFFFFFFu, canvas.Pixel(64, 4));
  EXPECT_EQ(0x00A000u, canvas.Pixel(119, 59));
  EXPECT_TRUE(MatchesGolden(canvas, "control_paint_order"));

  // Rendered into a bitmap of its own, the control looks the same.
  CControlPainter painter(&rounded);
  vesk::UniqueBitmap bitmap(
      CRenderEngine::GenerateBitmap(&board.manager, &painter, rounded.GetPos()));
  ASSERT_TRUE(bitmap.valid());
  TestCanvas copy(60, 60, 0xFFFFFF);
  {
    vesk::UniqueMemoryDC source(::CreateCompatibleDC(nullptr));
    vesk::ScopedSelectObject select(source.get(), bitmap.get());
    ::BitBlt(copy.dc(), 0, 0, 60, 60, source.get(), 0, 0, SRCCOPY);
  }
  EXPECT_EQ(canvas.Pixel(62, 30), copy.Pixel(2, 30));
  EXPECT_EQ(canvas.Pixel(90, 30), copy.Pixel(30, 30));
  EXPECT_EQ(0x00A000u, copy.Pixel(59, 59));
}

bool SkipPaint(void*) { return false; }

// Painting stops at the stop control; an OnPaint handler answering false skips the control.
TEST(ControlPaint, StopControlAndSkippingHandler) {
  TestCanvas canvas(20, 20, 0xFFFFFF);
  CControlUI control;
  control.SetBkColor(0xFF000000);
  control.SetPos(RECT{0, 0, 20, 20}, false);
  EXPECT_FALSE(control.Paint(canvas.dc(), canvas.rect(), &control));
  control.OnPaint += &SkipPaint;
  EXPECT_TRUE(control.Paint(canvas.dc(), canvas.rect(), nullptr));
  EXPECT_EQ(0, canvas.CountOtherThan(canvas.rect(), 0xFFFFFF));
  control.OnPaint -= &SkipPaint;
  EXPECT_TRUE(control.Paint(canvas.dc(), RECT{0, 0, 5, 5}, nullptr));
  EXPECT_EQ(25, canvas.CountOtherThan(canvas.rect(), 0xFFFFFF));
}

}  // namespace
}  // namespace SkinUI
