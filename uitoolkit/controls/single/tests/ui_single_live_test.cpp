// The slider, the animated image and the date field in real windows under Xvfb with real input:
// a slider dragged, clicked, keyed and wheeled, with the values and "valuechanged" that follow;
// a GIF's frames advancing at their delays (sampled from the control) and freed when hidden; the
// native date picker opened by a click, a date chosen by keys, "textchanged", and closed by Enter.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "testsupport/live_window_support.h"
#include "uitoolkit/controls/single/ui_date_time.h"
#include "uitoolkit/controls/single/ui_gif_anim.h"
#include "uitoolkit/controls/single/ui_slider.h"

namespace SkinUI {
namespace {

using testing::PumpFor;
using testing::PumpUntil;

const std::wstring kSkin =
    L"<Window><VerticalLayout bkcolor=\"#FFF4F5F7\" inset=\"10,10,10,10\" childpadding=\"10\">"
    L"<HorizontalLayout height=\"150\" childpadding=\"10\">"
    L"<Slider name=\"slider\" width=\"210\" step=\"5\" />"
    L"<Slider name=\"upright\" hor=\"false\" height=\"150\" sendmove=\"true\" />"
    L"<GifAnim name=\"gif\" width=\"32\" height=\"32\" file=\"" SINGLE_TEST_FOLDER
    L"\\..\\..\\..\\samples\\gallery\\spinner.gif\" />"
    L"</HorizontalLayout>"
    L"<DateTime name=\"date\" width=\"150\" height=\"26\" date=\"2026-12-08\" />"
    L"<DateTime name=\"fixed\" width=\"150\" height=\"26\" readonly=\"true\" />"
    L"</VerticalLayout></Window>";

class SingleLive : public ::testing::Test {
 protected:
  void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
  void TearDown() override { testing::MouseMoveToScreen(POINT{1200, 1000}); }

  template <class Control>
  Control* Find(const wchar_t* name) {
    return static_cast<Control*>(window.GetPaintManager().FindControl(name));
  }
  POINT ScreenPoint(POINT client) {
    ::ClientToScreen(hwnd, &client);
    return client;
  }
  static POINT Centre(const RECT& rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  }
  void Press(POINT client, bool down) {
    testing::MouseMoveTo(hwnd, client);
    testing::MouseButton(down);
    PumpFor(60);
  }
  int Count(const wchar_t* entry) const {
    return static_cast<int>(
        std::count(window.notifications.begin(), window.notifications.end(), entry));
  }

  testing::TestSkinWindow window{kSkin};
  HWND hwnd = window.CreateShown(100, 100, 420, 280);
};

// A drag moves the thumb with the pointer in steps and tells "valuechanged" once at its end
// (a slider with sendmove tells each move); a press on the track moves a page towards it, and
// held, on until the thumb is there; the keys step, page and go to the ends; the wheel steps.
TEST_F(SingleLive, SliderFollowsDragClicksKeysAndWheel) {
  ASSERT_NE(hwnd, nullptr);
  CSliderUI* slider = Find<CSliderUI>(L"slider");
  ASSERT_NE(slider, nullptr);
  const POINT thumb = Centre(slider->GetThumbRect());
  Press(thumb, true);
  testing::MouseMoveTo(hwnd, POINT{thumb.x + 40, thumb.y + 30});  // off the bar: still dragging
  PumpFor(60);
  // 96 of 210 - 10 pixels: 48, snapped to 50.
  testing::MouseMoveTo(hwnd, POINT{thumb.x + 96, thumb.y});
  PumpFor(60);
  EXPECT_EQ(0, Count(L"valuechanged:slider"));
  Press(POINT{thumb.x + 96, thumb.y}, false);
  EXPECT_EQ(50, slider->GetValue());
  EXPECT_EQ(1, Count(L"valuechanged:slider"));

  // The track right of the thumb: a page (a fifth of the range) towards the press; held left of
  // it, the press repeats until the thumb reaches the pointer: 50, 30, 10.
  const RECT bar = slider->GetPos();
  Press(POINT{bar.right - 3, thumb.y}, true);
  Press(POINT{bar.right - 3, thumb.y}, false);
  EXPECT_EQ(70, slider->GetValue());
  const POINT at10 = {bar.left + 5 + 20, thumb.y};
  Press(at10, true);
  PumpFor(900);
  Press(at10, false);
  EXPECT_EQ(10, slider->GetValue());

  struct Step {
    WORD key;
    int expected;
  } steps[] = {{VK_RIGHT, 15}, {VK_UP, 20},     {VK_NEXT, 0}, {VK_PRIOR, 20},
               {VK_END, 100},  {VK_RIGHT, 100}, {VK_HOME, 0}, {VK_LEFT, 0}, {VK_DOWN, 0}};
  for (const Step& step : steps) {
    testing::PostKey(hwnd, step.key);
    PumpFor(30);
    EXPECT_EQ(step.expected, slider->GetValue()) << step.key;
  }
  // Changes only: the drag, four track steps, and six of the nine keys.
  EXPECT_EQ(11, Count(L"valuechanged:slider"));

  testing::MouseMoveTo(hwnd, Centre(bar));
  testing::MouseWheel(WHEEL_DELTA);
  PumpFor(70);
  EXPECT_EQ(5, slider->GetValue());

  // The upright slider: dragging up raises the value and tells each move.
  CSliderUI* upright = Find<CSliderUI>(L"upright");
  const POINT bottom = Centre(upright->GetThumbRect());
  Press(bottom, true);
  for (int dy = 20; dy <= 70; dy += 25) {
    testing::MouseMoveTo(hwnd, POINT{bottom.x, bottom.y - dy});
    PumpFor(40);
  }
  Press(POINT{bottom.x, bottom.y - 70}, false);
  EXPECT_EQ(50, upright->GetValue());  // 70 of 150 - 10 pixels
  EXPECT_EQ(3, Count(L"valuechanged:upright"));
}

// The spinner's eight frames follow each other in order, about 80 ms apart (read from the
// control's frame index while the window runs); hidden, it stops and frees its frames; shown
// again, it plays from the first frame.
TEST_F(SingleLive, AnimationAdvancesAtItsDelaysAndStopsWhenHidden) {
  ASSERT_NE(hwnd, nullptr);
  CGifAnimUI* gif = Find<CGifAnimUI>(L"gif");
  ASSERT_NE(gif, nullptr);
  ASSERT_TRUE(gif->IsPlaying());
  EXPECT_EQ(8, gif->GetFrameCount());
  std::vector<int> frames = {gif->GetFrameIndex()};
  std::vector<DWORD> times = {::GetTickCount()};
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < 1500) {
    PumpFor(5);
    if (gif->GetFrameIndex() == frames.back()) continue;
    frames.push_back(gif->GetFrameIndex());
    times.push_back(::GetTickCount());
  }
  ASSERT_GE(frames.size(), 10u);
  for (size_t index = 1; index < frames.size(); ++index) {
    EXPECT_EQ((frames[index - 1] + 1) % 8, frames[index]) << index;
  }
  // The middle interval (the first may be cut by the start of sampling).
  std::vector<DWORD> intervals;
  for (size_t index = 2; index < times.size(); ++index) {
    intervals.push_back(times[index] - times[index - 1]);
  }
  std::sort(intervals.begin(), intervals.end());
  const DWORD median = intervals[intervals.size() / 2];
  EXPECT_GE(median, 60u);
  EXPECT_LE(median, 130u);

  gif->SetVisible(false);
  EXPECT_FALSE(gif->IsPlaying());
  EXPECT_EQ(0, gif->GetFrameCount());
  const int stoppedAt = gif->GetFrameIndex();
  PumpFor(300);
  EXPECT_EQ(stoppedAt, gif->GetFrameIndex());
  gif->SetVisible(true);
  EXPECT_TRUE(gif->IsPlaying());
  EXPECT_EQ(0, gif->GetFrameIndex());
}

// A click lays the native date picker over the field; an arrow key changes the date in it, which
// becomes the field's date and text with "textchanged"; Enter closes it; a day clicked in its
// month calendar becomes the date too. A read-only field opens nothing.
TEST_F(SingleLive, DatePickerOpensAndChangesTheDateByKeys) {
  ASSERT_NE(hwnd, nullptr);
  CDateTimeUI* date = Find<CDateTimeUI>(L"date");
  ASSERT_NE(date, nullptr);
  const std::wstring before = date->GetText().GetData();
  EXPECT_FALSE(before.empty());
  const RECT field = date->GetPos();
  Press(POINT{field.left + 10, Centre(field).y}, true);
  Press(POINT{field.left + 10, Centre(field).y}, false);
  HWND picker = date->GetNativeWindow();
  ASSERT_NE(picker, nullptr);
  wchar_t className[64] = L"";
  ::GetClassNameW(picker, className, 64);
  EXPECT_STREQ(L"SysDateTimePick32", className);
  RECT placed = {};
  ::GetWindowRect(picker, &placed);
  EXPECT_EQ(ScreenPoint(POINT{field.left, field.top}).x, placed.left);
  EXPECT_EQ(ScreenPoint(POINT{field.left, field.top}).y, placed.top);
  EXPECT_EQ(picker, ::GetFocus());

  testing::PostKey(picker, VK_UP);
  PumpFor(100);
  SYSTEMTIME shown = {};
  ::SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
  const SYSTEMTIME& chosen = date->GetTime();
  EXPECT_EQ(shown.wYear, chosen.wYear);
  EXPECT_EQ(shown.wMonth, chosen.wMonth);
  EXPECT_EQ(shown.wDay, chosen.wDay);
  const int changedFields = (chosen.wYear != 2026) + (chosen.wMonth != 12) + (chosen.wDay != 8);
  EXPECT_EQ(1, changedFields);
  EXPECT_NE(before, date->GetText().GetData());
  EXPECT_EQ(1, Count(L"textchanged:date"));

  testing::PostKey(picker, VK_RETURN);
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(picker); }));
  EXPECT_EQ(nullptr, date->GetNativeWindow());

  // The picker's button drops its month calendar down, which keeps the picker open; a day
  // clicked in it (the 20th of the month shown) becomes the date. (Then the picker stays while
  // the focus comes back to it; Wine's calendar hands it to the window, which closes the picker.)
  Press(POINT{field.left + 10, Centre(field).y}, true);
  Press(POINT{field.left + 10, Centre(field).y}, false);
  picker = date->GetNativeWindow();
  ASSERT_NE(picker, nullptr);
  Press(POINT{field.right - 8, Centre(field).y}, true);
  Press(POINT{field.right - 8, Centre(field).y}, false);
  HWND calendar = reinterpret_cast<HWND>(::SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
  ASSERT_TRUE(calendar != nullptr && ::IsWindowVisible(calendar));
  MCHITTESTINFO hit = {};
  hit.cbSize = sizeof(hit);
  RECT client = {};
  ::GetClientRect(calendar, &client);
  for (hit.pt.y = 0; hit.pt.y < client.bottom; hit.pt.y += 2) {
    for (hit.pt.x = 0; hit.pt.x < client.right; hit.pt.x += 2) {
      ::SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.uHit == MCHT_CALENDARDATE && hit.st.wDay == 20) break;
    }
    if (hit.uHit == MCHT_CALENDARDATE && hit.st.wDay == 20) break;
  }
  ASSERT_EQ(20, hit.st.wDay);
  POINT day = hit.pt;
  ::ClientToScreen(calendar, &day);
  testing::MouseMoveToScreen(day);
  testing::MouseButton(true);
  testing::MouseButton(false);
  PumpFor(200);
  EXPECT_EQ(20, date->GetTime().wDay);
  EXPECT_EQ(hit.st.wMonth, date->GetTime().wMonth);
  EXPECT_EQ(2, Count(L"textchanged:date"));

  CDateTimeUI* fixed = Find<CDateTimeUI>(L"fixed");
  const RECT fixedField = fixed->GetPos();
  Press(Centre(fixedField), true);
  Press(Centre(fixedField), false);
  EXPECT_EQ(nullptr, fixed->GetNativeWindow());
}

}  // namespace
}  // namespace SkinUI
