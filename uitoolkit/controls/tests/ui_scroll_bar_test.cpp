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

std::wstring Show(const TScrollBarParts& parts) {
  std::wstring text;
  for (const RECT& r : {parts.button1, parts.button2, parts.track, parts.thumb}) {
    text += L" " + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
            std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom);
  }
  return text;
}

// Buttons as long as the bar is thick (halved on a short bar), the track between them, and a
// thumb of track × page / (range + page), at least 12 long, placed by the position; no thumb
// without range or on a track too short. Parts: button1 button2 track thumb.
TEST(ScrollBarGeometry, PartsTable) {
  struct Row {
    RECT bar;
    bool horizontal, button1;
    int range, page, pos;
    const wchar_t* parts;
  };
  const wchar_t kColumn[] = L" 0,0,16,16 0,184,16,200 0,16,16,184";  // the 16 x 200 bar
  const Row rows[] = {
      {{0, 0, 16, 200}, false, true, 400, 200, 0, L" 0,16,16,72"},
      {{0, 0, 16, 200}, false, true, 400, 200, 200, L" 0,72,16,128"},
      {{0, 0, 16, 200}, false, true, 400, 200, 999, L" 0,128,16,184"},
      {{0, 0, 16, 200}, false, true, 0, 200, 0, L" 0,0,0,0"},
      {{0, 0, 16, 200}, false, true, 100000, 10, 100000, L" 0,172,16,184"},
      {{10, 50, 210, 64}, true, false, 100, 100, 50,
       L" 0,0,0,0 196,50,210,64 10,50,196,64 57,50,150,64"},
      {{0, 0, 16, 20}, false, true, 50, 10, 0, L" 0,0,16,10 0,10,16,20 0,10,16,10 0,0,0,0"},
  };
  for (const Row& row : rows) {
    const bool column = row.bar.left == 0 && row.bar.bottom == 200;
    EXPECT_EQ((column ? kColumn : L"") + std::wstring(row.parts),
              Show(ScrollBarPartsFor(row.bar, row.horizontal, row.button1, true, row.range,
                                     row.page, row.pos)));
  }
}

// The position follows the thumb by delta × range / (track − thumb), rounded, kept in range.
TEST(ScrollBarGeometry, DragTable) {
  const int rows[][6] = {
      // start, delta, range, track, thumb, expected
      {0, 56, 400, 168, 56, 200}, {200, -28, 400, 168, 56, 100}, {0, 500, 400, 168, 56, 400},
      {100, -500, 400, 168, 56, 0}, {5, 1, 10000, 100, 12, 119}, {7, 30, 400, 50, 50, 7},
      {3, 10, 0, 168, 56, 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row[5], ScrollPosFromThumbDrag(row[0], row[1], row[2], row[3], row[4]))
        << row[0] << " " << row[1];
  }
}

class ScrollBarInput : public ::testing::Test {
 protected:
  void SetUp() override {
    Attach(bar, manager, nullptr, RECT{0, 0, 16, 200});
    bar.SetAttributeList(L"range=\"400\" pagesize=\"200\" linesize=\"10\"");
  }
  // Sends an event at (8, y) of the bar, or a repeat tick without `y`.
  int Send(int type, int y = 0, int x = 8) {
    TEventUI event = MakeEvent(type, x, y, CScrollBarUI::kRepeatTimerId);
    bar.Event(event);
    return bar.GetScrollPos();
  }

  LeafManager manager;
  CScrollBarUI bar;
};

// An arrow scrolls a line at once, repeats after 500 ms and then every 50 ms while held over it
// (pausing off it), and stops on release; each change sends "scroll" (new and previous
// position). A track press pages towards the pointer, pauses once the thumb is under the
// pointer and goes on when the pointer moves past it.
TEST_F(ScrollBarInput, ArrowAndTrackRepeat) {
  EXPECT_EQ(10, Send(UIEVENT_BUTTONDOWN, 195));
  EXPECT_EQ(CScrollBarUI::kPushed, bar.GetPartState(CScrollBarUI::kButton2));
  Send(UIEVENT_TIMER);
  EXPECT_EQ(30, Send(UIEVENT_TIMER));
  Send(UIEVENT_MOUSEMOVE, 100, 40);
  EXPECT_EQ(30, Send(UIEVENT_TIMER));
  Send(UIEVENT_BUTTONUP, 100, 40);
  EXPECT_EQ((std::vector<std::wstring>{L"set 12 500", L"kill 12", L"set 12 50", L"kill 12"}),
            manager.timers);
  ASSERT_EQ(3u, manager.notifications.size());
  EXPECT_EQ(L"scroll", std::wstring(manager.notifications[2].sType.GetData()));
  EXPECT_EQ(30u, manager.notifications[2].wParam);
  EXPECT_EQ(20, manager.notifications[2].lParam);

  bar.SetScrollPos(0);
  EXPECT_EQ(200, Send(UIEVENT_BUTTONDOWN, 110));  // the thumb now lies at 72..128
  EXPECT_EQ(200, Send(UIEVENT_TIMER));
  Send(UIEVENT_MOUSEMOVE, 150);
  EXPECT_EQ(400, Send(UIEVENT_TIMER));
  Send(UIEVENT_BUTTONUP, 150);
  EXPECT_EQ(L"kill 12", manager.timers.back());
}

// The thumb follows the pointer proportionally, also outside the bar; a disabled bar ignores
// the mouse.
TEST_F(ScrollBarInput, ThumbDragAndDisabledBar) {
  Send(UIEVENT_BUTTONDOWN, 20);
  EXPECT_EQ(100, Send(UIEVENT_MOUSEMOVE, 48, 300));
  EXPECT_EQ(400, Send(UIEVENT_MOUSEMOVE, 900, 300));
  Send(UIEVENT_BUTTONUP, 900, 300);
  EXPECT_TRUE(manager.timers.empty());
  bar.SetEnabled(false);
  EXPECT_EQ(400, Send(UIEVENT_BUTTONDOWN, 5));
  EXPECT_EQ(CScrollBarUI::kDisabled, bar.GetPartState(CScrollBarUI::kThumb));
}

// Vertical and horizontal bars in the plain look and skinned with colours; in each group the
// columns (vertical) and rows (horizontal) are normal, hot thumb, pushed first arrow, disabled.
TEST(ScrollBarPaint, StatesPlainAndColoured) {
  TestCanvas canvas(260, 155, 0xFFFFFF);
  LeafBoard board;
  const std::wstring colours =
      L" bknormalcolor=\"#FFFFF0D0\" thumbnormalcolor=\"#FF3080C0\" thumbhotcolor=\"#FF60B0F0\""
      L" button1normalcolor=\"#FFE0C080\" button1pushedcolor=\"#FF806020\""
      L" arrownormalcolor=\"#FF800000\" arrowdisabledcolor=\"#FFC0A0A0\"";
  for (int skinned = 0; skinned < 2; ++skinned) {
    for (int state = 0; state < 4; ++state) {
      const std::wstring attributes =
          L"range=\"100\" pagesize=\"100\" value=\"30\"" + (skinned ? colours : L"");
      const int x = skinned * 130;
      const int y = 80 + state * 18;
      for (CScrollBarUI* bar :
           {&board.Add<CScrollBarUI>(attributes, RECT{x + state * 20, 0, x + state * 20 + 16, 70}),
            &board.Add<CScrollBarUI>(attributes + L" hor=\"true\"", RECT{x, y, x + 120, y + 16})}) {
        const TScrollBarParts parts = bar->GetParts();
        const RECT& target = state == 1 ? parts.thumb : parts.button1;
        TEventUI event = MakeEvent(state == 1 ? UIEVENT_MOUSEMOVE : UIEVENT_BUTTONDOWN,
                                   target.left + 2, target.top + 2);
        if (state == 1 || state == 2) bar->Event(event);
        if (state == 3) bar->SetEnabled(false);
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
