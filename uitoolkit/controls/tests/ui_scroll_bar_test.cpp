// Scroll bars: the parts' geometry, the thumb drag, input (line and page steps with their
// auto-repeat, thumb drag with capture, disabled bar) and the painted states.
#include "uitoolkit/controls/ui_scroll_bar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uitoolkit/controls/tests/leaf_test_support.h"

namespace SkinUI {
namespace testing {
namespace {

std::wstring Show(const RECT& r) {
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
         std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom);
}

// Buttons as long as the bar is thick (halved on a short bar), the track between them, and a
// thumb of track × page / (range + page), at least 12 long, placed by the position.
TEST(ScrollBarGeometry, PartsTable) {
  struct Row {
    RECT bar;
    bool horizontal, button1, button2;
    int range, page, pos;
    const wchar_t* button1Rect;
    const wchar_t* button2Rect;
    const wchar_t* track;
    const wchar_t* thumb;
  };
  const Row rows[] = {
      {{0, 0, 16, 200}, false, true, true, 400, 200, 0, L"0,0,16,16", L"0,184,16,200",
       L"0,16,16,184", L"0,16,16,72"},
      {{0, 0, 16, 200}, false, true, true, 400, 200, 200, L"0,0,16,16", L"0,184,16,200",
       L"0,16,16,184", L"0,72,16,128"},
      {{0, 0, 16, 200}, false, true, true, 400, 200, 999, L"0,0,16,16", L"0,184,16,200",
       L"0,16,16,184", L"0,128,16,184"},
      // Nothing to scroll: no thumb.
      {{0, 0, 16, 200}, false, true, true, 0, 200, 0, L"0,0,16,16", L"0,184,16,200",
       L"0,16,16,184", L"0,0,0,0"},
      // A huge range keeps the thumb at its minimum length.
      {{0, 0, 16, 200}, false, true, true, 100000, 10, 100000, L"0,0,16,16", L"0,184,16,200",
       L"0,16,16,184", L"0,172,16,184"},
      // Horizontal, offset, without the first button.
      {{10, 50, 210, 64}, true, false, true, 100, 100, 50, L"0,0,0,0", L"196,50,210,64",
       L"10,50,196,64", L"57,50,150,64"},
      // A bar shorter than its two buttons shares its length; the track is too short for a thumb.
      {{0, 0, 16, 20}, false, true, true, 50, 10, 0, L"0,0,16,10", L"0,10,16,20",
       L"0,10,16,10", L"0,0,0,0"},
  };
  for (const Row& row : rows) {
    const TScrollBarParts parts = ScrollBarPartsFor(row.bar, row.horizontal, row.button1,
                                                    row.button2, row.range, row.page, row.pos);
    EXPECT_EQ(row.button1Rect, Show(parts.button1)) << row.track;
    EXPECT_EQ(row.button2Rect, Show(parts.button2)) << row.track;
    EXPECT_EQ(row.track, Show(parts.track));
    EXPECT_EQ(row.thumb, Show(parts.thumb)) << row.track << L" pos " << row.pos;
  }
}

// The position follows the thumb by delta × range / (track − thumb), rounded, kept in range.
TEST(ScrollBarGeometry, DragTable) {
  struct Row {
    int start, delta, range, track, thumb, expected;
  };
  const Row rows[] = {
      {0, 56, 400, 168, 56, 200},    {200, -28, 400, 168, 56, 100}, {0, 500, 400, 168, 56, 400},
      {100, -500, 400, 168, 56, 0},  {5, 1, 10000, 100, 12, 119},   {7, 30, 400, 50, 50, 7},
      {3, 10, 0, 168, 56, 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.expected,
              ScrollPosFromThumbDrag(row.start, row.delta, row.range, row.track, row.thumb))
        << row.start << " " << row.delta;
  }
  const TScrollBarParts parts =
      ScrollBarPartsFor(RECT{0, 0, 16, 200}, false, true, true, 400, 200, 200);
  EXPECT_EQ(TScrollBarHit::Button1, ScrollBarHitTest(parts, false, POINT{5, 5}));
  EXPECT_EQ(TScrollBarHit::PageBefore, ScrollBarHitTest(parts, false, POINT{5, 71}));
  EXPECT_EQ(TScrollBarHit::Thumb, ScrollBarHitTest(parts, false, POINT{5, 72}));
  EXPECT_EQ(TScrollBarHit::PageAfter, ScrollBarHitTest(parts, false, POINT{5, 128}));
  EXPECT_EQ(TScrollBarHit::Button2, ScrollBarHitTest(parts, false, POINT{5, 199}));
  EXPECT_EQ(TScrollBarHit::None, ScrollBarHitTest(parts, false, POINT{20, 100}));
}

class ScrollBarInput : public ::testing::Test {
 protected:
  void SetUp() override {
    Attach(bar, manager, nullptr, RECT{0, 0, 16, 200});
    bar.SetAttributeList(L"range=\"400\" pagesize=\"200\" linesize=\"10\"");
    manager.notifications.clear();
  }
  void Send(int type, int x, int y, WPARAM wParam = 0) {
    TEventUI event = MakeEvent(type, x, y, wParam);
    bar.Event(event);
  }

  LeafManager manager;
  CScrollBarUI bar;
};

// An arrow scrolls a line at once, repeats after 500 ms and then every 50 ms while held over it,
// and stops on release; each change sends "scroll" (queued, new and previous position).
TEST_F(ScrollBarInput, ArrowStepsAndRepeats) {
  Send(UIEVENT_BUTTONDOWN, 8, 195);
  EXPECT_EQ(10, bar.GetScrollPos());
  EXPECT_EQ(CScrollBarUI::kPushed, bar.GetPartState(CScrollBarUI::kButton2));
  Send(UIEVENT_TIMER, 0, 0, CScrollBarUI::kRepeatTimerId);
  Send(UIEVENT_TIMER, 0, 0, CScrollBarUI::kRepeatTimerId);
  EXPECT_EQ(30, bar.GetScrollPos());
  // Off the arrow the repeat pauses.
  Send(UIEVENT_MOUSEMOVE, 40, 100);
  Send(UIEVENT_TIMER, 0, 0, CScrollBarUI::kRepeatTimerId);
  EXPECT_EQ(30, bar.GetScrollPos());
  Send(UIEVENT_BUTTONUP, 40, 100);
  EXPECT_EQ((std::vector<std::wstring>{L"set 12 500", L"kill 12", L"set 12 50", L"kill 12"}),
            manager.timers);
  ASSERT_EQ(3u, manager.notifications.size());
  EXPECT_EQ(L"scroll", std::wstring(manager.notifications[2].sType.GetData()));
  EXPECT_EQ(30u, manager.notifications[2].wParam);
  EXPECT_EQ(20, manager.notifications[2].lParam);
}

// A track click pages towards the pointer and the repeat stops when the thumb reaches it (and
// goes on when the pointer moves past the thumb again).
TEST_F(ScrollBarInput, TrackPagesUntilThumbReachesPointer) {
  Send(UIEVENT_BUTTONDOWN, 8, 110);
  EXPECT_EQ(200, bar.GetScrollPos());  // thumb now 72..128, under the pointer
  Send(UIEVENT_TIMER, 0, 0, CScrollBarUI::kRepeatTimerId);
  EXPECT_EQ(200, bar.GetScrollPos());
  Send(UIEVENT_MOUSEMOVE, 8, 150);
  Send(UIEVENT_TIMER, 0, 0, CScrollBarUI::kRepeatTimerId);
  EXPECT_EQ(400, bar.GetScrollPos());
  Send(UIEVENT_BUTTONUP, 8, 150);
  EXPECT_EQ(L"kill 12", manager.timers.back());
}

// The thumb follows the pointer proportionally, also outside the bar; a disabled bar ignores
// the mouse.
TEST_F(ScrollBarInput, ThumbDragAndDisabledBar) {
  Send(UIEVENT_BUTTONDOWN, 8, 20);
  Send(UIEVENT_MOUSEMOVE, 300, 48);
  EXPECT_EQ(100, bar.GetScrollPos());
  Send(UIEVENT_MOUSEMOVE, 300, 900);
  EXPECT_EQ(400, bar.GetScrollPos());
  Send(UIEVENT_BUTTONUP, 300, 900);
  EXPECT_TRUE(manager.timers.empty());
  bar.SetEnabled(false);
  Send(UIEVENT_BUTTONDOWN, 8, 5);
  EXPECT_EQ(400, bar.GetScrollPos());
  EXPECT_EQ(CScrollBarUI::kDisabled, bar.GetPartState(CScrollBarUI::kThumb));
}

// Vertical and horizontal bars in the plain look (normal, hot thumb, pushed arrow, disabled)
// and skinned with colours in the same states.
TEST(ScrollBarPaint, StatesPlainAndColoured) {
  TestCanvas canvas(260, 155, 0xFFFFFF);
  LeafBoard board;
  const std::wstring colours =
      L" bknormalcolor=\"#FFFFF0D0\" thumbnormalcolor=\"#FF3080C0\" thumbhotcolor=\"#FF60B0F0\""
      L" thumbpushedcolor=\"#FF104060\" thumbdisabledcolor=\"#FFB0B0B0\""
      L" button1normalcolor=\"#FFE0C080\" button2normalcolor=\"#FFE0C080\""
      L" button1pushedcolor=\"#FF806020\" arrownormalcolor=\"#FF800000\""
      L" arrowpushedcolor=\"#FFFFFF00\" arrowdisabledcolor=\"#FFC0A0A0\"";
  for (int skinned = 0; skinned < 2; ++skinned) {
    for (int state = 0; state < 4; ++state) {
      const std::wstring attributes =
          L"range=\"100\" pagesize=\"100\" value=\"30\"" + (skinned ? colours : L"");
      const int x = skinned * 130 + state * 20;
      CScrollBarUI& vertical =
          board.Add<CScrollBarUI>(attributes, RECT{x, 0, x + 16, 70});
      CScrollBarUI& horizontal = board.Add<CScrollBarUI>(
          attributes + L" hor=\"true\"",
          RECT{skinned * 130, 80 + state * 18, skinned * 130 + 120, 96 + state * 18});
      // Left column shape of each group: normal, hot thumb, pushed first arrow, disabled.
      for (CScrollBarUI* bar : {&vertical, &horizontal}) {
        const TScrollBarParts parts = bar->GetParts();
        if (state == 1) {
          TEventUI move = MakeEvent(UIEVENT_MOUSEMOVE, parts.thumb.left + 2, parts.thumb.top + 2);
          bar->Event(move);
        } else if (state == 2) {
          TEventUI down = MakeEvent(UIEVENT_BUTTONDOWN, parts.button1.left + 2,
                                    parts.button1.top + 2);
          bar->Event(down);
        } else if (state == 3) {
          bar->SetEnabled(false);
        }
      }
    }
  }
  board.PaintAll(canvas.dc(), canvas.rect());
  // The plain normal vertical bar: light track, grey thumb, dark arrow glyph.
  EXPECT_EQ(0xF0F0F0u, ::GetPixel(canvas.dc(), 8, 50) & 0xFFFFFF);
  EXPECT_EQ(0xCDCDCDu, ::GetPixel(canvas.dc(), 8, 30) & 0xFFFFFF);
  EXPECT_EQ(0x606060u, ::GetPixel(canvas.dc(), 8, 8) & 0xFFFFFF);
  EXPECT_TRUE(MatchesGolden(canvas, "scroll_bar_states"));
}

}  // namespace
}  // namespace testing
}  // namespace SkinUI
